// SPDX-License-Identifier: GPL-3.0-or-later
#include "regex/detail/URegexCharClass.h"

#include <algorithm>

#include "platform/UUnicode.h"

namespace qx::detail {

namespace {

bool InRanges(const std::vector<TCodeRange>& ranges, char32_t c) {
  auto it = std::upper_bound(ranges.begin(), ranges.end(), c,
                             [](char32_t value, const TCodeRange& r) { return value < r.first; });
  return it != ranges.begin() && std::prev(it)->last >= c;
}

std::vector<TCodeRange> Merged(std::vector<TCodeRange> ranges) {
  std::sort(ranges.begin(), ranges.end(), [](const TCodeRange& a, const TCodeRange& b) { return a.first < b.first; });
  std::vector<TCodeRange> out;
  for (const TCodeRange& r : ranges) {
    if (!out.empty() && r.first <= out.back().last + 1) {
      out.back().last = std::max(out.back().last, r.last);
    } else {
      out.push_back(r);
    }
  }
  return out;
}

}  // namespace

void TCharSet::Add(char32_t c) {
  if (c < 256) {
    low[c >> 6] |= uint64_t{1} << (c & 63);
  } else {
    high = true;
  }
}

void TCharSet::AddAll() {
  low.fill(~uint64_t{0});
  high = true;
}

void TCharSet::Merge(const TCharSet& other) {
  for (std::size_t i = 0; i < low.size(); ++i) low[i] |= other.low[i];
  high = high || other.high;
}

bool TCharClass::IsMember(char32_t c) const { return InRanges(m_members, c); }

bool TCharClass::MatchesHigh(char32_t c) const {
  bool in = IsMember(c);
  // Either case form may be the member, and it may lie below 256 (U+0178 and U+00FF).
  if (!in && m_ignoreCase) in = IsMember(unicode::SimpleUpper(c)) || IsMember(unicode::SimpleLower(c));
  return in != m_negated;
}

void TCharClassBuilder::AddRange(char32_t first, char32_t last) { m_ranges.push_back({first, last}); }

void TCharClassBuilder::AddShorthand(char32_t letter) {
  TCharClassBuilder set;
  switch (letter) {
    case U'd':
    case U'D': set.AddRange(U'0', U'9'); break;
    case U'w':
    case U'W':
      set.AddRange(U'0', U'9');
      set.AddRange(U'A', U'Z');
      set.AddRange(U'a', U'z');
      set.Add(U'_');
      break;
    default:
      for (char32_t c : {U'\t', U'\n', U'\f', U'\r', U' '}) set.Add(c);
      break;
  }
  const bool complement = letter == U'D' || letter == U'W' || letter == U'S';
  if (!complement) {
    m_ranges.insert(m_ranges.end(), set.m_ranges.begin(), set.m_ranges.end());
    return;
  }
  char32_t next = 0;
  for (const TCodeRange& r : Merged(set.m_ranges)) {
    if (r.first > next) m_ranges.push_back({next, r.first - 1});
    next = r.last + 1;
  }
  m_ranges.push_back({next, kMaxCodePoint});
}

TCharClass TCharClassBuilder::Build(bool negated, bool ignoreCase) const {
  TCharClass cls;
  cls.m_members = Merged(m_ranges);
  cls.m_negated = negated;
  cls.m_ignoreCase = ignoreCase;
  for (char32_t c = 0; c < 256; ++c) {
    bool in = cls.IsMember(c);
    if (!in && ignoreCase) in = cls.IsMember(unicode::SimpleUpper(c)) || cls.IsMember(unicode::SimpleLower(c));
    if (in != negated) cls.m_low[c >> 6] |= uint64_t{1} << (c & 63);
  }
  return cls;
}

}  // namespace qx::detail
