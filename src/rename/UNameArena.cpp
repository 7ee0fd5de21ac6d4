// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UNameArena.h"

#include <stdexcept>

namespace qx {

TNameId TNameArena::Add(std::string_view name) {
  if (name.size() > UINT32_MAX - m_chars.size() || Count() >= kNoName) {
    throw std::length_error("the names of one folder take more than 4 GiB");
  }
  m_chars.insert(m_chars.end(), name.begin(), name.end());
  m_ends.push_back(static_cast<std::uint32_t>(m_chars.size()));
  return static_cast<TNameId>(Count() - 1);
}

void TNameArena::Reserve(std::size_t names, std::size_t bytes) {
  m_ends.reserve(m_ends.size() + names);
  m_chars.reserve(m_chars.size() + bytes);
}

}  // namespace qx
