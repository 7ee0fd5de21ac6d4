// SPDX-License-Identifier: GPL-3.0-or-later
// A selection's paths, common folder and folders, the line that counts it, and how its
// paths follow a run's renames and an undo's.
#include <gtest/gtest.h>

#include "rename/UFollowedPaths.h"
#include "rename/URenameRun.h"
#include "rename/USelection.h"
#include "support/UMakeJob.h"
#include "support/URecordingRunHost.h"
#include "support/UTempDir.h"
#include "support/UTree.h"

namespace qx {
namespace {

using Paths = std::vector<std::string>;

TEST(USelectionTest, PathsCommonFolderAndFolders) {
  struct Row {
    const char* what;
    Paths given, paths;
    std::string common;
    Paths below, folders;
  };
  const Row rows[] = {
      {"one folder", {"/p/a.txt", "/p/b.txt"}, {"/p/a.txt", "/p/b.txt"}, "/p", {"a.txt", "b.txt"}, {"/p"}},
      {"three folders, each before the folders that hold it",
       {"/p/x/1", "/p/3", "/p/x/y/2"},
       {"/p/x/1", "/p/3", "/p/x/y/2"},
       "/p",
       {"x/1", "3", "x/y/2"},
       {"/p/x/y", "/p/x", "/p"}},
      {"written two ways, one entry",
       {"/p//a/./b.txt", "/p/a/b.txt", "/p/a/"},
       {"/p/a/b.txt", "/p/a"},
       "/p",
       {"a/b.txt", "a"},
       {"/p/a", "/p"}},
      {"a name that starts another is no folder of it",
       {"/p/ab/x", "/p/a/y"},
       {"/p/ab/x", "/p/a/y"},
       "/p",
       {"ab/x", "a/y"},
       {"/p/ab", "/p/a"}},
      {"at the root", {"/a", "/b/c"}, {"/a", "/b/c"}, "/", {"a", "b/c"}, {"/b", "/"}},
  };
  for (const Row& row : rows) {
    const TSelection selection(row.given);
    EXPECT_EQ(selection.Paths(), row.paths) << row.what;
    EXPECT_EQ(selection.CommonFolder(), row.common) << row.what;
    EXPECT_EQ(selection.PathsBelow(), row.below) << row.what;
    EXPECT_EQ(selection.Folders(), row.folders) << row.what;
    ASSERT_EQ(selection.Given().size(), row.paths.size()) << row.what;
    EXPECT_EQ(selection.Given().back().path, row.paths.back()) << row.what;
  }
}

TEST(USelectionTest, SummaryCountsFilesFoldersAndPlaces) {
  struct Row {
    std::size_t files, folders, places;
    const char* summary;
  };
  const Row rows[] = {
      {1, 0, 1, "1 selected file"},
      {12, 0, 3, "12 selected files in 3 folders"},
      {0, 1, 1, "1 selected folder"},
      {0, 2, 2, "2 selected folders in 2 folders"},
      {10, 2, 3, "10 selected files and 2 folders in 3 folders"},
      {1, 1, 1, "1 selected file and 1 folder"},
      {0, 0, 0, "None of the selected files and folders is there any more"},
  };
  for (const Row& row : rows) EXPECT_EQ(SelectionSummary(row.files, row.folders, row.places), row.summary);
}

// A rename told: in `folder`, `steps` (old and new names), either a run's entries or an
// undo's steps one after another.
struct TTold {
  std::string folder;
  std::vector<TRenameStep> steps;
  bool inTurn = false;
};

TEST(USelectionTest, PathsFollowTheRenames) {
  using Names = TFollowedPaths::TFolderNames;
  struct Row {
    const char* what;
    Paths paths;
    Names names;
    std::vector<TTold> told;
    Paths after;
  };
  const Row rows[] = {
      {"files in two folders, others passed over",
       {"/p/a", "/p/q/b"},
       Names::before,
       {{"/p", {{"a", "A"}, {"c", "C"}}}, {"/p/q", {{"b", "B"}}}, {"/p/r", {{"b", "x"}}}},
       {"/p/A", "/p/q/B"}},
      {"a swap", {"/p/a", "/p/b"}, Names::before, {{"/p", {{"a", "b"}, {"b", "a"}}}}, {"/p/b", "/p/a"}},
      {"a folder and an entry of it, told by the folder's name before",
       {"/p/a", "/p/a/x"},
       Names::before,
       {{"/p", {{"a", "A"}}}, {"/p/a", {{"x", "X"}}}},
       {"/p/A", "/p/A/X"}},
      {"two folders swapped, an entry of one told by its folder's name before",
       {"/p/a", "/p/b", "/p/a/x"},
       Names::before,
       {{"/p", {{"a", "b"}, {"b", "a"}}}, {"/p/a", {{"x", "X"}}}},
       {"/p/b", "/p/a", "/p/b/X"}},
      {"two folders swapped, an entry of one told by its folder's new name",
       {"/p/a", "/p/b", "/p/a/x"},
       Names::after,
       {{"/p", {{"a", "b"}, {"b", "a"}}}, {"/p/b", {{"x", "X"}}}},
       {"/p/b", "/p/a", "/p/b/X"}},
      {"a walk below a renamed folder",
       {"/p/a", "/p/a/s/t"},
       Names::after,
       {{"/p", {{"a", "A"}}}, {"/p/A", {{"s", "S"}}}, {"/p/A/S", {{"t", "T"}}}},
       {"/p/A", "/p/A/S/T"}},
      {"an undo's chain", {"/p/c"}, Names::before, {{"/p", {{"c", "b"}, {"b", "a"}}, true}}, {"/p/a"}},
      {"an undo's cycle through a temporary name",
       {"/p/a", "/p/b"},
       Names::before,
       {{"/p", {{"b", "t"}, {"a", "b"}, {"t", "a"}}, true}},
       {"/p/b", "/p/a"}},
      {"an undo inside a folder, then of the folder",
       {"/p/A", "/p/A/X"},
       Names::before,
       {{"/p/A", {{"X", "x"}}, true}, {"/p", {{"A", "a"}}, true}},
       {"/p/a", "/p/a/x"}},
  };
  for (const Row& row : rows) {
    TFollowedPaths followed(row.paths, row.names);
    for (const TTold& told : row.told) {
      if (told.inTurn) {
        followed.RenamedInTurn(told.folder, told.steps);
        continue;
      }
      for (const TRenameStep& step : told.steps) followed.Renamed(told.folder, step.from, step.to);
    }
    EXPECT_EQ(followed.Paths(), row.after) << row.what;
  }
}

// A run host that has the selection follow each entry the run settles.
class TFollowingHost : public test::TRecordingRunHost {
 public:
  explicit TFollowingHost(TFollowedPaths& followed) : m_followed(followed) {}
  void EntryDone(const TEntryOutcome& outcome) override {
    if (outcome.status == TEntryStatus::Renamed)
      m_followed.Renamed(outcome.folder.Text(), outcome.oldName, outcome.newName);
  }

 private:
  TFollowedPaths& m_followed;
};

// The names a real run over given entries tells, followed, lead to the entries it renamed,
// whether it names a renamed folder's entries by the folder's name before (a given
// folder's own visit) or after (its walk).
TEST(USelectionTest, ARunsOutcomesLeadToTheRenamedEntries) {
  struct Row {
    const char* what;
    bool recurse;
    Paths tree;
    std::vector<TGivenEntry> given;  // below the root; upper case unless a new name is given
    Paths followed;
  };
  const Row rows[] = {
      {"a folder, an entry of it and one beside",
       false,
       {"a/x", "b/y", "c"},
       {{"a"}, {"a/x"}, {"b/y"}},
       {"A", "A/X", "b/Y"}},
      {"two folders swapped, one entered", true, {"a/x", "b/"}, {{"b", "a"}, {"a", "b"}, {"a/x"}}, {"a", "b", "b/X"}},
      {"a folder's walk", true, {"a/s/t", "c"}, {{"a"}, {"a/s/t"}}, {"A", "A/S/T"}},
  };
  for (const Row& row : rows) {
    const test::TTempDir root;
    test::MakeTree(root.Path(), row.tree);
    TRunOptions options;
    options.renameDirs = true;
    options.recurseDirs = row.recurse;
    options.given.emplace();
    Paths given;
    for (const TGivenEntry& entry : row.given) {
      given.push_back(root / entry.path);
      options.given->push_back({given.back(), entry.newName});
    }
    TFollowedPaths followed(given,
                            row.recurse ? TFollowedPaths::TFolderNames::after : TFollowedPaths::TFolderNames::before);
    TFollowingHost host(followed);
    TJobList jobs;
    jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
    ASSERT_TRUE(TRenameRun(jobs, options, host).Run()) << row.what;
    Paths expected;
    for (const std::string& path : row.followed) expected.push_back(root / path);
    EXPECT_EQ(followed.Paths(), expected) << row.what;
  }
}

}  // namespace
}  // namespace qx
