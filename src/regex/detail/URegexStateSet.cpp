// SPDX-License-Identifier: GPL-3.0-or-later
#include "regex/detail/URegexStateSet.h"

#include <algorithm>

namespace qx::detail {

namespace {

constexpr std::size_t kInitialSlots = 1024;

}  // namespace

void TStateSet::Clear() {
  m_pool.clear();
  m_count = 0;
  // A new generation empties every slot at once; on wrap-around they are emptied for real.
  if (++m_generation == 0) {
    std::fill(m_slots.begin(), m_slots.end(), TSlot{0, 0});
    m_generation = 1;
  }
}

uint64_t TStateSet::Hash(const uint32_t* key, std::size_t length) {
  uint64_t h = 0x9E3779B97F4A7C15ull ^ length;
  for (std::size_t i = 0; i < length; ++i) {
    h ^= key[i];
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 32;
  }
  return h;
}

bool TStateSet::Equal(uint32_t offset, const std::vector<uint32_t>& key) const {
  return m_pool[offset] == key.size() && std::equal(key.begin(), key.end(), m_pool.begin() + offset + 1);
}

bool TStateSet::Insert(const std::vector<uint32_t>& key) {
  if (m_slots.empty()) m_slots.assign(kInitialSlots, TSlot{0, 0});
  const std::size_t mask = m_slots.size() - 1;
  for (std::size_t i = Hash(key.data(), key.size()) & mask;; i = (i + 1) & mask) {
    TSlot& slot = m_slots[i];
    if (slot.generation != m_generation) {
      if (m_count >= m_capacity) return true;  // full: not remembered
      slot = {m_generation, static_cast<uint32_t>(m_pool.size())};
      m_pool.push_back(static_cast<uint32_t>(key.size()));
      m_pool.insert(m_pool.end(), key.begin(), key.end());
      if (++m_count * 2 > m_slots.size()) Grow();
      return true;
    }
    if (Equal(slot.offset, key)) return false;
  }
}

void TStateSet::Grow() {
  std::vector<TSlot> old(m_slots.size() * 2, TSlot{0, 0});
  old.swap(m_slots);
  const std::size_t mask = m_slots.size() - 1;
  for (const TSlot& entry : old) {
    if (entry.generation != m_generation) continue;
    const uint32_t* key = m_pool.data() + entry.offset + 1;
    std::size_t i = Hash(key, m_pool[entry.offset]) & mask;
    while (m_slots[i].generation == m_generation) i = (i + 1) & mask;
    m_slots[i] = entry;
  }
}

}  // namespace qx::detail
