// SPDX-License-Identifier: GPL-3.0-or-later
// Kills a real run at chosen moments, just before and just after its Nth rename, for
// every N and on each step of a two-step rename, and checks that one UndoTree brings
// back exactly the tree as it was: no rename may ever be missing from an undo file, and
// none recorded ahead in a batch but not made yet may be taken back. QX_KILL_ROUNDS
// spreads fewer moments over the run instead.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string_view>

#include "platform/USysCalls.h"
#include "rename/URenameRun.h"
#include "rename/UUndo.h"
#include "support/UChild.h"
#include "support/UKillAtRename.h"
#include "support/UMakeJob.h"
#include "support/URecordingMessages.h"
#include "support/URecordingRunHost.h"
#include "support/UTempDir.h"
#include "support/UTree.h"
#include "support/fuse/UCaseFoldMount.h"

namespace qx {
namespace {

using Paths = std::vector<std::string>;

using test::TKillAtRename;

bool IsTemporary(std::string_view name) { return name.rfind(".quillex-case-", 0) == 0; }

// The moments (1-based rename numbers) that move an entry to or from a temporary name.
std::vector<int> TemporarySteps(const TKillAtRename& counting) {
  std::vector<int> steps;
  for (std::size_t i = 0; i < counting.renames.size(); ++i) {
    const auto& [from, to] = counting.renames[i];
    if (IsTemporary(from) || IsTemporary(to)) steps.push_back(static_cast<int>(i) + 1);
  }
  return steps;
}

// Folders and files in lower case, which upper case renames; where the folder ignores
// case each is a change of case only, made through a temporary name in two steps. Six
// files to a folder are renamed in batches of one, two and three.
void MakeOriginal(const std::string& root, std::size_t filesPerFolder) {
  const char* files[] = {"one.txt", "two.txt", "three.txt", "four.txt", "five.txt", "six.txt"};
  Paths paths;
  for (const char* folder : {"alpha/", "beta/", "beta/gamma/", ""}) {
    for (std::size_t i = 0; i < filesPerFolder; ++i) paths.push_back(std::string(folder) + files[i]);
  }
  test::MakeTree(root, paths);
}

void RunUpperCase(const std::string& root, sys::TSysCalls& calls, int parallel) {
  TJobList jobs;
  jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
  TRunOptions options;
  options.startDirectory = root;
  options.recurseDirs = options.renameDirs = options.undo = true;
  options.parallel = parallel;
  test::TRecordingRunHost host;
  sys::TScopedSysCalls seam(calls);
  TRenameRun(jobs, options, host).Run();
}

bool IsUndoFile(const std::string& path) { return path == "_quillex_undo.txt" || path.ends_with("/_quillex_undo.txt"); }

// The tree's entries without its undo files.
Paths NamesOf(Paths paths) {
  std::erase_if(paths, IsUndoFile);
  return paths;
}

bool HoldsUndoFile(const Paths& paths) { return std::any_of(paths.begin(), paths.end(), IsUndoFile); }

// Kills the run at each moment and takes it back with one UndoTree; `twoSteps` when
// every rename is a change of case made through a temporary name. With `parallel`
// folders at once, the Nth rename is whichever thread's comes Nth.
void KillAndUndo(const std::string& root, bool twoSteps, int parallel = 1) {
  // A change of case where case is ignored is made alone, never in a batch.
  const std::size_t filesPerFolder = twoSteps ? 3 : 6;
  MakeOriginal(root, filesPerFolder);
  const Paths original = test::ListTree(root);

  TKillAtRename counting(0, false);
  RunUpperCase(root, counting, parallel);
  ASSERT_NE(test::ListTree(root), original);
  // A change of case where case is ignored: the refused first try, then two steps
  // through a temporary name.
  const std::vector<int> temporarySteps = TemporarySteps(counting);
  ASSERT_EQ(3 * temporarySteps.size(), twoSteps ? 2 * counting.renames.size() : 0u);
  ASSERT_EQ(test::UndoFailures(UndoTree, root), "");
  ASSERT_EQ(test::ListTree(root), original);

  const char* roundsSetting = std::getenv("QX_KILL_ROUNDS");
  const int renames = static_cast<int>(counting.renames.size());
  const int rounds = std::max(2, roundsSetting ? std::atoi(roundsSetting) : renames);
  std::set<int> moments(temporarySteps.begin(), temporarySteps.end());
  for (int i = 0; i < rounds; ++i) moments.insert(1 + static_cast<int>(i * std::int64_t{renames - 1} / (rounds - 1)));

  for (const int killAt : moments) {
    for (const bool afterTheCall : {false, true}) {
      const std::string moment =
          std::string(afterTheCall ? "just after" : "just before") + " rename " + std::to_string(killAt);
      std::filesystem::remove_all(root);
      MakeOriginal(root, filesPerFolder);
      const test::TChildEnd end = test::RunInChild([&] {
        TKillAtRename killing(killAt, afterTheCall);
        RunUpperCase(root, killing, parallel);
        return std::string("the run finished");
      });
      EXPECT_TRUE(WIFSIGNALED(end.status) && WTERMSIG(end.status) == SIGKILL)
          << moment << ": " << test::StatusText(end.status) << " " << end.output;
      EXPECT_EQ(test::UndoFailures(UndoTree, root), "") << moment;
      EXPECT_EQ(NamesOf(test::ListTree(root)), original) << moment;
      EXPECT_FALSE(HoldsUndoFile(test::ListTree(root))) << moment;
    }
  }
}

TEST(UKillTest, UndoTreeAfterAKillAtAnyRenameRestoresTheTree) {
  test::TTempDir dir;
  KillAndUndo(dir / "root", false);
}

TEST(UKillTest, UndoTreeAfterAKillOfARunOverSeveralFoldersAtOnceRestoresTheTree) {
  test::TTempDir dir;
  KillAndUndo(dir / "root", false, 3);
}

TEST(UKillTest, AKillBetweenTheTwoStepsOfACaseChangeIsTakenBackToo) {
  test::TCaseFoldMount folder;
  if (!folder.Available()) GTEST_SKIP() << folder.Unavailable();
  KillAndUndo(folder / "root", true);
}

}  // namespace
}  // namespace qx
