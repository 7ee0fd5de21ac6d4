// SPDX-License-Identifier: GPL-3.0-or-later
// RegexReplace: every match replaced by the substituted template, an engine error as
// the result text, and the kept engines behaving like fresh ones call after call.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/URegexReplace.h"

namespace qx {
namespace {

struct TRow {
  std::string input, expression, tmpl, expected;
};

TEST(URegexReplaceTest, ReplacesOrGivesTheErrorText) {
  const std::vector<TRow> rows = {
      {"a1b22", "(\\d+)", "[$1]", "a[1]b[22]"},
      {"ABC", "abc", "x", "ABC"},
      {"ABC", "(?i)abc", "x", "x"},
      {"holiday.jpg", "zzz", "x", "holiday.jpg"},
      {"IMG_0001.JPG", "^IMG_(\\d+)\\.JPG$", "Photo $1.jpg", "Photo 0001.jpg"},
      {"a\xFF"
       "b",
       "b", "c",
       "a\xFF"
       "c"},
      {"name", "(", "x", "TRegexEngine(comp): ParseReg Unmatched () (pos 1)"},
      {"name", "", "x", "TRegexEngine(exec): Not Assigned Expression Property"},
      {"", "a", "x", "TRegexEngine(exec): No Input String Specified"},
      {"name", "a{2,1}", "x", "TRegexEngine(comp): BRACE Min Param Greater then Max (pos 5)"},
      {std::string(80, 'a') + "bc", "(a|aa)+\\1c", "x", "TRegexEngine(exec): Match Too Complex"},
  };
  for (const TRow& row : rows) {
    EXPECT_EQ(RegexReplace(row.input, row.expression, row.tmpl), row.expected)
        << "/" << row.expression << "/ on \"" << row.input << "\"";
  }
}

// A run alternates a few expressions over many names; every call must give what a
// fresh engine gives, errors included, whatever came before.
TEST(URegexReplaceTest, CallsDoNotInfluenceEachOther) {
  const std::vector<TRow> rows = {
      {"a1", "(\\d)", "<$1>", "a<1>"},
      {"b2", "(", "x", "TRegexEngine(comp): ParseReg Unmatched () (pos 1)"},
      {"c3", "(\\d)", "<$1>", "c<3>"},
      {"dd", "(d)(x)?", "$2$1", "dd"},
      {"e5", "(", "x", "TRegexEngine(comp): ParseReg Unmatched () (pos 1)"},
      {"f6", "[a-z]", "-", "-6"},
      {"g7", "\\d", "#", "g#"},
      {"h8", "(x)?h", "[$1]", "[]8"},
      {"i9", "(\\d)", "<$1>", "i<9>"},
      {"jj", "(d)(x)?", "$2$1", "jj"},
      {"", "(\\d)", "x", "TRegexEngine(exec): No Input String Specified"},
      {"k0", "(\\d)", "<$1>", "k<0>"},
  };
  for (int pass = 0; pass < 3; ++pass) {
    for (const TRow& row : rows) {
      EXPECT_EQ(RegexReplace(row.input, row.expression, row.tmpl), row.expected)
          << "pass " << pass << ": /" << row.expression << "/ on \"" << row.input << "\"";
    }
  }
}

}  // namespace
}  // namespace qx
