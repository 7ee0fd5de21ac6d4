// SPDX-License-Identifier: GPL-3.0-or-later
// Renames within one folder that wait for each other: shifts in every order, swaps and
// cycles of three, a member declined or held by an entry that stays, folders in a chain;
// runs of cycles and shifts, alone and among renames made in batches, killed at each of
// their renames or failed at each system call, which one Undo takes back; a batch whose
// record cannot be written, and questions, which see every rename answered Yes made.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/USysCalls.h"
#include "rename/URenameRun.h"
#include "rename/UUndo.h"
#include "support/UChild.h"
#include "support/UFaultySysCalls.h"
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

// The cycles and the shift among files that each take a free name ("qa" -> "qb" ...),
// whose renames are made in batches of 1, 2, 4, 8 and 16 here; then a file takes the
// name another one frees at its turn just before (xa -> yb, then yc -> xa), where the
// next batch could have held both.
constexpr std::size_t kFreeNames = 31;
Paths Batched() {
  Paths folder = kCyclesAndShift;
  for (std::size_t i = 1; i <= kFreeNames; ++i) folder.push_back(std::string(i, 'q') + "a");
  folder.insert(folder.end(), {"xa", "yc"});
  return folder;
}
const Paths kCyclesAndShiftDone = {"a=c", "b=a", "c=b", "f2=f1", "f3=f2", "f4=f3", "f5=f4", "f6=f5", "x=y", "y=x"};
Paths BatchedDone() {
  Paths contents = kCyclesAndShiftDone;
  contents.insert(contents.end(), {"xa=yc", "yb=xa"});
  for (std::size_t i = 1; i <= kFreeNames; ++i) {
    contents.push_back(std::string(i, 'q') + "b=" + std::string(i, 'q') + "a");
  }
  std::sort(contents.begin(), contents.end());
  return contents;
}

struct TChainsRun {
  TRunState state;
  Paths messages;
};

TChainsRun RunChains(const std::string& root, sys::TSysCalls& calls) {
  TJobList jobs;
  for (const TJob& job : kCycle) jobs.AddNew(job);
  for (const TJob& job : {Replace("x", "#"), Replace("y", "x"), Replace("#", "y")}) jobs.AddNew(job);
  for (const TJob& job : kDigitsUp) jobs.AddNew(job);
  test::TRecordingRunHost host;
  sys::TScopedSysCalls seam(calls);
  TRenameRun run(jobs, Options(root), host);
  run.Run();
  return {run.State(), host.messages};
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
  KillAtEveryRename(dir / "root/", kCyclesAndShift, kCyclesAndShiftDone);
}

// Each batch's records are written before its first rename: a kill at any place in a
// batch leaves records of renames not made yet, which Undo must pass over.
TEST(UChainTest, AKillAtAnyRenameOfABatchIsTakenBackByOneUndo) {
  test::TTempDir dir;
  KillAtEveryRename(dir / "root/", Batched(), BatchedDone());
}

TEST(UChainTest, AFailureAtAnySystemCallAmongBatchesIsSaidAndTakenBackByOneUndo) {
  test::TTempDir dir;
  const std::string root = dir / "root/";
  Make(root, Batched());
  const Paths original = Contents(root);
  test::TFailNthCall counting(-1);
  RunChains(root, counting);
  ASSERT_EQ(Contents(root), BatchedDone());
  for (long failAt = 0; failAt < counting.Calls(); ++failAt) {
    const std::string what = "failure at call " + std::to_string(failAt);
    fs::remove_all(root);
    Make(root, Batched());
    test::TFailNthCall failing(failAt);
    const TChainsRun run = RunChains(root, failing);
    if (Contents(root) != BatchedDone()) {
      EXPECT_GT(run.state.ErrorCount, 0) << what;
    }
    if (fs::exists(root + "_quillex_undo.txt")) {
      EXPECT_EQ(test::UndoFailures(UndoDirectory, root), "") << what;
    }
    EXPECT_EQ(Contents(root), original) << what;
  }
}

// A full disk takes part of the write, then refuses the rest.
class TFullDisk : public test::TFaultySysCalls {
 public:
  explicit TFullDisk(int writesFirst) : TFaultySysCalls(test::TCall::Write, ENOSPC, writesFirst) {}
  int RenameAt2(int oldDir, const char* oldName, int newDir, const char* newName, unsigned flags) override {
    if (Failures() > 0) ++renamesAfter;
    return TFaultySysCalls::RenameAt2(oldDir, oldName, newDir, newName, flags);
  }
  int renamesAfter = 0;
};

TEST(UChainTest, ABatchWhoseRecordCannotBeWrittenStopsTheRunBeforeAnyOfItsRenames) {
  test::TTempDir dir;
  const std::string root = dir / "root/";
  for (int writesFirst = 0;; ++writesFirst) {
    const std::string what = "the disk full after " + std::to_string(writesFirst) + " writes";
    fs::remove_all(root);
    Make(root, Batched());
    const Paths original = Contents(root);
    TFullDisk failing(writesFirst);
    const TChainsRun run = RunChains(root, failing);
    if (failing.Failures() == 0) break;  // the run wrote less
    EXPECT_EQ(failing.renamesAfter, 0) << what;
    ASSERT_EQ(run.messages.size(), 1u) << what;
    EXPECT_NE(run.messages[0].find("_quillex_undo.txt: No space left on device"), std::string::npos) << what;
    EXPECT_EQ(test::UndoFailures(UndoDirectory, root), "") << what;
    EXPECT_EQ(Contents(root), original) << what;
  }
}

class TCountWrites : public sys::TSysCalls {
 public:
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    ++writes;
    return TSysCalls::Write(fd, data, size);
  }
  int writes = 0;
};

// The records of a folder's renames go to its undo file a batch at a time, the first
// batches small, so that a folder of a few files costs no more writes than renames.
TEST(UChainTest, AFolderRecordsItsRenamesInFewWrites) {
  const std::pair<std::size_t, int> rows[] = {{1, 1}, {3, 2}, {200, 9}};  // files, most writes
  for (const auto& [files, mostWrites] : rows) {
    test::TTempDir dir;
    const std::string root = dir / "root/";
    Paths names;
    for (std::size_t i = 1; i <= files; ++i) names.push_back(std::string(i, 'q') + "a");
    Make(root, names);
    TCountWrites counting;
    RunChains(root, counting);
    EXPECT_LE(counting.writes, mostWrites) << files << " files";
    test::TRecordingMessages messages;
    messages.answers = {true};
    EXPECT_EQ(UndoDirectory(root, messages).renamed, static_cast<std::int32_t>(files)) << files << " files";
  }
}

// With "Confirm every change" each rename answered Yes is made before the next question;
// one answered No is never recorded; after Yes to All the rest go in batches.
TEST(UChainTest, EachRenameAnsweredYesIsMadeBeforeTheNextQuestion) {
  test::TTempDir dir;
  const std::string root = dir / "root/";
  Make(root, {"pa", "qa", "ra", "sa", "ta", "ua"});
  TJobList jobs;
  jobs.AddNew(Replace("a", "b"));
  TRunOptions options = Options(root);
  options.confirm = true;
  test::TRecordingRunHost host;
  host.renameAnswers = {TRenameAnswer::Yes, TRenameAnswer::No, TRenameAnswer::Yes, TRenameAnswer::YesToAll};
  std::vector<Paths> seen;  // the folder as each question shows it
  host.whileOpen = [&] { seen.push_back(Contents(root)); };
  TRenameRun(jobs, options, host).Run();
  const std::vector<Paths> expected = {
      {"pa=pa", "qa=qa", "ra=ra", "sa=sa", "ta=ta", "ua=ua"},
      {"pb=pa", "qa=qa", "ra=ra", "sa=sa", "ta=ta", "ua=ua"},
      {"pb=pa", "qa=qa", "ra=ra", "sa=sa", "ta=ta", "ua=ua"},
      {"pb=pa", "qa=qa", "rb=ra", "sa=sa", "ta=ta", "ua=ua"},
  };
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(Contents(root), (Paths{"pb=pa", "qa=qa", "rb=ra", "sb=sa", "tb=ta", "ub=ua"}));
  test::TRecordingMessages undoMessages;
  undoMessages.answers = {true};
  EXPECT_EQ(UndoDirectory(root, undoMessages).errors, 0);
  ASSERT_FALSE(undoMessages.questions.empty());
  EXPECT_NE(undoMessages.questions[0].find("(5 renames)"), std::string::npos) << undoMessages.questions[0];
  EXPECT_EQ(Contents(root), Unchanged({"pa", "qa", "ra", "sa", "ta", "ua"}));
}

// A rename the file system refuses must leave nothing in the record that Undo could not
// take back, whenever the run is killed.
TEST(UChainTest, AKillAtAnyRenameOfAShiftIntoAFolderIsTakenBackByOneUndo) {
  test::TTempDir dir;
  KillAtEveryRename(dir / "root/", kShiftIntoAFolder, {"f1=f1", "f2=f2", "f3/", "g5=g4"});
}

}  // namespace
}  // namespace qx
