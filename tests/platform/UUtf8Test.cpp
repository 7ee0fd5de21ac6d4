// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/UUtf8.h"

namespace qx::utf8 {
namespace {

TEST(UUtf8Test, CountsCodePointsAndTreatsBadBytesAsOneCharacterEach) {
  struct Row {
    const char* name;
    std::string text;
    std::size_t chars;
  };
  const Row rows[] = {
      {"empty", "", 0},
      {"ascii", "abc", 3},
      {"two-byte", "\xC3\xA9t\xC3\xA9", 3},           // été
      {"three-byte", "\xE6\x97\xA5\xE6\x9C\xAC", 2},  // 日本
      {"four-byte", "\xF0\x9F\x98\x80!", 2},
      {"lone continuation",
       "a\x80"
       "b",
       3},
      {"latin-1 byte", "caf\xE9", 4},
      {"truncated sequence", "\xE6\x97", 2},
      {"overlong slash", "\xC0\xAF", 2},
      {"encoded surrogate", "\xED\xA0\x80", 3},
      {"past U+10FFFF", "\xF4\x90\x80\x80", 4},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(CountChars(row.text), row.chars) << row.name;
    EXPECT_EQ(FromCodePoints(ToCodePoints(row.text)), row.text) << row.name << " must round-trip byte for byte";
  }
}

TEST(UUtf8Test, ByteOffsetOfCharStopsAtCharacterBoundariesAndClamps) {
  const std::string text =
      "\xC3\xA9"
      "a\xFF"
      "\xE6\x97\xA5";  // é a <FF> 日
  EXPECT_EQ(ByteOffsetOfChar(text, 0), 0u);
  EXPECT_EQ(ByteOffsetOfChar(text, 1), 2u);
  EXPECT_EQ(ByteOffsetOfChar(text, 2), 3u);
  EXPECT_EQ(ByteOffsetOfChar(text, 3), 4u);
  EXPECT_EQ(ByteOffsetOfChar(text, 4), 7u);
  EXPECT_EQ(ByteOffsetOfChar(text, 99), 7u);
}

TEST(UUtf8Test, RawBytesDecodeToTheirOwnCodePointsAndNeverCollideWithValidText) {
  std::size_t len = 0;
  EXPECT_EQ(Decode("\xE9", 0, len), kRawByteBase + 0xE9);
  EXPECT_EQ(len, 1u);
  EXPECT_TRUE(IsRawByte(Decode("\xE9", 0, len)));
  EXPECT_EQ(Decode("\xC3\xA9", 0, len), U'\u00E9');
  EXPECT_EQ(len, 2u);
  EXPECT_FALSE(IsRawByte(U'\u00E9'));
}

}  // namespace
}  // namespace qx::utf8
