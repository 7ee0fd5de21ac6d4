// SPDX-License-Identifier: GPL-3.0-or-later
#include "regex/detail/URegexTemplate.h"

#include <algorithm>

#include "platform/UUtf8.h"

namespace qx::detail {

namespace {

constexpr int kNoGroup = -2;
constexpr int kTooBig = 1000;  // stands for every group number past the highest

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a group reference starting at `pos` (just after a '$'); returns the group and
// sets `next` past it, or kNoGroup when none starts there.
int ReadReference(const std::string& tmpl, std::size_t pos, std::size_t& next) {
  const std::size_t size = tmpl.size();
  if (pos >= size) return kNoGroup;
  const bool braced = tmpl[pos] == '{';
  std::size_t p = braced ? pos + 1 : pos;
  int group = kNoGroup;
  if (p < size && tmpl[p] == '&') {
    group = 0;
    ++p;
  } else if (p < size && IsAsciiDigit(tmpl[p])) {
    group = 0;
    for (; p < size && IsAsciiDigit(tmpl[p]); ++p) group = std::min(group * 10 + (tmpl[p] - '0'), kTooBig);
  }
  if (group == kNoGroup) return kNoGroup;
  if (braced) {
    if (p >= size || tmpl[p] != '}') return kNoGroup;
    ++p;
  }
  next = p;
  return group;
}

}  // namespace

const std::vector<TTemplatePiece>& TParsedTemplate::PiecesOf(const std::string& tmpl) {
  if (!m_parsed || tmpl != m_text) {
    m_text = tmpl;
    Parse();
    m_parsed = true;
  }
  return m_pieces;
}

void TParsedTemplate::Parse() {
  m_pieces.clear();
  auto addText = [this](std::size_t begin, std::size_t length) {
    TTemplatePiece* last = m_pieces.empty() ? nullptr : &m_pieces.back();
    if (last && last->group == TTemplatePiece::kText && last->begin + last->length == begin) {
      last->length += static_cast<uint32_t>(length);
    } else {
      m_pieces.push_back({TTemplatePiece::kText, static_cast<uint32_t>(begin), static_cast<uint32_t>(length)});
    }
  };
  const std::size_t size = m_text.size();
  for (std::size_t pos = 0; pos < size;) {
    const char c = m_text[pos];
    if (c == '\\') {
      if (pos + 1 >= size) break;  // a '\' at the very end is dropped
      const std::size_t length = utf8::CharSize(m_text, pos + 1);
      addText(pos + 1, length);
      pos += 1 + length;
      continue;
    }
    if (c == '$') {
      std::size_t next = 0;
      const int group = ReadReference(m_text, pos + 1, next);
      if (group != kNoGroup) {
        m_pieces.push_back({group, 0, 0});
        pos = next;
        continue;
      }
    }
    addText(pos, 1);
    ++pos;
  }
}

}  // namespace qx::detail
