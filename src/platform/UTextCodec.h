// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion between UTF-8 and other character encodings through iconv.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

// The text converted from UTF-8 into `encoding`. A character the encoding cannot hold
// is replaced by the conversion of `fallback(codePoint)`, which must be convertible
// (plain ASCII is, in every encoding Quillex offers); a byte that is not valid UTF-8
// counts as U+FFFD. Nothing when iconv does not know the encoding.
std::optional<std::string> EncodeFromUtf8(std::string_view text, const std::string& encoding,
                                          const std::function<std::string(char32_t)>& fallback);

// The text converted from `encoding` into UTF-8, passing over bytes that do not convert
// and a character cut off at the end. Nothing when iconv does not know the encoding.
std::optional<std::string> DecodeToUtf8Leniently(std::string_view bytes, const std::string& encoding);

}  // namespace qx
