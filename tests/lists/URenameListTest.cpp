// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "lists/URandomText.h"
#include "lists/URenameList.h"

namespace qx::lists {

void PrintTo(const TListRow& row, std::ostream* out) {
  *out << row.line << ": " << testing::PrintToString(row.oldPath) << " -> " << testing::PrintToString(row.newName);
}

namespace {

constexpr auto csv = TListFormat::csv;
constexpr auto tsv = TListFormat::tsv;

TEST(URenameListTest, FormatByExtensionElseByTheFirstLine) {
  struct Row {
    const char* fileName;
    const char* text;
    TListFormat format;
  };
  const Row rows[] = {
      {"renames.csv", "a\tb", csv},  {"renames.CSV", "a\tb", csv},    {"x.Tsv", "a,b", tsv},
      {"x.TAB", "a,b", tsv},         {"list.txt", "a\tb\nc,d", tsv},  {"list", "a,b\nc\td", csv},
      {"dir.csv/list", "a\tb", tsv}, {"renames.csv.txt", "a,b", csv}, {"", "", csv},
  };
  for (const Row& row : rows) EXPECT_EQ(ListFormatOf(row.fileName, row.text), row.format) << row.fileName;
}

TEST(URenameListTest, ReadsRecordsOrSaysWhatIsWrong) {
  const std::string twoFields = "; a line holds the old path and the new name";
  const std::string afterQuote = ": text follows a closing quote; a quote inside a quoted field is written twice";
  struct Row {
    std::string text;
    TListFormat format;
    std::vector<TListRow> rows;
    std::vector<std::string> problems;
  };
  const Row rows[] = {
      {"old,new\nA.jpg,B.jpg\n", csv, {{2, "A.jpg", "B.jpg"}}, {}},
      {"\xEF\xBB\xBFOLD,New\r\na,b\r\n\r\n\nc,d", csv, {{2, "a", "b"}, {5, "c", "d"}}, {}},
      {"\"old\"\t\"NEW\"\na b\t\"c\td\"\r\n", tsv, {{2, "a b", "c\td"}}, {}},
      {"\"a,\"\"1\"\"\",\"x\r\ny\"\nb,\"\"\"\"\r", csv, {{1, "a,\"1\"", "x\r\ny"}, {3, "b", "\""}}, {}},
      {"a,b\nold,new\n", csv, {{1, "a", "b"}, {2, "old", "new"}}, {}},
      {"a\tb,c\rd\ncaf\xE9 \"x\",\xFF\n", csv, {{1, "a\tb", "c\rd"}, {2, "caf\xE9 \"x\"", "\xFF"}}, {}},
      {"\r\n\n\r", tsv, {}, {}},
      {"", csv, {}, {}},
      {"a,b,c\nd\n,,\ne,f\n",
       csv,
       {{4, "e", "f"}},
       {"line 1: 3 fields" + twoFields, "line 2: 1 field" + twoFields, "line 3: 3 fields" + twoFields}},
      {"a,b\n", tsv, {}, {"line 1: 1 field" + twoFields}},
      {"\"a\nb\"x,c\nd,e\n\"f\" ,g\n", csv, {{3, "d", "e"}}, {"line 1" + afterQuote, "line 4" + afterQuote}},
      {"a,b\n\"c,d\ne,f\n", csv, {{1, "a", "b"}}, {"line 2: a quoted field is never closed"}},
      {",b\na,\n\"\",\"\"\n",
       csv,
       {},
       {"line 1: the old path is empty", "line 2: the new name is empty", "line 3: the old path is empty"}},
  };
  for (const Row& row : rows) {
    const TListReading reading = ReadRenameList(row.text, row.format);
    EXPECT_EQ(reading.rows, row.rows) << row.text;
    EXPECT_EQ(reading.problems, row.problems) << row.text;
  }
}

// Whatever bytes the paths and names hold, a written list reads back as its rows, each
// at the line its record starts on.
TEST(URenameListTest, WrittenRowsReadBack) {
  const std::string_view pieces[] = {",",   "\t",  "\"", "\"\"", "\r",   "\n", "\r\n", "\xEF\xBB\xBF",
                                     "old", "new", " ",  "\xFF", "\xC3", "é"};
  std::mt19937 random(2026);
  std::uniform_int_distribution<std::size_t> rowCount(0, 40);
  for (const TListFormat format : {csv, tsv}) {
    for (int round = 0; round < 100; ++round) {
      std::vector<std::pair<std::string, std::string>> pairs;
      std::vector<TListRow> expected;
      std::size_t line = 2;  // after the header
      for (std::size_t n = rowCount(random); n > 0; --n) {
        std::string oldPath = RandomText(random, pieces, 8);
        std::string newName = RandomText(random, pieces, 8);
        expected.push_back({line, oldPath, newName});
        line += 1 + static_cast<std::size_t>(std::ranges::count(oldPath + newName, '\n'));
        pairs.emplace_back(std::move(oldPath), std::move(newName));
      }
      const std::string written = WriteRenameList(pairs, format);
      const TListReading reading = ReadRenameList(written, format);
      ASSERT_EQ(reading.problems, std::vector<std::string>()) << written;
      ASSERT_EQ(reading.rows, expected) << written;
    }
  }
}

}  // namespace
}  // namespace qx::lists
