#include <gtest/gtest.h>

#include <sstream>

#include "cli/UCliApp.h"
#include "jobio/UJobIO.h"
#include "support/UMakeJob.h"
#include "support/UTempDir.h"

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
