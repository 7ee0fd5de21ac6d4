// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UUtf8.h"

namespace qx::utf8 {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

char32_t Decode(std::string_view s, std::size_t pos, std::size_t& len) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  len = 1;
  if (lead < 0x80) return lead;

  std::size_t need;
  char32_t cp;
  char32_t min;
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1, cp = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2, cp = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    return kRawByteBase + lead;
  }
  if (pos + need >= s.size()) return kRawByteBase + lead;
  for (std::size_t i = 1; i <= need; ++i) {
    const auto c = static_cast<unsigned char>(s[pos + i]);
    if (!IsContinuation(c)) return kRawByteBase + lead;
    cp = (cp << 6) | (c & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not valid UTF-8.
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kRawByteBase + lead;
  len = need + 1;
  return cp;
}

std::size_t CharSize(std::string_view s, std::size_t pos) {
  if (static_cast<unsigned char>(s[pos]) < 0x80) return 1;
  std::size_t len;
  Decode(s, pos, len);
  return len;
}

std::size_t CountChars(std::string_view s) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < s.size(); pos += CharSize(s, pos)) ++count;
  return count;
}

std::size_t ByteOffsetOfChar(std::string_view s, std::size_t chars) {
  std::size_t pos = 0;
  for (; chars > 0 && pos < s.size(); --chars) pos += CharSize(s, pos);
  return pos;
}

void Append(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (IsRawByte(cp)) {
    out += static_cast<char>(cp - kRawByteBase);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::u32string ToCodePoints(std::string_view s) {
  std::u32string cps;
  cps.reserve(s.size());
  for (std::size_t pos = 0, len = 0; pos < s.size(); pos += len) cps += Decode(s, pos, len);
  return cps;
}

std::string FromCodePoints(std::u32string_view cps) {
  std::string out;
  out.reserve(cps.size());
  for (char32_t cp : cps) Append(out, cp);
  return out;
}

}  // namespace qx::utf8
