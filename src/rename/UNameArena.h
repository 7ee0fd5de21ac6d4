// SPDX-License-Identifier: GPL-3.0-or-later
// Many names held in one block of characters, each found by its number. A folder of a
// million entries then costs the names' bytes and four more each, not a string object
// and a heap block per name.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qx {

using TNameId = std::uint32_t;

class TNameArena {
 public:
  static constexpr TNameId kNoName = UINT32_MAX;

  // Appends `name` and returns its number. Throws std::length_error past 4 GiB of names.
  TNameId Add(std::string_view name);
  std::string_view View(TNameId id) const { return {m_chars.data() + m_ends[id], m_ends[id + 1] - m_ends[id]}; }
  std::size_t Count() const { return m_ends.size() - 1; }
  std::size_t Bytes() const { return m_chars.size(); }
  // Room for `names` more names of `bytes` in all, made at once: growing a large arena
  // step by step would hold the old block and its copy at the same time, more than once.
  void Reserve(std::size_t names, std::size_t bytes);

 private:
  std::vector<char> m_chars;                // not a std::string: a moved arena keeps its characters where they were
  std::vector<std::uint32_t> m_ends = {0};  // name i is [m_ends[i], m_ends[i + 1])
};

}  // namespace qx
