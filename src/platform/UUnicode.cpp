// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UUnicode.h"

#include <unicode/ucasemap.h>
#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utrans.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <unordered_map>

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
// `map` (an ICU function from one UTF-16 buffer into another) over the text.
std::u32string MapUtf16(std::u32string_view text, Mapping map) {
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

// A stroke or a ligature is part of its letter, not a mark that NFD splits off.
constexpr std::pair<char32_t, const char32_t*> kPlainSpellings[] = {
    {U'ß', U"ss"}, {U'ẞ', U"SS"}, {U'ø', U"o"}, {U'Ø', U"O"}, {U'æ', U"ae"}, {U'Æ', U"AE"}, {U'œ', U"oe"},
    {U'Œ', U"OE"}, {U'đ', U"d"},  {U'Đ', U"D"}, {U'ł', U"l"}, {U'Ł', U"L"},  {U'þ', U"th"}, {U'Þ', U"TH"},
    {U'ð', U"d"},  {U'Ð', U"D"},  {U'ħ', U"h"}, {U'Ħ', U"H"}, {U'ı', U"i"},  {U'ŋ', U"ng"}, {U'Ŋ', U"NG"},
};

std::u32string Normalized(std::u32string_view text, const UNormalizer2* (*instance)(UErrorCode*)) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* normalizer = instance(&status);
  if (U_FAILURE(status)) throw std::runtime_error(std::string("normalization failed: ") + u_errorName(status));
  return MapUtf16(text,
                  [normalizer](UChar* dest, int32_t capacity, const UChar* source, int32_t length, UErrorCode* error) {
                    return unorm2_normalize(normalizer, source, length, dest, capacity, error);
                  });
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::u32string WithoutMarks(std::u32string_view text) {
  std::u32string plain;
  for (const char32_t c : Normalized(text, unorm2_getNFDInstance)) {
    if (u_charType(static_cast<UChar32>(c)) == U_NON_SPACING_MARK) continue;
    const auto* spelling = std::find_if(std::begin(kPlainSpellings), std::end(kPlainSpellings),
                                        [c](const auto& pair) { return pair.first == c; });
    if (spelling == std::end(kPlainSpellings)) {
      plain += c;
    } else {
      plain += spelling->second;
    }
  }
  return Normalized(plain, unorm2_getNFCInstance);
}

// One per thread: a transliterator is not to be shared between threads.
UTransliterator* ToAsciiTransliterator() {
  static thread_local const std::unique_ptr<UTransliterator, void (*)(UTransliterator*)> made = [] {
    static constexpr char16_t kRules[] = u"Any-Latin; Latin-ASCII";
    UErrorCode status = U_ZERO_ERROR;
    UTransliterator* opened =
        utrans_openU(reinterpret_cast<const UChar*>(kRules), -1, UTRANS_FORWARD, nullptr, 0, nullptr, &status);
    if (U_FAILURE(status)) throw std::runtime_error(std::string("transliteration failed: ") + u_errorName(status));
    return std::unique_ptr<UTransliterator, void (*)(UTransliterator*)>(opened, utrans_close);
  }();
  return made.get();
}

std::u32string Transliterated(std::u32string_view text) {
  const std::u16string source = ToUtf16(text);
  const auto length = static_cast<int32_t>(source.size());
  // Transliterated in place, in room for what the text may grow to.
  for (std::size_t room = source.size() * 4 + 16;; room *= 2) {
    std::u16string buffer = source;
    buffer.resize(room);
    int32_t made = length;
    int32_t limit = length;
    UErrorCode status = U_ZERO_ERROR;
    utrans_transUChars(ToAsciiTransliterator(), reinterpret_cast<UChar*>(buffer.data()), &made,
                       static_cast<int32_t>(room), 0, &limit, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) continue;
    if (U_FAILURE(status)) throw std::runtime_error(std::string("transliteration failed: ") + u_errorName(status));
    buffer.resize(static_cast<std::size_t>(made));
    // A name holds no slash, so each one here was written for another character (½ is
    // " 1/2", ⁄ is "/"); as a slash it would make the name a path.
    std::replace(buffer.begin(), buffer.end(), u'/', u'-');
    return FromUtf16(buffer);
  }
}

bool IsAsciiBreak(char32_t c) { return c < 0x80 && !(std::isalnum(static_cast<int>(c)) != 0); }

// Word by word, between ASCII blanks and punctuation, which neither simplification
// changes and no script's rules reach across. A word already in ASCII is kept; the others
// are kept per thread once simplified: a folder's names repeat their words ("Москва 001",
// "Москва 002"), and transliterating one costs as much as renaming a few hundred names.
template <std::u32string (*Simplify)(std::u32string_view)>
std::u32string ByWords(std::u32string_view text) {
  constexpr std::size_t kRememberedWords = 4096;
  static thread_local std::unordered_map<std::u32string, std::u32string> done;
  std::u32string simplified;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = start + 1;
    if (!IsAsciiBreak(text[start])) {
      while (end < text.size() && !IsAsciiBreak(text[end])) ++end;
    }
    const std::u32string_view word = text.substr(start, end - start);
    start = end;
    if (std::all_of(word.begin(), word.end(), [](char32_t c) { return c < 0x80; })) {
      simplified += word;
      continue;
    }
    const std::u32string key(word);
    auto found = done.find(key);
    if (found == done.end()) {
      if (done.size() >= kRememberedWords) done.clear();
      found = done.emplace(key, Simplify(word)).first;
    }
    simplified += found->second;
  }
  return simplified;
}

std::u32string SimplifiedRun(std::u32string_view text, TSimplification how) {
  switch (how) {
    case TSimplification::compose: return Normalized(text, unorm2_getNFCInstance);
    case TSimplification::decompose: return Normalized(text, unorm2_getNFDInstance);
    case TSimplification::removeMarks: return ByWords<WithoutMarks>(text);
    case TSimplification::ascii: return ByWords<Transliterated>(text);
  }
  return std::u32string(text);
}

bool IsRawByte(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::u32string Simplified(std::u32string_view text, TSimplification how) {
  std::u32string simplified;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = start;
    while (end < text.size() && IsRawByte(text[end]) == IsRawByte(text[start])) ++end;
    const std::u32string_view run = text.substr(start, end - start);
    simplified += IsRawByte(text[start]) ? std::u32string(run) : SimplifiedRun(run, how);
    start = end;
  }
  return simplified;
}

std::string FoldCaseCanonically(std::string_view text) {
  std::string folded(text);
  if (IsAscii(text)) {
    for (char& c : folded) c = static_cast<char>(SimpleLower(static_cast<unsigned char>(c)));
    return folded;
  }
  const std::u32string characters = utf8::ToCodePoints(text);
  if (std::any_of(characters.begin(), characters.end(), utf8::IsRawByte)) return folded;
  const std::u32string caseless =
      MapUtf16(Normalized(characters, unorm2_getNFDInstance),
               [](UChar* dest, int32_t capacity, const UChar* source, int32_t length, UErrorCode* status) {
                 return u_strFoldCase(dest, capacity, source, length, U_FOLD_CASE_DEFAULT, status);
               });
  return utf8::FromCodePoints(Normalized(caseless, unorm2_getNFDInstance));
}

std::u32string ToLowerFull(std::u32string_view text) {
  return MapUtf16(text, [](UChar* dest, int32_t capacity, const UChar* source, int32_t length, UErrorCode* status) {
    return u_strToLower(dest, capacity, source, length, "", status);
  });
}

std::u32string ToUpperFull(std::u32string_view text) {
  return MapUtf16(text, [](UChar* dest, int32_t capacity, const UChar* source, int32_t length, UErrorCode* status) {
    return u_strToUpper(dest, capacity, source, length, "", status);
  });
}

std::u32string ToTitleFull(char32_t c) {
  return MapUtf16(std::u32string_view(&c, 1),
                  [](UChar* dest, int32_t capacity, const UChar* source, int32_t length, UErrorCode* status) {
                    return ucasemap_toTitle(RootCaseMap(), dest, capacity, source, length, status);
                  });
}

}  // namespace qx::unicode
