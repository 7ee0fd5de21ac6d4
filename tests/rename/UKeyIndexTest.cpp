// SPDX-License-Identifier: GPL-3.0-or-later
// The arena and the key index against the containers they stand in for: long random runs
// of adds, finds and erases over a small set of names (so keys meet, collide and come
// back), checked step by step against std::unordered_map and a vector of strings.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "rename/UKeyIndex.h"
#include "rename/UNameArena.h"

namespace qx {
namespace {

TEST(UKeyIndexTest, BehavesAsAMapOfNamesOverRandomRuns) {
  for (const bool folded : {false, true}) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
      std::mt19937 random(seed);
      TNameArena arena;
      std::vector<std::string> names;  // what the arena should hold, by id
      // The index files ids by their name's key: the name itself, or (folded) its
      // lower case, so two ids may share one key as two names may in a folder that
      // ignores case.
      const auto keyOf = [&](std::string_view name, std::string& buffer) -> std::string_view {
        if (!folded) return name;
        buffer.assign(name);
        for (char& c : buffer) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        return buffer;
      };
      TKeyIndex index([&](std::uint32_t id, std::string& buffer) { return keyOf(arena.View(id), buffer); });
      std::unordered_map<std::string, std::uint32_t> expected;
      std::string buffer;
      for (int step = 0; step < 4000; ++step) {
        std::string name(1 + random() % 3, 'a');
        for (char& c : name) c = "aAbB.-"[random() % 6];
        const TNameId id = arena.Add(name);
        names.push_back(name);
        const std::string key(keyOf(name, buffer));
        switch (random() % 3) {
          case 0: EXPECT_EQ(index.Insert(key, id), expected.emplace(key, id).second); break;
          case 1: EXPECT_EQ(index.Erase(key), expected.erase(key) == 1); break;
          case 2: {
            const std::uint32_t* found = index.Find(key);
            const auto wanted = expected.find(key);
            ASSERT_EQ(found != nullptr, wanted != expected.end());
            if (found) {
              EXPECT_EQ(*found, wanted->second);
            }
          }
        }
        ASSERT_EQ(index.Size(), expected.size()) << "seed " << seed << ", step " << step;
      }
      for (const auto& [key, id] : expected) {
        const std::uint32_t* found = index.Find(key);
        ASSERT_NE(found, nullptr) << key;
        EXPECT_EQ(*found, id);
      }
      ASSERT_EQ(arena.Count(), names.size());
      for (TNameId id = 0; id < names.size(); ++id) ASSERT_EQ(arena.View(id), names[id]);
    }
  }
}

}  // namespace
}  // namespace qx
