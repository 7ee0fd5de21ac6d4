// SPDX-License-Identifier: GPL-3.0-or-later
// Whole trees through a real run and back through one UndoTree: a copy of a real tree
// of documents, and a chain of folders far deeper than a path may be long.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/UDirectory.h"
#include "rename/URenameRun.h"
#include "rename/UUndo.h"
#include "support/UMakeJob.h"
#include "support/URecordingMessages.h"
#include "support/URecordingRunHost.h"
#include "support/UTempDir.h"
#include "support/UTree.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<std::string>;

// Stands in where no documentation tree is installed: 3,000 files with contents of
// their own in 150 folders two levels deep, and a symbolic link in each folder.
void MakeGeneratedTree(const std::string& root) {
  for (int part = 0; part < 10; ++part) {
    for (int section = 0; section < 15; ++section) {
      const fs::path folder =
          fs::path(root) / ("part " + std::to_string(part)) / ("section " + std::to_string(section));
      fs::create_directories(folder);
      for (int page = 0; page < 20; ++page) {
        std::ofstream(folder / ("page " + std::to_string(page) + ".txt")) << part << '/' << section << '/' << page;
      }
      fs::create_symlink("page 0.txt", folder / "first");
    }
  }
}

// A real run with folders renamed and undo on; or a simulation whose tree lands in `tree`.
TRunState RunOver(const std::string& root, const TJob& job, bool simulate, TResultTree* tree = nullptr) {
  TJobList jobs;
  jobs.AddNew(job);
  TRunOptions options;
  options.startDirectory = root;
  options.recurseDirs = options.renameDirs = options.undo = true;
  options.simulate = simulate;
  test::TRecordingRunHost host;
  TRenameRun run(jobs, options, host);
  EXPECT_TRUE(run.Run());
  if (tree != nullptr) *tree = run.TakeResultTree();
  return run.State();
}

TUndoOutcome UndoTreeSayingYes(const std::string& root) {
  test::TRecordingMessages messages;
  messages.answers = {true};
  return UndoTree(root, messages);
}

TEST(URoundTripTest, ACopyOfARealTreeComesBackByteForByteAfterOneUndoTree) {
  test::TTempDir dir;
  const std::string root = dir / "tree";
  const fs::path documents = "/usr/share/doc";
  if (fs::is_directory(documents)) {
    fs::copy(documents, root, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  } else {
    MakeGeneratedTree(root);
  }
  const Paths before = test::SnapshotTree(root);
  const TRunState run = RunOver(root, test::MakeJob(TJobKind::jobInsert, 0, 0, 0, "~ "), false);
  ASSERT_GT(run.FilesRenamed, 0);
  ASSERT_GT(run.DirsRenamed, 0);
  const TUndoOutcome undo = UndoTreeSayingYes(root);
  EXPECT_EQ(undo.errors, 0);
  EXPECT_EQ(undo.renamed, run.FilesRenamed + run.DirsRenamed);
  EXPECT_EQ(test::SnapshotTree(root), before);
}

TEST(URoundTripTest, AChainOf15000FoldersWorksInBothRunsAndComesBackAfterOneUndoTree) {
  RaiseOpenFileLimit();  // the walk holds a handle per level
  constexpr int kDepth = 15000;
  test::TTempDir dir;
  const std::string root = dir / "chain";
  fs::create_directory(root);
  test::MakeChain(root, kDepth, "d", "f.txt");
  const Paths before = test::DescribeChain(root);
  ASSERT_EQ(before.size(), kDepth + 1u);
  const TJob upperCase = test::MakeJob(TJobKind::jobUpper, 0);

  TResultTree predicted;
  const TRunState simulated = RunOver(root, upperCase, true, &predicted);
  EXPECT_EQ(simulated.ErrorCount, 0);
  EXPECT_EQ(simulated.FilesRenamed, 1);
  EXPECT_EQ(simulated.DirsRenamed, kDepth);
  TNodeId deepest = predicted.Root();
  for (int level = 0; level < kDepth && predicted.ChildCount(deepest) == 1; ++level) {
    deepest = predicted.ChildAt(deepest, 0);
    ASSERT_EQ(predicted.State(deepest), TNodeState::FolderRenamed) << level;
  }
  ASSERT_EQ(predicted.ChildCount(deepest), 1u);
  EXPECT_EQ(predicted.Text(predicted.ChildAt(deepest, 0)), "F.TXT");
  EXPECT_EQ(test::DescribeChain(root), before) << "a simulation renames nothing";

  const TRunState real = RunOver(root, upperCase, false);
  EXPECT_EQ(real.ErrorCount, 0);
  EXPECT_EQ(real.FilesRenamed, 1);
  EXPECT_EQ(real.DirsRenamed, kDepth);
  const Paths renamed = test::DescribeChain(root);
  ASSERT_EQ(renamed.size(), kDepth + 1u);
  EXPECT_EQ(renamed.front(), "D|_quillex_undo.txt");
  EXPECT_EQ(renamed.back(), "F.TXT|_quillex_undo.txt");

  const TUndoOutcome undo = UndoTreeSayingYes(root);
  EXPECT_EQ(undo.errors, 0);
  EXPECT_EQ(undo.renamed, kDepth + 1);
  EXPECT_EQ(test::DescribeChain(root), before);
}

}  // namespace
}  // namespace qx
