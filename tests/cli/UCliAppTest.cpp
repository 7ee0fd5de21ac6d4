// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "cli/UCliApp.h"
#include "cli/UCliJobOptions.h"
#include "cli/UCliSettings.h"
#include "jobio/UJobIO.h"
#include "regex/URegexReplace.h"
#include "support/UChild.h"
#include "support/UHostileFiles.h"
#include "support/UMakeJob.h"
#include "support/URecordingMessages.h"
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
  const int status = RunQuillexCli(args, in, out, err, TStreams{.inputIsTerminal = true});
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
    ASSERT_NO_THROW(SaveJobListToXML(m_jobs, jobs, "ISO-8859-1"));
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

// One line per job: a control character in a job's text shows as its control picture.
TEST_F(UCliAppTest, DescribeShowsControlCharactersAsPictures) {
  const std::string file = m_dir.WriteFile(
      "controls.xml", "<quillex><jobs><job type=\"jobInsert\" str1=\"a&#10;b&#9;c&#13;\"/></jobs></quillex>");
  EXPECT_EQ(RunCli({"describe", file}).out, "[x] Insert \"a\u240Ab\u2409c\u240D\" at the beginning\n");
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
      // The file's case job keeps its A-Z rule; one made by an option changes every letter.
      {{"test", "--jobs", m_jobs, "\u00C9T\u00C9.\u00C9T\u00C9"}, "\u00C9T\u00C9.\u00C9t\u00C9000\n"},
      {{"test", "--lower", "\u00C9T\u00C9.JPG", "\u03A9MEGA"}, "\u00E9t\u00E9.jpg\n\u03C9mega\n"},
      {{"test", "--upper", "stra\u00DFe"}, "STRASSE\n"},
      {{"test", "--normal", "\u00E9lan vital"}, "\u00C9lan Vital\n"},
      {{"test", "--simplify=ascii", "\u00C6r\u00F8sk\u00F8bing \u2013 \u00C9t\u00E9.jpg"}, "AEroskobing - Ete.jpg\n"},
      {{"test", "--simplify=accents:ext", "\u00E9.\u00E9"}, "\u00E9.e\n"},
      {{"test", "--shift=100", "001 Intro.mp3"}, "101 Intro.mp3\n"},
      {{"test", "--shift=-1:all", "f10 f01"}, "f09 f00\n"},
  };
  for (const Row& row : rows) {
    const TResult result = RunCli(row.args);
    EXPECT_EQ(result.status, kExitOk) << row.out << result.err;
    EXPECT_EQ(result.out, row.out);
  }
}

// A date job takes the dates of a NAME that is an entry, and the current time otherwise.
TEST_F(UCliAppTest, TestAndDescribeADateJob) {
  const std::string jobs = m_dir / "date.xml";
  ASSERT_NO_THROW(SaveJobListToXML(jobs, {test::MakeJob(TJobKind::jobDate, 0, dateTaken, 0, "", "yyyymmdd_")}, ""));
  const std::string file = m_dir.WriteFile("old.txt", "");
  test::SetModifiedTime(file, 1078477620);  // 5 March 2004 09:07 UTC
  setenv("TZ", "UTC", 1);
  tzset();
  const std::string today = FormatDate("yyyymmdd_", *LocalDateTime(std::time(nullptr)));
  EXPECT_EQ(RunCli({"test", "--jobs", jobs, file, "not-there.txt"}).out,
            "20040305_" + file + "\n" + today + "not-there.txt\n");
  EXPECT_EQ(RunCli({"describe", jobs}).out, "[x] Insert the date taken (yyyymmdd_) at the beginning\n");
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
      {{"run", "--jobs", m_jobs, "--simulate", "--recurse", "--parallel", "auto", m_dir.Path()}, kExitOk},
      {{"run", "--jobs", m_jobs, "--simulate", "--recurse", "--parallel", "64", m_dir.Path()}, kExitOk},
      {{"run", "--jobs", m_jobs, "--simulate", "--parallel", "0", m_dir.Path()}, kExitUsage},
      {{"run", "--jobs", m_jobs, "--simulate", "--parallel", "65", m_dir.Path()}, kExitUsage},
      {{"run", "--jobs", m_jobs, "--simulate", "--parallel", "Auto", m_dir.Path()}, kExitUsage},
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

// Each row's job options: what make-jobs says they are (describe's words), the jobs the
// file it writes loads, and what they make of sample names, with the options and with the
// file alike.
TEST_F(UCliAppTest, JobOptionsMakeTheJobsOfTheJobListFileWrittenFromThem) {
  const std::string photo = m_dir / "IMG_0042.JPG";
  m_dir.WriteFile("IMG_0042.JPG", "");
  struct Row {
    std::vector<std::string> options;
    std::vector<std::string> described;
  };
  const Row rows[] = {
      {{"--lower", "--upper=name", "--normal=ext", "--lower=all"},
       {"Convert all characters to lower case in every alphabet", "Convert filename to upper case in every alphabet",
        "Normalize case of extension only in every alphabet",
        "Convert all characters to lower case in every alphabet"}},
      {{"--insert", "x_", "--insert", "-y", "--at", "end", "--insert", "[z]", "--at", "3", "--insert", "<",
        "--at=before:.", "--insert", ">", "--at", "after:_"},
       {"Insert \"x_\" at the beginning", "Append \"-y\" at the end", "Insert \"[z]\" after the 3rd character",
        "Insert \"<\" before string \".\"", "Insert \">\" after string \"_\""}},
      {{"--remove", "2", "--at", "before:.", "--remove", "1", "--at", "after:_", "--remove=3", "--at", "end"},
       {"Remove 2 characters before string \".\"", "Remove 1 character after string \"_\"",
        "Remove 3 characters from the end"}},
      {{"--counter", "3", "--at", "before:.", "--counter", "2", "--at", "end", "--counter", "1", "--at", "4"},
       {"Add a counter of 3 characters before string \".\"", "Add a counter of 2 characters at the end",
        "Add a counter of 1 character after the 4th character"}},
      {{"--date", "yyyymmdd_", "--date", "yy-mm", "--taken", "--at", "after:_", "--date", "hhnn", "--at", "end",
        "--taken"},
       {"Insert the modification date (yyyymmdd_) at the beginning", "Insert the date taken (yy-mm) after string \"_\"",
        "Insert the date taken (hhnn) at the end"}},
      {{"--replace", "a", "b", "--replace", "A", "B", "--match-case", "--regex", "(\\d+)", "<$1>"},
       {"Replace \"a\" with \"b\" (ignore case)", "Replace \"A\" with \"B\" (match case)",
        "Replace regex \"(\\d+)\" with \"<$1>\" (ignore case)"}},
      // The order given is the order they run in.
      {{"--insert", "[2019] ", "--lower=ext", "--counter", "3", "--at", "before:.", "--replace", "IMG", "Photo"},
       {"Insert \"[2019] \" at the beginning", "Convert extension to lower case in every alphabet",
        "Add a counter of 3 characters before string \".\"", "Replace \"IMG\" with \"Photo\" (ignore case)"}},
  };
  int n = 0;
  for (const Row& row : rows) {
    const std::string file = m_dir / ("made" + std::to_string(++n) + ".xml");
    std::vector<std::string> make = {"make-jobs"};
    make.insert(make.end(), row.options.begin(), row.options.end());
    make.push_back(file);
    std::string listed;
    for (const std::string& line : row.described) listed += "[x] " + line + "\n";
    const TResult made = RunCli(make);
    EXPECT_EQ(made.out, listed) << row.options[0] << ": " << made.err;

    test::TRecordingMessages messages;
    const auto loaded = LoadJobListFromXML(file, messages);
    EXPECT_EQ(loaded, JobsFromOptions(ReadCommandArgs(row.options, JobOptionRules()).options)) << row.options[0];

    const std::vector<std::string> names = {"IMG_0042.JPG", "a-b_c.d.txt", "caf\xC3\xA9 \xE9.tar.gz", "x", photo};
    std::vector<std::string> withOptions = {"test", "--counter-start", "7"};
    withOptions.insert(withOptions.end(), row.options.begin(), row.options.end());
    std::vector<std::string> withFile = {"test", "--counter-start", "7", "--jobs", file};
    for (auto* args : {&withOptions, &withFile}) {
      args->push_back("--");
      args->insert(args->end(), names.begin(), names.end());
    }
    const TResult fromOptions = RunCli(withOptions);
    EXPECT_EQ(fromOptions.out, RunCli(withFile).out) << row.options[0];
    EXPECT_EQ(fromOptions.status, kExitOk) << fromOptions.err;
  }
}

// Brackets, commas, dashes after "--", bytes that are not UTF-8 and empty strings reach
// the command as typed: as operands and as option values.
TEST_F(UCliAppTest, ArgumentsReachTheCommandByteForByte) {
  for (const std::string value :
       {"[2019]", "[A,B]", "[2019] Holiday", "a,b", "-x", "--jobs", "", "caf\xE9", "{1,2}", "a=b", "-", "[", "]"}) {
    // The engine itself refuses an empty input, as the tester shows.
    if (!value.empty()) {
      EXPECT_EQ(RunCli({"regex", "--", "Q", "Q", value}).out, value + "\n") << value;
    }
    EXPECT_EQ(RunCli({"test", "--insert", value, "--", "n"}).out, value + "n\n") << value;
    EXPECT_EQ(RunCli({"test", "--replace", "n", value, "--match-case", "--", "n"}).out, value + "\n") << value;
  }
}

TEST_F(UCliAppTest, MakeJobsReplacesAFileOnlyWhenTold) {
  const std::string file = m_dir / "jobs.xml";  // the fixture's list, two jobs ticked
  EXPECT_EQ(RunCli({"make-jobs", "--upper", file}).status, kExitFailure);
  EXPECT_EQ(RunCli({"describe", file}).out.substr(0, 4), "[ ] ") << "the old list stays";
  EXPECT_EQ(RunCli({"make-jobs", "--force", "--encoding", "ISO-8859-7", "--insert", "\xCE\xB1", file}).status, kExitOk);
  EXPECT_EQ(RunCli({"describe", file}).out, "[x] Insert \"\xCE\xB1\" at the beginning\n");
  EXPECT_EQ(RunCli({"make-jobs", "--encoding", "bogus", "--upper", m_dir / "new.xml"}).status, kExitUsage);
  EXPECT_EQ(RunCli({"make-jobs", m_dir / "new.xml"}).status, kExitUsage) << "no jobs";
  EXPECT_FALSE(std::filesystem::exists(m_dir / "new.xml"));
  const TResult intoNowhere = RunCli({"make-jobs", "--upper", m_dir / "nowhere/new.xml"});
  EXPECT_EQ(intoNowhere.status, kExitFailure);
  EXPECT_NE(intoNowhere.err.find("(the folder " + m_dir / "nowhere/ does not exist)"), std::string::npos)
      << intoNowhere.err;
}

// The folders at once are the desktop program's setting unless --parallel says.
TEST_F(UCliAppTest, FoldersAtOnceComeFromQuillexIni) {
  struct Row {
    const char* name;
    const char* ini;
    int parallel;
    std::string err;
  };
  const Row rows[] = {
      {"no ini", nullptr, kAutomaticFolders, ""},
      {"set", "[Integers]\nparallelFolders=16\n", 16, ""},
      {"automatic", "[Integers]\nparallelFolders=0\n", kAutomaticFolders, ""},
      {"outside", "[Integers]\nparallelFolders=65\n", kAutomaticFolders,
       "quillex-cli: quillex.ini: Error reading Integer value \"Integers\\parallelFolders\". Value = \"65\", not 0 "
       "(automatic) or 1 to 64. Value set to 0 (automatic)\n"},
  };
  for (const Row& row : rows) {
    test::TTempDir dir;
    if (row.ini) dir.WriteFile("quillex.ini", row.ini);
    std::ostringstream err;
    EXPECT_EQ(LoadCliDefaults(dir.Path(), err).run.parallel, row.parallel) << row.name;
    EXPECT_EQ(err.str(), row.err) << row.name;
  }
}

// Every help reads in 80 columns and shows no parser notation.
TEST_F(UCliAppTest, EveryHelpFitsEightyColumns) {
  for (const std::string command : {"", "run", "test", "make-jobs", "describe", "regex", "undo"}) {
    std::vector<std::string> args = {"--help"};
    if (!command.empty()) args.insert(args.begin(), command);
    const TResult help = RunCli(args);
    EXPECT_EQ(help.status, kExitOk) << command;
    std::istringstream lines(help.out);
    for (std::string line; std::getline(lines, line);) {
      EXPECT_LE(line.size(), 80u) << command << ": " << line;
      const std::string withoutGroups = std::regex_replace(line, std::regex(R"(\$\{\d\})"), "");
      EXPECT_EQ(withoutGroups.find_first_of("{}"), std::string::npos) << command << ": " << line;
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

// Whatever sits where quillex.ini or the default job list should be, a command ends at
// once: unreadable settings give the defaults and say why; an unreadable job list says why.
TEST_F(UCliAppTest, HostileSettingsAndJobListFilesNeverHoldACommandUp) {
  for (const test::THostileFile& hostile : test::HostileFiles()) {
    for (const bool isSettings : {true, false}) {
      const std::string config = m_dir / (std::string(isSettings ? "ini-" : "xml-") + hostile.what);
      std::filesystem::create_directory(config);
      hostile.make(config + (isSettings ? "/quillex.ini" : "/quillex_job_config.xml"));
      const test::TChildEnd end = test::RunInChild(
          [&] {
            const TResult result = RunCli({"--config-dir", config, "test", "A.txt"});
            return std::to_string(result.status) + "\n" + result.err;
          },
          20);
      const std::string where = std::string(isSettings ? "quillex.ini: " : "job list: ") + hostile.what;
      ASSERT_TRUE(WIFEXITED(end.status)) << where << ": " << test::StatusText(end.status);
      const std::string status = end.output.substr(0, end.output.find('\n'));
      const std::string err = end.output.substr(status.size());
      // Settings that cannot be read leave the defaults; a job list that cannot, nothing to do.
      EXPECT_EQ(status, std::to_string(isSettings ? kExitOk : kExitFailure)) << where << err;
      if (*hostile.reason) {
        EXPECT_NE(err.find(hostile.reason), std::string::npos) << where << err;
        EXPECT_EQ(err.find("; the default settings are used") != std::string::npos, isSettings) << where << err;
      }
    }
  }
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

// A simulation, or a real run told to be verbose, tells each change; the tree stays on
// offer. The figures come last.
TEST_F(UCliRunTest, EachChangeIsPrintedOldToNewOrAsTheTree) {
  const std::string lines = "sub -> sub000\nC.txt -> C.txt001\nb.txt -> b.txt002\nsub/d.txt -> sub/d.txt003\n";
  const std::string simulated = "3 files and 1 directories would be renamed.\n";
  const struct {
    std::vector<std::string> options;
    std::string out;
    bool renames;
  } rows[] = {
      {{"--simulate"}, lines + simulated, false},
      {{"-n", "--color=never"}, lines + simulated, false},
      {{"--dry-run", "--format", "tree"},
       "D= " + m_root + "\n  D+ sub000\n    F+ d.txt003\n  F+ C.txt001\n  F+ b.txt002\n" + simulated,
       false},
      {{"-n", "--color=always"},
       "sub -> sub\x1b[32m000\x1b[0m\nC.txt -> C.txt\x1b[32m001\x1b[0m\nb.txt -> b.txt\x1b[32m002\x1b[0m\n"
       "sub/d.txt -> sub/d.txt\x1b[32m003\x1b[0m\n" +
           simulated,
       false},
      {{"--no-simulate"}, "Folders renamed: 1 of 1\nFiles renamed: 3 of 3\nErrors: 0\n", true},
      {{"--no-simulate", "-v"},
       "sub -> sub000\nC.txt -> C.txt001\nb.txt -> b.txt002\nsub000/d.txt -> sub000/d.txt003\n"
       "Folders renamed: 1 of 1\nFiles renamed: 3 of 3\nErrors: 0\n",
       true},
  };
  for (const auto& row : rows) {
    std::filesystem::remove_all(m_root);
    test::MakeTree(m_root, {"b.txt", "C.txt", "sub/d.txt"});
    std::vector<std::string> options = {"--recurse", "--rename-dirs", "--sort", "name-desc"};
    options.insert(options.end(), row.options.begin(), row.options.end());
    const TResult result = RunCli(Args(options));
    EXPECT_EQ(result.status, kExitOk) << result.err;
    EXPECT_EQ(result.out, row.out) << row.options.back();
    EXPECT_EQ(test::ListTree(m_root).front(), row.renames ? "C.txt001" : "C.txt") << row.options.back();
  }
}

// By name, f2 comes before f10 unless the settings or --no-natural say digits are text.
TEST_F(UCliRunTest, NumbersInNamesByValueUnlessToldOtherwise) {
  test::MakeTree(m_root, {"f10.txt", "f2.txt"});
  const struct {
    const char* ini;
    std::vector<std::string> options;
    bool twoFirst;
  } rows[] = {
      {"", {}, true},
      {"", {"--no-natural"}, false},
      {"[Booleans]\nnumbersByValue=0\n", {}, false},
      {"[Booleans]\nnumbersByValue=0\n", {"--natural"}, true},
  };
  for (const auto& row : rows) {
    m_dir.WriteFile("config/quillex.ini", row.ini);
    std::vector<std::string> options = {"--simulate", "--mask", "f*"};
    options.insert(options.end(), row.options.begin(), row.options.end());
    const TResult result = RunCli(Args(options));
    EXPECT_EQ(result.out.find("f2.txt000") != std::string::npos, row.twoFirst) << row.ini << result.out << result.err;
    EXPECT_EQ(result.out.find("f10.txt000") != std::string::npos, !row.twoFirst) << row.ini << result.out;
  }
}

TEST_F(UCliRunTest, OptionsNotGivenComeFromQuillexIni) {
  m_dir.WriteFile("config/quillex.ini",
                  "[Booleans]\nrecurseDirs=1\nsort=1\nlog=1\n[Integers]\ncounterStart=7\nsortOrder=1\n"
                  "[Strings]\nfilemask=*.TXT\n");
  TResult result = RunCli(Args({"--simulate", "--format", "tree", "--no-log"}));
  EXPECT_EQ(result.out, "D= " + m_root +
                            "\n  D= sub\n    F+ d.txt009\n  F+ C.txt007\n  F+ b.txt008\n"
                            "3 files and 0 directories would be renamed.\n");
  EXPECT_TRUE(result.err.empty()) << "--no-log wins over the setting: " << result.err;

  result = RunCli({"--config-dir", m_config, "test", "--jobs", m_jobs, "a"});
  EXPECT_EQ(result.out, "a007\n") << "the sample test starts at counterStart too";
  result = RunCli({"--config-dir", m_config, "test", "--jobs", m_jobs, "--counter-start", "1", "a"});
  EXPECT_EQ(result.out, "a001\n");
}

// A simulation the user did not ask for on the command line says where it came from.
TEST_F(UCliRunTest, ASimulationOnlyTheSettingsAskForSaysSoFirst) {
  m_dir.WriteFile("config/quillex.ini", "[Booleans]\nsimulation=1\n");
  const std::string note = "Simulation mode is on in " + m_config + "/quillex.ini: nothing is renamed";
  const struct {
    std::vector<std::string> options;
    bool noted;
  } rows[] = {{{}, true}, {{"--simulate"}, false}, {{"--no-simulate"}, false}};
  for (const auto& row : rows) {
    const TResult result = RunCli(Args(row.options));
    EXPECT_EQ(result.err.find(note) != std::string::npos, row.noted)
        << testing::PrintToString(row.options) << result.err;
  }
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

// --yes takes back what it can and keeps the undo file after errors, so the failed
// pairs can be tried again, unless told to remove it.
TEST_F(UCliRunTest, UndoYesAnswersOnlyTheFirstQuestion) {
  using Paths = std::vector<std::string>;
  struct Row {
    std::vector<std::string> undoArgs;
    int status;
    Paths after;
  };
  const Row rows[] = {
      {{"--yes"},
       kExitFailure,
       {"C.txt", "_quillex_undo.txt", "b.txt", "b.txt000", "sub/", "sub/_quillex_undo.txt", "sub/d.txt002"}},
      {{"--yes", "--remove-after-errors"},
       kExitFailure,
       {"C.txt", "b.txt", "b.txt000", "sub/", "sub/_quillex_undo.txt", "sub/d.txt002"}},
      {{"--yes", "--recurse"}, kExitFailure, {"C.txt", "_quillex_undo.txt", "b.txt", "b.txt000", "sub/", "sub/d.txt"}},
      {{"--yes", "--recurse", "--remove-after-errors"},
       kExitFailure,
       {"C.txt", "b.txt", "b.txt000", "sub/", "sub/d.txt"}},
  };
  for (const Row& row : rows) {
    std::filesystem::remove_all(m_root);
    test::MakeTree(m_root, {"b.txt", "C.txt", "sub/d.txt"});
    ASSERT_EQ(RunCli(Args({"--undo", "--recurse", "--sort", "name-asc"})).status, kExitOk);
    m_dir.WriteFile("root/b.txt", "in the way");  // b.txt000 cannot go back
    std::vector<std::string> args = {"undo"};
    args.insert(args.end(), row.undoArgs.begin(), row.undoArgs.end());
    args.push_back(m_root);
    const TResult result = RunCli(args);
    EXPECT_EQ(result.status, row.status) << testing::PrintToString(row.undoArgs) << ": " << result.err;
    EXPECT_EQ(test::ListTree(m_root), row.after) << testing::PrintToString(row.undoArgs);
  }
}

TEST_F(UCliRunTest, FailuresAndRefusalsSetTheExitStatus) {
  const std::string disabled = m_dir / "disabled.xml";
  ASSERT_NO_THROW(SaveJobListToXML(disabled, {Make(TJobKind::jobUpper, 0, 0, "", false)}, ""));
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
       "Cannot change to directory: " + (m_dir / "missing") + " (No such file or directory)"},
      {"--confirm without a terminal", {"run", "--confirm", "--jobs", m_jobs, m_root}, kExitUsage, ""},
      {"bad order", {"run", "--sort", "size", "--jobs", m_jobs, m_root}, kExitUsage, ""},
      {"no job anywhere",
       {"run", m_root},
       kExitUsage,
       "Nothing to do! Create some jobs or enable them first.\nGive jobs with --jobs FILE or with job options such as "
       "--lower; see 'quillex-cli run --help'.\n"},
      {"a width below 1",
       {"run", "--counter", "-1", m_root},
       kExitUsage,
       "quillex-cli: --counter: WIDTH must be a whole number from 1 to 65535, not \"-1\""},
      {"a count that is no number", {"run", "--remove", "2x", m_root}, kExitUsage, "quillex-cli: --remove: COUNT"},
      {"an unknown place",
       {"run", "--insert", "a", "--at", "middle", m_root},
       kExitUsage,
       "quillex-cli: --at middle: WHERE is start, end, a number N, before:STRING or after:STRING"},
      {"--at first", {"run", "--at", "end", "--insert", "a", m_root}, kExitUsage, "quillex-cli: --at belongs right"},
      {"--at after a job it does not place",
       {"run", "--lower", "--at", "end", m_root},
       kExitUsage,
       "quillex-cli: --at belongs right"},
      {"--at twice", {"run", "--counter", "2", "--at", "end", "--at", "0", m_root}, kExitUsage, "quillex-cli: --at"},
      {"--match-case after a regex",
       {"run", "--regex", "a", "b", "--match-case", m_root},
       kExitUsage,
       "quillex-cli: --match-case belongs right after --replace FIND WITH"},
      {"--taken after another option",
       {"run", "--date", "yyyy", "--recurse", "--taken", m_root},
       kExitUsage,
       "quillex-cli: --taken belongs right after --date FORMAT"},
      {"an expression that does not compile",
       {"run", "--regex", "(", "x", m_root},
       kExitUsage,
       "quillex-cli: --regex (: " + RegexExpressionError("(").value_or("compiles")},
      {"a part of the name that is none", {"run", "--upper=first", m_root}, kExitUsage, "quillex-cli: --upper=first"},
      {"a missing value", {"run", m_root, "--replace", "a"}, kExitUsage, "quillex-cli: --replace needs a value"},
      {"job options and a job list",
       {"run", "--lower", "--jobs", m_jobs, m_root},
       kExitUsage,
       "quillex-cli: give jobs either with --jobs FILE or as job options, not both"},
      {"an unknown format", {"run", "--lower", "--format", "xml", m_root}, kExitUsage, "quillex-cli: --format xml"},
      {"no folder", {"run", "--lower"}, kExitUsage, "quillex-cli: missing folder DIR or entries PATH..."},
      {"a number for taken names without its place",
       {"run", "--lower", "--taken-suffix", " (n)", m_root},
       kExitUsage,
       "quillex-cli: --taken-suffix \" (n)\": it must hold %d once"},
      {"a list that only a simulation writes",
       {"run", "--lower", "--format", "tsv", m_root},
       kExitUsage,
       "quillex-cli: --format tsv and csv list what a simulation would rename"},
  };
  for (const Row& row : rows) {
    std::vector<std::string> args = {"--config-dir", m_config};
    args.insert(args.end(), row.args.begin(), row.args.end());
    std::istringstream in;
    std::ostringstream out, err;
    const int status = RunQuillexCli(args, in, out, err, TStreams{});
    EXPECT_EQ(status, row.status) << row.what << ": " << err.str();
    if (!row.err.empty()) {
      EXPECT_EQ(err.str().substr(0, row.err.size()), row.err) << row.what;
    }
  }
  EXPECT_EQ(test::ListTree(m_root), (std::vector<std::string>{"C.txt", "b.txt", "sub/", "sub/d.txt"}));
}

// Each pair of options is given in both orders; each order must behave as its later
// option alone does, and the two alone must differ, or the row proves nothing.
TEST_F(UCliRunTest, ARepeatedOptionTakesTheLaterOne) {
  const std::string counterAtSeven = m_dir / "seven";
  std::filesystem::create_directory(counterAtSeven);
  m_dir.WriteFile("seven/quillex.ini", "[Integers]\ncounterStart=7\n");
  struct Row {
    std::vector<std::string> common, first, second;
    bool beforeCommand = false;
  };
  const Row rows[] = {
      {{"--simulate"}, {"--mask", "b*"}, {"--mask", "*.*"}},
      {{"--simulate"}, {"--recurse"}, {"--no-recurse"}},
      {{"--simulate", "--recurse"}, {"--rename-dirs"}, {"--no-rename-dirs"}},
      {{"--simulate", "--recurse"}, {"--reset-counter"}, {"--no-reset-counter"}},
      {{"--simulate"}, {"--counter-start", "5"}, {"--counter-start=-1"}},
      {{"--simulate"}, {"--sort", "name-asc"}, {"--sort", "name-desc"}},
      {{"--simulate"}, {"--jobs", m_dir / "missing.xml"}, {"--jobs", m_jobs}},
      {{"--simulate"}, {"--log"}, {"--no-log"}},
      {{"--simulate"}, {"--log=" + (m_dir / "run.log")}, {"--log"}},
      {{}, {"--simulate"}, {"--no-simulate"}},
      {{}, {"--undo"}, {"--no-undo"}},
      {{}, {"--confirm"}, {"--no-confirm"}},
      {{"--simulate"}, {"--config-dir", counterAtSeven}, {"--config-dir", m_config}, true},
  };
  // What a run shows and leaves behind; of stderr only whether it is empty, as the
  // log's lines carry the time.
  const auto outcome = [&](const Row& row, const std::vector<std::vector<std::string>>& given) {
    std::filesystem::remove_all(m_root);
    test::MakeTree(m_root, {"b.txt", "C.txt", "sub/d.txt"});
    std::vector<std::string> args = {"--config-dir", m_config};
    std::vector<std::string> options;
    for (const auto& option : given) options.insert(options.end(), option.begin(), option.end());
    if (row.beforeCommand) args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), {"run", "--jobs", m_jobs});
    args.insert(args.end(), row.common.begin(), row.common.end());
    if (!row.beforeCommand) args.insert(args.end(), options.begin(), options.end());
    args.push_back(m_root);
    std::istringstream in;
    std::ostringstream out, err;
    const int status = RunQuillexCli(args, in, out, err, TStreams{});
    return std::tuple(status, out.str(), err.str().empty(), test::ListTree(m_root));
  };
  for (const Row& row : rows) {
    const std::string name = row.first[0] + " / " + row.second[0];
    const auto first = outcome(row, {row.first});
    const auto second = outcome(row, {row.second});
    EXPECT_NE(first, second) << name;
    EXPECT_EQ(outcome(row, {row.first, row.second}), second) << name;
    EXPECT_EQ(outcome(row, {row.second, row.first}), first) << name;
  }
}

// Changes the working directory for the lifetime of this object.
class TWorkingDirectory {
 public:
  explicit TWorkingDirectory(const std::string& path) { std::filesystem::current_path(path); }
  ~TWorkingDirectory() { std::filesystem::current_path(m_previous); }

 private:
  std::filesystem::path m_previous = std::filesystem::current_path();
};

TEST_F(UCliRunTest, ARelativeFolderIsShownAndLoggedInFull) {
  const TWorkingDirectory inRoot(m_root);
  const std::string here = std::filesystem::current_path();  // as the system names it
  const std::string above = here.substr(0, here.rfind('/'));
  struct Row {
    std::string dir, full;
  };
  const Row rows[] = {
      {".", here},
      {"sub", here + "/sub"},
      {"./sub//./", here + "/sub"},
      {"..", above},
      {"../root/./sub", above + "/root/sub"},
      {"sub/../sub", here + "/sub/../sub"},  // sub might be a link: its ".." is not ours to undo
      {"/" + here + "//sub/.", here + "/sub"},
  };
  for (const Row& row : rows) {
    const TResult result =
        RunCli({"--config-dir", m_config, "run", "--jobs", m_jobs, "--simulate", "--format", "tree", "--log", row.dir});
    EXPECT_EQ(result.status, kExitOk) << row.dir << ": " << result.err;
    EXPECT_EQ(result.out.substr(0, result.out.find('\n')), "D= " + row.full) << row.dir;
    EXPECT_NE(result.err.find(" ---- Starting Renaming in " + row.full + "\n"), std::string::npos) << row.dir;
  }
  EXPECT_EQ(
      RunCli({"undo", "--yes", "missing"}).err.rfind("Cannot change current directory to " + here + "/missing", 0), 0);
  const TResult empty = RunCli({"--config-dir", m_config, "run", "--jobs", m_jobs, ""});
  EXPECT_EQ(empty.status, kExitFailure) << "an empty folder name is not the working directory";
  EXPECT_EQ(test::ListTree(m_root), (std::vector<std::string>{"C.txt", "b.txt", "sub/", "sub/d.txt"}));
}

// Given entries, by operands or by lists as find writes them, relative to the working
// directory: exactly those are renamed, in any folders, numbered as one series in the
// run's order, and one undo over their common folder takes it all back.
TEST_F(UCliRunTest, GivenEntriesAloneAreRenamedAndUndone) {
  using Paths = std::vector<std::string>;
  using namespace std::string_literals;
  const TWorkingDirectory inRoot(m_root);
  const Paths before = {"C.txt",       "b.txt",           "p/",   "p/.hidden",   "p/IMG_1.jpg",
                        "p/IMG_3.jpg", "p/new\nline.jpg", "q/",   "q/IMG_2.jpg", "q/bad\xFF.jpg",
                        "r/",          "r/IMG_10.jpg",    "sub/", "sub/d.txt"};
  struct Row {
    std::vector<std::string> options;
    std::string input;  // for --from0 - or --from -
    Paths changed;      // what changes: the entries of `before` that go, then those that come
    bool undo = true;   // an undo file cannot record a line break
  };
  const Row rows[] = {
      {{"--counter", "2", "--counter-start", "1", "p/IMG_3.jpg", "./q/IMG_2.jpg", "p//IMG_1.jpg", "r/IMG_10.jpg",
        "p/IMG_1.jpg"},
       "",
       {"-p/IMG_1.jpg", "-p/IMG_3.jpg", "-q/IMG_2.jpg", "-r/IMG_10.jpg", "+p/01IMG_1.jpg", "+q/02IMG_2.jpg",
        "+p/03IMG_3.jpg", "+r/04IMG_10.jpg", "+p/_quillex_undo.txt", "+q/_quillex_undo.txt", "+r/_quillex_undo.txt"}},
      {{"--counter", "1", "--counter-start", "1", "--reset-counter", "--from", "-"},
       "p/IMG_3.jpg\nq/IMG_2.jpg\np/IMG_1.jpg\n",
       {"-p/IMG_1.jpg", "-p/IMG_3.jpg", "-q/IMG_2.jpg", "+p/1IMG_1.jpg", "+p/2IMG_3.jpg", "+q/1IMG_2.jpg",
        "+p/_quillex_undo.txt", "+q/_quillex_undo.txt"}},
      {{"--upper", "--from0", "-"},
       "./p/new\nline.jpg\0./q/bad\xFF.jpg\0p/.hidden\0"s,
       {"-p/new\nline.jpg", "-q/bad\xFF.jpg", "-p/.hidden", "+p/NEW\nLINE.JPG", "+q/BAD\xFF.JPG", "+p/.HIDDEN"},
       false},
      {{"--upper", "--mask", "*.txt", "p", "q/IMG_2.jpg"},
       "",
       {"-q/IMG_2.jpg", "+q/IMG_2.JPG", "+q/_quillex_undo.txt", "+_quillex_undo.txt"}},
      {{"--upper", "--rename-dirs", "p", "q/IMG_2.jpg"},
       "",
       {"-p/", "-p/.hidden", "-p/IMG_1.jpg", "-p/IMG_3.jpg", "-p/new\nline.jpg", "-q/IMG_2.jpg", "+P/", "+P/.hidden",
        "+P/IMG_1.jpg", "+P/IMG_3.jpg", "+P/new\nline.jpg", "+q/IMG_2.JPG", "+_quillex_undo.txt",
        "+q/_quillex_undo.txt"}},
      {{"--upper", "--recurse", "--mask", "IMG*", "r", "q/IMG_2.jpg", "r/IMG_10.jpg"},
       "",
       {"-q/IMG_2.jpg", "-r/IMG_10.jpg", "+q/IMG_2.JPG", "+r/IMG_10.JPG", "+q/_quillex_undo.txt",
        "+r/_quillex_undo.txt", "+_quillex_undo.txt"}},
  };
  for (const Row& row : rows) {
    for (const auto& entry : std::filesystem::directory_iterator(m_root)) std::filesystem::remove_all(entry);
    test::MakeTree(m_root, before);
    std::vector<std::string> args = {"--config-dir", m_config, "run", row.undo ? "--undo" : "--no-undo"};
    args.insert(args.end(), row.options.begin(), row.options.end());
    const TResult result = RunCli(args, row.input);
    const std::string where = row.options.back() + " " + row.input;
    EXPECT_EQ(result.status, kExitOk) << where << result.err;
    std::set<std::string> after(before.begin(), before.end());
    for (const std::string& change : row.changed) {
      if (change[0] == '-') after.erase(change.substr(1));
      if (change[0] == '+') after.insert(change.substr(1));
    }
    EXPECT_EQ(test::ListTree(m_root), Paths(after.begin(), after.end())) << where;
    if (!row.undo) continue;
    EXPECT_EQ(RunCli({"undo", "--yes", "--recurse", m_root}).status, kExitOk) << where;
    EXPECT_EQ(test::ListTree(m_root), before) << where << " undone";
  }
  const TResult nothing = RunCli({"--config-dir", m_config, "run", "--upper", "--from0", "-"}, "");
  EXPECT_EQ(nothing.status, kExitOk) << "an empty list renames nothing: " << nothing.err;
  const TResult missing = RunCli({"--config-dir", m_config, "run", "--upper", "p/IMG_1.jpg", "p/gone.jpg"});
  EXPECT_EQ(missing.status, kExitFailure);
  EXPECT_NE(missing.err.find("Cannot rename p/gone.jpg. Operation will continue"), std::string::npos) << missing.err;
}

std::string Content(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// edit through a scripted editor: each call applies the next sed program of the row to
// the text it is handed, or fails ("FAIL"), and keeps what it was handed.
TEST_F(UCliRunTest, EditRenamesWhatTheEditorChangedOrOpensItAgainWithTheProblems) {
  using Paths = std::vector<std::string>;
  const TWorkingDirectory inRoot(m_root);
  m_dir.WriteFile("editor.sh",
                  "#!/bin/sh\nn=$(($(cat \"$QX_STATE/calls\" 2>/dev/null || echo 0) + 1))\necho $n > "
                  "\"$QX_STATE/calls\"\ncp \"$1\" \"$QX_STATE/seen$n\"\nprogram=$(sed -n \"${n}p\" "
                  "\"$QX_STATE/edits\")\n[ \"$program\" = FAIL ] && exit 1\nsed -i \"$program\" \"$1\"\n");
  chmod((m_dir / "editor.sh").c_str(), 0755);
  setenv("VISUAL", (m_dir / "editor.sh").c_str(), 1);
  setenv("QX_STATE", m_dir.Path().c_str(), 1);
  struct Row {
    const char* what;
    Paths edits;  // one sed program per call of the editor
    Paths after;  // each entry's name, then its content: where each file went
    int calls;
    std::string problem = "";  // on top of the text the second call is handed
    int status = kExitOk;
  };
  const Row rows[] = {
      {"a swap", {"s/\ta$/\tX/;s/\tb$/\ta/;s/\tX$/\tb/"}, {"a:b", "b:a", "c:c", "p\nq:p\nq"}, 1},
      {"a cycle of three", {"s/\ta$/\tX/;s/\tc$/\ta/;s/\tb$/\tc/;s/\tX$/\tb/"}, {"a:c", "b:a", "c:b", "p\nq:p\nq"}, 1},
      {"a deleted line, put back", {"/\ta$/d", "$a 1\ta"}, {"a:a", "b:b", "c:c", "p\nq:p\nq"}, 2, "# entry 1"},
      {"a name given twice, then changed",
       {"s/\tb$/\ta/", "s/^2\ta$/2\tB/"},
       {"B:b", "a:a", "c:c", "p\nq:p\nq"},
       2,
       "# lines 1 and 2 give the same name"},
      {"a name that moves, then one that stays",
       {"s|\ta$|\tsub/a|", "s|\tsub/a$|\td|"},
       {"b:b", "c:c", "d:a", "p\nq:p\nq"},
       2,
       "# entry 1: only the name after the last / can change"},
      {"a line break escaped, written and read back",
       {"s/\tp\\\\nq$/\tr\\\\ns/"},
       {"a:a", "b:b", "c:c", "r\ns:p\nq"},
       1},
      {"the editor fails", {"FAIL"}, {"a:a", "b:b", "c:c", "p\nq:p\nq"}, 1, "", kExitFailure},
      {"nothing changed", {""}, {"a:a", "b:b", "c:c", "p\nq:p\nq"}, 1},
  };
  for (const Row& row : rows) {
    for (const auto& entry : std::filesystem::directory_iterator(m_root)) std::filesystem::remove_all(entry);
    for (const char* name : {"a", "b", "c", "p\nq"}) m_dir.WriteFile("root/" + std::string(name), name);
    std::filesystem::remove(m_dir / "calls");
    std::string edits;
    for (const std::string& edit : row.edits) edits += edit + "\n";
    m_dir.WriteFile("edits", edits);
    const TResult result = RunCli({"--config-dir", m_config, "edit", "--no-undo"});
    EXPECT_EQ(result.status, row.status) << row.what << result.err;
    Paths after;
    for (const std::string& name : test::ListTree(m_root)) after.push_back(name + ":" + Content(m_root + "/" + name));
    EXPECT_EQ(after, row.after) << row.what << result.err;
    EXPECT_EQ(Content(m_dir / "calls"), std::to_string(row.calls) + "\n") << row.what;
    if (!row.problem.empty()) {
      EXPECT_EQ(Content(m_dir / "seen2").rfind(row.problem, 0), 0u) << row.what << Content(m_dir / "seen2");
    }
  }
  unsetenv("VISUAL");
}

// apply: a spreadsheet's list of old paths and new names, its paths from the list's
// folder; a list with a problem renames nothing; a simulation writes such a list.
TEST_F(UCliRunTest, ApplyRenamesAsAListSaysAndASimulationWritesOne) {
  using Paths = std::vector<std::string>;
  struct Row {
    const char* file;
    std::string list;
    Paths after;
    int status = kExitOk;
  };
  const Row rows[] = {
      {"l.csv",
       "old,new\r\nroot/b.txt,\"x, \"\"y\"\".txt\"\r\nroot/sub,Sub\r\n",
       {"C.txt", "Sub/", "Sub/d.txt", "x, \"y\".txt"}},
      {"l.txt", "old\tnew\nroot/b.txt\tc.txt\nroot/C.txt\tb.txt\n", {"b.txt", "c.txt", "sub/", "sub/d.txt"}},
      {"l.csv", "root/b.txt,x.txt\nroot/C.txt,y.txt,z\n", {"C.txt", "b.txt", "sub/", "sub/d.txt"}, kExitFailure},
      {"l.csv", "root/b.txt,\"x.txt\n", {"C.txt", "b.txt", "sub/", "sub/d.txt"}, kExitFailure},
  };
  for (const Row& row : rows) {
    std::filesystem::remove_all(m_root);
    test::MakeTree(m_root, {"b.txt", "C.txt", "sub/d.txt"});
    m_dir.WriteFile(row.file, row.list);
    const TResult result = RunCli({"--config-dir", m_config, "apply", "--no-undo", m_dir / row.file});
    EXPECT_EQ(result.status, row.status) << row.list << result.err;
    EXPECT_EQ(test::ListTree(m_root), row.after) << row.list;
  }

  std::filesystem::remove_all(m_root);
  test::MakeTree(m_root, {"b.txt", "C.txt", "sub/d.txt"});
  const TWorkingDirectory inRoot(m_root);
  const TResult list = RunCli({"--config-dir", m_config, "run", "--upper", "-n", "--format", "tsv", "."});
  EXPECT_EQ(list.out, "old\tnew\nb.txt\tB.TXT\nC.txt\tC.TXT\n");
  m_dir.WriteFile("root/names.tsv", list.out);
  EXPECT_EQ(RunCli({"--config-dir", m_config, "apply", "names.tsv"}).status, kExitOk);
  EXPECT_EQ(test::ListTree(m_root), (Paths{"B.TXT", "C.TXT", "_quillex_undo.txt", "names.tsv", "sub/", "sub/d.txt"}));
  EXPECT_EQ(RunCli({"undo", "--yes", "."}).status, kExitOk) << "apply leaves an undo file";
  EXPECT_EQ(test::ListTree(m_root), (Paths{"C.txt", "b.txt", "names.tsv", "sub/", "sub/d.txt"}));
}

TEST_F(UCliRunTest, NoCommandOrAnUnknownOneRenamesNothing) {
  std::filesystem::copy_file(m_jobs, m_config + "/quillex_job_config.xml");
  const std::vector<std::string> rows[] = {
      {}, {m_root}, {"--recurse", m_root}, {"rename", m_root}, {"RUN", m_root}, {"ru", m_root}, {"--", "run", m_root},
  };
  for (const auto& row : rows) {
    std::vector<std::string> args = {"--config-dir", m_config};
    args.insert(args.end(), row.begin(), row.end());
    const TResult result = RunCli(args);
    EXPECT_EQ(result.status, kExitUsage) << (row.empty() ? "" : row[0]);
    EXPECT_EQ(test::ListTree(m_root), (std::vector<std::string>{"C.txt", "b.txt", "sub/", "sub/d.txt"}))
        << (row.empty() ? "" : row[0]);
  }
  ASSERT_EQ(RunCli({"--config-dir", m_config, "run", m_root}).status, kExitOk);
  EXPECT_EQ(test::ListTree(m_root), (std::vector<std::string>{"C.txt001", "b.txt000", "sub/", "sub/d.txt"}))
      << "the default job list renames, so the rows above would have shown it";
}

// The messages' reasons after the name are the system's, so only their beginnings are compared.
TEST_F(UCliRunTest, NamesAreEscapedOnATerminalOnly) {
  const std::string evil = "evil\x1B]0;PWNED\a\x1B[2J.TXT";
  const std::string shown = "evil\\e]0;PWNED\\a\\e[2J.TXT";
  const std::string figures = "Folders renamed: 0 of 0\nFiles renamed: 0 of 0\nErrors: 1\n";
  const TStreams outputIsTerminal{.outputIsTerminal = true}, errorIsTerminal{.errorIsTerminal = true};
  struct Row {
    std::vector<std::string> args;
    TStreams streams;
    std::string out, errBegins;
  };
  const Row rows[] = {
      {{"test", "--jobs", m_jobs, evil}, outputIsTerminal, "evil\\e]0;PWNED\\a\\e[2J.txt000\n", ""},
      {{"test", "--jobs", m_jobs, evil}, errorIsTerminal, "evil\x1B]0;PWNED\a\x1B[2J.txt000\n", ""},
      {{"regex", "x", "\x1B", "axb"}, outputIsTerminal, "a\\eb\n", ""},
      {{"regex", "x", "\x1B", "axb"},
       errorIsTerminal,
       "a\x1B"
       "b\n",
       ""},
      {{"run", "--jobs", m_jobs, m_dir / evil},
       errorIsTerminal,
       figures,
       "Cannot change to directory: " + (m_dir / shown)},
      {{"run", "--jobs", m_jobs, m_dir / evil},
       outputIsTerminal,
       figures,
       "Cannot change to directory: " + (m_dir / evil)},
      {{"test", "--\x1B[2J", "a"}, errorIsTerminal, "", "quillex-cli: unknown option --\\e[2J\n"},
  };
  for (const Row& row : rows) {
    std::vector<std::string> args = {"--config-dir", m_config};
    args.insert(args.end(), row.args.begin(), row.args.end());
    std::istringstream in;
    std::ostringstream out, err;
    RunQuillexCli(args, in, out, err, row.streams);
    const std::string name = row.args[0] + (row.streams.outputIsTerminal ? " to a terminal" : " to a pipe");
    EXPECT_EQ(out.str(), row.out) << name;
    EXPECT_EQ(err.str().substr(0, row.errBegins.size()), row.errBegins) << name;
  }
}

}  // namespace
}  // namespace qx::cli
