// SPDX-License-Identifier: GPL-3.0-or-later
// A hash index from the key of a name to a number that stands for the name (its id in
// an arena, an entry of a step). The key is not stored: it is found again through the
// number when two hashes agree, so an entry costs eight bytes instead of a string and a
// node. Open addressing, linear probing, deletion by shifting back (no tombstones).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

class TKeyIndex {
 public:
  // The key of what `value` stands for; `buffer` holds a key composed on the spot.
  using TKeyOf = std::function<std::string_view(std::uint32_t value, std::string& buffer)>;

  explicit TKeyIndex(TKeyOf keyOf, std::size_t expected = 0);

  // The value filed under `key`, or nullptr.
  const std::uint32_t* Find(std::string_view key) const;
  // Files `value` under `key` unless the key is there already; false then.
  bool Insert(std::string_view key, std::uint32_t value);
  // Removes what is filed under `key`; false when nothing was.
  bool Erase(std::string_view key);
  std::size_t Size() const { return m_size; }

 private:
  static constexpr std::uint32_t kEmpty = UINT32_MAX;
  struct TSlot {
    std::uint32_t hash;
    std::uint32_t value = kEmpty;
  };

  static std::uint32_t Hash(std::string_view key);
  // The slot holding `key`, or the empty slot that ends its probe run.
  std::size_t Probe(std::string_view key, std::uint32_t hash) const;
  void Grow();

  TKeyOf m_keyOf;
  std::vector<TSlot> m_slots;
  std::size_t m_size = 0;
  mutable std::string m_buffer;
};

}  // namespace qx
