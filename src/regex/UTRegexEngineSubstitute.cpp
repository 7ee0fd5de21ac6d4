// Template substitution of TRegexEngine: $n, ${n}, $&, ${&} and \ escapes.
#include <cstdint>

#include "platform/UUtf8.h"
#include "regex/UTRegexEngine.h"

namespace qx {

namespace {

constexpr int kNoGroup = -1;
constexpr int kTooBig = 1000;  // any group number past 14 inserts nothing

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

std::string TRegexEngine::Substitute(const std::string& tmpl) const {
  std::string out;
  AppendSubstituted(out, tmpl);
  return out;
}

void TRegexEngine::AppendSubstituted(std::string& out, const std::string& tmpl) const {
  if (tmpl.find_first_of("$\\") == std::string::npos) {
    out += tmpl;
    return;
  }
  const std::size_t size = tmpl.size();
  for (std::size_t pos = 0; pos < size;) {
    const char c = tmpl[pos];
    if (c == '\\') {
      if (pos + 1 >= size) break;  // a '\' at the very end is dropped
      const std::size_t length = utf8::CharSize(tmpl, pos + 1);
      out.append(tmpl, pos + 1, length);
      pos += 1 + length;
      continue;
    }
    if (c == '$') {
      std::size_t next = 0;
      const int group = ReadReference(tmpl, pos + 1, next);
      if (group != kNoGroup) {
        std::size_t begin = 0;
        std::size_t end = 0;
        if (group <= kMaxGroup && GroupBytes(group, begin, end)) out.append(m_inputView.substr(begin, end - begin));
        pos = next;
        continue;
      }
    }
    out += c;
    ++pos;
  }
}

}  // namespace qx
