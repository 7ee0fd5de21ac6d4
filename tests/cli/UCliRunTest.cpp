// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/UCliApp.h"
#include "cli/UCliRun.h"
#include "cli/UTerminal.h"
#include "rename/URenameRun.h"
#include "support/UChild.h"
#include "support/UMakeJob.h"
#include "support/URecordingRunHost.h"
#include "support/UTempDir.h"
#include "support/UTree.h"

namespace qx::cli {
namespace {

using Json = nlohmann::json;
using Paths = std::vector<std::string>;

const std::string kHard = std::string(28, 'a') + "b";  // too much work for the back-reference below

class UCliRunTest : public ::testing::Test {
 protected:
  UCliRunTest() : m_root(m_dir / "root") {
    m_jobs.AddNew(test::MakeJob(TJobKind::jobReplace, 1, 1, 0, "^(a|aa)+\\1$", "X"));
    // F1 -> F2 waits for F2 -> F3, and so settles after it; G1 -> G2 waits in vain, since
    // G2 -> G3 waits for G3, which stays.
    m_jobs.AddNew(test::MakeJob(TJobKind::jobReplace, 0, 1, 0, "2", "3"));
    m_jobs.AddNew(test::MakeJob(TJobKind::jobReplace, 0, 1, 0, "1", "2"));
    m_jobs.AddNew(test::MakeJob(TJobKind::jobReplace, 0, 1, 0, "%", "/"));  // a name the run refuses
    m_jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
    m_options.startDirectory = m_root;
    m_options.recurseDirs = true;
    test::MakeTree(m_root, {"a\"q.txt", "b\\s.txt", "c\tt.txt", "\x01\x1F.txt", "e\nf.txt", "caf\xC3\xA9.txt",
                            "\xE6\x97\xA5\xE6\x9C\xAC.txt", "x.txt", "X.TXT", kHard, "F1", "F2", "G1", "G2", "G3",
                            "p%q", "sub dir/\xC3\xA9\"\\.txt", "y/z.txt", "Y/"});
  }

  // quillex-cli run --format json: every line of stdout, each parsed as JSON.
  std::vector<Json> RunJson(bool simulate, const std::string& answers = "") {
    TRunRequest request{m_options, "", TOutputFormat::json};
    request.options.simulate = simulate;
    std::istringstream in(answers);
    std::ostringstream out, err;
    TTerminalMessages messages(in, err);
    m_status = RunRename(m_jobs, request, messages, out, err);
    std::vector<Json> lines;
    std::istringstream text(out.str());
    for (std::string line; std::getline(text, line);) lines.push_back(Json::parse(line));  // throws on anything else
    return lines;
  }

  TResultTree SimulatedTree() {
    test::TRecordingRunHost host;
    TRunOptions options = m_options;
    options.simulate = true;
    TRenameRun run(m_jobs, options, host);
    run.Run();
    return run.TakeResultTree();
  }

  // The entry lines against the simulated tree: one line per node but the root, in the
  // nodes' order (the walk's), folder nodes only when folders are renamed; each says
  // what its node shows. A real run enters each folder by its name after the run.
  void ExpectLinesTellTheTree(const std::vector<Json>& lines, const TResultTree& tree, bool real) {
    std::vector<std::string> pathOf(tree.NodeCount());  // a folder node's path as the run enters it
    pathOf[tree.Root()] = m_root;
    std::size_t next = 0;
    for (TNodeId node = 1; node < tree.NodeCount(); ++node) {
      const bool folder = IsFolderState(tree.State(node));
      const std::string& path = pathOf[tree.Parent(node)];
      if (folder && !m_options.renameDirs) {
        pathOf[node] = path + "/" + std::string(tree.Text(node));
        continue;
      }
      ASSERT_LT(next, lines.size()) << tree.Text(node);
      const Json& line = lines[next++];
      const std::string status = line["status"], old = line["old"], now = line["new"];
      EXPECT_EQ(line["path"], path) << old;
      EXPECT_EQ(line["kind"], folder ? "folder" : "file") << old;
      switch (tree.State(node)) {
        case TNodeState::FolderUnchanged:
        case TNodeState::FileUnchanged:
          EXPECT_EQ(status, "unchanged") << old;
          EXPECT_EQ(now, old);
          EXPECT_EQ(now, tree.Text(node));
          EXPECT_TRUE(line["reason"].is_null()) << old;
          break;
        case TNodeState::FolderRenamed:
        case TNodeState::FileRenamed:
          EXPECT_EQ(status, "renamed") << old;
          EXPECT_NE(now, old);
          EXPECT_EQ(now, tree.Text(node));
          EXPECT_TRUE(line["reason"].is_null()) << old;
          break;
        case TNodeState::FolderError:
        case TNodeState::FileError: {
          EXPECT_TRUE(status == "clash" || status == "failed") << old << ": " << status;
          EXPECT_EQ(line["reason"], tree.Reason(node)) << old;
          // A job error gives no name: the tree shows the error where the name would be.
          const std::string shown = now == old ? std::string(tree.Reason(node)) : now;
          EXPECT_EQ(shown + " (was \"" + old + "\")", tree.Text(node));
        }
      }
      if (folder) pathOf[node] = path + "/" + (real && status == "renamed" ? now : old);
    }
    EXPECT_EQ(next + 1, lines.size()) << "the summary, last";
  }

  // Each entry by its name after the run, as ListTree names it.
  Paths EntriesAfter(const std::vector<Json>& lines, bool real) const {
    Paths paths;
    for (const Json& line : lines) {
      if (line.contains("summary")) continue;
      const std::string path = line["path"], name = line[real && line["status"] == "renamed" ? "new" : "old"];
      const std::string folder = path.substr(m_root.size());
      paths.push_back((folder.empty() ? "" : folder.substr(1) + "/") + name + (line["kind"] == "folder" ? "/" : ""));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  test::TTempDir m_dir;
  std::string m_root;
  TJobList m_jobs;
  TRunOptions m_options;
  int m_status = -1;
};

// The simulation promises the real run's lines: the same entries, names and statuses.
TEST_F(UCliRunTest, JsonLinesTellEachEntryInTheWalksOrderThenTheFigures) {
  struct Row {
    std::string old, now, kind, status;
    Json reason;
  };
  const Row rows[] = {
      {"a\"q.txt", "A\"Q.TXT", "file", "renamed", nullptr},
      {"b\\s.txt", "B\\S.TXT", "file", "renamed", nullptr},
      {"c\tt.txt", "C\tT.TXT", "file", "renamed", nullptr},
      {"\x01\x1F.txt", "\x01\x1F.TXT", "file", "renamed", nullptr},
      {"e\nf.txt", "E\nF.TXT", "file", "renamed", nullptr},
      {"caf\xC3\xA9.txt", "CAF\xC3\xA9.TXT", "file", "renamed", nullptr},
      {"\xE6\x97\xA5\xE6\x9C\xAC.txt", "\xE6\x97\xA5\xE6\x9C\xAC.TXT", "file", "renamed", nullptr},
      {"x.txt", "X.TXT", "file", "clash", "File exists"},
      {"X.TXT", "X.TXT", "file", "unchanged", nullptr},
      {kHard, kHard, "file", "failed", "TRegexEngine(exec): Match Too Complex"},
      {"F1", "F2", "file", "renamed", nullptr},
      {"F2", "F3", "file", "renamed", nullptr},
      {"G1", "G2", "file", "clash", "File exists"},
      {"G2", "G3", "file", "clash", "File exists"},
      {"G3", "G3", "file", "unchanged", nullptr},
      {"p%q", "P/Q", "file", "failed", "the name would leave its folder"},
      {"sub dir", "SUB DIR", "folder", "renamed", nullptr},
      {"\xC3\xA9\"\\.txt", "\xC3\xA9\"\\.TXT", "file", "renamed", nullptr},
      {"y", "Y", "folder", "clash", "File exists"},
      {"Y", "Y", "folder", "unchanged", nullptr},
      {"z.txt", "Z.TXT", "file", "renamed", nullptr},
  };
  m_options.renameDirs = true;
  const Paths before = test::ListTree(m_root);
  const TResultTree tree = SimulatedTree();
  const std::vector<Json> simulated = RunJson(true);
  EXPECT_EQ(m_status, kExitFailure) << "clashes and failures";
  ExpectLinesTellTheTree(simulated, tree, false);
  EXPECT_EQ(EntriesAfter(simulated, false), before) << "every entry once, nothing renamed";
  const std::vector<Json> real = RunJson(false);
  EXPECT_EQ(m_status, kExitFailure);
  ExpectLinesTellTheTree(real, tree, true);
  EXPECT_EQ(EntriesAfter(real, true), test::ListTree(m_root));

  for (const bool simulate : {true, false}) {
    const std::vector<Json>& lines = simulate ? simulated : real;
    ASSERT_EQ(lines.size(), std::size(rows) + 1);
    int files = 0, filesRenamed = 0, folders = 0, foldersRenamed = 0, errors = 0;
    for (const Json& line : lines) {
      if (line.contains("summary")) continue;
      const auto row =
          std::find_if(std::begin(rows), std::end(rows), [&](const Row& r) { return r.old == line["old"]; });
      ASSERT_NE(row, std::end(rows)) << line.dump();
      EXPECT_EQ(line, (Json{{"path", line["path"]},
                            {"old", row->old},
                            {"new", row->now},
                            {"kind", row->kind},
                            {"status", row->status},
                            {"reason", row->reason}}));
      ++(line["kind"] == "file" ? files : folders);
      if (line["status"] == "renamed") ++(line["kind"] == "file" ? filesRenamed : foldersRenamed);
      errors += line["status"] == "clash" || line["status"] == "failed";
    }
    EXPECT_EQ(lines.back(), (Json{{"summary",
                                   {{"simulate", simulate},
                                    {"folders_renamed", foldersRenamed},
                                    {"folders", folders},
                                    {"files_renamed", filesRenamed},
                                    {"files", files},
                                    {"errors", errors},
                                    {"cancelled", false},
                                    {"completed", true}}}}));
  }
}

// Without folder renaming the folders are entered, not reported.
TEST_F(UCliRunTest, FoldersAreReportedOnlyWhenRenamed) {
  const TResultTree tree = SimulatedTree();
  const std::vector<Json> lines = RunJson(true);
  ExpectLinesTellTheTree(lines, tree, false);
  EXPECT_EQ(lines.back()["summary"]["folders"], 0);
  EXPECT_EQ(lines.size(), 19u) << "the sixteen files at the top, one in \"sub dir\", one in \"y\", and the summary";
}

// A rename declined at its question leaves the entry unchanged, under its old name.
TEST_F(UCliRunTest, ADeclinedRenameIsUnchanged) {
  m_options.startDirectory = m_dir / "two";
  test::MakeTree(m_options.startDirectory, {"a.txt", "b.txt"});
  m_options.confirm = true;
  const std::vector<Json> lines = RunJson(false, "y\nn\n");
  EXPECT_EQ(m_status, kExitOk);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]["new"], "A.TXT");
  EXPECT_EQ(lines[0]["status"], "renamed");
  EXPECT_EQ(lines[1]["new"], "b.txt");
  EXPECT_EQ(lines[1]["status"], "unchanged");
  EXPECT_EQ(test::ListTree(m_options.startDirectory), (Paths{"A.TXT", "b.txt"}));
}

// The answers at --confirm, and a stop by q or by SIGTERM while a question is open: the
// run asks no more, and its summary says it was cancelled.
TEST_F(UCliRunTest, ConfirmTakesYesNoAllAndQuitAndAStopIsSaidInTheSummary) {
  // Input that raises SIGTERM the first time it is read, then answers.
  struct TTermOnRead : std::streambuf {
    explicit TTermOnRead(std::string text) : input(std::move(text)) {}
    int_type underflow() override {
      if (gptr() == nullptr) {
        std::raise(SIGTERM);
        setg(input.data(), input.data(), input.data() + input.size());
      }
      return gptr() < egptr() ? traits_type::to_int_type(*gptr()) : traits_type::eof();
    }
    std::string input;
  };
  const struct {
    std::string answers;
    bool terminated;
    Paths after;
    bool cancelled;
  } rows[] = {
      {"y\nn\ny\n", false, {"A.TXT", "C.TXT", "b.txt"}, false},
      {"n\na\n", false, {"B.TXT", "C.TXT", "a.txt"}, false},
      {"y\nq\n", false, {"A.TXT", "b.txt", "c.txt"}, true},
      {"y\n", false, {"A.TXT", "b.txt", "c.txt"}, true},  // the input ends: nobody is there to ask
      {"y\ny\n", true, {"A.TXT", "b.txt", "c.txt"}, true},
  };
  for (const auto& row : rows) {
    const test::TChildEnd end = test::RunInChild([&] {
      m_options.startDirectory = m_dir / ("three" + std::to_string(&row - rows));
      test::MakeTree(m_options.startDirectory, {"a.txt", "b.txt", "c.txt"});
      m_options.confirm = true;
      TTermOnRead termOnRead(row.answers);
      std::istringstream plain(row.answers);
      std::istream in(row.terminated ? static_cast<std::streambuf*>(&termOnRead) : plain.rdbuf());
      std::ostringstream out, err;
      TTerminalMessages messages(in, err);
      const int status = RunRename(m_jobs, TRunRequest{m_options, ""}, messages, out, err);
      const bool said =
          out.str().find("\nCancelled: what the run had not reached keeps its name.\n") != std::string::npos;
      return testing::PrintToString(test::ListTree(m_options.startDirectory)) + (said ? " cancelled " : " ") +
             std::to_string(status);
    });
    EXPECT_EQ(end.output, testing::PrintToString(row.after) + (row.cancelled ? " cancelled " : " ") +
                              std::to_string(row.cancelled ? kExitFailure : kExitOk))
        << row.answers << (row.terminated ? " with SIGTERM" : "");
  }
}

}  // namespace
}  // namespace qx::cli
