// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 text as characters: one character is one code point, and a byte that does
// not begin a valid sequence is a character of its own that survives unchanged.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qx::utf8 {

// A byte that is not valid UTF-8 decodes to kRawByteBase + byte (U+DC80..U+DCFF).
// Those code points are surrogates, which valid UTF-8 never encodes, so encoding
// them back gives the original byte and every name round-trips byte for byte.
constexpr char32_t kRawByteBase = 0xDC00;

constexpr bool IsRawByte(char32_t cp) { return cp >= kRawByteBase + 0x80 && cp <= kRawByteBase + 0xFF; }

// The character starting at byte `pos` (pos < s.size()); `len` receives its byte count.
char32_t Decode(std::string_view s, std::size_t pos, std::size_t& len);

// The byte count of the character starting at `pos` (pos < s.size()).
std::size_t CharSize(std::string_view s, std::size_t pos);

std::size_t CountChars(std::string_view s);

// The byte offset just after the first `chars` characters; s.size() when s is shorter.
std::size_t ByteOffsetOfChar(std::string_view s, std::size_t chars);

// Appends a code point; a raw-byte code point appends its original byte.
void Append(std::string& out, char32_t cp);

std::u32string ToCodePoints(std::string_view s);
std::string FromCodePoints(std::u32string_view cps);

}  // namespace qx::utf8
