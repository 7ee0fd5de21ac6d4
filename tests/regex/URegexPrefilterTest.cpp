// SPDX-License-Identifier: GPL-3.0-or-later
// The search's shortcuts: the prefilter rules out inputs without the runs every match
// contains, and a greedy star gives back only to places where what follows can start.
// Neither may change any outcome: generated expressions and inputs are searched with the
// program as compiled and with both shortcuts taken out, and must agree match by match.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/UUtf8.h"
#include "regex/UTRegexEngine.h"
#include "regex/detail/URegexCompiler.h"
#include "regex/detail/URegexMatcher.h"
#include "regex/detail/URegexParser.h"

namespace qx {
namespace {

using detail::TProgram;

TProgram Compiled(const std::string& expression) {
  return detail::CompileExpression(detail::ParseExpression(utf8::ToCodePoints(expression)));
}

bool MayMatch(const TProgram& program, const std::string& input) {
  const bool ascii =
      std::all_of(input.begin(), input.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return program.prefilter.MayMatch(input, ascii);
}

TEST(URegexPrefilterTest, RulesOutInputsWithoutTheRequiredRuns) {
  struct TRow {
    std::string expression, input;
    bool mayMatch;
  };
  const std::vector<TRow> rows = {
      {"^(.*) - (.*)\\.mp3$", "Queen - Karma Police.mp3", true},
      {"^(.*) - (.*)\\.mp3$", "Queen - Karma Police.ogg", false},
      {"^(.*) - (.*)\\.mp3$", "Bj\xC3\xB6rk.mp3", false},  // a text is looked for in any input
      {"(?i)img_", "DSC01234.JPG", false},
      {"(?i)img_", "x_IMG_1", true},
      {"(?i)img_", "\xC4\xB1mg_", true},  // dotless i upper-cases to I: inputs beyond ASCII are not ruled out
      {"(?i)img_", "im\xC3\xA9g_", true},
      {"a(b)\\bc", "abc", true},  // groups and assertions take no room between characters
      {"a(b)\\bc", "ab c", false},
      {"x+y", "xxy", true},  // a repetition's last copy touches what follows
      {"x+y", "x_y", false},
      {"a[bc]d", "acd", true},
      {"a[bc]d", "aed", false},
      {"\xC3\xA9+x", "caf\xC3\xA9x", true},
      {"\xC3\xA9+x", "cafex", false},
      {"\\xff", "\xC3\xBF", true},
      {"\\xff", "\xFF", false},  // a stray byte is not the character U+00FF
      {"a|b", "c", true},        // nothing is required of either branch alone
      {"(ab)?c", "c", true},
      {"(ab){2}", "a-b", false},
  };
  for (const TRow& row : rows) {
    EXPECT_EQ(MayMatch(Compiled(row.expression), row.input), row.mayMatch)
        << "/" << row.expression << "/ on \"" << row.input << "\"";
  }
}

// Expressions from pieces that make required runs, stars followed by literals, case
// folding beyond ASCII and bytes that are not UTF-8.
class TGenerator {
 public:
  explicit TGenerator(uint32_t seed) : m_rng(seed) {}

  std::string Expression(int depth = 0) {
    static const std::vector<std::string> kLiterals = {
        "a",        "b", "i", "I", "\xC4\xB1", "\xC5\xBF", "s",     "K", "k", "\xE2\x84\xAA", "\xC3\xA9",
        "\xC3\x89", "_", " ", "-", "\\.",      "\xFF",     "\\xff", "m", "g", "\\n"};
    static const std::vector<std::string> kOthers = {
        ".",   "[a-c]", "[^a]", "\\w", "\\d",  "\\s",  "\\W",  "[i\xC4\xB1]", "^",    "$",     "\\b",  "\\B",
        "\\A", "\\Z",   ".*",   ".+",  "\\w*", "(?i)", "(?i)", "(?-i)",       "(?m)", "(?-s)", "(?-g)"};
    static const std::vector<std::string> kRepeats = {"*", "+", "?", "{1,3}", "{2}", "*?", "+?", "{2,}", "{1,2500}"};
    std::string expression;
    for (int piece = Pick(1, 5); piece > 0; --piece) {
      const int roll = Pick(0, 99);
      std::string atom;
      if (roll < 50) {
        atom = From(kLiterals);
      } else if (roll < 80) {
        atom = From(kOthers);
      } else if (roll < 92 && depth < 2) {
        // One draw after another: in one expression their order would be the compiler's.
        atom = "(" + Expression(depth + 1);
        if (Pick(0, 2) == 0) atom += "|" + Expression(depth + 1);
        atom += ")";
      } else {
        atom = "\\1";
      }
      if (Pick(0, 99) < 30) atom += From(kRepeats);
      expression += atom;
    }
    return expression;
  }

  std::string Input() {
    static const std::vector<std::string> kPieces = {
        "a",        "b",    "i", "I", "\xC4\xB1", "\xC5\xBF", "s",    "S",        "K",  "k",  "\xE2\x84\xAA",
        "\xC3\xA9", "_",    " ", "-", ".",        "\xFF",     "\xC3", "\xC3\xBF", "\n", "\r", "mg",
        "img_",     "IMG_", "x", "3", "ab",       "a.",       " - ",  ".mp3"};
    std::string input;
    for (int piece = Pick(1, 12); piece > 0; --piece) input += From(kPieces);
    return input;
  }

 private:
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
  const std::string& From(const std::vector<std::string>& pieces) {
    return pieces[static_cast<std::size_t>(Pick(0, static_cast<int>(pieces.size()) - 1))];
  }

  std::mt19937 m_rng;
};

// Every match of a search and those after it, as ExecNext goes on, written out; or the error.
std::string Outcome(const TProgram& program, const std::string& input) {
  detail::TMatcher matcher;
  detail::TSubject subject;
  subject.Reset(input);
  detail::TCaptures captures{};
  std::string outcome;
  try {
    for (std::size_t from = 0, round = 0; round < 64; ++round) {
      if (!matcher.Search(program, subject, from, round == 0, captures)) break;
      for (uint32_t slot : captures) outcome += slot == detail::kUnset ? "- " : std::to_string(slot) + " ";
      outcome += "| ";
      from = captures[1] == captures[0] ? captures[1] + 1 : captures[1];
    }
  } catch (const TRegexError& error) {
    outcome += error.what();
  }
  return outcome;
}

TEST(URegexPrefilterTest, ShortcutsChangeNoSearch) {
  TGenerator generator(20261207);
  int compared = 0;
  int matched = 0;
  int ruledOut = 0;
  for (int expressions = 0; expressions < 6000; ++expressions) {
    const std::string expression = generator.Expression();
    TProgram program;
    try {
      program = Compiled(expression);
    } catch (const TRegexError&) {
      continue;  // compile errors are the parser's, tested elsewhere
    }
    TProgram plain = program;
    plain.prefilter = {};
    plain.starFollow.clear();
    for (int k = 0; k < 8; ++k, ++compared) {
      const std::string input = generator.Input();
      const std::string expected = Outcome(plain, input);
      const std::string outcome = Outcome(program, input);
      const bool mayMatch = MayMatch(program, input);
      // The prefilter spares the work that can run the plain search out of its budget.
      const bool spared = expected == "TRegexEngine(exec): Match Too Complex" && outcome.empty() && !mayMatch;
      if (!spared) {
        EXPECT_EQ(outcome, expected) << "/" << expression << "/ on \"" << input << "\"";
      }
      if (expected.find('|') != std::string::npos) ++matched;
      if (!mayMatch) ++ruledOut;
    }
  }
  // Both outcomes, and the prefilter at work, must come up often enough to mean anything.
  EXPECT_GT(matched, compared / 10);
  EXPECT_GT(ruledOut, compared / 10);
  EXPECT_GT(compared - matched, compared / 10);
}

}  // namespace
}  // namespace qx
