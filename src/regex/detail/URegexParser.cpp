// SPDX-License-Identifier: GPL-3.0-or-later
#include "regex/detail/URegexParser.h"

#include <algorithm>
#include <array>

#include "regex/UTRegexEngine.h"
#include "regex/detail/URegexErrors.h"

namespace qx::detail {

namespace {

constexpr std::size_t kMaxCountDigits = 8;

struct TFlags {
  bool ignoreCase = false;  // i
  bool cyrillic = true;     // r
  bool dotAll = true;       // s
  bool greedy = true;       // g
  bool multiLine = false;   // m
  bool extended = false;    // x
};

int HexValue(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A' + 10);
  return -1;
}

// Characters named by an escape outside the hexadecimal forms; 0 when the letter names none.
char32_t ControlEscape(char32_t letter) {
  switch (letter) {
    case U't': return 9;
    case U'n': return 10;
    case U'r': return 13;
    case U'f': return 12;
    case U'a': return 7;
    case U'e': return 27;
    default: return 0;
  }
}

TNode MakeNode(TNodeKind kind) {
  TNode node;
  node.kind = kind;
  return node;
}

bool IsShorthand(char32_t letter) {
  switch (letter) {
    case U'd':
    case U'D':
    case U'w':
    case U'W':
    case U's':
    case U'S': return true;
    default: return false;
  }
}

class TParser {
 public:
  explicit TParser(std::u32string_view expression) : m_re(expression) {}

  TAst Parse() {
    m_ast.root = ParseAlternation();
    // The only thing that can stop the top level early is a ')' without its '('.
    if (!AtEnd()) Fail(TRegexErrorCode::UnmatchedParenthesis);
    return std::move(m_ast);
  }

 private:
  // A repetition's bounds as written.
  struct TBounds {
    uint32_t min;
    uint32_t max;
  };

  bool AtEnd() const { return m_pos >= m_re.size(); }
  char32_t Peek() const { return m_re[m_pos]; }
  [[noreturn]] void Fail(TRegexErrorCode code) const { ThrowCompileError(code, m_pos); }
  [[noreturn]] void FailAt(TRegexErrorCode code, std::size_t pos) const { ThrowCompileError(code, pos); }

  int AddNode(TNode node) {
    m_ast.nodes.push_back(std::move(node));
    return static_cast<int>(m_ast.nodes.size()) - 1;
  }
  const TNode& Node(int id) const { return m_ast.nodes[static_cast<std::size_t>(id)]; }

  void SkipExtended() {
    if (!m_flags.extended) return;
    while (!AtEnd()) {
      const char32_t c = Peek();
      if (c == U' ' || c == U'\t' || c == U'\n' || c == U'\r') {
        ++m_pos;
      } else if (c == U'#') {
        while (!AtEnd() && !IsLineSeparator(Peek())) ++m_pos;
      } else {
        break;
      }
    }
  }

  int ParseAlternation() {
    std::vector<int> branches{ParseBranch()};
    while (!AtEnd() && Peek() == U'|') {
      ++m_pos;
      branches.push_back(ParseBranch());
    }
    if (branches.size() == 1) return branches[0];
    TNode alt = MakeNode(TNodeKind::Alternate);
    alt.nullable = false;
    for (int b : branches) alt.nullable = alt.nullable || Node(b).nullable;
    alt.kids = std::move(branches);
    return AddNode(std::move(alt));
  }

  int ParseBranch() {
    std::vector<int> pieces;
    for (;;) {
      SkipExtended();
      if (AtEnd() || Peek() == U'|' || Peek() == U')') break;
      const int piece = ParsePiece();
      if (piece >= 0) pieces.push_back(piece);
    }
    if (pieces.size() == 1) return pieces[0];
    TNode concat = MakeNode(TNodeKind::Concat);
    for (int p : pieces) concat.nullable = concat.nullable && Node(p).nullable;
    concat.kids = std::move(pieces);
    return AddNode(std::move(concat));
  }

  // An atom with its repetition; -1 for a switch or comment, which match nothing.
  int ParsePiece() {
    if (IsRepetitionAt(m_pos)) Fail(TRegexErrorCode::FollowsNothing);
    const int atom = ParseAtom();
    if (atom < 0) return atom;
    SkipExtended();
    if (!IsRepetitionAt(m_pos)) return atom;

    const std::size_t quantifierPos = m_pos;
    const bool counted = Peek() == U'{';
    const TBounds bounds = ParseRepetition();
    bool lazy = !m_flags.greedy;
    SkipExtended();
    if (!AtEnd() && Peek() == U'?') {
      lazy = true;
      ++m_pos;
      SkipExtended();
    }
    if (IsRepetitionAt(m_pos)) Fail(TRegexErrorCode::NestedRepetition);
    // An open-ended loop over something that can be empty could go round for ever.
    if (bounds.max == kUnbounded && Node(atom).nullable) FailAt(TRegexErrorCode::OperandCouldBeEmpty, quantifierPos);

    TNode repeat = MakeNode(TNodeKind::Repeat);
    repeat.lazy = lazy;
    repeat.counted = counted;
    repeat.min = bounds.min;
    repeat.max = bounds.max;
    repeat.nullable = bounds.min == 0 || Node(atom).nullable;
    repeat.kids = {atom};
    return AddNode(std::move(repeat));
  }

  // True when a repetition starts at `pos`: * + ? or a well-formed {n}, {n,}, {n,m}.
  bool IsRepetitionAt(std::size_t pos) const {
    if (pos >= m_re.size()) return false;
    const char32_t c = m_re[pos];
    if (c == U'*' || c == U'+' || c == U'?') return true;
    if (c != U'{') return false;
    std::size_t p = pos + 1;
    const std::size_t minStart = p;
    while (p < m_re.size() && IsDigit(m_re[p])) ++p;
    if (p == minStart || p >= m_re.size()) return false;
    if (m_re[p] == U'}') return true;
    if (m_re[p] != U',') return false;
    ++p;
    while (p < m_re.size() && IsDigit(m_re[p])) ++p;
    return p < m_re.size() && m_re[p] == U'}';
  }

  uint32_t ParseCount() {
    uint32_t value = 0;
    for (std::size_t digits = 0; IsDigit(Peek()); ++m_pos, ++digits) {
      if (digits == kMaxCountDigits) Fail(TRegexErrorCode::BracesTooBig);
      value = value * 10 + static_cast<uint32_t>(Peek() - U'0');
    }
    return value;
  }

  // Called only where IsRepetitionAt holds, so the braces are well formed.
  TBounds ParseRepetition() {
    const char32_t c = m_re[m_pos++];
    if (c == U'*') return {0, kUnbounded};
    if (c == U'+') return {1, kUnbounded};
    if (c == U'?') return {0, 1};
    TBounds bounds{};
    bounds.min = ParseCount();
    bounds.max = bounds.min;
    if (Peek() == U',') {
      ++m_pos;
      bounds.max = IsDigit(Peek()) ? ParseCount() : kUnbounded;
    }
    if (bounds.min > bounds.max) Fail(TRegexErrorCode::BraceMinGreaterThanMax);
    ++m_pos;  // '}'
    return bounds;
  }

  int CharNode(char32_t c) {
    TNode node = MakeNode(TNodeKind::Char);
    node.ch = c;
    node.ignoreCase = m_flags.ignoreCase;
    node.nullable = false;
    return AddNode(std::move(node));
  }

  int AssertNode(TAssertKind kind) {
    TNode node = MakeNode(TNodeKind::Assert);
    node.assertKind = kind;
    return AddNode(std::move(node));
  }

  int ClassNode(TCharClass cls) {
    m_ast.classes.push_back(std::move(cls));
    TNode node = MakeNode(TNodeKind::Class);
    node.index = static_cast<uint32_t>(m_ast.classes.size() - 1);
    node.nullable = false;
    return AddNode(std::move(node));
  }

  int ParseAtom() {
    const char32_t c = m_re[m_pos++];
    switch (c) {
      case U'.': {
        TNode node = MakeNode(TNodeKind::Any);
        node.dotAll = m_flags.dotAll;
        node.nullable = false;
        return AddNode(std::move(node));
      }
      case U'^': return AssertNode(m_flags.multiLine ? TAssertKind::MultiLineStart : TAssertKind::LineStart);
      case U'$': return AssertNode(m_flags.multiLine ? TAssertKind::MultiLineEnd : TAssertKind::LineEnd);
      case U'[': return ParseClass();
      case U'(': return ParseParenthesis();
      case U'\\': return ParseEscape();
      default: return CharNode(c);  // '{' arrives here only when it begins no repetition
    }
  }

  int ParseParenthesis() {
    if (!AtEnd() && Peek() == U'?') {
      ++m_pos;
      if (!AtEnd() && Peek() == U'#') {
        while (!AtEnd() && Peek() != U')') ++m_pos;
        if (AtEnd()) Fail(TRegexErrorCode::UnclosedComment);
        ++m_pos;
        return -1;
      }
      ParseSwitches();
      return -1;
    }
    if (m_ast.groupCount == TRegexEngine::kMaxGroup) FailAt(TRegexErrorCode::TooManyGroups, m_pos - 1);
    const auto group = static_cast<uint32_t>(++m_ast.groupCount);
    const int inner = ParseAlternation();
    if (AtEnd()) Fail(TRegexErrorCode::UnmatchedParenthesis);
    ++m_pos;  // ')'
    TNode node = MakeNode(TNodeKind::Group);
    node.index = group;
    node.nullable = Node(inner).nullable;
    node.kids = {inner};
    m_groupClosed[group] = true;
    m_groupNullable[group] = node.nullable;
    return AddNode(std::move(node));
  }

  void ParseSwitches() {
    bool on = true;
    for (;;) {
      if (AtEnd()) Fail(TRegexErrorCode::UnmatchedParenthesis);
      const char32_t c = m_re[m_pos];
      if (c == U')') break;
      if (c == U'-') {
        on = false;
      } else {
        switch (c | 0x20) {  // letters in either case
          case U'i': m_flags.ignoreCase = on; break;
          case U'r': m_flags.cyrillic = on; break;
          case U's': m_flags.dotAll = on; break;
          case U'g': m_flags.greedy = on; break;
          case U'm': m_flags.multiLine = on; break;
          case U'x': m_flags.extended = on; break;
          default: Fail(TRegexErrorCode::UnrecognizedModifier);
        }
      }
      ++m_pos;
    }
    ++m_pos;
  }

  // \x followed by two digits or by {digits}; m_pos is just after the 'x'.
  char32_t ParseHex() {
    if (AtEnd()) Fail(TRegexErrorCode::NoHexCode);
    if (Peek() != U'{') {
      char32_t value = 0;
      for (int i = 0; i < 2; ++i, ++m_pos) {
        if (AtEnd()) Fail(TRegexErrorCode::NoHexCode);
        const int digit = HexValue(Peek());
        if (digit < 0) Fail(TRegexErrorCode::BadHexDigit);
        value = value * 16 + static_cast<char32_t>(digit);
      }
      return value;
    }
    ++m_pos;
    char32_t value = 0;
    bool any = false;
    for (;; ++m_pos) {
      if (AtEnd()) Fail(TRegexErrorCode::NoHexCode);
      if (Peek() == U'}' && any) break;
      const int digit = HexValue(Peek());
      if (digit < 0) Fail(TRegexErrorCode::BadHexDigit);
      value = std::min<char32_t>(value * 16 + static_cast<char32_t>(digit), 0x1000);  // saturates past 255
      any = true;
    }
    if (value > 255) Fail(TRegexErrorCode::HexCodeTooBig);
    ++m_pos;
    return value;
  }

  int ParseEscape() {
    if (AtEnd()) Fail(TRegexErrorCode::TrailingBackslash);
    const char32_t c = m_re[m_pos++];
    if (IsShorthand(c)) {
      TCharClassBuilder builder;
      builder.AddShorthand(c);
      return ClassNode(builder.Build(false, false));
    }
    switch (c) {
      case U'b': return AssertNode(TAssertKind::WordBoundary);
      case U'B': return AssertNode(TAssertKind::NotWordBoundary);
      case U'A': return AssertNode(TAssertKind::TextStart);
      case U'Z': return AssertNode(TAssertKind::TextEnd);
      case U'x': return CharNode(ParseHex());
      default: break;
    }
    if (c >= U'1' && c <= U'9') {
      const auto group = static_cast<uint32_t>(c - U'0');
      TNode node = MakeNode(TNodeKind::BackRef);
      node.index = group;
      node.ignoreCase = m_flags.ignoreCase;
      // A group still open (or not yet seen) might capture the empty text.
      node.nullable = !m_groupClosed[group] || m_groupNullable[group];
      m_ast.hasBackRefs = true;
      return AddNode(std::move(node));
    }
    const char32_t control = ControlEscape(c);
    return CharNode(control != 0 ? control : c);
  }

  // One member character of a class after its '\'; m_pos is at the escaped letter.
  char32_t ParseClassEscapedChar() {
    const char32_t c = m_re[m_pos++];
    if (c == U'x') return ParseHex();
    const char32_t control = ControlEscape(c);
    return control != 0 ? control : c;
  }

  void AddClassRange(TCharClassBuilder& builder, char32_t first, char32_t last, std::size_t endPos) const {
    constexpr char32_t kSmallFirst = 224, kSmallLast = 255, kSmallExtra = 184;
    constexpr char32_t kCapitalFirst = 192, kCapitalLast = 223, kCapitalExtra = 168;
    if (m_flags.cyrillic) {
      if (first == kSmallFirst && last == kCapitalLast) {
        builder.AddRange(kCapitalFirst, kSmallLast);
        builder.Add(kSmallExtra);
        builder.Add(kCapitalExtra);
        return;
      }
      if (first == kSmallFirst && last == kSmallLast) builder.Add(kSmallExtra);
      if (first == kCapitalFirst && last == kCapitalLast) builder.Add(kCapitalExtra);
    }
    if (last < first) FailAt(TRegexErrorCode::InvalidRange, endPos);
    builder.AddRange(first, last);
  }

  // m_pos is just after the '['.
  int ParseClass() {
    TCharClassBuilder builder;
    bool negated = false;
    if (!AtEnd() && Peek() == U'^') {
      negated = true;
      ++m_pos;
    }
    bool first = true;
    for (;; first = false) {
      if (AtEnd()) Fail(TRegexErrorCode::UnmatchedBracket);
      char32_t c = Peek();
      if (c == U']' && !first) break;
      ++m_pos;
      if (c == U'\\') {
        if (AtEnd()) Fail(TRegexErrorCode::ClassTrailingBackslash);
        if (IsShorthand(Peek())) {
          builder.AddShorthand(m_re[m_pos++]);
          continue;  // a '-' after a shorthand is a member
        }
        c = ParseClassEscapedChar();
      }
      // A range needs a '-' followed by a member other than the closing ']'.
      if (m_pos + 1 < m_re.size() && Peek() == U'-' && m_re[m_pos + 1] != U']') {
        ++m_pos;
        char32_t last = m_re[m_pos++];
        if (last == U'\\') {
          if (AtEnd()) Fail(TRegexErrorCode::ClassTrailingBackslash);
          if (IsShorthand(Peek())) {
            // "a-\d": no range; the dash and the set are members.
            builder.Add(c);
            builder.Add(U'-');
            builder.AddShorthand(m_re[m_pos++]);
            continue;
          }
          last = ParseClassEscapedChar();
        }
        AddClassRange(builder, c, last, m_pos - 1);
        continue;
      }
      builder.Add(c);
    }
    ++m_pos;  // ']'
    return ClassNode(builder.Build(negated, m_flags.ignoreCase));
  }

  std::u32string_view m_re;
  std::size_t m_pos = 0;
  TFlags m_flags;
  TAst m_ast;
  std::array<bool, TRegexEngine::kMaxGroup + 1> m_groupClosed{};
  std::array<bool, TRegexEngine::kMaxGroup + 1> m_groupNullable{};
};

}  // namespace

TAst ParseExpression(std::u32string_view expression) { return TParser(expression).Parse(); }

}  // namespace qx::detail
