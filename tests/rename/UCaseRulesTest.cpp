// SPDX-License-Identifier: GPL-3.0-or-later
// Letter case where a folder ignores it and where it does not: the simulation marks a
// clash exactly where the real run fails, on a case-ignoring folder (the FUSE test file
// system) and on this machine's own, which keeps case.
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
  test::TCaseFoldMount mount;
  test::TTempDir keepsCase;
  struct Row {
    const char* what;
    Paths files;
    std::vector<TJob> jobs;
    Paths ignoringCase, keepingCase;  // the simulated marks, in the run's order (by name)
  };
  const TJob holiday = test::MakeJob(K::jobReplace, 1, 1, 0, "IMG_(\\d+)\\.JPG", "Holiday $1.jpg");
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
       {test::MakeJob(K::jobReplace, 0, 1, 0, "a", "#"), test::MakeJob(K::jobReplace, 0, 1, 0, "b", "A"),
        test::MakeJob(K::jobReplace, 0, 1, 0, "#", "B")},
       {"F+ B", "F+ A"},
       {"F+ B", "F+ A"}},
  };
  for (const Row& row : rows) {
    for (const bool ignoring : {true, false}) {
      if (ignoring && !mount.Available()) continue;
      const std::string root = (ignoring ? mount.Path() : keepsCase.Path()) + "root";
      std::filesystem::remove_all(root);
      test::MakeTree(root, row.files);
      TJobList jobs;
      for (const TJob& job : row.jobs) jobs.AddNew(job);
      const std::string where = std::string(row.what) + (ignoring ? ", case ignored" : ", case kept");

      const TOutcome simulated = RunOver(root, jobs, true);
      EXPECT_EQ(simulated.marks, ignoring ? row.ignoringCase : row.keepingCase) << where;
      const TOutcome real = RunOver(root, jobs, false);
      EXPECT_EQ(real.state.ErrorCount, simulated.state.ErrorCount) << where;
      EXPECT_EQ(real.state.FilesRenamed, simulated.state.FilesRenamed) << where;
      // What the tree shows as the outcome is what the folder now holds.
      Paths expected = {"_quillex_undo.txt"};
      for (const std::string& mark : simulated.marks) expected.push_back(NameAfter(mark));
      std::sort(expected.begin(), expected.end());
      EXPECT_EQ(test::ListTree(root), expected) << where;
    }
  }
  if (!mount.Available()) GTEST_SKIP() << "checked only where case is kept: " << mount.Unavailable();
}

}  // namespace
}  // namespace qx
