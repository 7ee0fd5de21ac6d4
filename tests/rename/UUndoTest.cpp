// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>

#include "platform/UFiles.h"
#include "platform/USysCalls.h"
#include "rename/URenameRun.h"
#include "rename/UUndo.h"
#include "support/UChild.h"
#include "support/UMakeJob.h"
#include "support/URecordingMessages.h"
#include "support/URecordingRunHost.h"
#include "support/UTempDir.h"
#include "support/UTree.h"

namespace qx {
namespace {

using Paths = std::vector<std::string>;
using test::ListTree;
using test::MakeTree;

std::string Question(const std::string& count) {
  return "Operation will undo renaming in current directory (" + count +
         ").\r\nThen it will remove _quillex_undo.txt from this directory. Continue?";
}

TEST(UUndoTest, UndoCases) {
  struct Row {
    const char* what;
    Paths before;
    std::string undoFile;
    std::deque<bool> answers;
    Paths after;
    Paths messages;
    std::int32_t renamed, errors;
    std::string count = "1 rename";  // as the question says it
  };
  const std::string tooLong(300, 'x');
  const Row rows[] = {
      {"one rename",
       {"b.txt"},
       "b.txt\r\na.txt\r\n",
       {true},
       {"a.txt"},
       {"1 files and/or directories have been renamed."},
       1,
       0},
      {"a chain unwinds latest first",
       {"b.txt", "c.txt"},
       "c.txt\r\nb.txt\r\nb.txt\r\na.txt\r\n",
       {true},
       {"a.txt", "b.txt"},
       {"2 files and/or directories have been renamed."},
       2,
       0,
       "2 renames"},
      {"a step recorded but never made is passed over",
       {"A", "c"},
       "A\r\na\r\nd\r\nc\r\n",
       {true},
       {"a", "c"},
       {"1 files and/or directories have been renamed."},
       1,
       0,
       "2 renames"},
      {"empty file", {"x"}, "", {true}, {"x"}, {"0 files and/or directories have been renamed."}, 0, 0, "0 renames"},
      {"LF line ends", {"B"}, "B\nA\n", {true}, {"A"}, {"1 files and/or directories have been renamed."}, 1, 0},
      {"odd line count, errors kept",
       {"n"},
       "n\r\no\r\nlone\r\n",
       {true, false},
       {"_quillex_undo.txt", "o"},
       {"Cannot rename @lone to \"\". Operation will continue (the name is empty)",
        "1 files and/or directories have been renamed. 1 errors detected!"},
       1,
       1,
       "2 renames"},
      {"taken name never replaced, errors removed",
       {"new", "old"},
       "new\r\nold\r\n",
       {true, true},
       {"new", "old"},
       {"Cannot rename @new to old. Operation will continue (File exists)",
        "0 files and/or directories have been renamed. 1 errors detected!"},
       0,
       1},
      {"a path in the file moves nothing out",
       {"f"},
       "f\r\n../f\r\n",
       {true, true},
       {"f"},
       {"Cannot rename @f to ../f. Operation will continue (the name would leave its folder)",
        "0 files and/or directories have been renamed. 1 errors detected!"},
       0,
       1},
      // A file planted by someone else must not make Undo move or remove another file.
      {"the undo file's own name is never taken",
       {"victim"},
       "victim\r\n_quillex_undo.txt\r\n_quillex_undo.txt\r\nmoved\r\n",
       {true, false},
       {"_quillex_undo.txt", "victim"},
       {"Cannot rename @_quillex_undo.txt to moved. Operation will continue (the name is the undo file's own)",
        "Cannot rename @victim to _quillex_undo.txt. Operation will continue (the name is the undo file's own)",
        "0 files and/or directories have been renamed. 2 errors detected!"},
       0,
       2,
       "2 renames"},
      {"dot, dot dot and names too long are refused",
       {"f"},
       "f\r\n.\r\n..\r\nf\r\nf\r\n" + tooLong + "\r\n",
       {true, false},
       {"_quillex_undo.txt", "f"},
       {"Cannot rename @f to " + tooLong.substr(0, 64) + "\u2026. Operation will continue (name too long)",
        "Cannot rename @.. to f. Operation will continue (the name would leave its folder)",
        "Cannot rename @f to \".\". Operation will continue (the name would leave its folder)",
        "0 files and/or directories have been renamed. 3 errors detected!"},
       0,
       3,
       "3 renames"},
      {"declined", {"b.txt"}, "b.txt\r\na.txt\r\n", {false}, {"_quillex_undo.txt", "b.txt"}, {}, 0, 0},
  };
  for (const Row& row : rows) {
    test::TTempDir dir;
    MakeTree(dir.Path(), row.before);
    dir.WriteFile("_quillex_undo.txt", row.undoFile);
    test::TRecordingMessages messages;
    messages.answers = row.answers;
    const TUndoOutcome outcome = UndoDirectory(dir.Path(), messages);
    EXPECT_EQ(ListTree(dir.Path()), row.after) << row.what;
    Paths expected = row.messages;  // "@" stands for the folder's path
    for (std::string& text : expected) {
      if (const auto at = text.find('@'); at != std::string::npos) text.replace(at, 1, dir.Path());
    }
    EXPECT_EQ(messages.messages, expected) << row.what;
    ASSERT_FALSE(messages.questions.empty()) << row.what;
    EXPECT_EQ(messages.questions[0], Question(row.count)) << row.what;
    if (row.errors > 0) {
      EXPECT_EQ(messages.questions.back(), "Errors detected! Remove _quillex_undo.txt from this Dir?") << row.what;
    }
    EXPECT_EQ(outcome.renamed, row.renamed) << row.what;
    EXPECT_EQ(outcome.errors, row.errors) << row.what;
  }
}

TEST(UUndoTest, MissingFileOrFolderStopsWithItsMessage) {
  test::TTempDir dir;
  test::TRecordingMessages messages;
  UndoDirectory(dir.Path(), messages);
  UndoDirectory(dir / "gone", messages);
  EXPECT_EQ(messages.messages,
            (Paths{"Undo file _quillex_undo.txt does not exist in current directory. Operation will not continue!",
                   "Cannot change current directory to " + (dir / "gone") + " (No such file or directory)"}));
  EXPECT_TRUE(messages.questions.empty());
}

TEST(UUndoTest, AnUndoneFolderHasNoUndoFileLeft) {
  test::TTempDir dir;
  MakeTree(dir.Path(), {"b"});
  dir.WriteFile("_quillex_undo.txt", "b\r\na\r\n");
  test::TRecordingMessages messages;
  messages.answers = {true, true};
  UndoDirectory(dir.Path(), messages);
  UndoDirectory(dir.Path(), messages);
  EXPECT_EQ(messages.messages.back(),
            "Undo file _quillex_undo.txt does not exist in current directory. Operation will not continue!");
}

std::string Joined(const Paths& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

// A run of one folder through the upper-case job, or an Undo, as the text of what it
// said ("stopped" first when a run did not complete), and what it says around a refusal.
struct TOperation {
  const char* what;
  std::function<std::string(const std::string& folder)> run;
  std::string beforeRefusal, afterRefusal;
};

const TOperation kOperations[] = {
    {"a run with undo on",
     [](const std::string& folder) {
       TJobList jobs;
       jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
       TRunOptions options;
       options.startDirectory = folder;
       options.undo = true;
       test::TRecordingRunHost host;
       const bool completed = TRenameRun(jobs, options, host).Run();
       return std::string(completed ? "" : "stopped\n") + Joined(host.messages);
     },
     "stopped\n", ""},
    {"UndoDirectory",
     [](const std::string& folder) {
       test::TRecordingMessages messages;
       messages.answers = {true, true};
       UndoDirectory(folder, messages);
       return Joined(messages.messages);
     },
     "", ""},
    {"UndoTree",
     [](const std::string& folder) {
       test::TRecordingMessages messages;
       messages.answers = {true};
       UndoTree(folder, messages);
       return Joined(messages.messages);
     },
     "", "\n0 files and/or directories have been renamed. 1 errors detected!"},
};

bool MakeSocket(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  const bool bound = fd >= 0 && bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  if (fd >= 0) close(fd);
  return bound;
}

mode_t KindOf(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

TEST(UUndoTest, AnUnfitUndoFileIsRefusedAtOnceAndNothingIsReadWrittenOrWaitedOnThroughIt) {
  struct Row {
    const char* what;
    std::function<bool(const std::string& path, const std::string& secret)> make;
    std::string reason;
  };
  const std::string notRegular = "it is not a regular file";
  const Row rows[] = {
      {"a FIFO", [](auto& path, auto&) { return mkfifo(path.c_str(), 0644) == 0; }, notRegular},
      {"a socket", [](auto& path, auto&) { return MakeSocket(path); }, notRegular},
      {"a folder", [](auto& path, auto&) { return mkdir(path.c_str(), 0755) == 0; }, "it is a folder, not a file"},
      {"a symbolic link to a file", [](auto& path, auto&) { return symlink("../secret.txt", path.c_str()) == 0; },
       "it is a symbolic link"},
      {"a hard link to a file outside the folder",
       [](auto& path, auto& secret) { return link(secret.c_str(), path.c_str()) == 0; },
       "it has other names (hard links), so writing it would change another file"},
      {"a character device", [](auto& path, auto&) { return mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0; },
       notRegular},
  };
  // Read through the link, these pairs would rename b.txt; written through, the secret would change.
  const std::string secret = "b.txt\r\na.txt\r\n";
  for (const Row& row : rows) {
    for (const TOperation& operation : kOperations) {
      const std::string what = std::string(row.what) + ", " + operation.what;
      test::TTempDir dir;
      const std::string folder = dir / "folder", undoFile = folder + "/_quillex_undo.txt";
      MakeTree(dir.Path(), {"folder/b.txt"});
      dir.WriteFile("secret.txt", secret);
      if (!row.make(undoFile, dir / "secret.txt")) {
        std::cout << "[   NOTE   ] " << what << ": cannot be made here (" << std::strerror(errno) << "), skipped\n";
        continue;
      }
      const Paths before = ListTree(dir.Path());
      const mode_t kind = KindOf(undoFile);
      // In a child with an alarm: a FIFO that is waited on fails the row instead of hanging.
      const test::TChildEnd end = test::RunInChild([&] { return operation.run(folder); }, 30);
      ASSERT_TRUE(WIFEXITED(end.status) && WEXITSTATUS(end.status) == 0)
          << what << ": " << test::StatusText(end.status) << " " << end.output;
      const std::string refusal = "Cannot use " + undoFile + ": " + row.reason;
      EXPECT_EQ(end.output, operation.beforeRefusal + refusal + operation.afterRefusal) << what;
      EXPECT_EQ(ListTree(dir.Path()), before) << what << ": nothing renamed, created or removed";
      EXPECT_EQ(KindOf(undoFile), kind) << what;
      EXPECT_EQ(ReadWholeFile(dir / "secret.txt"), secret) << what;
    }
  }
}

// Puts a new file in the undo file's place just before the first rename, as another
// program might while Undo runs.
class TReplaceUndoFileOnFirstRename : public sys::TSysCalls {
 public:
  TReplaceUndoFileOnFirstRename(std::string folder, std::string content)
      : m_folder(std::move(folder)), m_content(std::move(content)) {}
  int RenameAt2(int oldDir, const char* oldName, int newDir, const char* newName, unsigned flags) override {
    if (!m_replaced) {
      m_replaced = true;
      std::ofstream(m_folder + "newer", std::ios::binary) << m_content;
      std::filesystem::rename(m_folder + "newer", m_folder + "_quillex_undo.txt");
    }
    return TSysCalls::RenameAt2(oldDir, oldName, newDir, newName, flags);
  }

 private:
  std::string m_folder, m_content;
  bool m_replaced = false;
};

TEST(UUndoTest, AnUndoFileReplacedWhileUndoRunsIsLeftInPlace) {
  const std::pair<const char*, TUndoOutcome (*)(const std::string&, TMessageHost&)> undos[] = {
      {"UndoDirectory", UndoDirectory}, {"UndoTree", UndoTree}};
  for (const auto& [what, undo] : undos) {
    test::TTempDir dir;
    MakeTree(dir.Path(), {"b.txt"});
    dir.WriteFile("_quillex_undo.txt", "b.txt\r\na.txt\r\n");
    const std::string newer = "another run's\r\nrecord\r\n";
    TReplaceUndoFileOnFirstRename replace(dir.Path(), newer);
    test::TRecordingMessages messages;
    messages.answers = {true};
    {
      sys::TScopedSysCalls seam(replace);
      undo(dir.Path(), messages);
    }
    EXPECT_EQ(ListTree(dir.Path()), (Paths{"_quillex_undo.txt", "a.txt"})) << what;
    EXPECT_EQ(ReadWholeFile(dir / "_quillex_undo.txt"), newer) << what;
    EXPECT_EQ(messages.messages, (Paths{"The undo file " + dir.Path() +
                                            "_quillex_undo.txt was replaced while Undo ran; it is left as it is.",
                                        "1 files and/or directories have been renamed."}))
        << what;
  }
}

TEST(UUndoTest, TwoRunsInARowTheSecondCancelledAreTakenBackByOneUndo) {
  struct Row {
    const char* what;
    bool recurse;
    int cancelAfterUpdates;
    Paths afterSecondRun;
    TUndoOutcome (*undo)(const std::string&, TMessageHost&);
  };
  const Paths original = {"A/", "A/B.TXT", "a.txt", "d1/", "d1/b.txt", "d1/e/", "d1/e/c.txt", "d2/", "d2/f.txt"};
  const Row rows[] = {
      {"one folder, UndoDirectory",
       false,
       -1,
       {"1_A.TXT", "A/", "A/B.TXT", "_quillex_undo.txt", "d1/", "d1/b.txt", "d1/e/", "d1/e/c.txt", "d2/", "d2/f.txt"},
       UndoDirectory},
      // Cancelled once 1_D1 and all below it is done: 1_D2 is never entered.
      {"a tree with folders renamed, cancelled part-way, UndoTree",
       true,
       12,
       {"1_A.TXT", "1_A/", "1_A/1_B.TXT", "1_A/_quillex_undo.txt", "1_D1/", "1_D1/1_B.TXT", "1_D1/1_E/",
        "1_D1/1_E/1_C.TXT", "1_D1/1_E/_quillex_undo.txt", "1_D1/_quillex_undo.txt", "1_D2/", "1_D2/1_f.txt",
        "1_D2/_quillex_undo.txt", "_quillex_undo.txt"},
       UndoTree},
  };
  for (const Row& row : rows) {
    test::TTempDir dir;
    MakeTree(dir.Path(), original);
    TRunOptions options;
    options.startDirectory = dir.Path();
    options.undo = true;
    options.recurseDirs = options.renameDirs = row.recurse;
    for (const TJob& job : {test::MakeJob(TJobKind::jobInsert, 0, 0, 0, "1_"), test::MakeJob(TJobKind::jobUpper, 0)}) {
      TJobList jobs;
      jobs.AddNew(job);
      test::TRecordingRunHost host;
      TRenameRun run(jobs, options, host);
      if (job.type == TJobKind::jobUpper) host.cancelAfterUpdates = row.cancelAfterUpdates;
      ASSERT_TRUE(run.Run()) << row.what;
    }
    EXPECT_EQ(ListTree(dir.Path()), row.afterSecondRun) << row.what;
    if (row.recurse) {
      // Entered by the second run, whose job changed nothing in it.
      EXPECT_EQ(ReadWholeFile(dir / "1_A/_quillex_undo.txt"), "1_B.TXT\r\nB.TXT\r\n");
    }
    test::TRecordingMessages messages;
    messages.answers = {true};
    const TUndoOutcome outcome = row.undo(dir.Path(), messages);
    EXPECT_EQ(ListTree(dir.Path()), original) << row.what;
    EXPECT_EQ(outcome.errors, 0) << row.what << ": " << Joined(messages.messages);
  }
}

// The lines after a message's first, sorted: folders are named in the walk's order,
// which is the file system's.
Paths LinesAfterTheFirst(const std::string& text) {
  Paths lines;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos;) {
    const std::size_t next = text.find("\r\n", at + 2);
    lines.push_back(text.substr(at + 2, next == std::string::npos ? std::string::npos : next - at - 2));
    at = next;
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

// Folders whose pairs did not all go back are named (the first twenty), and the user
// decides whether their files stay: a damaged one below must not hold later runs up.
TEST(UUndoTest, UndoTreeNamesTheFoldersWithErrorsAndRemovesTheirFilesWhenTold) {
  const struct {
    const char* what;
    int failing;  // folders whose pair cannot go back, one of them with a lone line
    bool remove;
  } rows[] = {{"kept", 3, false}, {"removed", 3, true}, {"many kept", 22, false}};
  for (const auto& row : rows) {
    test::TTempDir dir;
    MakeTree(dir.Path(), {"fine/b"});
    dir.WriteFile("fine/_quillex_undo.txt", "b\r\na\r\n");
    Paths expected = {"fine/", "fine/a"}, named;
    for (int i = 0; i < row.failing; ++i) {
      const std::string folder = "f" + std::to_string(100 + i);
      MakeTree(dir.Path(), {folder + "/new", folder + "/old"});
      dir.WriteFile(folder + "/_quillex_undo.txt", i == 0 ? "lone\r\n" : "new\r\nold\r\n");
      for (const char* name : {"/", "/new", "/old"}) expected.push_back(folder + name);
      if (!row.remove) expected.push_back(folder + "/_quillex_undo.txt");
      named.push_back(dir.Path() + folder);
    }
    std::sort(expected.begin(), expected.end());
    test::TRecordingMessages messages;
    messages.answers = {true, row.remove};
    const TUndoOutcome outcome = UndoTree(dir.Path(), messages);
    EXPECT_EQ(ListTree(dir.Path()), expected) << row.what;
    EXPECT_EQ(outcome.errors, row.failing) << row.what;
    const std::string& question = messages.questions.back();
    const std::string& report = messages.messages.back();
    EXPECT_EQ(question.substr(0, question.find('\r')), "Errors detected! Remove _quillex_undo.txt from these folders?")
        << row.what;
    EXPECT_EQ(
        report.substr(0, report.find('\r')),
        "1 files and/or directories have been renamed. " + std::to_string(row.failing) + " errors detected!" +
            (row.remove ? ""
                        : " _quillex_undo.txt was kept in " + std::to_string(row.failing) + " folders with errors:"))
        << row.what;
    for (const std::string& text : {question, row.remove ? std::string() : report}) {
      if (text.empty()) continue;
      const Paths lines = LinesAfterTheFirst(text);
      if (row.failing <= 20) {
        EXPECT_EQ(lines, named) << row.what;
      } else {
        ASSERT_EQ(lines.size(), 21u) << row.what;
        EXPECT_EQ(lines.back(), "and 2 more") << row.what;
      }
    }
  }
}

// An undo file is read in pieces: one far larger than its names could be (hundreds of
// megabytes with a "name" filling them) costs neither that memory nor a message that long.
TEST(UUndoTest, AHugeUndoFileIsReadInPiecesAndItsHugeNameNeverCopied) {
  test::TTempDir dir;
  MakeTree(dir.Path(), {"b"});
  constexpr off_t kHuge = off_t{512} << 20;
  {
    std::ofstream file(dir / "_quillex_undo.txt", std::ios::binary);
    file << "b\r\na\r\n";
  }
  // A sparse file: the "name" after the pair is 512 MiB of NUL bytes, on no disk.
  ASSERT_EQ(truncate((dir / "_quillex_undo.txt").c_str(), kHuge), 0);
  const test::TChildEnd end = test::RunInChild([&] {
    test::TRecordingMessages messages;
    messages.answers = {true, false};
    const TUndoOutcome outcome = UndoDirectory(dir.Path(), messages);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::size_t longest = 0;
    for (const std::string& text : messages.messages) longest = std::max(longest, text.size());
    return std::to_string(outcome.renamed) + " " + std::to_string(outcome.errors) + " " + messages.questions[0] +
           " longest message " + std::to_string(longest) + " peak MiB " + std::to_string(usage.ru_maxrss >> 10);
  });
  const std::size_t peak = std::stoul(end.output.substr(end.output.rfind(' ') + 1));
  EXPECT_LT(peak, 256u) << end.output;
  EXPECT_EQ(end.output.substr(0, end.output.find(" longest")), "1 1 " + Question("2 renames"))
      << "the lone huge line is a pair that fails";
  const std::size_t longest = std::stoul(end.output.substr(end.output.find("longest message ") + 16));
  EXPECT_LT(longest, 400u) << end.output;
  EXPECT_EQ(ListTree(dir.Path()), (Paths{"_quillex_undo.txt", "a"}));
}

}  // namespace
}  // namespace qx
