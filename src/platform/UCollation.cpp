// SPDX-License-Identifier: GPL-3.0-or-later
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

// UTF-16 for ICU, into `out`; a byte that is not valid UTF-8 becomes the lone surrogate
// it decodes to, so such names still sort, consistently.
void ToUtf16(std::string_view text, std::u16string& out) {
  out.clear();
  for (std::size_t pos = 0, len = 0; pos < text.size(); pos += len) {
    const char32_t cp = utf8::Decode(text, pos, len);
    if (cp < 0x10000) {
      out += static_cast<char16_t>(cp);
    } else {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
}

}  // namespace

TCollator::TCollator(TNumberOrder numbers) {
  UErrorCode status = U_ZERO_ERROR;
  m_collator = ucol_open(CollationLocale().c_str(), &status);
  if (U_FAILURE(status)) {
    status = U_ZERO_ERROR;
    m_collator = ucol_open("", &status);
  }
  if (m_collator == nullptr) return;
  ucol_setStrength(m_collator, UCOL_SECONDARY);
  if (numbers == TNumberOrder::byValue) {
    status = U_ZERO_ERROR;
    ucol_setAttribute(m_collator, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
  }
}

TCollator::~TCollator() {
  if (m_collator) ucol_close(m_collator);
}

const TCollator& ThreadCollator(TNumberOrder numbers) {
  thread_local const TCollator asText(TNumberOrder::asText);
  thread_local const TCollator byValue(TNumberOrder::byValue);
  return numbers == TNumberOrder::byValue ? byValue : asText;
}

std::string TCollator::SortKey(std::string_view name) const {
  std::string key;
  AppendSortKey(name, key);
  return key;
}

void TCollator::AppendSortKey(std::string_view name, std::string& keys) const {
  if (m_collator == nullptr) {  // no collation data: byte order
    keys.append(name);
    return;
  }
  // Kept from one name to the next: a list's keys are made without an allocation each.
  thread_local std::u16string text;
  ToUtf16(name, text);
  const auto length = static_cast<int32_t>(text.size());
  const std::size_t start = keys.size();
  keys.resize(start + text.size() * 2 + 16);
  const auto room = [&] { return static_cast<int32_t>(keys.size() - start); };
  const auto buffer = [&] { return reinterpret_cast<uint8_t*>(keys.data() + start); };
  int32_t needed = ucol_getSortKey(m_collator, text.data(), length, buffer(), room());
  if (needed > room()) {
    keys.resize(start + static_cast<std::size_t>(needed));
    needed = ucol_getSortKey(m_collator, text.data(), length, buffer(), needed);
  }
  keys.resize(start + (needed > 0 ? static_cast<std::size_t>(needed) - 1 : 0));  // without the closing zero
}

}  // namespace qx
