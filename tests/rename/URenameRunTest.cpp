// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <stdexcept>

#include "platform/UFiles.h"
#include "platform/USysCalls.h"
#include "platform/USystemError.h"
#include "rename/URenameRun.h"
#include "rename/UUndo.h"
#include "support/UChild.h"
#include "support/UFaultySysCalls.h"
#include "support/UMakeJob.h"
#include "support/URecordingMessages.h"
#include "support/URecordingRunHost.h"
#include "support/UTempDir.h"
#include "support/UTree.h"

namespace qx {
namespace {

using K = TJobKind;
using test::ListTree;
using test::MakeJob;
using test::MakeTree;
using Paths = std::vector<std::string>;

class URenameRunTest : public ::testing::Test {
 protected:
  URenameRunTest() : m_root(m_dir / "root") {
    std::filesystem::create_directory(m_root);
    m_options.startDirectory = m_root;
  }

  TRunState Run() {
    TRenameRun run(m_jobs, m_options, m_host);
    m_completed = run.Run();
    m_tree = run.ResultTree();
    return run.State();
  }
  std::string UndoFile(const std::string& folder) { return ReadWholeFile(m_root + "/" + folder + "_quillex_undo.txt"); }

  test::TTempDir m_dir;
  std::string m_root;
  TJobList m_jobs;
  TRunOptions m_options;
  test::TRecordingRunHost m_host;
  TResultTree m_tree;
  bool m_completed = false;
};

// The tree as the command line prints it, one "tag text" per node, depth by indentation.
Paths Describe(const TResultTree& tree) {
  Paths lines;
  std::vector<std::pair<TNodeId, std::size_t>> stack = {{tree.Root(), 0}};
  const char* tags[] = {"D=", "F=", "D+", "F+", "D!", "F!"};
  while (!stack.empty()) {
    const auto [node, depth] = stack.back();
    stack.pop_back();
    lines.push_back(std::string(2 * depth, ' ') + tags[static_cast<int>(tree.State(node))] + " " +
                    std::string(tree.Text(node)));
    for (std::size_t i = tree.ChildCount(node); i-- > 0;) stack.emplace_back(tree.ChildAt(node, i), depth + 1);
  }
  return lines;
}

TEST_F(URenameRunTest, CollectsMatchingVisibleFilesAndEveryFolder) {
  MakeTree(m_root, {"README", "a.txt", ".hidden.txt", "_quillex_undo.txt", "_QUILLEX_UNDO.txt", ".hdir/f.txt"});
  m_jobs.AddNew(MakeJob(K::jobInsert, 1, 0, 0, "_r"));
  m_options.recurseDirs = m_options.renameDirs = true;
  const TRunState state = Run();
  EXPECT_EQ(ListTree(m_root), (Paths{".hdir_r/", ".hdir_r/f.txt_r", ".hidden.txt", "README_r", "_QUILLEX_UNDO.txt_r",
                                     "_quillex_undo.txt", "a.txt_r"}));
  EXPECT_EQ(state.FilesRenamed, 4);
  EXPECT_EQ(state.DirsRenamed, 1);
  EXPECT_TRUE(m_host.messages.empty());
}

TEST_F(URenameRunTest, TheMaskIsOnePatternMatchedIgnoringCase) {
  const std::pair<const char*, Paths> rows[] = {
      {"*.*", {"README_r", "a.TXT_r", "b.jpg_r"}},   {"*.txt", {"README", "a.TXT_r", "b.jpg"}},
      {"*.txt;*.jpg", {"README", "a.TXT", "b.jpg"}}, {"?.JPG", {"README", "a.TXT", "b.jpg_r"}},
      {"read*", {"README_r", "a.TXT", "b.jpg"}},
  };
  m_jobs.AddNew(MakeJob(K::jobInsert, 1, 0, 0, "_r"));
  for (const auto& [mask, expected] : rows) {
    std::filesystem::remove_all(m_root);
    MakeTree(m_root, {"README", "a.TXT", "b.jpg"});
    m_options.fileMask = mask;
    Run();
    EXPECT_EQ(ListTree(m_root), expected) << mask;
  }
}

TEST_F(URenameRunTest, SortOrdersDecideWhoGetsWhichNumber) {
  m_jobs.AddNew(MakeJob(K::jobCounter, 0, 1));
  struct Row {
    TSortOrder order;
    Paths expected;
  };
  const Row rows[] = {
      {TSortOrder::NameAsc, {"0a.txt", "1b.txt", "2C.txt"}},
      {TSortOrder::NameDesc, {"0C.txt", "1b.txt", "2a.txt"}},
      {TSortOrder::DateAsc, {"0b.txt", "1C.txt", "2a.txt"}},
      {TSortOrder::DateDesc, {"0a.txt", "1C.txt", "2b.txt"}},
  };
  for (const Row& row : rows) {
    std::filesystem::remove_all(m_root);
    MakeTree(m_root, {"C.txt", "a.txt", "b.txt"});
    test::SetModifiedTime(m_root + "/b.txt", 1000000000);
    test::SetModifiedTime(m_root + "/C.txt", 1000000010);
    test::SetModifiedTime(m_root + "/a.txt", 1000000020);
    m_options.sortOrder = row.order;
    Run();
    Paths after = ListTree(m_root);
    EXPECT_EQ(after, row.expected) << static_cast<int>(row.order);
  }
}

// f2 .. f10 renumbered from 3: by value each file takes the next number, and the chain
// of names that are taken until renamed away is solved; as text f10 comes first.
TEST_F(URenameRunTest, RenumberingASeriesFollowsTheNumbersByValue) {
  m_jobs.AddNew(MakeJob(K::jobReplace, replaceRegex, 0, 0, "\\d+", ""));
  m_jobs.AddNew(MakeJob(K::jobCounter, posAfterText, 1, 0, "f"));
  m_options.counterStart = 3;
  for (const bool byValue : {true, false}) {
    std::filesystem::remove_all(m_root);
    std::filesystem::create_directory(m_root);
    for (int n = 2; n <= 10; ++n) std::ofstream(m_root + "/f" + std::to_string(n)) << "f" << n;
    m_options.numbersByValue = byValue;
    Run();
    std::string became;
    for (int n = 3; n <= 11; ++n) became += ReadWholeFile(m_root + "/f" + std::to_string(n)) + " ";
    EXPECT_EQ(became, byValue ? "f2 f3 f4 f5 f6 f7 f8 f9 f10 " : "f10 f2 f3 f4 f5 f6 f7 f8 f9 ") << byValue;
  }
}

// f1 .. f9 shifted up by one, in any order: each name is taken until renamed away.
TEST_F(URenameRunTest, ShiftingASeriesUpByOneJustWorks) {
  m_jobs.AddNew(MakeJob(K::jobShift, shiftFirst, 1));
  for (const TSortOrder order : {TSortOrder::NameAsc, TSortOrder::NameDesc}) {
    std::filesystem::remove_all(m_root);
    std::filesystem::create_directory(m_root);
    for (int n = 1; n <= 9; ++n) std::ofstream(m_root + "/f" + std::to_string(n)) << n;
    m_options.sortOrder = order;
    EXPECT_EQ(Run().FilesRenamed, 9);
    for (int n = 1; n <= 9; ++n) EXPECT_EQ(ReadWholeFile(m_root + "/f" + std::to_string(n + 1)), std::to_string(n));
  }
}

TEST_F(URenameRunTest, CountersFollowTheWalkAndRestartInEveryFolderWhenAsked) {
  m_jobs.AddNew(MakeJob(K::jobCounter, 0, 1));
  m_options.recurseDirs = m_options.renameDirs = true;
  for (const bool reset : {false, true}) {
    std::filesystem::remove_all(m_root);
    MakeTree(m_root, {"d1/f.txt", "d2/g.txt", "top.txt"});
    m_options.resetCounter = reset;
    m_options.counterStart = 5;
    Run();
    const Paths expected = reset ? Paths{"5d1/", "5d1/5f.txt", "6d2/", "6d2/5g.txt", "7top.txt"}
                                 : Paths{"5d1/", "5d1/8f.txt", "6d2/", "6d2/9g.txt", "7top.txt"};
    EXPECT_EQ(ListTree(m_root), expected) << "reset " << reset;
  }
}

TEST_F(URenameRunTest, ADeclinedConfirmationStillUsesUpItsNumber) {
  MakeTree(m_root, {"a.txt", "b.txt", "c.txt"});
  m_jobs.AddNew(MakeJob(K::jobCounter, 0, 1));
  m_options.confirm = true;
  m_host.answers = {true, false, true};
  const TRunState state = Run();
  EXPECT_EQ(ListTree(m_root), (Paths{"0a.txt", "2c.txt", "b.txt"}));
  EXPECT_EQ(m_host.questions, (Paths{"Rename file \"a.txt\" to \"0a.txt\"?", "Rename file \"b.txt\" to \"1b.txt\"?",
                                     "Rename file \"c.txt\" to \"2c.txt\"?"}));
  EXPECT_EQ(state.FilesRenamed, 2);
  EXPECT_EQ(state.FilesProcessed, 3);
  EXPECT_EQ(state.ErrorCount, 0);
}

// Yes to All stops the asking, Cancel the run; Ignore All stops the failure messages.
// A cancelled run asks and shows nothing more: the rest of its folder keeps its names.
TEST_F(URenameRunTest, AnswersThatStopTheAskingOrTheRun) {
  using R = TRenameAnswer;
  using F = TFailureAnswer;
  struct Row {
    const char* what;
    bool clash;  // every file is renamed to "x.txt": all but the first fail
    std::deque<R> renameAnswers;
    std::deque<F> failureAnswers;
    std::size_t questions, messages;
    Paths tree;
    int errors = 0;
  };
  const Row rows[] = {
      {"Yes to All", false, {R::Yes, R::YesToAll}, {}, 2, 0, {"0a.txt", "1b.txt", "2c.txt", "s/", "s/3d.txt"}},
      {"Cancel", false, {R::Yes, R::Cancel}, {}, 2, 0, {"0a.txt", "b.txt", "c.txt", "s/", "s/d.txt"}},
      {"OK to every failure", true, {}, {}, 0, 2, {"b.txt", "c.txt", "s/", "s/x.txt", "x.txt"}, 2},
      {"Ignore All", true, {}, {F::IgnoreAll}, 0, 1, {"b.txt", "c.txt", "s/", "s/x.txt", "x.txt"}, 2},
      // The cancel reaches the next entry: c.txt takes no turn.
      {"Cancel after a failure", true, {}, {F::Cancel}, 0, 1, {"b.txt", "c.txt", "s/", "s/d.txt", "x.txt"}, 1},
  };
  for (const Row& row : rows) {
    std::filesystem::remove_all(m_root);
    MakeTree(m_root, {"a.txt", "b.txt", "c.txt", "s/d.txt"});
    m_jobs = TJobList();
    m_jobs.AddNew(row.clash ? MakeJob(K::jobReplace, 1, 0, 0, "^.*$", "x.txt") : MakeJob(K::jobCounter, 0, 1));
    m_options.recurseDirs = true;
    m_options.confirm = !row.clash;
    m_host = test::TRecordingRunHost();
    m_host.renameAnswers = row.renameAnswers;
    m_host.failureAnswers = row.failureAnswers;
    const TRunState state = Run();
    EXPECT_EQ(ListTree(m_root), row.tree) << row.what;
    EXPECT_EQ(m_host.questions.size(), row.questions) << row.what;
    EXPECT_EQ(m_host.messages.size(), row.messages) << row.what;
    EXPECT_EQ(state.ErrorCount, row.errors) << row.what << ": every failure is counted";
  }
}

TEST_F(URenameRunTest, TwoFilesClashingInARealRun) {
  MakeTree(m_root, {"xa.txt", "ya.txt"});
  m_jobs.AddNew(MakeJob(K::jobRemove, 0, 1));
  m_options.undo = true;
  const TRunState state = Run();
  EXPECT_EQ(ListTree(m_root), (Paths{"_quillex_undo.txt", "a.txt", "ya.txt"}));
  EXPECT_EQ(m_host.messages,
            (Paths{"Cannot rename " + m_root + "/ya.txt to a.txt. Operation will continue (File exists)"}));
  EXPECT_EQ(state.ErrorCount, 1);
  EXPECT_EQ(state.FilesRenamed, 1);
  EXPECT_EQ(UndoFile(""), "a.txt\r\nxa.txt\r\n") << "the failed rename leaves no pair";
}

TEST_F(URenameRunTest, ASimulationMarksClashesAndRenamesNothing) {
  MakeTree(m_root, {"xa.txt", "ya.txt", "zA.TXT", "keep.txt", "sub/xb/", "sub/yb/", "Sub2/"});
  m_jobs.AddNew(MakeJob(K::jobRemove, 0, 1));
  m_options.simulate = m_options.recurseDirs = true;
  m_options.undo = true;  // ignored in a simulation
  const TRunState state = Run();
  EXPECT_EQ(ListTree(m_root), (Paths{"Sub2/", "keep.txt", "sub/", "sub/xb/", "sub/yb/", "xa.txt", "ya.txt", "zA.TXT"}));
  EXPECT_EQ(Describe(m_tree), (Paths{"D= " + m_root, "  D= sub", "    D= xb", "    D= yb", "  D= Sub2", "  F+ eep.txt",
                                     "  F+ a.txt", "  F! a.txt (was \"ya.txt\")", "  F+ A.TXT"}))
      << "a name differing only in case is no clash where the file system keeps case";
  for (TNodeId node = 0; node < m_tree.NodeCount(); ++node) {
    const bool failed = m_tree.State(node) == TNodeState::FileError || m_tree.State(node) == TNodeState::FolderError;
    EXPECT_EQ(m_tree.Reason(node).empty(), !failed) << "only a failure says why: " << m_tree.Text(node);
  }
  EXPECT_EQ(state.ErrorCount, 1);
  EXPECT_EQ(state.FilesRenamed, 3) << "the renames the real run would make";
  EXPECT_EQ(state.DirsRenamed, 0) << "folders are not renamed unless asked";
  EXPECT_TRUE(m_host.messages.empty());
}

TEST_F(URenameRunTest, ARenamedFolderIsEnteredUnderItsNewNameAndItsRecordsGoToTheRightFiles) {
  MakeTree(m_root, {"d/f.txt", "g.txt"});
  m_jobs.AddNew(MakeJob(K::jobInsert, 0, 0, 0, "N"));
  m_options.recurseDirs = m_options.renameDirs = m_options.undo = true;
  m_options.log = true;
  Run();
  EXPECT_EQ(ListTree(m_root), (Paths{"Nd/", "Nd/Nf.txt", "Nd/_quillex_undo.txt", "Ng.txt", "_quillex_undo.txt"}));
  EXPECT_EQ(UndoFile(""), "Nd\r\nd\r\nNg.txt\r\ng.txt\r\n");
  EXPECT_EQ(UndoFile("Nd/"), "Nf.txt\r\nf.txt\r\n");
  EXPECT_NE(std::find(m_host.log.begin(), m_host.log.end(), "+ Recursing into d (Nd)"), m_host.log.end());
}

TEST_F(URenameRunTest, AFolderThatCannotBeEnteredIsReportedAndItsSiblingsStillVisited) {
  MakeTree(m_root, {"a/x.txt", "locked/y.txt", "z/w.txt"});
  m_jobs.AddNew(MakeJob(K::jobUpper, 0));
  m_options.recurseDirs = true;
  test::TFaultySysCalls faults(test::TCall::Open, EACCES, 0, "locked");
  sys::TScopedSysCalls seam(faults);
  const TRunState state = Run();
  EXPECT_EQ(ListTree(m_root), (Paths{"a/", "a/X.TXT", "locked/", "locked/y.txt", "z/", "z/W.TXT"}));
  EXPECT_EQ(m_host.messages, (Paths{"Cannot change to directory: " + m_root + "/locked (Permission denied)"}));
  EXPECT_EQ(state.ErrorCount, 1);
  EXPECT_DOUBLE_EQ(state.Progress, 1.0) << "a skipped folder's share counts as done";
}

// A cancel reaches the run between two entries: an entry's turn may read a photo's
// metadata from a slow disk, so the rest of the folder keeps its names.
TEST_F(URenameRunTest, CancelStopsAtTheNextEntryAndEntersNoOtherFolder) {
  MakeTree(m_root, {"a.txt", "b.txt", "c.txt", "s/d.txt"});
  m_jobs.AddNew(MakeJob(K::jobUpper, 0));
  m_options.recurseDirs = m_options.log = true;
  m_host.cancelAfterUpdates = 1;
  const TRunState state = Run();
  EXPECT_TRUE(state.Cancelled);
  EXPECT_EQ(ListTree(m_root), (Paths{"A.TXT", "b.txt", "c.txt", "s/", "s/d.txt"}));
  EXPECT_EQ(state.FilesProcessed, 1);
  EXPECT_EQ(std::count(m_host.log.begin(), m_host.log.end(), "+ Recursing into s ()"), 0)
      << "a folder never entered is not logged as entered";
  EXPECT_EQ(std::count(m_host.log.begin(), m_host.log.end(), "   > Changing to s"), 0);
  EXPECT_EQ(
      std::count(m_host.log.begin(), m_host.log.end(), "---- Cancelled: what the run had not reached keeps its name"),
      1);
}

TEST_F(URenameRunTest, ProgressReachesOneForEveryCombinationOfOptions) {
  MakeTree(m_root, {"a.txt", "d1/b.txt", "d1/e/", "d2/x/y/z.txt", "empty/"});
  m_jobs.AddNew(MakeJob(K::jobInsert, 1, 0, 0, "_"));
  for (const bool simulate : {false, true}) {
    for (const bool recurse : {false, true}) {
      for (const bool renameDirs : {false, true}) {
        m_options.simulate = simulate;
        m_options.recurseDirs = recurse;
        m_options.renameDirs = renameDirs;
        m_host.progress.clear();
        const TRunState state = Run();
        EXPECT_NEAR(state.Progress, 1.0, 1e-9) << simulate << recurse << renameDirs;
        EXPECT_TRUE(std::is_sorted(m_host.progress.begin(), m_host.progress.end()));
      }
    }
  }
}

TEST_F(URenameRunTest, DateJobsTakeEachEntrysOwnDatesAndSayWhenAPhotoHasNone) {
  MakeTree(m_root, {"IMG_1.JPG", "notes.txt", "trip/"});
  const std::string photo = m_root + "/IMG_1.JPG";
  Exiv2::ImageFactory::create(Exiv2::ImageType::jpeg, photo);
  auto image = Exiv2::ImageFactory::open(photo);
  Exiv2::ExifData exif;
  exif["Exif.Photo.DateTimeOriginal"] = "2024:06:03 09:07:05";
  image->setExifData(exif);
  image->writeMetadata();
  for (const char* entry : {"/IMG_1.JPG", "/notes.txt", "/trip"}) test::SetModifiedTime(m_root + entry, 1078477620);
  setenv("TZ", "UTC", 1);
  tzset();
  m_jobs.AddNew(MakeJob(K::jobDate, 0, dateTaken, 0, "", "yyyy-mm-dd "));
  m_options.renameDirs = m_options.log = true;
  const TRunState state = Run();
  EXPECT_EQ(ListTree(m_root), (Paths{"2004-03-05 notes.txt", "2004-03-05 trip/", "2024-06-03 IMG_1.JPG"}))
      << "the photo by its Exif date; a file without one and a folder by their modification date";
  EXPECT_EQ(state.FilesRenamed, 2);
  const auto said = std::find_if(m_host.log.begin(), m_host.log.end(),
                                 [](const std::string& line) { return line.find("notes.txt (") != std::string::npos; });
  ASSERT_NE(said, m_host.log.end());
  EXPECT_EQ(said->rfind("  No date taken in notes.txt (", 0), 0u) << *said;
  EXPECT_NE(said->find("): its modification date is used"), std::string::npos) << *said;
}

TEST_F(URenameRunTest, LogLinesFollowTheWalkIndentedThreeBlanksPerLevel) {
  MakeTree(m_root, {"b.txt", "s/t/"});
  test::SetModifiedTime(m_root + "/b.txt", 1078477620);  // 5 March 2004 09:07 UTC
  test::SetModifiedTime(m_root + "/s", 1078477620);
  test::SetModifiedTime(m_root + "/s/t", 1078477620);
  setenv("TZ", "UTC", 1);
  tzset();
  m_jobs.AddNew(MakeJob(K::jobUpper, 0));
  m_options.simulate = m_options.recurseDirs = m_options.renameDirs = m_options.log = true;
  Run();
  ASSERT_GE(m_host.log.size(), 4u);
  EXPECT_EQ(m_host.log.front().rfind("---- ", 0), 0u);
  EXPECT_NE(m_host.log.front().find(" ---- Starting Renaming in " + m_root), std::string::npos);
  const Paths middle(m_host.log.begin() + 1, m_host.log.end() - 3);
  EXPECT_EQ(middle, (Paths{"> Changing to " + m_root,
                           "- Added directory s 05/03/2004 09:07",
                           "+ Sorting directories...",
                           "* Renaming directory s",
                           "* Added Tree Index 0",
                           "- Added file b.txt 05/03/2004 09:07",
                           "+ Sorting files...",
                           "* Renaming file b.txt",
                           "+ Recursing Directories...",
                           "+ Recursing into s ()",
                           "   > Changing to s",
                           "   - Added directory t 05/03/2004 09:07",
                           "   + Sorting directories...",
                           "   * Renaming directory t",
                           "   * Added Tree Index 0",
                           "   + Sorting files...",
                           "   + Recursing Directories...",
                           "   + Recursing into t ()",
                           "      > Changing to t",
                           "      + Sorting directories...",
                           "      + Sorting files...",
                           "      + Recursing Directories..."}));
  EXPECT_EQ(m_host.log[m_host.log.size() - 3], "");
  EXPECT_NE(m_host.log[m_host.log.size() - 2].find(" ---- Finished Renaming in " + m_root), std::string::npos);
  EXPECT_EQ(m_host.log.back(), std::string(80, '-'));

  m_host.log.clear();
  m_options.log = false;
  Run();
  EXPECT_TRUE(m_host.log.empty()) << "nothing is written with logging off";
}

TEST_F(URenameRunTest, NamesThatWouldLeaveTheFolderOrBreakTheUndoFileAreRefused) {
  struct Row {
    const char* what;
    TJob job;
    std::string badName;
    std::string reason;
  };
  const Row rows[] = {
      {"empty", MakeJob(K::jobRemove, 0, 99), "\"\"", "the name is empty"},
      {"a slash", MakeJob(K::jobInsert, 0, 0, 0, "../"), "../f.txt", "the name would leave its folder"},
      {"dot dot", MakeJob(K::jobReplace, 0, 1, 0, "f.txt", ".."), "\"..\"", "the name would leave its folder"},
      {"a line break, with undo on", MakeJob(K::jobInsert, 0, 0, 0, "x\n"), "x\nf.txt", "the name holds a line break"},
      // Shown only begun: a job can make a name of thousands of characters.
      {"longer than the file system allows", MakeJob(K::jobInsert, 0, 0, 0, std::string(300, 'x')),
       std::string(64, 'x') + "\u2026", "name too long"},
  };
  for (const Row& row : rows) {
    std::filesystem::remove_all(m_root);
    MakeTree(m_root, {"f.txt"});
    m_jobs.Clear();
    m_jobs.AddNew(row.job);
    m_options.undo = true;
    m_host.messages.clear();
    const TRunState state = Run();
    EXPECT_EQ(ListTree(m_root), (Paths{"_quillex_undo.txt", "f.txt"})) << row.what;
    EXPECT_EQ(m_host.messages, Paths{"Cannot rename " + m_root + "/f.txt to " + row.badName +
                                     ". Operation will continue (" + row.reason + ")"})
        << row.what;
    EXPECT_EQ(state.ErrorCount, 1) << row.what;
    EXPECT_EQ(UndoFile(""), "") << row.what;
  }
}

TEST_F(URenameRunTest, SymbolicLinksAreRenamedAsEntriesAndNeverFollowed) {
  MakeTree(m_root, {"a.txt"});
  MakeTree(m_dir / "outside", {"secret.txt", "deep/x.txt"});
  ASSERT_EQ(symlink((m_dir / "outside").c_str(), (m_root + "/link").c_str()), 0);
  m_jobs.AddNew(MakeJob(K::jobUpper, 0));
  m_options.recurseDirs = m_options.renameDirs = true;
  Run();
  EXPECT_EQ(ListTree(m_root), (Paths{"A.TXT", "LINK"}));
  EXPECT_EQ(ListTree(m_dir / "outside"), (Paths{"deep/", "deep/x.txt", "secret.txt"}));
}

TEST_F(URenameRunTest, RefusedRenamesAreReportedCountedAndLeaveNoUndoRecord) {
  for (const int error : {EACCES, EEXIST, ENAMETOOLONG}) {
    std::filesystem::remove_all(m_root);
    MakeTree(m_root, {"a.txt", "b.txt"});
    m_jobs.Clear();
    m_jobs.AddNew(MakeJob(K::jobUpper, 0));
    m_options.undo = true;
    m_host.messages.clear();
    test::TFaultySysCalls faults(test::TCall::Rename, error, 0, "A.TXT");
    sys::TScopedSysCalls seam(faults);
    const TRunState state = Run();
    EXPECT_EQ(ListTree(m_root), (Paths{"B.TXT", "_quillex_undo.txt", "a.txt"})) << error;
    EXPECT_EQ(m_host.messages,
              Paths{"Cannot rename " + m_root + "/a.txt to A.TXT. Operation will continue (" + ErrorText(error) + ")"})
        << error;
    EXPECT_EQ(state.ErrorCount, 1) << error;
    EXPECT_EQ(UndoFile(""), "B.TXT\r\nb.txt\r\n") << error;
  }
}

TEST_F(URenameRunTest, AnUndoFileThatCannotBeWrittenStopsTheRunBeforeTheRename) {
  MakeTree(m_root, {"a.txt", "b.txt", "s/c.txt"});
  m_jobs.AddNew(MakeJob(K::jobUpper, 0));
  m_options.undo = m_options.recurseDirs = m_options.log = true;
  test::TFaultySysCalls faults(test::TCall::Write, ENOSPC, 1);
  TRunState state;
  {
    sys::TScopedSysCalls seam(faults);
    state = Run();
  }
  EXPECT_FALSE(m_completed);
  EXPECT_EQ(state.ErrorCount, 1) << "a stop is a failure, never \"Errors: 0\"";
  EXPECT_EQ(ListTree(m_root), (Paths{"A.TXT", "_quillex_undo.txt", "b.txt", "s/", "s/c.txt"}));
  EXPECT_EQ(UndoFile(""), "A.TXT\r\na.txt\r\n") << "the half-written pair was taken back";
  ASSERT_EQ(m_host.messages.size(), 1u);
  EXPECT_NE(m_host.messages[0].find("_quillex_undo.txt"), std::string::npos);
  EXPECT_NE(m_host.messages[0].find("No space left on device"), std::string::npos);
  EXPECT_EQ(m_host.log.back(), std::string(80, '-')) << "the run still finishes";
  EXPECT_NE(std::find(m_host.log.begin(), m_host.log.end(), m_host.messages[0]), m_host.log.end())
      << "the log says why it stopped";
}

TEST_F(URenameRunTest, AFolderVanishingMidRunIsReportedAndTheRunGoesOn) {
  MakeTree(m_root, {"s1/a.txt", "s2/b.txt", "s3/c.txt"});
  m_jobs.AddNew(MakeJob(K::jobUpper, 0));
  m_options.recurseDirs = true;
  m_host.onEnter = [this](const std::string& item) {
    if (item == "s1") std::filesystem::remove_all(m_root + "/s2");
  };
  Run();
  EXPECT_EQ(ListTree(m_root), (Paths{"s1/", "s1/A.TXT", "s3/", "s3/C.TXT"}));
  EXPECT_EQ(m_host.messages, (Paths{"Cannot change to directory: " + m_root + "/s2 (No such file or directory)"}));
}

TEST_F(URenameRunTest, AnEngineErrorOnOneNameFailsThatEntryOnly) {
  const std::string hard = std::string(28, 'a') + "b";  // exponential work for a back-reference
  MakeTree(m_root, {"aaaa", hard});
  m_jobs.AddNew(MakeJob(K::jobReplace, 1, 1, 0, "^(a|aa)+\\1$", "X"));
  const std::string error = "TRegexEngine(exec): Match Too Complex";
  for (const bool simulate : {false, true}) {
    m_options.simulate = simulate;
    m_host.messages.clear();
    const TRunState state = Run();
    EXPECT_EQ(state.ErrorCount, 1) << simulate;
    EXPECT_EQ(state.FilesProcessed, 2) << simulate;
    if (simulate) {
      // The real run before has renamed "aaaa" already.
      EXPECT_EQ(Describe(m_tree), (Paths{"D= " + m_root, "  F! " + error + " (was \"" + hard + "\")", "  F= X"}));
    } else {
      EXPECT_EQ(ListTree(m_root), (Paths{"X", hard}));
      EXPECT_EQ(m_host.messages,
                Paths{"Cannot rename " + m_root + "/" + hard + ". Operation will continue (" + error + ")"});
    }
  }
}

TEST_F(URenameRunTest, NoChangeRenamesNothingAndLeavesEmptyUndoFiles) {
  MakeTree(m_root, {"a.txt", "s/b.txt"});
  m_jobs.AddNew(MakeJob(K::jobLower, 0));
  m_options.undo = m_options.recurseDirs = m_options.confirm = true;
  const TRunState state = Run();
  EXPECT_TRUE(m_host.questions.empty());
  EXPECT_EQ(state.FilesRenamed, 0);
  EXPECT_EQ(state.FilesProcessed, 2);
  EXPECT_EQ(UndoFile(""), "");
  EXPECT_EQ(UndoFile("s/"), "");
}

TEST_F(URenameRunTest, AnUndoFileWithAPairCutShortStopsTheRunSoPairsCannotGetOutOfStep) {
  struct Row {
    const char* what;
    std::string content;
    bool refused;
  };
  const Row rows[] = {
      {"an odd number of lines", "N\r\nn\r\nlone\r\n", true},
      {"no line end after the last line", "N\r\nn\r\nx", true},
      {"one line without an end", "lone", true},
      {"whole pairs with LF line ends", "N\nn\n", false},
  };
  const std::string cutShort = "Cannot use " + m_root +
                               "/_quillex_undo.txt: its last pair of names is cut short; take it back with Undo in "
                               "that folder (quillex-cli undo --yes --remove-after-errors '" +
                               m_root + "') or remove it first";
  m_jobs.AddNew(MakeJob(K::jobUpper, 0));
  m_options.undo = true;
  for (const Row& row : rows) {
    std::filesystem::remove_all(m_root);
    MakeTree(m_root, {"f.txt"});
    m_dir.WriteFile("root/_quillex_undo.txt", row.content);
    m_host.messages.clear();
    Run();
    EXPECT_EQ(m_completed, !row.refused) << row.what;
    const Paths after = row.refused ? Paths{"_quillex_undo.txt", "f.txt"} : Paths{"F.TXT", "_quillex_undo.txt"};
    EXPECT_EQ(ListTree(m_root), after) << row.what;
    EXPECT_EQ(UndoFile(""), row.refused ? row.content : row.content + "F.TXT\r\nf.txt\r\n") << row.what;
    EXPECT_EQ(m_host.messages, row.refused ? Paths{cutShort} : Paths{}) << row.what;
    if (!row.refused) continue;
    // The way out the refusal gives: Undo, the file removed after its errors, then the run.
    test::TRecordingMessages yes;
    yes.answers = {true, true};
    UndoDirectory(m_root, yes);
    Run();
    EXPECT_TRUE(m_completed) << row.what;
  }
}

TEST_F(URenameRunTest, FoldersBeyondTheOpenFileLimitAreReportedAndCounted) {
  MakeTree(m_root, {"top.txt", "a/x.txt", "b/y.txt", "b/c/z.txt", "d/w.txt"});
  m_jobs.AddNew(MakeJob(K::jobUpper, 0));
  m_options.recurseDirs = true;
  for (const bool simulate : {false, true}) {  // the simulation after the real run
    m_options.simulate = simulate;
    m_host.messages.clear();
    test::TFaultySysCalls faults(test::TCall::Open, EMFILE, 2);  // the start folder and "a" still open
    TRunState state;
    {
      sys::TScopedSysCalls seam(faults);
      state = Run();
    }
    EXPECT_TRUE(m_completed) << simulate;
    EXPECT_EQ(ListTree(m_root),
              (Paths{"TOP.TXT", "a/", "a/X.TXT", "b/", "b/c/", "b/c/z.txt", "b/y.txt", "d/", "d/w.txt"}))
        << simulate;
    EXPECT_EQ(m_host.messages, (Paths{"Cannot change to directory: " + m_root + "/b (Too many open files)",
                                      "Cannot change to directory: " + m_root + "/d (Too many open files)"}))
        << simulate;
    EXPECT_EQ(state.ErrorCount, 2) << simulate;
  }
}

TEST_F(URenameRunTest, AFolderWhoseListingFailsPartWayIsReportedAndNothingInItRenamed) {
  MakeTree(m_root, {"top.txt", "a/x.txt", "broken/p.txt", "broken/q.txt", "broken/r.txt", "z/w.txt"});
  m_jobs.AddNew(MakeJob(K::jobUpper, 0));
  m_options.recurseDirs = m_options.undo = true;
  test::TFaultySysCalls faults(test::TCall::ReadDir, EIO, 2, "/broken");  // of 5 entries with "." and ".."
  TRunState state;
  {
    sys::TScopedSysCalls seam(faults);
    state = Run();
  }
  EXPECT_EQ(faults.Failures(), 1);
  EXPECT_EQ(ListTree(m_root),
            (Paths{"TOP.TXT", "_quillex_undo.txt", "a/", "a/X.TXT", "a/_quillex_undo.txt", "broken/", "broken/p.txt",
                   "broken/q.txt", "broken/r.txt", "z/", "z/W.TXT", "z/_quillex_undo.txt"}));
  EXPECT_EQ(m_host.messages, Paths{"Cannot read directory: " + m_root + "/broken (Input/output error)"});
  EXPECT_EQ(state.ErrorCount, 1);
  EXPECT_TRUE(m_completed);
}

TEST_F(URenameRunTest, AnOldNameWithALineBreakIsRefusedOnlyWhereTheUndoFileWouldRecordIt) {
  struct Row {
    const char* what;
    std::string name;
    bool undo, simulate;
    Paths after, messages;
    Paths predicted;  // simulations: the result tree
  };
  const auto refusal = [this](const std::string& name) {
    return "Cannot rename " + m_root + "/" + name +
           " to a-b. Operation will continue (its present name holds a line break, which the undo file cannot "
           "record)";
  };
  const Row rows[] = {
      {"LF, undo on", "a\nb", true, false, {"_quillex_undo.txt", "a\nb"}, {refusal("a\nb")}, {}},
      {"CR, undo on", "a\rb", true, false, {"_quillex_undo.txt", "a\rb"}, {refusal("a\rb")}, {}},
      {"LF, undo off", "a\nb", false, false, {"a-b"}, {}, {}},
      // The simulation is to mark what the real run with the same options would fail.
      {"LF, undo on, simulated", "a\nb", true, true, {"a\nb"}, {}, {"D= " + m_root, "  F! a-b (was \"a\nb\")"}},
  };
  m_jobs.AddNew(MakeJob(K::jobReplace, 0, 1, 0, "\n", "-"));
  m_jobs.AddNew(MakeJob(K::jobReplace, 0, 1, 0, "\r", "-"));
  for (const Row& row : rows) {
    std::filesystem::remove_all(m_root);
    MakeTree(m_root, {row.name});
    m_options.undo = row.undo;
    m_options.simulate = row.simulate;
    m_host.messages.clear();
    const TRunState state = Run();
    EXPECT_EQ(ListTree(m_root), row.after) << row.what;
    EXPECT_EQ(m_host.messages, row.messages) << row.what;
    EXPECT_EQ(state.ErrorCount, row.after.back() == "a-b" ? 0 : 1) << row.what;
    if (row.simulate) {
      EXPECT_EQ(Describe(m_tree), row.predicted) << row.what;
    }
  }
}

// A system call seam whose stat of `name` gives the modification time `seconds`, or
// fails with `error`.
class TStatOf : public sys::TSysCalls {
 public:
  TStatOf(std::string name, std::time_t seconds, int error)
      : m_name(std::move(name)), m_seconds(seconds), m_error(error) {}
  int FstatAt(int dirFd, const char* path, struct stat* st, int flags) override {
    const int result = TSysCalls::FstatAt(dirFd, path, st, flags);
    if (result != 0 || m_name != path) return result;
    if (m_error != 0) {
      errno = m_error;
      return -1;
    }
    st->st_mtim.tv_sec = m_seconds;
    return 0;
  }

 private:
  std::string m_name;
  std::time_t m_seconds;
  int m_error;
};

// A modification date that cannot be read, or that a name's year cannot show, fails
// the entry with the reason; it never becomes the epoch's or a year below 1.
TEST_F(URenameRunTest, AModificationDateBeyondWhatANameShowsFailsTheEntry) {
  const std::string cannot = "no date: its modification date cannot be read (Permission denied)";
  const std::string outside = "no date: its modification date lies outside the years 1 to 9999";
  const struct {
    const char* what;
    std::time_t seconds;
    int error;
    std::string reason;  // empty when the date is used
    const char* name;
  } rows[] = {
      {"the last second of 9999", 253402300799, 0, "", "9999 f.txt"},
      {"the year 10000", 253402300800, 0, outside, "f.txt"},
      {"the first second of the year 1", -62135596800, 0, "", "0001 f.txt"},
      {"before the year 1", -62135596801, 0, outside, "f.txt"},
      {"the far past", std::numeric_limits<std::time_t>::min(), 0, outside, "f.txt"},
      {"a second before the epoch", -1, 0, "", "1969 f.txt"},
      {"a stat that fails", 0, EACCES, cannot, "f.txt"},
  };
  const char* timeZone = std::getenv("TZ");
  const std::string savedZone = timeZone ? timeZone : "";
  setenv("TZ", "UTC", 1);
  tzset();
  m_jobs.AddNew(MakeJob(K::jobDate, 0, dateModified, 0, "", "yyyy "));
  for (const auto& row : rows) {
    std::filesystem::remove_all(m_root);
    MakeTree(m_root, {"f.txt"});
    m_host.messages.clear();
    TStatOf stat("f.txt", row.seconds, row.error);
    TRunState state;
    {
      sys::TScopedSysCalls seam(stat);
      state = Run();
    }
    EXPECT_EQ(ListTree(m_root), Paths{row.name}) << row.what;
    const Paths failures = {"Cannot rename " + m_root + "/f.txt. Operation will continue (" + row.reason + ")"};
    EXPECT_EQ(m_host.messages, row.reason.empty() ? Paths{} : failures) << row.what;
    EXPECT_EQ(state.ErrorCount, row.reason.empty() ? 0 : 1) << row.what;
  }
  timeZone ? setenv("TZ", savedZone.c_str(), 1) : unsetenv("TZ");
  tzset();
}

// In a mount namespace of its own, so nothing mounted outlives the child; false where
// this process may not mount (not root, no user namespaces).
bool MayMountPrivately() {
  if (unshare(CLONE_NEWNS) != 0 && (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)) return false;
  return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// Each folder is visited once however many paths lead to it (a bind mount of the tree
// inside itself, or of one folder beside another), one folder after another or several
// at once; with oneFileSystem a mount point is passed over. Several at once, of two
// sibling paths to one folder the one a worker reaches first is visited, the other named.
TEST_F(URenameRunTest, AFolderIsVisitedOnceAndAnotherFileSystemOnlyWhenAllowed) {
  const auto bind = [](const std::string& from, const std::string& to) {
    return ::mount(from.c_str(), to.c_str(), nullptr, MS_BIND, nullptr) == 0;
  };
  const auto disk = [](const std::string& at) {
    return ::mount("tmpfs", at.c_str(), "tmpfs", 0, nullptr) == 0 && std::ofstream(at + "/c").good();
  };
  const std::string again = "Cannot change to directory: " + m_root;
  const std::string visited = " (it was visited already in this run)";
  const struct {
    const char* what;
    Paths tree;
    std::function<bool()> mount;
    bool oneFileSystem;
    int renamed;
    Paths messages;
    Paths messagesAtOnce;  // where folders at once may also end another way
  } rows[] = {
      {"the tree bound inside itself",
       {"a", "inner/b", "loop/"},
       [&] { return bind(m_root, m_root + "/loop"); },
       false,
       2,
       {again + "/loop" + visited},
       {}},
      {"a folder bound beside itself",
       {"a/x", "b/"},
       [&] { return bind(m_root + "/a", m_root + "/b"); },
       false,
       1,
       {again + "/b" + visited},
       {again + "/a" + visited}},
      {"another file system, entered", {"a", "disk/"}, [&] { return disk(m_root + "/disk"); }, false, 2, {}, {}},
      {"another file system, passed over", {"a", "disk/"}, [&] { return disk(m_root + "/disk"); }, true, 1, {}, {}},
  };
  m_jobs.AddNew(MakeJob(K::jobInsert, 0, 0, 0, "x"));
  for (const auto& row : rows) {
    for (const int parallel : {1, 4}) {
      const test::TChildEnd end = test::RunInChild([&]() -> std::string {
        if (!MayMountPrivately()) return "skip";
        std::filesystem::remove_all(m_root);
        MakeTree(m_root, row.tree);
        if (!row.mount()) return "skip";
        m_options.recurseDirs = true;
        m_options.parallel = parallel;
        m_options.oneFileSystem = row.oneFileSystem;
        const TRunState state = Run();
        return testing::PrintToString(std::make_pair(state.FilesRenamed, m_host.messages));
      });
      if (end.output == "skip") GTEST_SKIP() << "no mounts here";
      const std::string expected = testing::PrintToString(std::make_pair(row.renamed, row.messages));
      const std::string alsoAtOnce = testing::PrintToString(std::make_pair(row.renamed, row.messagesAtOnce));
      if (parallel > 1 && !row.messagesAtOnce.empty() && end.output == alsoAtOnce) continue;
      EXPECT_EQ(end.output, expected) << row.what << (parallel > 1 ? ", folders at once" : "");
    }
  }
}

// What a run reports when the system under it misbehaves in ways a real disk seldom
// shows: a folder listing that throws, a file system without no-replace renames, a
// start folder gone before a run that chooses its own number of folders at once.
TEST_F(URenameRunTest, TheRunSaysWhatTheSystemUnderItDid) {
  struct TThrowingListing : sys::TSysCalls {
    struct dirent* ReadDir(DIR*) override {
      throw std::runtime_error("the listing broke");
    }
  };
  struct TMemoryRunsOut : sys::TSysCalls {
    struct dirent* ReadDir(DIR*) override {
      throw std::bad_alloc();
    }
  };
  struct TNoReplaceUnsupported : sys::TSysCalls {
    int RenameAt2(int oldDir, const char* oldName, int newDir, const char* newName, unsigned flags) override {
      if (flags != 0) return errno = EINVAL, -1;
      return TSysCalls::RenameAt2(oldDir, oldName, newDir, newName, flags);
    }
  };
  TThrowingListing throwing;
  TMemoryRunsOut memoryRunsOut;
  TNoReplaceUnsupported noReplace;
  const struct {
    const char* what;
    sys::TSysCalls* calls;
    bool removeStart;
    bool completed;
    int errors;
    std::string logged;  // once in the log
  } rows[] = {
      {"a listing that throws", &throwing, false, false, 1, "Quillex stopped the run: the listing broke."},
      {"memory that runs out", &memoryRunsOut, false, false, 1, "Quillex stopped the run: not enough memory."},
      {"no no-replace renames", &noReplace, false, true, 0, "+ This file system cannot refuse to replace"},
      {"a start folder gone", nullptr, true, true, 1, "Cannot change to directory: " + m_root},
  };
  m_jobs.AddNew(MakeJob(K::jobUpper, 0));
  for (const auto& row : rows) {
    for (const int folders : {1, 3, kAutomaticFolders}) {
      std::filesystem::remove_all(m_root);
      MakeTree(m_root, {"a", "b/c", "d/e"});
      if (row.removeStart) std::filesystem::remove_all(m_root);
      m_host = test::TRecordingRunHost();
      m_options.recurseDirs = m_options.log = true;
      m_options.parallel = folders;
      std::optional<sys::TScopedSysCalls> seam;
      if (row.calls) seam.emplace(*row.calls);
      const TRunState state = Run();
      seam.reset();
      const std::string where = std::string(row.what) + ", folders at once " + std::to_string(folders);
      EXPECT_EQ(m_completed, row.completed) << where;
      EXPECT_EQ(state.ErrorCount, row.errors) << where;
      EXPECT_EQ(std::count_if(m_host.log.begin(), m_host.log.end(),
                              [&](const std::string& line) { return line.find(row.logged) != std::string::npos; }),
                1)
          << where;
    }
  }
}

}  // namespace
}  // namespace qx
