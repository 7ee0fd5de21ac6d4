// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/UTerminalText.h"

#include <cstdio>

#include "platform/UUtf8.h"

namespace qx::cli {

namespace {

// The slot each stream keeps its mark in.
const int kTerminalMark = std::ios_base::xalloc();

void AppendHex(std::string& out, const char* format, unsigned value) {
  char escaped[12];
  std::snprintf(escaped, sizeof escaped, format, value);
  out += escaped;
}

}  // namespace

// A backslash stays itself: job texts are full of them (regular expressions, templates),
// and whoever needs the exact bytes gets them through a pipe.
std::string TerminalSafe(std::string_view text) {
  std::string safe;
  safe.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t length = 0;
    const char32_t cp = utf8::Decode(text, pos, length);
    switch (cp) {
      case U'\a': safe += "\\a"; break;
      case U'\b': safe += "\\b"; break;
      case U'\t': safe += "\\t"; break;
      case U'\n': safe += "\\n"; break;
      case U'\v': safe += "\\v"; break;
      case U'\f': safe += "\\f"; break;
      case U'\r': safe += "\\r"; break;
      case U'\x1B': safe += "\\e"; break;
      default:
        if (cp < 0x20 || cp == 0x7F) {
          AppendHex(safe, "\\x%02X", static_cast<unsigned>(cp));
        } else if (cp >= 0x80 && cp <= 0x9F) {
          AppendHex(safe, "\\u{%04X}", static_cast<unsigned>(cp));
        } else if (utf8::IsRawByte(cp) && cp - utf8::kRawByteBase <= 0x9F) {
          AppendHex(safe, "\\x%02X", static_cast<unsigned>(cp - utf8::kRawByteBase));
        } else {
          safe.append(text, pos, length);
        }
    }
    pos += length;
  }
  return safe;
}

void MarkTerminal(std::ios_base& stream, bool isTerminal) { stream.iword(kTerminalMark) = isTerminal ? 1 : 0; }

bool ShowsOnTerminal(std::ios_base& stream) { return stream.iword(kTerminalMark) != 0; }

std::string WithControlPictures(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      utf8::Append(out, byte == 0x7F ? U'\u2421' : U'\u2400' + byte);
    } else {
      out += c;
    }
  }
  return out;
}

std::string ShownOn(std::ios_base& stream, std::string_view text) {
  return ShowsOnTerminal(stream) ? TerminalSafe(text) : std::string(text);
}

}  // namespace qx::cli
