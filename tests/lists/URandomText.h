// SPDX-License-Identifier: GPL-3.0-or-later
// Random byte strings for the round-trip tests: any byte, mixed with the pieces that a
// reader or writer is likeliest to get wrong.
#pragma once

#include <cstddef>
#include <random>
#include <span>
#include <string>
#include <string_view>

namespace qx::lists {

inline std::string RandomText(std::mt19937& random, std::span<const std::string_view> pieces, std::size_t maxLength) {
  std::uniform_int_distribution<std::size_t> length(1, maxLength);
  std::uniform_int_distribution<std::size_t> choice(0, 2 * pieces.size() - 1);  // a random byte half the time
  std::uniform_int_distribution<int> byte(0, 255);
  std::string text;
  for (std::size_t n = length(random); n > 0; --n) {
    const std::size_t pick = choice(random);
    text += pick < pieces.size() ? std::string(pieces[pick]) : std::string(1, static_cast<char>(byte(random)));
  }
  return text;
}

}  // namespace qx::lists
