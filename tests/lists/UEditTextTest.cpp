// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <unordered_set>

#include "lists/UEditText.h"
#include "lists/URandomText.h"

namespace qx::lists {
namespace {

TEST(UEditTextTest, WritesProblemsAsCommentsAndEscapesWhatAnEditorWouldChange) {
  const std::string texts[] = {"plain é.txt", "a\\b\tc\r\nd", std::string("\0\x01\x1F\x7F", 4),
                               "caf\xE9 \xF0\x9F\x98\x80 \xC3"};
  const std::string problems[] = {"one", "two\n3\tlines"};
  EXPECT_EQ(WriteEditText(texts, problems),
            "# one\n# two\n# 3\tlines\n#\n"
            "1\tplain é.txt\n2\ta\\\\b\\tc\\r\\nd\n3\t\\x00\\x01\\x1F\\x7F\n4\tcaf\\xE9 \xF0\x9F\x98\x80 \\xC3\n");
}

TEST(UEditTextTest, ReadsTheEditedLinesOrSaysWhatIsWrong) {
  const std::string oldTexts[] = {"a.txt", "b\nc", "c.txt"};
  const std::string noNumber = ": no entry number and tab at its start";
  const std::string noEscape = " is no escape; write \\\\ for a backslash";
  const std::string noLine2 = "entry 2 (\"b\\nc\") has no line: deleting a line renames nothing; put it back to go on";
  struct Row {
    std::string edited;
    std::vector<std::string> problems;
    std::vector<std::string> texts = {};
  };
  const Row rows[] = {
      {"# comment\n\n3\tz\r\n1\tx\n \t\n002\ty", {}, {"x", "y", "z"}},
      {"1\t\\\\\\n\\t\\r\\x41\\xfF\n2\t#\r\r\n3\t a\tb ", {}, {"\\\n\t\rA\xFF", "#\r", " a\tb "}},
      {"1\tx\nname\n2 y\n\tw\n#\n3\tz\n", {"line 2" + noNumber, "line 3" + noNumber, "line 4" + noNumber, noLine2}},
      {"1\tx\n2\ty\n3\tz\n4\tw\n0\tv\n000\tv\n99999999999999999999999\tu\n",
       {"line 4: there is no entry 4", "line 5: there is no entry 0", "line 6: there is no entry 0",
        "line 7: there is no entry 99999999999999999999999"}},
      {"1\tx\n2\ty\n3\tz\n02\tw\n2\tv\n", {"lines 2 and 4 both give entry 2", "lines 2 and 5 both give entry 2"}},
      {"1\ta\\qb\n2\tc\\\n3\t\\x4g\\x\n",
       {"line 1: \\q" + noEscape, "line 2: \\" + noEscape, "line 3: \\x4g" + noEscape}},
      {"1\t\\\x1B\n2\t\\é\n3\t\\x\xFF",
       {"line 1: \\\\x1B" + noEscape, "line 2: \\é" + noEscape, "line 3: \\x\\xFF" + noEscape}},
      {"1\t\n2\t\r\n3\tz\n", {"line 1: the name is empty", "line 2: the name is empty"}},
      {"1\tx\\n\n2\tx\\x0A\n3\tx\\n\nfoo\n",
       {"lines 1 and 2 give the same name \"x\\n\"", "lines 1 and 3 give the same name \"x\\n\"", "line 4" + noNumber}},
  };
  for (const Row& row : rows) {
    const TEditReading reading = ReadEditText(row.edited, oldTexts);
    EXPECT_EQ(reading.problems, row.problems) << row.edited;
    if (row.problems.empty()) {
      EXPECT_EQ(reading.texts, row.texts) << row.edited;
    }
  }
}

// Written, its lines shuffled and saved with either line end, the text reads back as it
// was, whatever bytes the names and the problems hold.
TEST(UEditTextTest, EveryTextComesBackUnedited) {
  const std::string_view pieces[] = {"\n",   "\r",   "\t",   "\\", "\\n",      "\\x41",        "#", " ", "1\t", "\x1B",
                                     "\x7F", "\xFF", "\xC3", "é",  "\xE2\x82", "\xED\xA0\x80", "😀"};
  std::mt19937 random(2026);
  for (int round = 0; round < 40; ++round) {
    std::vector<std::string> texts;
    std::unordered_set<std::string> distinct;
    while (texts.size() < 300) {
      std::string text = RandomText(random, pieces, 12);
      if (distinct.insert(text).second) texts.push_back(std::move(text));
    }
    const std::string problems[] = {RandomText(random, pieces, 30), RandomText(random, pieces, 30)};

    std::vector<std::string> lines;
    const std::string written = WriteEditText(texts, problems);
    for (std::size_t start = 0, end = 0; start < written.size(); start = end + 1) {
      end = written.find('\n', start);
      lines.push_back(written.substr(start, end - start));
    }
    std::shuffle(lines.begin(), lines.end(), random);
    std::string edited;
    for (const std::string& line : lines) edited += line + (round % 2 == 0 ? "\n" : "\r\n");

    const TEditReading reading = ReadEditText(edited, texts);
    ASSERT_EQ(reading.problems, std::vector<std::string>()) << edited;
    ASSERT_EQ(reading.texts, texts) << edited;
  }
}

}  // namespace
}  // namespace qx::lists
