// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UUnicode.h"

#include <unicode/ucasemap.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <memory>
#include <stdexcept>

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

namespace {

// UTF-16 for ICU. A lone surrogate (a byte that is not UTF-8) stays one unit, and comes
// back as itself: no code point of a name encodes as a high surrogate alone.
std::u16string ToUtf16(std::u32string_view text) {
  std::u16string units;
  units.reserve(text.size());
  for (const char32_t cp : text) {
    if (cp < 0x10000) {
      units += static_cast<char16_t>(cp);
    } else {
      units += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return units;
}

std::u32string FromUtf16(std::u16string_view units) {
  std::u32string text;
  text.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
      text += static_cast<char32_t>(0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00));
    } else {
      text += unit;
    }
  }
  return text;
}

template <typename Mapping>
std::u32string MapCase(std::u32string_view text, Mapping map) {
  const std::u16string source = ToUtf16(text);
  const auto length = static_cast<int32_t>(source.size());
  std::u16string mapped(source.size() + 8, u'\0');
  for (;;) {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t made = map(reinterpret_cast<UChar*>(mapped.data()), static_cast<int32_t>(mapped.size()),
                             reinterpret_cast<const UChar*>(source.data()), length, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR && static_cast<std::size_t>(made) > mapped.size()) {
      mapped.resize(static_cast<std::size_t>(made));  // ß -> SS: the text grew
      continue;
    }
    if (U_FAILURE(status)) throw std::runtime_error(std::string("case mapping failed: ") + u_errorName(status));
    mapped.resize(static_cast<std::size_t>(made));
    return FromUtf16(mapped);
  }
}

// The root locale's: the result is the same whatever the user's language (no Turkish
// dotless i by surprise). Title case takes the text as one word starting at its first
// character, so that no word-break rules of ICU's override the jobs' own.
UCaseMap* RootCaseMap() {
  static thread_local const std::unique_ptr<UCaseMap, void (*)(UCaseMap*)> map = [] {
    UErrorCode status = U_ZERO_ERROR;
    UCaseMap* opened = ucasemap_open("", U_TITLECASE_WHOLE_STRING | U_TITLECASE_NO_BREAK_ADJUSTMENT, &status);
    if (U_FAILURE(status)) throw std::runtime_error(std::string("case mapping failed: ") + u_errorName(status));
    return std::unique_ptr<UCaseMap, void (*)(UCaseMap*)>(opened, ucasemap_close);
  }();
  return map.get();
}

}  // namespace

std::u32string ToLowerFull(std::u32string_view text) {
  return MapCase(text, [](UChar* dest, int32_t capacity, const UChar* source, int32_t length, UErrorCode* status) {
    return u_strToLower(dest, capacity, source, length, "", status);
  });
}

std::u32string ToUpperFull(std::u32string_view text) {
  return MapCase(text, [](UChar* dest, int32_t capacity, const UChar* source, int32_t length, UErrorCode* status) {
    return u_strToUpper(dest, capacity, source, length, "", status);
  });
}

std::u32string ToTitleFull(char32_t c) {
  return MapCase(std::u32string_view(&c, 1),
                 [](UChar* dest, int32_t capacity, const UChar* source, int32_t length, UErrorCode* status) {
                   return ucasemap_toTitle(RootCaseMap(), dest, capacity, source, length, status);
                 });
}

}  // namespace qx::unicode
