// SPDX-License-Identifier: GPL-3.0-or-later
// The run over several folders at once where it fails or stops: a failure at every
// system call in turn, a cancel at every moment the run asks for one, and an undo file
// refused in a folder below. Each must say what happened, and one UndoTree must bring
// back exactly the tree as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/USysCalls.h"
#include "rename/URenameRun.h"
#include "rename/UUndo.h"
#include "support/UFaultySysCalls.h"
#include "support/UKillAtRename.h"
#include "support/UMakeJob.h"
#include "support/URecordingRunHost.h"
#include "support/UTempDir.h"
#include "support/UTree.h"

namespace qx {
namespace {

using Paths = std::vector<std::string>;

// Asks for a cancel from its `cancelAt`th question on (from 0).
class TCancelAt : public test::TRecordingRunHost {
 public:
  explicit TCancelAt(int cancelAt) : m_cancelAt(cancelAt) {}
  bool CancelRequested() override { return m_asked++ >= m_cancelAt; }
  int Asked() const { return m_asked; }

 private:
  const int m_cancelAt;
  int m_asked = 0;
};

constexpr int kFolders = 3;

void MakeOriginal(const std::string& root) {
  Paths paths;
  for (const char* folder : {"alpha/", "beta/", "beta/gamma/", "delta/", ""}) {
    for (const char* file : {"one.txt", "two.txt"}) paths.push_back(std::string(folder) + file);
  }
  test::MakeTree(root, paths);
}

struct TOutcome {
  TRunState state;
  bool completed;
  Paths log, messages;
};

// Upper case for every file and folder of the tree, undo on, `folders` at once.
TOutcome RunUpperCase(const std::string& root, test::TRecordingRunHost& host, sys::TSysCalls* calls = nullptr,
                      int folders = kFolders) {
  TJobList jobs;
  jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
  TRunOptions options;
  options.startDirectory = root;
  options.recurseDirs = options.renameDirs = options.undo = options.log = true;
  options.parallel = folders;
  std::optional<sys::TScopedSysCalls> seam;
  if (calls) seam.emplace(*calls);
  TRenameRun run(jobs, options, host);
  const bool completed = run.Run();
  return {run.State(), completed, host.log, host.messages};
}

// What one UndoTree says went wrong; nothing to say where the run wrote no undo file.
std::string TakeBack(const std::string& root) {
  const Paths tree = test::ListTree(root);
  const bool recorded = std::any_of(tree.begin(), tree.end(), [](const std::string& path) {
    return path == "_quillex_undo.txt" || path.ends_with("/_quillex_undo.txt");
  });
  return recorded ? test::UndoFailures(UndoTree, root) : "";
}

bool Said(const Paths& lines, const std::string& part) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return line.find(part) != std::string::npos; });
}

TEST(URenameRunParallelTest, AFailureAtAnySystemCallIsSaidAndTakenBack) {
  test::TTempDir dir;
  const std::string root = dir / "root";
  MakeOriginal(root);
  const Paths original = test::ListTree(root);
  test::TFailNthCall counting(-1);
  test::TRecordingRunHost cleanHost;
  RunUpperCase(root, cleanHost, &counting);
  const Paths cleanResult = test::ListTree(root);
  ASSERT_EQ(test::UndoFailures(UndoTree, root), "");
  for (long failAt = 0; failAt < counting.Calls(); ++failAt) {
    std::filesystem::remove_all(root);
    MakeOriginal(root);
    test::TFailNthCall failing(failAt);
    test::TRecordingRunHost host;
    const TOutcome outcome = RunUpperCase(root, host, &failing);
    const std::string what = "failure at call " + std::to_string(failAt);
    // A failure that changed what the run did is reported; one that changed nothing (a
    // look at whether a folder ignores case, say) need not be.
    if (test::ListTree(root) != cleanResult || !outcome.completed) {
      EXPECT_GT(outcome.state.ErrorCount, 0) << what;
      EXPECT_TRUE(Said(outcome.log, "Input/output error")) << what;
    }
    EXPECT_EQ(TakeBack(root), "") << what;
    EXPECT_EQ(test::ListTree(root), original) << what;
  }
}

TEST(URenameRunParallelTest, ACancelAtAnyMomentIsSaidAndTakenBack) {
  test::TTempDir dir;
  const std::string root = dir / "root";
  MakeOriginal(root);
  const Paths original = test::ListTree(root);
  TCancelAt counting(1 << 30);
  RunUpperCase(root, counting);
  ASSERT_EQ(test::UndoFailures(UndoTree, root), "");
  for (int cancelAt = 0; cancelAt <= counting.Asked(); ++cancelAt) {
    std::filesystem::remove_all(root);
    MakeOriginal(root);
    TCancelAt host(cancelAt);
    const TOutcome outcome = RunUpperCase(root, host);
    const std::string what = "cancelled at question " + std::to_string(cancelAt);
    EXPECT_TRUE(cancelAt > 0 || outcome.state.Cancelled) << what;
    EXPECT_EQ(Said(outcome.log, "---- Cancelled"), outcome.state.Cancelled) << what;
    EXPECT_EQ(TakeBack(root), "") << what;
    EXPECT_EQ(test::ListTree(root), original) << what;
  }
}

TEST(URenameRunParallelTest, AnUndoFileRefusedInAFolderBelowStopsTheRunAndTheRestIsTakenBack) {
  test::TTempDir dir;
  const std::string root = dir / "root";
  MakeOriginal(root);
  ASSERT_EQ(mkfifo((root + "/beta/gamma/_quillex_undo.txt").c_str(), 0600), 0);
  const Paths original = test::ListTree(root);
  test::TRecordingRunHost host;
  const TOutcome outcome = RunUpperCase(root, host);
  EXPECT_FALSE(outcome.completed);
  EXPECT_GT(outcome.state.ErrorCount, 0);
  const std::string refusal = "GAMMA/_quillex_undo.txt: it is not a regular file";
  EXPECT_TRUE(Said(outcome.messages, refusal));
  EXPECT_TRUE(Said(outcome.log, refusal));
  // Undo refuses the FIFO too, and takes back everything else.
  const std::string undoFailures = test::UndoFailures(UndoTree, root);
  EXPECT_NE(undoFailures.find(refusal), std::string::npos) << undoFailures;
  EXPECT_EQ(test::ListTree(root), original);
}

TEST(URenameRunParallelTest, FoldersAtOnceBeyondTheLimitsAreHeldToThem) {
  test::TTempDir dir;
  const std::string root = dir / "root";
  MakeOriginal(root);
  test::TRecordingRunHost oneAfterAnother;
  RunUpperCase(root, oneAfterAnother, nullptr, 1);
  const Paths renamed = test::ListTree(root);
  ASSERT_EQ(test::UndoFailures(UndoTree, root), "");
  for (const int folders : {kMostFoldersAtOnce + 1, 1'000'000, -7}) {
    test::TRecordingRunHost host;
    const TOutcome outcome = RunUpperCase(root, host, nullptr, folders);
    EXPECT_TRUE(outcome.completed) << folders;
    EXPECT_EQ(outcome.state.ErrorCount, 0) << folders;
    EXPECT_EQ(test::ListTree(root), renamed) << folders;
    EXPECT_EQ(outcome.log.size(), oneAfterAnother.log.size()) << folders;
    ASSERT_EQ(test::UndoFailures(UndoTree, root), "") << folders;
  }
}

}  // namespace
}  // namespace qx
