// SPDX-License-Identifier: GPL-3.0-or-later
// TRegexEngine: the dialect's matches and captures (Perl's leftmost-first rules), the
// options, every error text with its position, substitution, replacement, and the
// guarantees on work (bounded searches, the budget, the loop stack).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "regex/UTRegexEngine.h"

namespace qx {
namespace {

using TGroups = std::vector<std::optional<std::string>>;
const std::optional<std::string> kUnset = std::nullopt;
const std::string kPastLastGroup = std::to_string(TRegexEngine::kMaxGroup + 1);

struct TMatchRow {
  std::string expression;
  std::string input;
  int start;       // position of group 0 from 1; 0 when nothing matches
  TGroups groups;  // texts of groups 0, 1, ...; later groups must be unset
};

// Runs Exec and describes the outcome as "start: g0 | g1 | ..." for readable failures.
std::string Outcome(TRegexEngine& engine, const std::string& input) {
  if (!engine.Exec(input)) return "no match";
  std::string s = std::to_string(engine.MatchPos(0)) + ":";
  int last = 0;
  for (int g = 0; g <= TRegexEngine::kMaxGroup; ++g) {
    if (engine.MatchPos(g) >= 0) last = g;
  }
  for (int g = 0; g <= last; ++g)
    s += " " + (engine.MatchPos(g) < 0 ? std::string("<unset>") : "[" + engine.Match(g) + "]");
  return s;
}

std::string Expected(const TMatchRow& row) {
  if (row.start == 0) return "no match";
  std::string s = std::to_string(row.start) + ":";
  std::size_t count = row.groups.size();
  while (count > 1 && !row.groups[count - 1]) --count;  // trailing groups that took no part are not shown
  for (const auto& g : TGroups(row.groups.begin(), row.groups.begin() + static_cast<long>(count)))
    s += " " + (g ? "[" + *g + "]" : std::string("<unset>"));
  return s;
}

void CheckMatches(const std::vector<TMatchRow>& rows) {
  for (const TMatchRow& row : rows) {
    TRegexEngine engine;
    engine.SetExpression(row.expression);
    try {
      EXPECT_EQ(Outcome(engine, row.input), Expected(row))
          << "expression /" << row.expression << "/ on \"" << row.input << "\"";
    } catch (const TRegexError& error) {
      ADD_FAILURE() << "expression /" << row.expression << "/ on \"" << row.input << "\" raised " << error.what();
    }
  }
}

TEST(UTRegexEngineTest, MatchesLeftmostFirstWithGroups) {
  CheckMatches({
      {"abc", "xabcx", 2, {"abc"}},
      {"a|ab", "ab", 1, {"a"}},
      {"ab|a", "ab", 1, {"ab"}},
      {"(a|ab)(c|bcd)(d*)", "abcd", 1, {"abcd", "a", "bcd", ""}},
      {"(a+)+b", "aaab", 1, {"aaab", "aaa"}},
      {"(a)|b", "b", 1, {"b", kUnset}},
      {"((a)|b)+", "ab", 1, {"ab", "b", "a"}},  // a group keeps its capture from an earlier pass
      {"(a|b)*c", "abac", 1, {"abac", "a"}},
      {"a*?b", "aaab", 1, {"aaab"}},
      {"a+?", "aaa", 1, {"a"}},
      {"(a+?)(a*)", "aaa", 1, {"aaa", "a", "aa"}},
      {"(a*)(a)", "aaa", 1, {"aaa", "aa", "a"}},
      {"(a{2,3})(a*)", "aaaa", 1, {"aaaa", "aaa", "a"}},
      {"(a{2,3}?)(a*)", "aaaa", 1, {"aaaa", "aa", "aa"}},
      {"x{0}y", "xy", 2, {"y"}},
      {"a{3}", "aa", 0, {}},
      {"a{2,}", "baaaa", 2, {"aaaa"}},
      {"a{2,}?", "aaaa", 1, {"aa"}},
      {"(ab)?c", "abc", 1, {"abc", "ab"}},
      {"(ab)??c", "abc", 1, {"abc", "ab"}},
      {"(ab)?\?(abc)?", "abc", 1, {"abc", kUnset, "abc"}},
      {"(a?)(a?)", "a", 1, {"a", "a", ""}},
      {"()", "x", 1, {"", ""}},
      {"a||b", "b", 1, {""}},
      {"(x)(y)(z)\\3\\2\\1", "xyzzyx", 1, {"xyzzyx", "x", "y", "z"}},
      {"(\\w+) \\1", "say hello hello", 5, {"hello hello", "hello"}},
      {"(a)(b)?\\2", "ab a", 0, {}},  // a back-reference to a group that took no part fails
      {"(a)|b\\1", "b", 0, {}},
      {"(a)\\1{2}", "aaaa", 1, {"aaa", "a"}},
      {"(.)\\1+", "abccccd", 3, {"cccc", "c"}},
      {"(a|aa)+$", "aaaa", 1, {"aaaa", "a"}},
      {"^(\\w+\\s?)*$", "one two", 1, {"one two", "two"}},
      {"(a|b|c)+?c", "abcabc", 1, {"abc", "b"}},
      {"\\d+", "ab123c", 3, {"123"}},
      {"\\D+", "12ab3", 3, {"ab"}},
      {"\\w+", "  h\xC3\xA9llo", 3, {"h"}},  // word characters are the 63 ASCII ones
      {"\\W", "a\xC3\xA9", 2, {"\xC3\xA9"}},
      {"\\s+", "a \t\r\n\fb", 2, {" \t\r\n\f"}},
      {"\\s", "a\vb", 0, {}},
      {"\\S+", "  ab ", 3, {"ab"}},
      {".", "\xE2\x82\xAC", 1, {"\xE2\x82\xAC"}},  // one character, three bytes
      {"\\bfoo\\b", "a foo b", 3, {"foo"}},
      {"\\bfoo\\b", "afoo", 0, {}},
      {"\\Boo", "foo", 2, {"oo"}},
      {"\\b", "\xC3\xA9", 0, {}},
      {"b\\b", "ab", 2, {"b"}},
      {"\\x41\\x{42}\\x{00043}", "ABC", 1, {"ABC"}},
      {"\\x{000000000000000000e9}", "\xC3\xA9", 1, {"\xC3\xA9"}},
      {"\\xe9\\x{E9}", "\xC3\xA9\xC3\xA9", 1, {"\xC3\xA9\xC3\xA9"}},
      {"\\t\\n\\r\\f\\a\\e", "\t\n\r\f\a\x1B", 1, {"\t\n\r\f\a\x1B"}},
      {"\\q\\.\\0\\]", "q.0]", 1, {"q.0]"}},
      {"a{", "a{", 1, {"a{"}},
      {"a{x}", "a{x}", 1, {"a{x}"}},
      {"{", "{", 1, {"{"}},
      {"a{,2}", "a{,2}", 1, {"a{,2}"}},
      {"a{1", "a{1", 1, {"a{1"}},
      {"a}]", "a}]", 1, {"a}]"}},
      {"a(?#note)b", "ab", 1, {"ab"}},
      {"\xC3\xA9+", "\xC3\xA9\xC3\xA9", 1, {"\xC3\xA9\xC3\xA9"}},  // a repetition takes the whole character
      {"ab+", "abbab", 1, {"abb"}},                                // and only the last one of a literal run
      {"((\\d+))", "ab12c", 3, {"12", "12", "12"}},                // one run of one test: searched without backtracking
      {"(?i)(\\xe9)", "x\xC3\x89", 2, {"\xC3\x89", "\xC3\x89"}},
      {"B\xD0\xB6*",
       "B\xD0\xB6\xD0\xB6"
       "b",
       1,
       {"B\xD0\xB6\xD0\xB6"}},
      {"(\\d)+", "a123", 2, {"123", "3"}},
  });
}

TEST(UTRegexEngineTest, MatchesCharacterClasses) {
  CheckMatches({
      {"[abc]+", "xbcay", 2, {"bca"}},
      {"[^abc]+", "abxyc", 3, {"xy"}},
      {"[a-c]+", "dcbae", 2, {"cba"}},
      {"[]a]+", "x]a]", 2, {"]a]"}},
      {"[^]a]", "]ab", 3, {"b"}},
      {"[-a]+", "xa-a", 2, {"a-a"}},
      {"[a-]+", "xa-a", 2, {"a-a"}},
      {"[a-c-e]+", "-eb", 1, {"-eb"}},
      {"[\\d-z]+", "x1-z", 2, {"1-z"}},
      {"[a-\\d]+", "a-5", 1, {"a-5"}},
      {"[\\w.]+", "a.b c", 1, {"a.b"}},
      {"[\\s]+", "a \tb", 2, {" \t"}},
      {"[\\D]+", "12ab3", 3, {"ab"}},
      {"[\\W\\d]+", "ab1!c", 3, {"1!"}},
      {"[\\S]+", " ab ", 2, {"ab"}},
      {"[\\x41-\\x{43}]+", "ABCD", 1, {"ABC"}},
      {"[\\n\\t]+", "a\n\tb", 2, {"\n\t"}},
      {"[\\\\]", "a\\", 2, {"\\"}},
      {"[\\]]", "a]", 2, {"]"}},
      {"[\\b\\q]+", "bq", 1, {"bq"}},  // escapes without a meaning in a class stand for their letter
      {"[.*+?(){}|$^]+", "a.*+?(){}|$^", 2, {".*+?(){}|$^"}},
      {"[^a]", "\n", 1, {"\n"}},
      {"[\xC3\xA9-\xC3\xAB]+", "\xC3\xA8\xC3\xAA\xC3\xA9", 2, {"\xC3\xAA\xC3\xA9"}},
      {"[\xD0\xB0-\xD1\x8F]+", "\xD0\x96\xD0\xB6\xD1\x8F", 2, {"\xD0\xB6\xD1\x8F"}},  // Cyrillic a-ya
  });
}

// Option r: the ranges 224-255, 192-223 and 224-223 of the Cyrillic single-byte code
// page gain their extra letters; here as code points U+00E0.. and U+00C0...
TEST(UTRegexEngineTest, CyrillicRangeOptionAddsItsLetters) {
  CheckMatches({
      {"[\xC3\xA0-\xC3\xBF]+", "\xC3\xA0\xC2\xB8\xC3\xBF", 1, {"\xC3\xA0\xC2\xB8\xC3\xBF"}},
      {"(?-r)[\xC3\xA0-\xC3\xBF]+", "\xC3\xA0\xC2\xB8\xC3\xBF", 1, {"\xC3\xA0"}},
      {"[\xC3\x80-\xC3\x9F]+", "\xC3\x80\xC2\xA8\xC3\x9F", 1, {"\xC3\x80\xC2\xA8\xC3\x9F"}},
      {"(?-r)[\xC3\x80-\xC3\x9F]+", "\xC3\x80\xC2\xA8", 1, {"\xC3\x80"}},
      {"[\xC3\xA0-\xC3\x9F]+", "\xC3\x80\xC3\xA0\xC2\xA8\xC2\xB8x", 1, {"\xC3\x80\xC3\xA0\xC2\xA8\xC2\xB8"}},
      {"[\\xe0-\\xff]", "\xC2\xB8", 1, {"\xC2\xB8"}},
      {"[\xC3\xA0-\xC3\xBE]", "\xC2\xB8", 0, {}},  // only the exact ranges gain the letter
  });
}

TEST(UTRegexEngineTest, IgnoreCaseOption) {
  CheckMatches({
      {"abc", "ABC", 0, {}},
      {"(?i)abc", "xABC", 2, {"ABC"}},
      {"(?I)abc", "ABC", 1, {"ABC"}},
      {"(?i)\xC3\xA9", "\xC3\x89", 1, {"\xC3\x89"}},
      {"(?i)\xD0\xB6", "\xD0\x96", 1, {"\xD0\x96"}},
      {"(?i)\xC3\xBF", "\xC5\xB8", 1, {"\xC5\xB8"}},  // y-diaeresis and its capital outside Latin-1
      {"(?i)[\xC3\xBF]", "\xC5\xB8", 1, {"\xC5\xB8"}},
      {"(?i)[\xC5\xB8]", "\xC3\xBF", 1, {"\xC3\xBF"}},
      {"(?i)[a-c]+", "xAbC", 2, {"AbC"}},
      {"(?i)[^a]", "A", 0, {}},
      {"(?i)[^a]", "Ab", 2, {"b"}},
      {"(?i)(a)\\1", "aA", 1, {"aA", "a"}},
      {"(a)\\1", "aA", 0, {}},
      {"(?i)\\x41", "a", 1, {"a"}},
      {"a(?i)b", "aB", 1, {"aB"}},
      {"A(?i)b", "aB", 0, {}},
      {"(a(?i)b)c", "abC", 1, {"abC", "ab"}},  // a switch holds from there on, past its group
      {"(?i)a(?-i)b", "Ab", 1, {"Ab"}},
      {"(?i)a(?-i)b", "AB", 0, {}},
      {"(?i)Img_", "IMG_1 img_2", 1, {"IMG_"}},
  });
}

TEST(UTRegexEngineTest, DotAllMultiLineGreedyAndExtendedOptions) {
  CheckMatches({
      {".", "\n", 1, {"\n"}},
      {"(?-s).", "\n", 0, {}},
      {"(?-s).", "\r", 0, {}},
      {"(?-s).+", "ab\ncd", 1, {"ab"}},
      {"(?S)(?-S).", "\rx", 2, {"x"}},
      {"^a", "ba", 0, {}},
      {"a$", "a\n", 0, {}},  // without m, $ is the very end only
      {"(?m)a$", "a\nb", 1, {"a"}},
      {"(?m)a$", "a\rb", 1, {"a"}},
      {"(?m)^b", "a\nb", 3, {"b"}},
      {"(?m)^b", "a\rb", 3, {"b"}},
      {"(?m)^$", "a\n", 3, {""}},
      {"(?m)^", "\r\nx", 1, {""}},
      {"\\Aa", "a", 1, {"a"}},
      {"(?m)\\Aa", "b\na", 0, {}},
      {"a\\Z", "ba", 2, {"a"}},
      {"(?m)a\\Z", "a\nb", 0, {}},
      {"a\\Z", "a\n", 0, {}},
      {"(?-g)a+", "aaa", 1, {"a"}},
      {"(?-g)a+?", "aaa", 1, {"a"}},
      {"(?-g)a{2,3}", "aaaa", 1, {"aa"}},
      {"(?-g)(a*)b", "aab", 1, {"aab", "aa"}},
      {"(?-g)a*(?g)a*", "aaa", 1, {"aaa"}},
      {"(?x) a b # note\n c", "abc", 1, {"abc"}},
      {"(?x)a\\ b", "a b", 1, {"a b"}},
      {"(?x)a\tb\r\nc", "abc", 1, {"abc"}},
      {"(?x)[ ]", "a b", 2, {" "}},
      {"(?x)a b(?-x) c", "ab c", 1, {"ab c"}},
      {"(?x)a +", "aaa", 1, {"aaa"}},
      {"(?x)a#*\nb", "ab", 1, {"ab"}},
      {"(?ix-s)A.", "a\nab", 3, {"ab"}},
      {"(?)a", "a", 1, {"a"}},
  });
}

// Texts that are not UTF-8 keep every byte: a stray byte is one character of its own.
TEST(UTRegexEngineTest, KeepsBytesThatAreNotUtf8) {
  CheckMatches({
      {"a.b",
       "a\xFF"
       "b",
       1,
       {"a\xFF"
        "b"}},
      {"\xFF+", "x\xFF\xFF", 2, {"\xFF\xFF"}},
      {"\\xff", "\xFF", 0, {}},  // \xff names U+00FF, not the byte
      {"\\xff", "\xC3\xBF", 1, {"\xC3\xBF"}},
      {"[^a]+",
       "a\xC3"
       "a",
       2,
       {"\xC3"}},
  });
  TRegexEngine engine;
  engine.SetExpression(".");
  EXPECT_EQ(engine.Replace("a\xFF\xC3\xA9", "<$&>", true), "<a><\xFF><\xC3\xA9>");
}

TEST(UTRegexEngineTest, EdgeCasesOfTheDialect) {
  TRegexEngine engine;
  engine.SetExpression("abc");
  EXPECT_FALSE(engine.Exec("ABC"));
  engine.SetExpression("(?i)abc");
  EXPECT_TRUE(engine.Exec("ABC"));

  struct TRow {
    std::string expression, tmpl, input, expected;
  };
  const std::vector<TRow> rows = {
      {"(\\d+)", "[$1]", "a1b22", "a[1]b[22]"},
      {"(\\d+)", "[${1}]", "a1b22", "a[1]b[22]"},
      {"(\\d+)", "[$&]", "a1b22", "a[1]b[22]"},
      {"(\\d+)", "[\\$1]", "a1b22", "a[$1]b[$1]"},
      {"(\\d+)", "[$" + kPastLastGroup + "]", "a1", "a[]"},
      {"(?x)a b # note", "X", "ab", "X"},
  };
  for (const TRow& row : rows) {
    engine.SetExpression(row.expression);
    EXPECT_EQ(engine.Replace(row.input, row.tmpl, true), row.expected) << row.expression << " -> " << row.tmpl;
  }
}

TEST(UTRegexEngineTest, SubstitutesTemplates) {
  struct TRow {
    std::string tmpl, expected;
  };
  // The match of (a)(b)?(c) in "xacy": group 2 took no part.
  const std::vector<TRow> rows = {
      {"$0|$&|${0}|${&}", "ac|ac|ac|ac"},
      {"$1$2$3", "ac"},
      {"${1}1", "a1"},
      {"$11", ""},  // as many digits as follow: group 11
      {"$00001", "a"},
      {"$" + kPastLastGroup + "|$99999999999", "|"},
      {"$", "$"},
      {"$x", "$x"},
      {"${", "${"},
      {"${1", "${1"},
      {"${}", "${}"},
      {"${1x}", "${1x}"},
      {"${&", "${&"},
      {"\\$1", "$1"},
      {"\\\\$1", "\\a"},
      {"\\n", "n"},
      {"end\\", "end"},
      {"\\\xC3\xA9", "\xC3\xA9"},
      {"\xC3\xA9$1",
       "\xC3\xA9"
       "a"},
  };
  TRegexEngine engine;
  engine.SetExpression("(a)(b)?(c)");
  ASSERT_TRUE(engine.Exec("xacy"));
  for (const TRow& row : rows) EXPECT_EQ(engine.Substitute(row.tmpl), row.expected) << "template " << row.tmpl;
}

TEST(UTRegexEngineTest, ReplacesEveryMatch) {
  struct TRow {
    std::string expression, input, tmpl;
    bool substitute;
    std::string expected;
  };
  const std::vector<TRow> rows = {
      {"a*", "baaac", "X", true, "XbXXcX"},  // empty matches, one character further each time
      {"x*", "abc", "-", true, "-a-b-c-"},
      {"\\b", "ab cd", "|", true, "|ab| |cd|"},
      {"^", "abc", ">", true, ">abc"},
      {"$", "abc", "<", true, "abc<"},
      {"^a", "aaa", "b", true, "baa"},
      {"zzz", "abc", "y", true, "abc"},
      {"(\\d+)", "a1b22", "[$1]", false, "a[$1]b[$1]"},
      {"(\\w)(\\w*)", "hello big world", "$2$1", true, "elloh igb orldw"},
      {"^(.*) - (.*)\\.mp3$", "Artist - Title.mp3", "$2 - $1.mp3", true, "Title - Artist.mp3"},
      {"\\s+", "a  b\tc", "_", true, "a_b_c"},
      {"[aeiou]", "holiday", "_", true, "h_l_d_y"},
      {"\xC3\xA9", "caf\xC3\xA9s", "e", true, "cafes"},
  };
  for (const TRow& row : rows) {
    TRegexEngine engine;
    engine.SetExpression(row.expression);
    EXPECT_EQ(engine.Replace(row.input, row.tmpl, row.substitute), row.expected)
        << row.expression << " on " << row.input;
  }
}

TEST(UTRegexEngineTest, ExecNextGoesOnFromTheLastMatch) {
  TRegexEngine engine;
  engine.SetExpression("a|");
  ASSERT_TRUE(engine.Exec("ab"));
  std::vector<std::pair<int, int>> spans{{engine.MatchPos(0), engine.MatchLen(0)}};
  while (engine.ExecNext()) spans.push_back({engine.MatchPos(0), engine.MatchLen(0)});
  // "a" at 1, then empty at 2 (after the non-empty match), then empty at 3 (end).
  EXPECT_EQ(spans, (std::vector<std::pair<int, int>>{{1, 1}, {2, 0}, {3, 0}}));
  EXPECT_FALSE(engine.ExecNext());
  EXPECT_EQ(engine.MatchPos(0), -1);  // the table is cleared by every search
  EXPECT_EQ(engine.MatchLen(0), -1);

  engine.SetExpression("b");
  EXPECT_FALSE(engine.Exec("aaa"));
  EXPECT_FALSE(engine.ExecNext());
}

// A search that raises leaves no match behind: nothing stale to read, nothing to go on from.
TEST(UTRegexEngineTest, ARaisingSearchLeavesNoMatch) {
  TRegexEngine engine;
  engine.SetExpression("x|(a|aa)+\\1c");
  ASSERT_TRUE(engine.Exec("x" + std::string(80, 'a') + "bc"));
  EXPECT_THROW(engine.ExecNext(), TRegexError);  // Match Too Complex
  EXPECT_EQ(engine.MatchPos(0), -1);
  EXPECT_FALSE(engine.ExecNext());

  ASSERT_TRUE(engine.Exec("x"));
  EXPECT_THROW(engine.Exec(""), TRegexError);  // No Input String Specified
  EXPECT_EQ(engine.MatchPos(0), -1);
  EXPECT_EQ(engine.Match(0), "");
  EXPECT_FALSE(engine.ExecNext());
}

TEST(UTRegexEngineTest, MatchTableReportsCharactersFromOne) {
  TRegexEngine engine;
  engine.SetExpression("(\xC3\xA9+)(x)?");
  ASSERT_TRUE(engine.Exec("\xE2\x82\xAC\xC3\xA9\xC3\xA9!"));
  EXPECT_EQ(engine.MatchPos(0), 2);
  EXPECT_EQ(engine.MatchLen(0), 2);
  EXPECT_EQ(engine.MatchPos(1), 2);
  EXPECT_EQ(engine.Match(1), "\xC3\xA9\xC3\xA9");
  EXPECT_EQ(engine.MatchPos(2), -1);
  EXPECT_EQ(engine.Match(2), "");
  EXPECT_EQ(engine.MatchPos(TRegexEngine::kMaxGroup + 1), -1);
  EXPECT_EQ(engine.MatchPos(-1), -1);
}

struct TErrorRow {
  std::string expression;
  std::string expected;
};

void CheckErrors(const std::vector<TErrorRow>& rows, const std::string& input) {
  for (const TErrorRow& row : rows) {
    TRegexEngine engine;
    engine.SetExpression(row.expression);
    try {
      engine.Exec(input);
      ADD_FAILURE() << "expression /" << row.expression << "/ raised nothing";
    } catch (const TRegexError& error) {
      EXPECT_EQ(std::string(error.what()), row.expected) << "expression /" << row.expression << "/";
    }
  }
}

TEST(UTRegexEngineTest, CompileErrorsGiveTextAndPosition) {
  const std::string p = "TRegexEngine(comp): ";
  // One group past the limit, nested and side by side: the error points at its '('.
  const int groups = TRegexEngine::kMaxGroup + 1;
  std::string sideBySide;
  for (int i = 0; i < groups; ++i) sideBySide += "()";
  const std::string tooMany = p + "ParseReg Too Many () (pos ";
  CheckErrors(
      {
          {"(", p + "ParseReg Unmatched () (pos 1)"},
          {"(a", p + "ParseReg Unmatched () (pos 2)"},
          {"a)", p + "ParseReg Unmatched () (pos 1)"},
          {"(a))", p + "ParseReg Unmatched () (pos 3)"},
          {"(?i", p + "ParseReg Unmatched () (pos 3)"},
          {std::string(groups, '(') + "a" + std::string(groups, ')'), tooMany + std::to_string(groups - 1) + ")"},
          {sideBySide, tooMany + std::to_string(2 * (groups - 1)) + ")"},
          {"(a*)*", p + "*+ Operand Could Be Empty (pos 4)"},
          {"(a|)+", p + "*+ Operand Could Be Empty (pos 4)"},
          {"\\b+", p + "*+ Operand Could Be Empty (pos 2)"},
          {"x(^)*", p + "*+ Operand Could Be Empty (pos 4)"},
          {"(a?){2,}", p + "*+ Operand Could Be Empty (pos 4)"},
          {"(a?)\\1*", p + "*+ Operand Could Be Empty (pos 6)"},
          {"\\1+(a)", p + "*+ Operand Could Be Empty (pos 2)"},
          {"a**", p + "Nested *?+ (pos 2)"},
          {"a+*", p + "Nested *?+ (pos 2)"},
          {"a*??", p + "Nested *?+ (pos 3)"},
          {"a{2}{3}", p + "Nested *?+ (pos 4)"},
          {"a?{1,2}", p + "Nested *?+ (pos 2)"},
          {"*a", p + "?+*{ Follows Nothing (pos 0)"},
          {"?", p + "?+*{ Follows Nothing (pos 0)"},
          {"a|+b", p + "?+*{ Follows Nothing (pos 2)"},
          {"(*a)", p + "?+*{ Follows Nothing (pos 1)"},
          {"{2}", p + "?+*{ Follows Nothing (pos 0)"},
          {"(?i)*", p + "?+*{ Follows Nothing (pos 4)"},
          {"a(?#c)+", p + "?+*{ Follows Nothing (pos 6)"},
          {"\\x", p + "No Hex Code After \\x (pos 2)"},
          {"\\x4", p + "No Hex Code After \\x (pos 3)"},
          {"\\x{41", p + "No Hex Code After \\x (pos 5)"},
          {"[\\x", p + "No Hex Code After \\x (pos 3)"},
          {"\\xg1", p + "Bad Hex Digit (pos 2)"},
          {"\\x4g", p + "Bad Hex Digit (pos 3)"},
          {"\\x{4g}", p + "Bad Hex Digit (pos 4)"},
          {"\\x{}", p + "Bad Hex Digit (pos 3)"},
          {"\\x{100}", p + "Hex Code After \\x Is Too Big (pos 6)"},
          {"[\\x{fff}]", p + "Hex Code After \\x Is Too Big (pos 7)"},
          {"[z-a]", p + "Invalid [] Range (pos 3)"},
          {"[\\x5a-\\x41]", p + "Invalid [] Range (pos 9)"},
          {"(?-r)[\xC3\xA0-\xC3\x9F]", p + "Invalid [] Range (pos 8)"},
          {"[a\\", p + "Parse Atom Trailing \\ (pos 3)"},
          {"[a-\\", p + "Parse Atom Trailing \\ (pos 4)"},
          {"[abc", p + "Unmatched [] (pos 4)"},
          {"[", p + "Unmatched [] (pos 1)"},
          {"[]", p + "Unmatched [] (pos 2)"},
          {"[^]", p + "Unmatched [] (pos 3)"},
          {"a\\", p + "Trailing \\ (pos 2)"},
          {"a{123456789}", p + "BRACES Argument Too Big (pos 10)"},
          {"a{1,123456789}", p + "BRACES Argument Too Big (pos 12)"},
          {"a{2,1}", p + "BRACE Min Param Greater then Max (pos 5)"},
          {"(?#abc", p + "Unclosed (?#Comment) (pos 6)"},
          {"(?q)", p + "Urecognized Modifier (pos 2)"},
          {"(?i-q)", p + "Urecognized Modifier (pos 4)"},
          {"(?:a)", p + "Urecognized Modifier (pos 2)"},
          {"\xC3\xA9(", p + "ParseReg Unmatched () (pos 2)"},  // positions count characters
      },
      "a");
}

TEST(UTRegexEngineTest, SearchErrorsHaveNoPosition) {
  CheckErrors({{"", "TRegexEngine(exec): Not Assigned Expression Property"}}, "a");
  CheckErrors({{"a", "TRegexEngine(exec): No Input String Specified"}}, "");

  TRegexEngine engine;
  engine.SetExpression("a");
  try {
    engine.ExecNext();
    ADD_FAILURE() << "ExecNext before any search raised nothing";
  } catch (const TRegexError& error) {
    EXPECT_STREQ(error.what(), "TRegexEngine(exec): ExecNext Without Exec[Pos]");
  }
}

TEST(UTRegexEngineTest, CompileErrorsComeAtTheFirstSearchEachTime) {
  TRegexEngine engine;
  engine.SetExpression("(");  // setting it raises nothing
  for (int i = 0; i < 2; ++i) EXPECT_THROW(engine.Exec("a"), TRegexError);
  engine.SetExpression("a");
  EXPECT_TRUE(engine.Exec("a"));
}

// Ten nested counted repetitions fit the loop stack; the eleventh does not.
TEST(UTRegexEngineTest, LoopStackLimitsNestedCountedRepetitions) {
  std::string ten = "a{1}";
  for (int i = 0; i < 9; ++i) ten = "(" + ten + "){1}";
  TRegexEngine engine;
  engine.SetExpression(ten);
  EXPECT_TRUE(engine.Exec("a"));
  CheckErrors({{"(" + ten + "){1}", "TRegexEngine(exec): Loop Stack Exceeded"}}, "a");
  // Other repetitions take no place on it.
  engine.SetExpression("(((((((((((a)+)+)+)+)+)+)+)+)+)+)+");
  EXPECT_TRUE(engine.Exec("aa"));
}

// Counts are not written out copy by copy, yet every count is honoured exactly.
TEST(UTRegexEngineTest, LargeCountsMatchExactly) {
  const std::string a3000(3000, 'a');
  CheckMatches({
      {"a{1,2000000}", "caaab", 2, {"aaa"}},
      {"a{3000}", a3000, 1, {a3000}},
      {"a{3000}", a3000.substr(1), 0, {}},
      {"a{2999}b", a3000 + "b", 2, {a3000.substr(1) + "b"}},
      {"(ab){2,2500}", "abababx", 1, {"ababab", "ab"}},
      {"(ab){2,2500}?", "abababx", 1, {"abab", "ab"}},
      {"(a?){3000}", "aaa", 1, {"aaa", ""}},
      {"((a{2,3}){2,4}){1,3000}", std::string(13, 'a'), 1, {std::string(12, 'a'), std::string(12, 'a'), "aaa"}},
      {"(x{1,3000}|y)+z", "xxyxz", 1, {"xxyxz", "x"}},
      {"(a*b){1,3000}c", "abaabbc", 1, {"abaabbc", "b"}},
      {"(a*b){2,3000}?", "abaabbc", 1, {"abaab", "aab"}},
      {"(a*)b\\1", "aaba", 2, {"aba", "a"}},
      {"a{99999999}", "aaa", 0, {}},
  });
}

// No backtracking blow-up: each of these would take a naive backtracker longer than
// the age of the universe. The results are checked; their speed is the benchmark's.
TEST(UTRegexEngineTest, PathologicalExpressionsFinish) {
  const std::string as(5000, 'a');
  CheckMatches({
      {"(a|aa)+$", as + "b", 0, {}},
      {"(a|aa)+$", as, 1, {as, "a"}},
      {"(x+x+)+y", std::string(5000, 'x'), 0, {}},
      {"^(\\w+\\s?)*$", std::string(3000, 'w') + "!", 0, {}},
      {"(a+)+b|(a+)+c", as, 0, {}},
      {"((a|b)*?c|(a|b)*d){1,100}e", std::string(2000, 'a') + "d", 0, {}},
  });
}

TEST(UTRegexEngineTest, BackReferencesHaveAWorkBudget) {
  TRegexEngine engine;
  engine.SetExpression("(a|aa)+\\1c");
  EXPECT_TRUE(engine.Exec("aaaac"));
  CheckErrors({{"(a|aa)+\\1c", "TRegexEngine(exec): Match Too Complex"}}, std::string(80, 'a') + "bc");
}

}  // namespace
}  // namespace qx
