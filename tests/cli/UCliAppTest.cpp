#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/UCliApp.h"
#include "jobio/UJobIO.h"
#include "support/UMakeJob.h"
#include "support/UTempDir.h"
#include "support/UTree.h"

namespace qx::cli {
namespace {

struct TResult {
  int status;
  std::string out;
  std::string err;
};

TResult RunCli(const std::vector<std::string>& args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = RunQuillexCli(args, in, true, out, err);
  return {status, out.str(), err.str()};
}

TJob Make(TJobKind kind, std::int32_t modifier, std::int32_t int1, std::string str1, bool enabled) {
  return test::MakeJob(kind, modifier, int1, 0, std::move(str1), "", enabled);
}

class UCliAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_jobs = m_dir / "jobs.xml";
    const std::vector<TJob> jobs = {Make(TJobKind::jobInsert, 0, 0, "x_", false),
                                    Make(TJobKind::jobCounter, 1, 3, "", true),
                                    Make(TJobKind::jobLower, 2, 0, "", true)};
    ASSERT_TRUE(SaveJobListToXML(m_jobs, jobs, "ISO-8859-1"));
  }
  test::TTempDir m_dir;
  std::string m_jobs;
};

TEST_F(UCliAppTest, DescribeListsTicksAndDescriptions) {
  const TResult result = RunCli({"describe", m_jobs});
  EXPECT_EQ(result.status, kExitOk);
  EXPECT_EQ(result.out,
            "[ ] Insert \"x_\" at the beginning\n"
            "[x] Add a counter of 3 characters at the end\n"
            "[x] Convert extension to lower case\n");
}

TEST_F(UCliAppTest, TestAppliesTheTickedJobsWithOneCounter) {
  struct Row {
    std::vector<std::string> args;
    std::string out;
  };
  const Row rows[] = {
      {{"test", "--jobs", m_jobs, "A.JPG", "b.TXT"}, "A.jpg000\nb.txt001\n"},
      {{"test", "--jobs", m_jobs, "--counter-start", "7", "A.JPG"}, "A.jpg007\n"},
      {{"test", "--jobs", m_jobs, "--counter-start", "-5", "A"}, "A0-5\n"},
      {{"test", "--jobs", m_jobs, "--counter-start=-5", "A"}, "A0-5\n"},
      {{"test", "--jobs", m_jobs, "--", "-x.JPG", "--jobs"}, "-x.jpg000\n--jobs001\n"},
      {{"test", "--jobs", m_jobs, "caf\xE9.JPG"}, "caf\xE9.jpg000\n"},
  };
  for (const Row& row : rows) {
    const TResult result = RunCli(row.args);
    EXPECT_EQ(result.status, kExitOk) << row.out << result.err;
    EXPECT_EQ(result.out, row.out);
  }
}

TEST_F(UCliAppTest, ExitStatusTellsSuccessFailureAndWrongUsage) {
  struct Row {
    std::vector<std::string> args;
    int status;
  };
  const Row rows[] = {
      {{"--help"}, kExitOk},
      {{"test", "--help"}, kExitOk},
      {{"regex", "(", "x", "a"}, kExitOk},
      {{}, kExitUsage},
      {{"rename-everything"}, kExitUsage},
      {{"test", "--jobs", m_jobs}, kExitUsage},
      {{"test", "--bogus", "a"}, kExitUsage},
      {{"test", "--counter-start", "abc", "a"}, kExitUsage},
      {{"test", "--counter-start", "2147483648", "a"}, kExitUsage},
      {{"describe"}, kExitUsage},
      {{"describe", m_dir / "missing.xml"}, kExitFailure},
      {{"test", "--jobs", m_dir / "missing.xml", "a"}, kExitFailure},
  };
  for (const Row& row : rows) {
    const TResult result = RunCli(row.args);
    std::string line;
    for (const std::string& arg : row.args) line += arg + " ";
    EXPECT_EQ(result.status, row.status) << line;
    if (row.status == kExitUsage) {
      EXPECT_FALSE(result.err.empty()) << line << ": usage errors say what is wrong";
    }
  }
}

TEST_F(UCliAppTest, ALoadFailurePrintsTheReaderMessageAndTheFailureMessage) {
  const std::string bad = m_dir.WriteFile("bad.xml", "<Quillex/>");
  const TResult result = RunCli({"describe", bad});
  EXPECT_EQ(result.status, kExitFailure);
  EXPECT_TRUE(result.out.empty());
  EXPECT_EQ(result.err,
            "Root node element is not recognised. Loading aborted!\n"
            "Failed to load jobs from file " +
                bad +
                "\n"
                "Please make sure that this is a Quillex Job List file or\n"
                "set the encoding of the XML file to a different value\n\n"
                "WARNING! To set the default encoding for XML files for Quillex\n"
                "please use the \"Settings->Character Encoding\" menu option\n");
}

}  // namespace
}  // namespace qx::cli

namespace qx::cli {
namespace {

class UCliRunTest : public UCliAppTest {
 protected:
  void SetUp() override {
    UCliAppTest::SetUp();
    m_root = m_dir / "root";
    m_config = m_dir / "config";
    test::MakeTree(m_root, {"b.txt", "C.txt", "sub/d.txt"});
    std::filesystem::create_directory(m_config);
  }
  std::vector<std::string> Args(std::vector<std::string> options) {
    std::vector<std::string> args = {"--config-dir", m_config, "run", "--jobs", m_jobs};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(m_root);
    return args;
  }
  std::string m_root, m_config;
};

TEST_F(UCliRunTest, ARealRunPrintsTheProgressFigures) {
  const TResult result = RunCli(Args({"--recurse"}));
  EXPECT_EQ(result.status, kExitOk) << result.err;
  EXPECT_EQ(result.out, "Folders renamed: 0 of 0\nFiles renamed: 3 of 3\nErrors: 0\n");
  EXPECT_EQ(test::ListTree(m_root), (std::vector<std::string>{"C.txt001", "b.txt000", "sub/", "sub/d.txt002"}))
      << "sorted by name ignoring case, subfolders after the files";
}

TEST_F(UCliRunTest, SimulationPrintsTheTreeAndRenamesNothing) {
  const TResult result = RunCli(Args({"--simulate", "--recurse", "--rename-dirs", "--sort", "name-desc"}));
  EXPECT_EQ(result.status, kExitOk) << result.err;
  EXPECT_EQ(result.out, "D= " + m_root +
                            "\n  D+ sub000\n    F+ d.txt003\n  F+ C.txt001\n  F+ b.txt002\n"
                            "3 files and 1 directories have been renamed.\n");
  EXPECT_EQ(test::ListTree(m_root), (std::vector<std::string>{"C.txt", "b.txt", "sub/", "sub/d.txt"}));
}

TEST_F(UCliRunTest, OptionsNotGivenComeFromQuillexIni) {
  m_dir.WriteFile("config/quillex.ini",
                  "[Booleans]\nrecurseDirs=1\nsort=1\nlog=1\n[Integers]\ncounterStart=7\nsortOrder=1\n"
                  "[Strings]\nfilemask=*.TXT\n");
  TResult result = RunCli(Args({"--simulate", "--no-log"}));
  EXPECT_EQ(result.out, "D= " + m_root +
                            "\n  D= sub\n    F+ d.txt009\n  F+ C.txt007\n  F+ b.txt008\n"
                            "3 files and 0 directories have been renamed.\n");
  EXPECT_TRUE(result.err.empty()) << "--no-log wins over the setting: " << result.err;

  result = RunCli({"--config-dir", m_config, "test", "--jobs", m_jobs, "a"});
  EXPECT_EQ(result.out, "a007\n") << "the sample test starts at counterStart too";
  result = RunCli({"--config-dir", m_config, "test", "--jobs", m_jobs, "--counter-start", "1", "a"});
  EXPECT_EQ(result.out, "a001\n");
}

TEST_F(UCliRunTest, UndoTakesARunBack) {
  ASSERT_EQ(RunCli(Args({"--undo"})).status, kExitOk);
  EXPECT_EQ(test::ListTree(m_root),
            (std::vector<std::string>{"C.txt001", "_quillex_undo.txt", "b.txt000", "sub/", "sub/d.txt"}));
  TResult result = RunCli({"undo", m_root}, "n\n");
  EXPECT_EQ(result.status, kExitOk) << "declining is no failure";
  result = RunCli({"undo", m_root}, "y\n");
  EXPECT_EQ(result.status, kExitOk) << result.err;
  EXPECT_NE(result.err.find("2 files and/or directories have been renamed."), std::string::npos) << result.err;
  EXPECT_EQ(test::ListTree(m_root), (std::vector<std::string>{"C.txt", "b.txt", "sub/", "sub/d.txt"}));
  result = RunCli({"undo", "--yes", m_root});
  EXPECT_EQ(result.status, kExitFailure) << "no undo file any more";
}

TEST_F(UCliRunTest, FailuresAndRefusalsSetTheExitStatus) {
  const std::string disabled = m_dir / "disabled.xml";
  ASSERT_TRUE(SaveJobListToXML(disabled, {Make(TJobKind::jobUpper, 0, 0, "", false)}, ""));
  struct Row {
    const char* what;
    std::vector<std::string> args;
    int status;
    std::string err;
  };
  const Row rows[] = {
      {"nothing to do",
       {"run", "--jobs", disabled, m_root},
       kExitUsage,
       "Nothing to do! Create some jobs or enable them first.\n"},
      {"a folder that cannot be entered",
       {"run", "--jobs", m_jobs, m_dir / "missing"},
       kExitFailure,
       "Cannot change to directory: " + (m_dir / "missing") + "\n"},
      {"--confirm without a terminal", {"run", "--confirm", "--jobs", m_jobs, m_root}, kExitUsage, ""},
      {"bad order", {"run", "--sort", "size", "--jobs", m_jobs, m_root}, kExitUsage, ""},
  };
  for (const Row& row : rows) {
    std::vector<std::string> args = {"--config-dir", m_config};
    args.insert(args.end(), row.args.begin(), row.args.end());
    std::istringstream in;
    std::ostringstream out, err;
    const int status = RunQuillexCli(args, in, false, out, err);
    EXPECT_EQ(status, row.status) << row.what << ": " << err.str();
    if (!row.err.empty()) {
      EXPECT_EQ(err.str(), row.err) << row.what;
    }
  }
  EXPECT_EQ(test::ListTree(m_root), (std::vector<std::string>{"C.txt", "b.txt", "sub/", "sub/d.txt"}));
}

}  // namespace
}  // namespace qx::cli
