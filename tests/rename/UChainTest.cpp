// SPDX-License-Identifier: GPL-3.0-or-later
// Renames within one folder that wait for each other: shifts in every order, swaps and
// cycles of three, a member declined or held by an entry that stays, folders in a chain;
// and runs of cycles and shifts killed at each of their renames, which one Undo takes back.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "rename/URenameRun.h"
#include "rename/UUndo.h"
#include "support/UChild.h"
#include "support/UKillAtRename.h"
#include "support/UMakeJob.h"
#include "support/URecordingMessages.h"
#include "support/URecordingRunHost.h"
#include "support/UTempDir.h"
#include "support/UTree.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using K = TJobKind;
using Paths = std::vector<std::string>;
using Jobs = std::vector<TJob>;

TJob Replace(const std::string& what, const std::string& with) {
  return test::MakeJob(K::jobReplace, 0, 1, 0, what, with);
}
TJob RegexReplace(const std::string& what, const std::string& with) {
  return test::MakeJob(K::jobReplace, 1, 1, 0, what, with);
}

// Every number one up, whatever the order the names are taken in: f1 -> f2 ... f5 -> f6.
const Jobs kDigitsUp = {Replace("5", "6"), Replace("4", "5"), Replace("3", "4"), Replace("2", "3"), Replace("1", "2")};
// The number replaced by the counter, which counts in the order the run takes the names.
const Jobs kCounted = {RegexReplace("\\d+", ""), test::MakeJob(K::jobCounter, 1, 1)};
const Jobs kSwap = {Replace("a", "#"), Replace("b", "a"), Replace("#", "b")};
// a -> b -> c -> a
const Jobs kCycle = {Replace("c", "#"), Replace("b", "c"), Replace("a", "b"), Replace("#", "a")};
// The files' dates, oldest first; other entries are older still.
const Paths kDateOrder = {"f3", "f1", "f5", "f2", "f4"};

// Each file holds its own path, so a listing tells which file went where.
void Make(const std::string& root, const Paths& paths) {
  fs::create_directory(root);
  for (const std::string& path : paths) {
    fs::create_directories(fs::path(root + path).parent_path());
    if (path.ends_with('/')) {
      fs::create_directory(root + path);
    } else {
      std::ofstream(root + path, std::ios::binary) << path;
    }
    const auto dated = std::find(kDateOrder.begin(), kDateOrder.end(), path);
    const long rank = dated == kDateOrder.end() ? -1 : dated - kDateOrder.begin();
    test::SetModifiedTime(root + path, 1000000000 + 2 * rank);
  }
}

// The tree without its undo files: "path/" for a folder, "path=what it holds" for a file.
Paths Contents(const std::string& root) {
  Paths contents;
  for (const std::string& path : test::ListTree(root)) {
    if (path.ends_with("_quillex_undo.txt")) continue;
    if (path.ends_with('/')) {
      contents.push_back(path);
    } else {
      std::ifstream in(root + path, std::ios::binary);
      contents.push_back(path + "=" + std::string(std::istreambuf_iterator<char>(in), {}));
    }
  }
  return contents;
}

Paths Unchanged(const Paths& paths) {
  Paths contents;
  for (const std::string& path : paths) contents.push_back(path.ends_with('/') ? path : path + "=" + path);
  std::sort(contents.begin(), contents.end());
  return contents;
}

TRunOptions Options(const std::string& root) {
  TRunOptions options;
  options.startDirectory = root;
  options.undo = true;
  options.counterStart = 2;
  return options;
}

// "@" stands for the starting folder's path.
std::string Exists(const std::string& from, const std::string& to) {
  return "Cannot rename @/" + from + " to " + to + ". Operation will continue (File exists)";
}
std::string Asks(const std::string& from, const std::string& to) {
  return "Rename file \"" + from + "\" to \"" + to + "\"?";
}

TEST(UChainTest, RenamesThatWaitForEachOther) {
  struct Row {
    const char* what;
    Paths before;
    Jobs jobs;
    Paths after;
    int renamed = 0;
    TSortOrder order = TSortOrder::NameAsc;
    Paths failures = {};            // as shown, in order
    bool folders = false;           // recursing and renaming folders
    std::deque<bool> answers = {};  // with "Confirm every change" ticked
    Paths questions = {};
  };
  const Paths five = {"f1", "f2", "f3", "f4", "f5"};
  const Paths upByOne = {"f2=f1", "f3=f2", "f4=f3", "f5=f4", "f6=f5"};
  const Row rows[] = {
      {"up by one, names ascending", five, kDigitsUp, upByOne, 5},
      {"up by one, names descending", five, kDigitsUp, upByOne, 5, TSortOrder::NameDesc},
      {"up by one, dates ascending", five, kDigitsUp, upByOne, 5, TSortOrder::DateAsc},
      {"up by one, dates descending", five, kDigitsUp, upByOne, 5, TSortOrder::DateDesc},
      {"up by one, as listed", five, kDigitsUp, upByOne, 5, TSortOrder::ListingOrder},
      {"counted, names ascending", five, kCounted, upByOne, 5},
      {"counted, names descending",
       five,
       kCounted,
       {"f2=f5", "f3=f4", "f4=f3", "f5=f2", "f6=f1"},
       5,
       TSortOrder::NameDesc},
      {"counted, dates ascending",
       five,
       kCounted,
       {"f2=f3", "f3=f1", "f4=f5", "f5=f2", "f6=f4"},
       5,
       TSortOrder::DateAsc},
      {"counted, dates descending",
       five,
       kCounted,
       {"f2=f4", "f3=f2", "f4=f5", "f5=f1", "f6=f3"},
       5,
       TSortOrder::DateDesc},
      {"a swap", {"a", "b"}, kSwap, {"a=b", "b=a"}, 2},
      {"a cycle of three", {"a", "b", "c"}, kCycle, {"a=c", "b=a", "c=b"}, 3},
      {"a cycle past a planted temporary name",
       {"a", "b", ".quillex-cycle-0"},
       kSwap,
       {".quillex-cycle-0=.quillex-cycle-0", "a=b", "b=a"},
       2},
      {"a shift with one member declined",
       {"f1", "f2", "f3", "f4"},
       kDigitsUp,
       {"f1=f1", "f2=f2", "f3=f3", "f5=f4"},
       1,
       TSortOrder::NameAsc,
       {Exists("f2", "f3"), Exists("f1", "f2")},
       false,
       {true, true, false, true},
       {Asks("f1", "f2"), Asks("f2", "f3"), Asks("f3", "f4"), Asks("f4", "f5")}},
      {"a cycle with one member declined",
       {"a", "b", "c"},
       kCycle,
       Unchanged({"a", "b", "c"}),
       0,
       TSortOrder::NameAsc,
       {Exists("a", "b"), Exists("c", "a")},
       false,
       {true, false, true},
       {Asks("a", "b"), Asks("b", "c"), Asks("c", "a")}},
      {"two wait for one name: the second fails at once",
       {"a1", "b1", "c"},
       {RegexReplace("^c$", "d"), RegexReplace("^[ab]1$", "c")},
       {"b1=b1", "c=a1", "d=c"},
       2,
       TSortOrder::NameAsc,
       {Exists("b1", "c")}},
      {"a shift whose head is held by a folder that stays",
       {"f1", "f2", "f3/"},
       kDigitsUp,
       Unchanged({"f1", "f2", "f3/"}),
       0,
       TSortOrder::NameAsc,
       {Exists("f2", "f3"), Exists("f1", "f2")}},
      {"folders shifted, entered under their new names",
       {"d1/x1", "d2/y1"},
       kDigitsUp,
       {"d2/", "d2/x2=d1/x1", "d3/", "d3/y2=d2/y1"},
       4,
       TSortOrder::NameAsc,
       {},
       true},
      {"folders swapped, entered under their new names",
       {"a/xa", "b/yb"},
       kSwap,
       {"a/", "a/ya=b/yb", "b/", "b/xb=a/xa"},
       4,
       TSortOrder::NameAsc,
       {},
       true},
  };
  test::TTempDir dir;
  const std::string root = dir / "root/";
  for (const Row& row : rows) {
    fs::remove_all(root);
    Make(root, row.before);
    const Paths original = Contents(root);
    TJobList jobs;
    for (const TJob& job : row.jobs) jobs.AddNew(job);
    TRunOptions options = Options(root);
    options.sortOrder = row.order;
    options.recurseDirs = options.renameDirs = row.folders;
    options.confirm = !row.answers.empty();

    if (!options.confirm) {
      options.simulate = true;
      test::TRecordingRunHost simulationHost;
      TRenameRun simulation(jobs, options, simulationHost);
      simulation.Run();
      options.simulate = false;
      EXPECT_EQ(simulation.State().FilesRenamed + simulation.State().DirsRenamed, row.renamed) << row.what;
      EXPECT_EQ(simulation.State().ErrorCount, static_cast<int>(row.failures.size())) << row.what;
    }

    test::TRecordingRunHost host;
    host.answers = row.answers;
    TRenameRun run(jobs, options, host);
    run.Run();
    EXPECT_EQ(Contents(root), row.after) << row.what;
    Paths failures = row.failures;
    for (std::string& failure : failures) failure.replace(failure.find('@'), 1, root.substr(0, root.size() - 1));
    EXPECT_EQ(host.messages, failures) << row.what;
    EXPECT_EQ(host.questions, row.questions) << row.what;
    EXPECT_EQ(run.State().FilesRenamed + run.State().DirsRenamed, row.renamed) << row.what;
    EXPECT_EQ(run.State().ErrorCount, static_cast<int>(row.failures.size())) << row.what;

    test::TRecordingMessages undoMessages;
    undoMessages.answers = {true};
    EXPECT_EQ(UndoTree(root, undoMessages).errors, 0) << row.what;
    EXPECT_EQ(Contents(root), original) << row.what;
  }
}

// A cycle of three, a swap and a shift: each rename of the run moves an entry.
const Paths kCyclesAndShift = {"a", "b", "c", "f1", "f2", "f3", "f4", "f5", "x", "y"};
// A shift whose head is held by a folder that stays, and a file that moves after it.
const Paths kShiftIntoAFolder = {"f1", "f2", "f3/", "g4"};

void RunChains(const std::string& root, sys::TSysCalls& calls) {
  TJobList jobs;
  for (const TJob& job : kCycle) jobs.AddNew(job);
  for (const TJob& job : {Replace("x", "#"), Replace("y", "x"), Replace("#", "y")}) jobs.AddNew(job);
  for (const TJob& job : kDigitsUp) jobs.AddNew(job);
  test::TRecordingRunHost host;
  sys::TScopedSysCalls seam(calls);
  TRenameRun(jobs, Options(root), host).Run();
}

// Runs the jobs over `folder` killed just before and just after each of its renames in
// turn; after each kill one Undo must bring back the names exactly, with no error.
void KillAtEveryRename(const std::string& root, const Paths& folder, const Paths& renamed) {
  Make(root, folder);
  const Paths original = Contents(root);
  test::TKillAtRename counting(0, false);
  RunChains(root, counting);
  ASSERT_EQ(Contents(root), renamed);
  ASSERT_EQ(test::UndoFailures(UndoDirectory, root), "");
  ASSERT_EQ(Contents(root), original);

  for (int killAt = 1; killAt <= static_cast<int>(counting.renames.size()); ++killAt) {
    for (const bool afterTheCall : {false, true}) {
      const std::string moment = std::string(afterTheCall ? "just after" : "just before") + " rename " +
                                 std::to_string(killAt) + ", " + counting.renames[killAt - 1].first + " -> " +
                                 counting.renames[killAt - 1].second;
      fs::remove_all(root);
      Make(root, folder);
      const test::TChildEnd end = test::RunInChild([&] {
        test::TKillAtRename killing(killAt, afterTheCall);
        RunChains(root, killing);
        return std::string("the run finished");
      });
      EXPECT_TRUE(WIFSIGNALED(end.status) && WTERMSIG(end.status) == SIGKILL)
          << moment << ": " << test::StatusText(end.status) << " " << end.output;
      EXPECT_EQ(test::UndoFailures(UndoDirectory, root), "") << moment;
      EXPECT_FALSE(fs::exists(root + "_quillex_undo.txt")) << moment;
      EXPECT_EQ(Contents(root), original) << moment;
    }
  }
}

TEST(UChainTest, AKillAtAnyRenameOfCyclesAndAShiftIsTakenBackByOneUndo) {
  test::TTempDir dir;
  KillAtEveryRename(dir / "root/", kCyclesAndShift,
                    {"a=c", "b=a", "c=b", "f2=f1", "f3=f2", "f4=f3", "f5=f4", "f6=f5", "x=y", "y=x"});
}

// A rename the file system refuses must leave nothing in the record that Undo could not
// take back, whenever the run is killed.
TEST(UChainTest, AKillAtAnyRenameOfAShiftIntoAFolderIsTakenBackByOneUndo) {
  test::TTempDir dir;
  KillAtEveryRename(dir / "root/", kShiftIntoAFolder, {"f1=f1", "f2=f2", "f3/", "g5=g4"});
}

}  // namespace
}  // namespace qx
