// SPDX-License-Identifier: GPL-3.0-or-later
// Character sets of the engine: the fixed sets behind \d \w \s and bracket classes.
// Code points below 256 are a bitmap; the rest are sorted ranges. No parsing here.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace qx::detail {

constexpr char32_t kMaxCodePoint = 0x10FFFF;

constexpr bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
constexpr bool IsWordChar(char32_t c) {
  return IsDigit(c) || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || c == U'_';
}
constexpr bool IsSpaceChar(char32_t c) { return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == U'\f'; }
constexpr bool IsLineSeparator(char32_t c) { return c == U'\r' || c == U'\n'; }

// A set of characters that the search uses to skip places: exact below 256; above,
// only whether some character there may belong.
struct TCharSet {
  std::array<uint64_t, 4> low{};
  bool high = false;

  bool Contains(char32_t c) const { return c < 256 ? (low[c >> 6] >> (c & 63)) & 1 : high; }
  void Add(char32_t c);
  void AddAll();
  void Merge(const TCharSet& other);
  bool operator==(const TCharSet&) const = default;
};

struct TCodeRange {
  char32_t first;
  char32_t last;
};

class TCharClass {
 public:
  bool Matches(char32_t c) const {
    if (c < 256) return (m_low[c >> 6] >> (c & 63)) & 1;
    return MatchesHigh(c);
  }
  // True when some code point of 256 or above may match.
  bool MayMatchHigh() const {
    return m_negated || m_ignoreCase || (!m_members.empty() && m_members.back().last >= 256);
  }

 private:
  friend class TCharClassBuilder;
  bool MatchesHigh(char32_t c) const;
  bool IsMember(char32_t c) const;

  std::array<uint64_t, 4> m_low{};    // answers below 256, case closure and negation applied
  std::vector<TCodeRange> m_members;  // sorted, merged; before case closure and negation
  bool m_negated = false;
  bool m_ignoreCase = false;
};

class TCharClassBuilder {
 public:
  void Add(char32_t c) { AddRange(c, c); }
  void AddRange(char32_t first, char32_t last);
  // The set of \d, \w or \s (shorthand 'd', 'w', 's'), or its complement for 'D', 'W', 'S'.
  void AddShorthand(char32_t letter);
  TCharClass Build(bool negated, bool ignoreCase) const;

 private:
  std::vector<TCodeRange> m_ranges;
};

}  // namespace qx::detail
