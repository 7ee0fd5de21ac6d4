// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/UMask.h"

namespace qx {
namespace {

TEST(UMaskTest, WildcardsAndCase) {
  struct Row {
    const char* name;
    const char* mask;
    bool matches;
  };
  const Row rows[] = {
      {"README", "*.*", true},
      {"a.b.c", "*.*", true},
      {".hidden", "*", true},
      {"photo.JPG", "*.jpg", true},
      {"photo.jpeg", "*.jpg", false},
      {"photo.jpg.bak", "*.jpg", false},
      {"a.txt", "?.txt", true},
      {"ab.txt", "?.txt", false},
      {"é.txt", "?.txt", true},
      {"ÉTÉ.TXT", "été*", true},
      {"x;y", "x;y", true},
      {"a.txt", "*.txt;*.jpg", false},
      {"IMG_0001.JPG", "img_*1.*", true},
      {"aaa", "a*a*a*a", false},
      {"abcabc", "*abc", true},
      {"", "*", true},
      {"", "?", false},
      {"name", "", false},
      {"caf\xE9", "caf?", true},
      {"abc", "a**c", true},
      {"mississippi", "m*iss*ppi", true},
  };
  for (const Row& row : rows) EXPECT_EQ(MatchesMask(row.name, row.mask), row.matches) << row.name << " ~ " << row.mask;
}

}  // namespace
}  // namespace qx
