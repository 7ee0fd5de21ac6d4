// SPDX-License-Identifier: GPL-3.0-or-later
// Differential test: generated expressions and inputs, matched by TRegexEngine and by
// PCRE2 as an oracle, comparing found / not found and every group of every successive
// match. QX_REGEX_DIFF_CASES sets the number of cases for longer runs.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <gtest/gtest.h>
#include <pcre2.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/UUtf8.h"
#include "regex/UTRegexEngine.h"

namespace qx {
namespace {

constexpr int kDefaultCases = 120000;  // about 20 s under AddressSanitizer
constexpr int kInputsPerExpression = 6;

// Characters the generator draws from. Case pairs outside ASCII are ones whose simple
// case mapping and the oracle's case folding agree. No '\r' and no '\v': the oracle's
// newline and \s conventions differ from ours there. No range can start or end at
// U+00C0, U+00DF, U+00E0 or U+00FF, so option r's additions never arise.
const std::vector<char32_t> kAlphabet = {U'a', U'b', U'c', U'A',  U'B',      U'x',      U'1',      U'2',      U'_',
                                         U' ', U'-', U'.', U'\n', U'\u00e9', U'\u00c9', U'\u0436', U'\u0416', U'\t'};

std::string Utf8(char32_t c) {
  std::string s;
  utf8::Append(s, c);
  return s;
}

enum class TGenKind { Literal, Dot, Class, Shorthand, Assert, BackRef, Group, Concat, Alternate, Repeat, Switch };

struct TGenNode {
  TGenKind kind = TGenKind::Literal;
  char32_t ch = 0;
  std::string text;      // Shorthand, Assert (ours), Switch (letters with '-')
  std::string pcreText;  // Assert
  int group = 0;         // Group, BackRef
  uint32_t min = 0, max = 0;
  bool lazy = false;
  bool hexForm = false;                               // Literal written as \x
  bool negated = false;                               // Class
  std::vector<std::pair<char32_t, char32_t>> ranges;  // Class
  std::vector<std::string> shorthands;                // Class
  std::vector<TGenNode> kids;
};

// Option state while writing the expression out, in text order like the parser.
struct TGenFlags {
  bool ignoreCase = false;
  bool dotAll = true;
  bool greedy = true;
  bool multiLine = false;
  bool extended = false;
};

class TGenerator {
 public:
  explicit TGenerator(uint32_t seed) : m_rng(seed) {}

  // One expression as a top-level sequence in which option switches may appear.
  TGenNode Expression() {
    m_groups = 0;
    m_closed.assign(10, false);
    TGenNode top;
    top.kind = TGenKind::Concat;
    const int parts = Pick(1, 2);
    for (int i = 0; i < parts; ++i) {
      // Switches only at the top level: ours hold to the end of the expression, the
      // oracle's end with the group around them.
      if (Chance(30)) top.kids.push_back(Switch());
      bool nullable = false;
      top.kids.push_back(Alternation(Pick(1, 3), nullable));
    }
    return top;
  }

  std::string Input(const TGenNode& expr) {
    std::string s;
    const int pieces = Pick(0, 3);
    for (int i = 0; i < pieces; ++i) {
      if (Chance(60)) {
        Sample(expr, s);
      } else {
        const int n = Pick(0, 4);
        for (int k = 0; k < n; ++k) s += Utf8(AnyChar());
      }
    }
    if (s.empty()) s = Utf8(AnyChar());  // an empty input is an error of ours, tested elsewhere
    return s;
  }

  uint32_t Seed() { return m_rng(); }

 private:
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
  bool Chance(int percent) { return Pick(1, 100) <= percent; }
  char32_t AnyChar() { return kAlphabet[static_cast<std::size_t>(Pick(0, static_cast<int>(kAlphabet.size()) - 1))]; }

  TGenNode Switch() {
    TGenNode node;
    node.kind = TGenKind::Switch;
    const char* letters = "isgmx";
    std::string on, off;
    for (int i = 0; i < 5; ++i) {
      if (Chance(25)) (Chance(50) ? on : off) += letters[i];
    }
    if (on.empty() && off.empty()) on = "i";
    node.text = on + (off.empty() ? "" : "-" + off);
    return node;
  }

  TGenNode Alternation(int depth, bool& nullable) {
    const int branches = Chance(25) ? Pick(2, 3) : 1;
    TGenNode alt;
    alt.kind = TGenKind::Alternate;
    nullable = false;
    for (int i = 0; i < branches; ++i) {
      bool branchNullable = false;
      alt.kids.push_back(Sequence(depth, branchNullable));
      nullable = nullable || branchNullable;
    }
    return alt;
  }

  TGenNode Sequence(int depth, bool& nullable) {
    TGenNode seq;
    seq.kind = TGenKind::Concat;
    nullable = true;
    const int pieces = Pick(0, 3);
    for (int i = 0; i < pieces; ++i) {
      bool pieceNullable = false;
      seq.kids.push_back(Piece(depth, pieceNullable));
      nullable = nullable && pieceNullable;
    }
    return seq;
  }

  TGenNode Piece(int depth, bool& nullable) {
    bool atomNullable = false;
    bool repeatable = true;
    TGenNode atom = Atom(depth, atomNullable, repeatable);
    const bool simple = atom.kind == TGenKind::Literal || atom.kind == TGenKind::Dot || atom.kind == TGenKind::Class ||
                        atom.kind == TGenKind::Shorthand;
    nullable = atomNullable;
    if (!repeatable || !Chance(35)) return atom;
    // {0} on a group: the oracle then mistakes some starts that follow (seen with \A inside).
    const int minCount = simple ? 0 : 1;
    TGenNode rep;
    rep.kind = TGenKind::Repeat;
    rep.lazy = Chance(30);
    // An open-ended repetition of something that can be empty is an error of ours, and
    // the oracle's empty-iteration rule would differ anyway.
    const int form = atomNullable ? Pick(2, 3) : Pick(0, 5);
    switch (form) {
      case 0: rep.min = 0, rep.max = UINT32_MAX; break;  // *
      case 1: rep.min = 1, rep.max = UINT32_MAX; break;  // +
      case 2:
        rep.min = 0, rep.max = 1;
        rep.text = "?";
        break;
      case 3: {
        rep.min = static_cast<uint32_t>(Pick(0, 3));
        rep.max = std::max<uint32_t>(rep.min + static_cast<uint32_t>(Pick(0, 3)), static_cast<uint32_t>(minCount));
        // Sometimes counts large enough to run with a counter instead of copies (on single
        // characters only: the oracle writes repeated groups out and runs out of room).
        if (simple && Chance(8)) rep.max = rep.min + 2100 + static_cast<uint32_t>(Pick(0, 500));
        break;
      }
      case 4: rep.min = static_cast<uint32_t>(Pick(0, 3)), rep.max = UINT32_MAX - 1; break;  // {n,}
      default: rep.min = rep.max = static_cast<uint32_t>(Pick(1, 3)); break;
    }
    if (form == 0 || form == 1 || form == 2) rep.text = form == 0 ? "*" : form == 1 ? "+" : "?";
    nullable = rep.min == 0 || atomNullable;
    rep.kids.push_back(std::move(atom));
    return rep;
  }

  TGenNode Atom(int depth, bool& nullable, bool& repeatable) {
    TGenNode node;
    nullable = false;
    const int roll = Pick(0, 99);
    if (depth > 0 && roll < 18 && m_groups < 9) {
      node.kind = TGenKind::Group;
      node.group = ++m_groups;
      node.kids.push_back(Alternation(depth - 1, nullable));
      m_closed[static_cast<std::size_t>(node.group)] = true;
      return node;
    }
    if (roll < 50) {
      node.kind = TGenKind::Literal;
      node.ch = AnyChar();
      node.hexForm = node.ch < 256 && Chance(10);
    } else if (roll < 57) {
      node.kind = TGenKind::Dot;
    } else if (roll < 72) {
      node.kind = TGenKind::Class;
      node.negated = Chance(25);
      const int members = Pick(1, 3);
      for (int i = 0; i < members; ++i) {
        if (Chance(20)) {
          const char* sets[] = {"\\d", "\\w", "\\s", "\\D", "\\W", "\\S"};
          node.shorthands.push_back(sets[Pick(0, 5)]);
        } else {
          char32_t a = AnyChar(), b = Chance(40) ? AnyChar() : a;
          if (b < a) std::swap(a, b);
          node.ranges.push_back({a, b});
        }
      }
    } else if (roll < 80) {
      node.kind = TGenKind::Shorthand;
      const char* sets[] = {"\\d", "\\w", "\\s", "\\D", "\\W", "\\S"};
      node.text = sets[Pick(0, 5)];
    } else if (roll < 94) {
      node.kind = TGenKind::Assert;
      nullable = true;
      const int which = Pick(0, 5);
      const char* ours[] = {"^", "$", "\\b", "\\B", "\\A", "\\Z"};
      const char* pcre[] = {"^", "$", "\\b", "\\B", "\\A", "\\z"};  // our \Z is the oracle's \z
      node.text = ours[which];
      node.pcreText = pcre[which];
      repeatable = false;  // a repeated assertion is either an error or pointless
    } else {
      // Only groups already closed: ours counts a reference to an open group as possibly
      // empty, and the oracle treats forward references differently.
      std::vector<int> closed;
      for (int g = 1; g <= m_groups; ++g) {
        if (m_closed[static_cast<std::size_t>(g)]) closed.push_back(g);
      }
      if (closed.empty()) {
        node.kind = TGenKind::Dot;
      } else {
        node.kind = TGenKind::BackRef;
        node.group = closed[static_cast<std::size_t>(Pick(0, static_cast<int>(closed.size()) - 1))];
        nullable = true;  // we do not track which groups can be empty: keep it unrepeated
        repeatable = false;
      }
    }
    return node;
  }

  // Appends a text that the node is likely to match.
  void Sample(const TGenNode& node, std::string& out) {
    switch (node.kind) {
      case TGenKind::Literal: out += Utf8(Chance(20) ? AnyChar() : node.ch); break;
      case TGenKind::Class:
        if (!node.ranges.empty() && !node.negated && Chance(80)) {
          const auto& r = node.ranges[static_cast<std::size_t>(Pick(0, static_cast<int>(node.ranges.size()) - 1))];
          std::vector<char32_t> inside;
          for (char32_t c : kAlphabet) {
            if (c >= r.first && c <= r.second) inside.push_back(c);
          }
          out += Utf8(inside[static_cast<std::size_t>(Pick(0, static_cast<int>(inside.size()) - 1))]);
        } else {
          out += Utf8(AnyChar());
        }
        break;
      case TGenKind::Dot:
      case TGenKind::Shorthand: out += Utf8(AnyChar()); break;
      case TGenKind::Group:
      case TGenKind::Concat:
        for (const TGenNode& kid : node.kids) Sample(kid, out);
        break;
      case TGenKind::Alternate:
        if (!node.kids.empty())
          Sample(node.kids[static_cast<std::size_t>(Pick(0, static_cast<int>(node.kids.size()) - 1))], out);
        break;
      case TGenKind::Repeat: {
        const int n =
            Pick(static_cast<int>(std::min<uint32_t>(node.min, 4)), static_cast<int>(std::min<uint32_t>(node.max, 4)));
        for (int i = 0; i < n; ++i) Sample(node.kids[0], out);
        break;
      }
      default: break;
    }
  }

  std::mt19937 m_rng;
  int m_groups = 0;
  std::vector<bool> m_closed;
};

// Writes the same expression in our dialect and in the oracle's.
class TRenderer {
 public:
  explicit TRenderer(std::mt19937& rng) : m_rng(rng) {}

  void Render(const TGenNode& node) {
    switch (node.kind) {
      case TGenKind::Switch: {
        ours += "(?" + node.text + ")";
        bool on = true;
        for (char c : node.text) {
          if (c == '-') on = false;
          if (c == 'i') m_flags.ignoreCase = on;
          if (c == 's') m_flags.dotAll = on;
          if (c == 'g') m_flags.greedy = on;
          if (c == 'm') m_flags.multiLine = on;
          if (c == 'x') m_flags.extended = on;
        }
        // The oracle has no g and no x: laziness is written out and blanks are left out.
        std::string pcreOn, pcreOff;
        for (char c : node.text.substr(0, node.text.find('-'))) {
          if (c == 'i' || c == 's' || c == 'm') pcreOn += c;
        }
        if (node.text.find('-') != std::string::npos) {
          for (char c : node.text.substr(node.text.find('-') + 1)) {
            if (c == 'i' || c == 's' || c == 'm') pcreOff += c;
          }
        }
        if (!pcreOn.empty() || !pcreOff.empty()) pcre += "(?" + pcreOn + (pcreOff.empty() ? "" : "-" + pcreOff) + ")";
        break;
      }
      case TGenKind::Literal:
        Blank();
        if (node.hexForm) {
          char buf[16];
          std::snprintf(buf, sizeof buf, (m_rng() & 1) ? "\\x%02x" : "\\x{%x}", static_cast<unsigned>(node.ch));
          ours += buf;
          std::snprintf(buf, sizeof buf, "\\x{%x}", static_cast<unsigned>(node.ch));
          pcre += buf;
        } else {
          const std::string c = LiteralText(node.ch, m_flags.extended);
          ours += c;
          pcre += LiteralText(node.ch, false);
        }
        break;
      case TGenKind::Dot: Both("."); break;
      case TGenKind::Shorthand: Both(node.text); break;
      case TGenKind::Assert:
        Blank();
        ours += node.text;
        pcre += node.pcreText;
        break;
      case TGenKind::BackRef:
        Blank();
        ours += "\\" + std::to_string(node.group);
        pcre += "\\g{" + std::to_string(node.group) + "}";
        break;
      case TGenKind::Class: {
        std::string cls = node.negated ? "[^" : "[";
        for (const auto& r : node.ranges) {
          cls += ClassChar(r.first);
          if (r.second != r.first) cls += "-" + ClassChar(r.second);
        }
        for (const std::string& s : node.shorthands) cls += s;
        Both(cls + "]");
        break;
      }
      case TGenKind::Group:
        Both("(");
        Render(node.kids[0]);
        Both(")");
        break;
      case TGenKind::Concat:
        for (const TGenNode& kid : node.kids) Render(kid);
        break;
      case TGenKind::Alternate:
        for (std::size_t i = 0; i < node.kids.size(); ++i) {
          if (i > 0) Both("|");
          Render(node.kids[i]);
        }
        break;
      case TGenKind::Repeat: {
        Render(node.kids[0]);
        std::string q = node.text;
        if (q.empty()) {
          q = "{" + std::to_string(node.min);
          if (node.max == UINT32_MAX - 1) {
            q += ",";
          } else if (node.max != node.min) {
            q += "," + std::to_string(node.max);
          }
          q += "}";
        }
        ours += q + (node.lazy ? "?" : "");
        pcre += q + (node.lazy || !m_flags.greedy ? "?" : "");
        break;
      }
    }
  }

  std::string ours;
  std::string pcre;

 private:
  // In extended mode, blanks and comments between atoms must change nothing.
  void Blank() {
    if (!m_flags.extended) return;
    const unsigned roll = m_rng() % 10;
    if (roll < 3) ours += " ";
    if (roll == 3) ours += "\t\n";
    if (roll == 4) ours += "# note\n";
  }
  void Both(const std::string& s) {
    Blank();
    ours += s;
    pcre += s;
  }
  static std::string LiteralText(char32_t c, bool extended) {
    if (c == U'\n') return "\\n";
    if (c == U'\t') return "\\t";
    if (c == U' ') return extended ? "\\ " : " ";
    if (c < 128 && std::string("^$.[()|?+*\\{}]#-").find(static_cast<char>(c)) != std::string::npos) {
      return std::string("\\") + static_cast<char>(c);
    }
    return Utf8(c);
  }
  static std::string ClassChar(char32_t c) {
    if (c == U'\n') return "\\n";
    if (c == U'\t') return "\\t";
    // '.', ':' and '=' after '[' would be the oracle's POSIX class syntax.
    if (c == U']' || c == U'\\' || c == U'^' || c == U'-' || c == U'.' || c == U':' || c == U'=')
      return std::string("\\") + static_cast<char>(c);
    return Utf8(c);
  }

  std::mt19937& m_rng;
  TGenFlags m_flags;
};

struct TPcre {
  explicit TPcre(const std::string& pattern) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    context = pcre2_compile_context_create(nullptr);
    pcre2_set_newline(context, PCRE2_NEWLINE_LF);
    code =
        pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                      PCRE2_UTF | PCRE2_DOTALL | PCRE2_DOLLAR_ENDONLY | PCRE2_ALT_CIRCUMFLEX, &error, &offset, context);
    if (code) data = pcre2_match_data_create_from_pattern(code, nullptr);
  }
  ~TPcre() {
    if (data) pcre2_match_data_free(data);
    if (code) pcre2_code_free(code);
    pcre2_compile_context_free(context);
  }
  pcre2_compile_context* context = nullptr;
  pcre2_code* code = nullptr;
  pcre2_match_data* data = nullptr;
};

// Group spans in characters, -1 for a group that took no part.
using TSpans = std::vector<std::pair<int, int>>;

TSpans OurSpans(const TRegexEngine& engine) {
  TSpans spans;
  for (int g = 0; g <= TRegexEngine::kMaxGroup; ++g) {
    const int pos = engine.MatchPos(g);
    spans.push_back(pos < 0 ? std::pair{-1, -1} : std::pair{pos - 1, engine.MatchLen(g)});
  }
  return spans;
}

TSpans OracleSpans(const TPcre& oracle, int matchCount, const std::vector<int>& charOfByte) {
  TSpans spans;
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(oracle.data);
  for (int g = 0; g <= TRegexEngine::kMaxGroup; ++g) {
    if (g >= matchCount || ovector[2 * g] == PCRE2_UNSET) {
      spans.push_back({-1, -1});
    } else {
      const int start = charOfByte[ovector[2 * g]];
      spans.push_back({start, charOfByte[ovector[2 * g + 1]] - start});
    }
  }
  return spans;
}

std::string Describe(const TSpans& spans) {
  std::string s;
  for (std::size_t g = 0; g < spans.size(); ++g) {
    if (spans[g].first < 0) continue;
    s += " g" + std::to_string(g) + "=" + std::to_string(spans[g].first) + "+" + std::to_string(spans[g].second);
  }
  return s.empty() ? " none" : s;
}

int CaseCount() {
  const char* env = std::getenv("QX_REGEX_DIFF_CASES");
  return env ? std::max(1, std::atoi(env)) : kDefaultCases;
}

TEST(URegexDifferentialTest, AgreesWithOracleOnGeneratedCases) {
  const int cases = CaseCount();
  std::mt19937 renderRng(7);
  TGenerator gen(20261207);
  int compared = 0;
  int found = 0;
  int failures = 0;
  int tooComplex = 0;
  while (compared < cases && failures < 10) {
    const TGenNode expr = gen.Expression();
    TRenderer renderer(renderRng);
    renderer.Render(expr);
    if (renderer.ours.empty()) continue;  // an empty expression is an error of ours, tested elsewhere
    TPcre oracle(renderer.pcre);
    if (!oracle.code) {
      ADD_FAILURE() << "oracle rejects /" << renderer.pcre << "/ (ours /" << renderer.ours << "/)";
      ++failures;
      continue;
    }
    TRegexEngine engine;
    engine.SetExpression(renderer.ours);
    for (int k = 0; k < kInputsPerExpression && compared < cases; ++k, ++compared) {
      const std::string input = gen.Input(expr);
      std::vector<int> charOfByte(input.size() + 1, 0);
      {
        int chars = 0;
        for (std::size_t pos = 0, len = 0; pos < input.size(); pos += len, ++chars) {
          utf8::Decode(input, pos, len);
          charOfByte[pos] = chars;
        }
        charOfByte[input.size()] = chars;
      }
      const std::string where =
          "expression /" + renderer.ours + "/ oracle /" + renderer.pcre + "/ input \"" + input + "\"";
      try {
        bool ours = engine.Exec(input);
        // Each of our matches must be the oracle's match from the same start.
        std::size_t startByte = 0;
        for (int round = 0; round < 64; ++round) {
          const int rc = pcre2_match(oracle.code, reinterpret_cast<PCRE2_SPTR>(input.data()), input.size(), startByte,
                                     0, oracle.data, nullptr);
          // The oracle gives up on some backtracking-heavy cases; nothing to compare then.
          if (rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT || rc == PCRE2_ERROR_HEAPLIMIT) {
            ++tooComplex;
            break;
          }
          const bool theirs = rc > 0;
          if (ours != theirs) {
            ADD_FAILURE() << where << " round " << round << ": ours " << ours << " oracle " << theirs << " (rc " << rc
                          << ")";
            ++failures;
            break;
          }
          if (!ours) break;
          if (round == 0) ++found;
          const TSpans mine = OurSpans(engine);
          const TSpans expected = OracleSpans(oracle, rc, charOfByte);
          if (mine != expected) {
            ADD_FAILURE() << where << " round " << round << ": ours" << Describe(mine) << " oracle"
                          << Describe(expected);
            ++failures;
            break;
          }
          const int end = mine[0].first + mine[0].second;
          const int next = mine[0].second == 0 ? end + 1 : end;
          if (next > charOfByte[input.size()]) break;
          startByte = static_cast<std::size_t>(utf8::ByteOffsetOfChar(input, static_cast<std::size_t>(next)));
          ours = engine.ExecNext();
        }
      } catch (const TRegexError& error) {
        // With back-references our work is capped; such a case compares nothing either.
        if (std::string(error.what()) == "TRegexEngine(exec): Match Too Complex") {
          ++tooComplex;
        } else {
          ADD_FAILURE() << where << ": ours raised " << error.what();
          ++failures;
        }
      }
    }
  }
  EXPECT_GE(compared, cases) << "stopped early after failures";
  // The generator must give both outcomes plenty of times to mean anything.
  EXPECT_GT(found, compared / 5);
  EXPECT_LT(tooComplex, compared / 200);
  EXPECT_LT(found, compared - compared / 10);
  std::printf("compared %d cases, %d with a match, %d too complex\n", compared, found, tooComplex);
}

}  // namespace
}  // namespace qx
