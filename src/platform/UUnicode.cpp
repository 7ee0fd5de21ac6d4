// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UUnicode.h"

#include <unicode/uchar.h>

#include "platform/UUtf8.h"

namespace qx::unicode {

char32_t SimpleUpper(char32_t cp) {
  if (cp < 0x80) return (cp >= 'a' && cp <= 'z') ? cp - 32 : cp;
  return static_cast<char32_t>(u_toupper(static_cast<UChar32>(cp)));
}

char32_t SimpleLower(char32_t cp) {
  if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
  return static_cast<char32_t>(u_tolower(static_cast<UChar32>(cp)));
}

bool EqualIgnoringCase(char32_t a, char32_t b) { return a == b || SimpleUpper(a) == SimpleUpper(b); }

std::string FoldCase(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (std::size_t pos = 0, len = 0; pos < text.size(); pos += len) {
    utf8::Append(folded, SimpleUpper(utf8::Decode(text, pos, len)));
  }
  return folded;
}

}  // namespace qx::unicode
