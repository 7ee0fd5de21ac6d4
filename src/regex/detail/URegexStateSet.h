// SPDX-License-Identifier: GPL-3.0-or-later
// The set of failed matcher states inside counted loops, (pc, position, counters ...):
// variable-length keys in one flat pool, cleared in constant time between searches.
// It holds at most a fixed number of states; past that it only answers lookups.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qx::detail {

class TStateSet {
 public:
  explicit TStateSet(std::size_t capacity) : m_capacity(capacity) {}

  void Clear();
  // Adds the key; false when it was there already.
  bool Insert(const std::vector<uint32_t>& key);

 private:
  struct TSlot {
    uint32_t generation;
    uint32_t offset;  // of the entry in m_pool: its length, then the key
  };

  static uint64_t Hash(const uint32_t* key, std::size_t length);
  bool Equal(uint32_t offset, const std::vector<uint32_t>& key) const;
  void Grow();

  std::size_t m_capacity;
  std::vector<TSlot> m_slots;
  std::vector<uint32_t> m_pool;
  uint32_t m_generation = 1;
  std::size_t m_count = 0;
};

}  // namespace qx::detail
