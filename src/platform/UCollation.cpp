#include "platform/UCollation.h"

#include <unicode/ucol.h>

#include <cstdlib>

#include "platform/UUtf8.h"

namespace qx {

namespace {

std::string CollationLocale() {
  for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') continue;
    std::string locale = value;
    locale = locale.substr(0, locale.find_first_of(".@"));
    return locale == "C" || locale == "POSIX" ? "" : locale;
  }
  return "";
}

// UTF-16 for ICU; a byte that is not valid UTF-8 becomes the lone surrogate it
// decodes to, so such names still sort, consistently.
std::u16string ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t pos = 0, len = 0; pos < text.size(); pos += len) {
    const char32_t cp = utf8::Decode(text, pos, len);
    if (cp < 0x10000) {
      out += static_cast<char16_t>(cp);
    } else {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return out;
}

}  // namespace

TCollator::TCollator() {
  UErrorCode status = U_ZERO_ERROR;
  m_collator = ucol_open(CollationLocale().c_str(), &status);
  if (U_FAILURE(status)) {
    status = U_ZERO_ERROR;
    m_collator = ucol_open("", &status);
  }
  if (m_collator) ucol_setStrength(m_collator, UCOL_SECONDARY);
}

TCollator::~TCollator() {
  if (m_collator) ucol_close(m_collator);
}

std::string TCollator::SortKey(std::string_view name) const {
  if (m_collator == nullptr) return std::string(name);  // no collation data: byte order
  const std::u16string text = ToUtf16(name);
  const auto length = static_cast<int32_t>(text.size());
  std::string key(text.size() * 2 + 16, '\0');
  auto* buffer = reinterpret_cast<uint8_t*>(key.data());
  int32_t needed = ucol_getSortKey(m_collator, text.data(), length, buffer, static_cast<int32_t>(key.size()));
  if (needed > static_cast<int32_t>(key.size())) {
    key.resize(static_cast<std::size_t>(needed));
    buffer = reinterpret_cast<uint8_t*>(key.data());
    needed = ucol_getSortKey(m_collator, text.data(), length, buffer, needed);
  }
  key.resize(needed > 0 ? static_cast<std::size_t>(needed) - 1 : 0);  // without the closing zero
  return key;
}

}  // namespace qx
