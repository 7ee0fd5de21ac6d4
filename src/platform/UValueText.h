// SPDX-License-Identifier: GPL-3.0-or-later
// The text forms of typed values that files hold: signed decimal integers,
// floating-point numbers and booleans, and the ASCII letter case their words ignore.
// Pure conversions, no storage.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

// Equal when only the letter case of A-Z differs; every other byte must match.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// A signed decimal over the whole text ("+" allowed); nullopt when it does not convert
// or lies outside the 64-bit range.
std::optional<std::int64_t> ParseInteger(std::string_view text);

// A finite decimal number over the whole text, "." as separator, exponent allowed.
std::optional<long double> ParseFloat(std::string_view text);

// The shortest text that reads back as `value`.
std::string FloatText(long double value);

// A number (true when not zero) or the words true / false in any letter case.
std::optional<bool> ParseBoolean(std::string_view text);

}  // namespace qx
