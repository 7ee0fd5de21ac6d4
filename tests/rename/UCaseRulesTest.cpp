// SPDX-License-Identifier: GPL-3.0-or-later
// Letter case where a folder ignores it and where it does not: the simulation marks a
// clash exactly where the real run fails, on case-ignoring folders (the FUSE test file
// system, comparing as vfat does and as Linux's casefold folders do) and on this
// machine's own, which keeps case.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "rename/URenameRun.h"
#include "support/UMakeJob.h"
#include "support/URecordingRunHost.h"
#include "support/UTempDir.h"
#include "support/UTree.h"
#include "support/fuse/UCaseFoldMount.h"

namespace qx {
namespace {

using K = TJobKind;
using Paths = std::vector<std::string>;

struct TOutcome {
  Paths marks;  // the simulated tree's lines below the root
  TRunState state;
};

TOutcome RunOver(const std::string& root, const TJobList& jobs, bool simulate) {
  TRunOptions options;
  options.startDirectory = root;
  options.simulate = simulate;
  options.undo = true;
  test::TRecordingRunHost host;
  TRenameRun run(jobs, options, host);
  run.Run();
  TOutcome outcome{{}, run.State()};
  const TResultTree& tree = run.ResultTree();
  const char* tags[] = {"D=", "F=", "D+", "F+", "D!", "F!"};
  if (simulate) {
    for (std::size_t i = 0; i < tree.ChildCount(tree.Root()); ++i) {
      const TNodeId node = tree.ChildAt(tree.Root(), i);
      outcome.marks.push_back(std::string(tags[static_cast<int>(tree.State(node))]) + " " +
                              std::string(tree.Text(node)));
    }
  }
  return outcome;
}

// The name an entry has after the run its mark predicts: a failed one keeps its old name.
std::string NameAfter(const std::string& mark) {
  const std::string text = mark.substr(3);
  const auto was = text.find(" (was \"");
  return mark[1] == '!' ? text.substr(was + 7, text.size() - was - 9) : text;
}

TEST(UCaseRulesTest, ASimulationPredictsTheRealRunWhereCaseIsIgnoredAndWhereItIsNot) {
  using TFolding = test::TCaseFoldMount::TFolding;
  test::TCaseFoldMount simpleCase(TFolding::simpleCase);
  test::TCaseFoldMount casefold(TFolding::casefold);
  test::TTempDir keepsCase;
  struct Row {
    const char* what;
    Paths files;
    std::vector<TJob> jobs;
    // The simulated marks, in the run's order (by name), where case is ignored as vfat
    // does, where it is kept, and in a casefold folder when that differs from vfat.
    Paths ignoringCase, keepingCase, casefolded = {};
  };
  const TJob holiday = test::MakeJob(K::jobReplace, 1, 1, 0, "IMG_(\\d+)\\.JPG", "Holiday $1.jpg");
  const auto replace = [](const char* what, const char* with) {
    return test::MakeJob(K::jobReplace, 0, 1, 0, what, with);
  };
  const Row rows[] = {
      {"a new name differing only in case from one that stays",
       {"IMG_0413.JPG", "holiday 0413.jpg"},
       {holiday},
       {"F= holiday 0413.jpg", "F! Holiday 0413.jpg (was \"IMG_0413.JPG\")"},
       {"F= holiday 0413.jpg", "F+ Holiday 0413.jpg"}},
      {"a change of case only", {"photo.jpg"}, {test::MakeJob(K::jobUpper, 0)}, {"F+ PHOTO.JPG"}, {"F+ PHOTO.JPG"}},
      {"two new names differing only in case",
       {"a1", "A2"},
       {test::MakeJob(K::jobReplace, 1, 1, 0, "\\d", "")},
       {"F+ a", "F! A (was \"A2\")"},
       {"F+ a", "F+ A"}},
      {"a swap through case variants: a cycle only where case is ignored",
       {"a", "b"},
       {replace("a", "#"), replace("b", "A"), replace("#", "B")},
       {"F+ B", "F+ A"},
       {"F+ B", "F+ A"}},
      {"ß and SS: one name only where case folds fully",
       {"straße.txt", "z.txt"},
       {replace("z", "STRASSE")},
       {"F= straße.txt", "F+ STRASSE.txt"},
       {"F= straße.txt", "F+ STRASSE.txt"},
       {"F= straße.txt", "F! STRASSE.txt (was \"z.txt\")"}},
      {"a decomposed name and its composed form: one name only where case folds fully",
       {"e\u0301te\u0301.txt", "z.txt"},
       {replace("z", "\u00e9t\u00e9")},
       {"F= e\u0301te\u0301.txt", "F+ \u00e9t\u00e9.txt"},
       {"F= e\u0301te\u0301.txt", "F+ \u00e9t\u00e9.txt"},
       {"F= e\u0301te\u0301.txt", "F! \u00e9t\u00e9.txt (was \"z.txt\")"}},
      {"a name decomposed where case folds fully is the same entry: renamed through a temporary name",
       {"\u00e9t\u00e9.txt"},
       {test::MakeJob(K::jobSimplify, caseWholeName, simplifyDecompose)},
       {"F+ e\u0301te\u0301.txt"},
       {"F+ e\u0301te\u0301.txt"}},
      {"dotless i has I for capital, where a capital per character is compared, and no fold",
       {"\u0131.txt", "z.txt"},
       {replace("z", "I")},
       {"F= \u0131.txt", "F! I.txt (was \"z.txt\")"},
       {"F= \u0131.txt", "F+ I.txt"},
       {"F= \u0131.txt", "F+ I.txt"}},
  };
  const std::pair<const test::TCaseFoldMount*, const char*> folders[] = {
      {&simpleCase, ", case ignored"}, {&casefold, ", casefold"}, {nullptr, ", case kept"}};
  for (const Row& row : rows) {
    for (const auto& [mount, folding] : folders) {
      if (mount && !mount->Available()) continue;
      const std::string root = (mount ? mount->Path() : keepsCase.Path()) + "root";
      std::filesystem::remove_all(root);
      test::MakeTree(root, row.files);
      TJobList jobs;
      for (const TJob& job : row.jobs) jobs.AddNew(job);
      const std::string where = row.what + std::string(folding);
      const Paths& expected = !mount                                          ? row.keepingCase
                              : mount == &casefold && !row.casefolded.empty() ? row.casefolded
                                                                              : row.ignoringCase;

      const TOutcome simulated = RunOver(root, jobs, true);
      EXPECT_EQ(simulated.marks, expected) << where;
      const TOutcome real = RunOver(root, jobs, false);
      EXPECT_EQ(real.state.ErrorCount, simulated.state.ErrorCount) << where;
      EXPECT_EQ(real.state.FilesRenamed, simulated.state.FilesRenamed) << where;
      // What the tree shows as the outcome is what the folder now holds.
      Paths held = {"_quillex_undo.txt"};
      for (const std::string& mark : simulated.marks) held.push_back(NameAfter(mark));
      std::sort(held.begin(), held.end());
      EXPECT_EQ(test::ListTree(root), held) << where;
    }
  }
  if (!simpleCase.Available()) GTEST_SKIP() << "checked only where case is kept: " << simpleCase.Unavailable();
}

}  // namespace
}  // namespace qx
