#include <gtest/gtest.h>

#include "platform/UFiles.h"
#include "rename/UUndo.h"
#include "support/URecordingMessages.h"
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
      {"empty file", {"x"}, "", {true}, {"x"}, {"0 files and/or directories have been renamed."}, 0, 0, "0 renames"},
      {"LF line ends", {"B"}, "B\nA\n", {true}, {"A"}, {"1 files and/or directories have been renamed."}, 1, 0},
      {"odd line count, errors kept",
       {"n"},
       "n\r\no\r\nlone\r\n",
       {true, false},
       {"_quillex_undo.txt", "o"},
       {"Cannot rename lone to . Operation will continue (the name is empty)",
        "1 files and/or directories have been renamed. 1 errors detected!"},
       1,
       1,
       "2 renames"},
      {"taken name never replaced, errors removed",
       {"new", "old"},
       "new\r\nold\r\n",
       {true, true},
       {"new", "old"},
       {"Cannot rename new to old. Operation will continue (File exists)",
        "0 files and/or directories have been renamed. 1 errors detected!"},
       0,
       1},
      {"a path in the file moves nothing out",
       {"f"},
       "f\r\n../f\r\n",
       {true, true},
       {"f"},
       {"Cannot rename f to ../f. Operation will continue (the name would leave its folder)",
        "0 files and/or directories have been renamed. 1 errors detected!"},
       0,
       1},
      // A file planted by someone else must not make Undo move or remove another file.
      {"the undo file's own name is never taken",
       {"victim"},
       "victim\r\n_quillex_undo.txt\r\n_quillex_undo.txt\r\nmoved\r\n",
       {true, false},
       {"_quillex_undo.txt", "victim"},
       {"Cannot rename _quillex_undo.txt to moved. Operation will continue (the name is the undo file's own)",
        "Cannot rename victim to _quillex_undo.txt. Operation will continue (the name is the undo file's own)",
        "0 files and/or directories have been renamed. 2 errors detected!"},
       0,
       2,
       "2 renames"},
      {"dot, dot dot and names too long are refused",
       {"f"},
       "f\r\n.\r\n..\r\nf\r\nf\r\n" + tooLong + "\r\n",
       {true, false},
       {"_quillex_undo.txt", "f"},
       {"Cannot rename f to " + tooLong + ". Operation will continue (name too long)",
        "Cannot rename .. to f. Operation will continue (the name would leave its folder)",
        "Cannot rename f to .. Operation will continue (the name would leave its folder)",
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
    EXPECT_EQ(messages.messages, row.messages) << row.what;
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

}  // namespace
}  // namespace qx
