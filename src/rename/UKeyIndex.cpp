// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UKeyIndex.h"

#include <algorithm>
#include <bit>

namespace qx {

namespace {

// At most three quarters full: probe runs stay short while a large folder's index stays
// near eight bytes per name.
std::size_t CapacityFor(std::size_t count) { return std::bit_ceil(std::max<std::size_t>(16, count + count / 3 + 1)); }

}  // namespace

TKeyIndex::TKeyIndex(TKeyOf keyOf, std::size_t expected) : m_keyOf(std::move(keyOf)), m_slots(CapacityFor(expected)) {}

std::uint32_t TKeyIndex::Hash(std::string_view key) {
  const std::size_t hash = std::hash<std::string_view>{}(key);
  return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

std::size_t TKeyIndex::Probe(std::string_view key, std::uint32_t hash) const {
  const std::size_t mask = m_slots.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const TSlot& slot = m_slots[i];
    if (slot.value == kEmpty || (slot.hash == hash && m_keyOf(slot.value, m_buffer) == key)) return i;
  }
}

const std::uint32_t* TKeyIndex::Find(std::string_view key) const {
  const TSlot& slot = m_slots[Probe(key, Hash(key))];
  return slot.value == kEmpty ? nullptr : &slot.value;
}

bool TKeyIndex::Insert(std::string_view key, std::uint32_t value) {
  if (CapacityFor(m_size + 1) > m_slots.size()) Grow();
  const std::uint32_t hash = Hash(key);
  TSlot& slot = m_slots[Probe(key, hash)];
  if (slot.value != kEmpty) return false;
  slot = {hash, value};
  ++m_size;
  return true;
}

bool TKeyIndex::Erase(std::string_view key) {
  const std::size_t mask = m_slots.size() - 1;
  std::size_t hole = Probe(key, Hash(key));
  if (m_slots[hole].value == kEmpty) return false;
  // Every later slot of the run whose home lies at or before the hole moves into it, so
  // no probe run is cut short.
  for (std::size_t next = (hole + 1) & mask; m_slots[next].value != kEmpty; next = (next + 1) & mask) {
    const std::size_t home = m_slots[next].hash & mask;
    if (((next - home) & mask) >= ((next - hole) & mask)) {
      m_slots[hole] = m_slots[next];
      hole = next;
    }
  }
  m_slots[hole].value = kEmpty;
  --m_size;
  return true;
}

void TKeyIndex::Grow() {
  std::vector<TSlot> old(m_slots.size() * 2);
  old.swap(m_slots);
  const std::size_t mask = m_slots.size() - 1;
  for (const TSlot& slot : old) {
    if (slot.value == kEmpty) continue;
    std::size_t i = slot.hash & mask;
    while (m_slots[i].value != kEmpty) i = (i + 1) & mask;
    m_slots[i] = slot;
  }
}

}  // namespace qx
