// SPDX-License-Identifier: GPL-3.0-or-later
// The preview of a run finds each entry by its path: a folder's entries, and given
// entries in several folders, numbered as one series.
#include <gtest/gtest.h>

#include "rename/UFolderPreview.h"
#include "support/UMakeJob.h"
#include "support/UTempDir.h"
#include "support/UTree.h"

namespace qx {
namespace {

using test::MakeJob;

TEST(UFolderPreviewTest, EachEntryIsFoundByItsPath) {
  struct Row {
    const char* what;
    std::vector<std::string> tree;
    std::optional<std::vector<std::string>> given;  // below the root; else the root's entries
    TJob job;
    // Each path below the root and what the preview shows for it; "-" for no outcome.
    std::vector<std::pair<std::string, std::string>> shown;
  };
  const Row rows[] = {
      {"a folder's entries",
       {"a", "s/b"},
       std::nullopt,
       MakeJob(TJobKind::jobUpper, 0),
       {{"a", "A"}, {"s", "S"}, {"s/b", "-"}, {"b", "-"}}},
      {"given entries in three folders, one series",
       {"x/b", "x/other", "y/a", "c"},
       std::vector<std::string>{"x/b", "y/a", "c"},
       MakeJob(TJobKind::jobCounter, 0, 1),
       {{"y/a", "0a"}, {"x/b", "1b"}, {"c", "2c"}, {"x/other", "-"}, {"x", "-"}, {"b", "-"}}},
      {"a given folder and an entry of it",
       {"a/x", "b"},
       std::vector<std::string>{"a", "a/x"},
       MakeJob(TJobKind::jobUpper, 0),
       {{"a", "A"}, {"a/x", "X"}, {"b", "-"}}},
  };
  for (const Row& row : rows) {
    const test::TTempDir root;
    test::MakeTree(root.Path(), row.tree);
    TRunOptions options;
    options.startDirectory = root.Path().substr(0, root.Path().size() - 1);
    options.renameDirs = true;
    if (row.given) {
      options.given.emplace();
      for (const std::string& path : *row.given) options.given->push_back({root / path});
    }
    TJobList jobs;
    jobs.AddNew(row.job);
    const auto preview = TFolderPreview::Make(jobs, options, [] { return false; });
    ASSERT_TRUE(preview) << row.what;
    for (const auto& [path, shown] : row.shown) {
      const auto outcome = preview->Outcome(root / path);
      EXPECT_EQ(outcome ? std::string(outcome->text) : "-", shown) << row.what << ": " << path;
    }
  }
}

}  // namespace
}  // namespace qx
