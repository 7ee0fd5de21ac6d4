// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/UJsonText.h"

#include "platform/UUtf8.h"

namespace qx::cli {

namespace {

void AppendUnicodeEscape(std::string& out, char32_t cp) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.append("\\u");
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(cp >> shift) & 0xF];
}

// Printable ASCII but the quote and the backslash.
bool IsPlain(unsigned char byte) { return byte >= 0x20 && byte < 0x80 && byte != '"' && byte != '\\'; }

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  std::size_t pos = 0;
  while (pos < text.size()) {
    // Most of a name needs no escape: copied a run at a time.
    std::size_t plain = pos;
    while (plain < text.size() && IsPlain(static_cast<unsigned char>(text[plain]))) ++plain;
    out.append(text.substr(pos, plain - pos));
    if (plain == text.size()) break;
    pos = plain;
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte >= 0x80) {
      std::size_t length;
      const char32_t cp = utf8::Decode(text, pos, length);
      // The raw-byte code points are surrogates, which valid UTF-8 never encodes: one
      // is always a byte of its own.
      if (utf8::IsRawByte(cp)) {
        AppendUnicodeEscape(out, cp);
      } else {
        out.append(text.substr(pos, length));
      }
      pos += length;
      continue;
    }
    switch (byte) {
      case '"': out.append("\\\""); break;
      case '\\': out.append("\\\\"); break;
      case '\b': out.append("\\b"); break;
      case '\f': out.append("\\f"); break;
      case '\n': out.append("\\n"); break;
      case '\r': out.append("\\r"); break;
      case '\t': out.append("\\t"); break;
      default: AppendUnicodeEscape(out, byte);
    }
    ++pos;
  }
  out += '"';
}

}  // namespace qx::cli
