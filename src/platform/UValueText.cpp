// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UValueText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace qx {

namespace {

// from_chars takes "-" but not "+"; a "+" before a digit or point is accepted here.
std::string_view WithoutPlus(std::string_view text) {
  if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
  return text;
}

}  // namespace

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
  text = WithoutPlus(text);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<long double> ParseFloat(std::string_view text) {
  text = WithoutPlus(text);
  long double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FloatText(long double value) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, end);
}

std::optional<bool> ParseBoolean(std::string_view text) {
  if (EqualIgnoringAsciiCase(text, "true")) return true;
  if (EqualIgnoringAsciiCase(text, "false")) return false;
  const auto number = ParseFloat(text);
  if (!number) return std::nullopt;
  return *number != 0;
}

}  // namespace qx
