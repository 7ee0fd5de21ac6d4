// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/UUnicode.h"

namespace qx::unicode {
namespace {

// Which names a folder takes for one: vfat, exfat, NTFS and SMB compare a capital per
// character; Linux's casefold folders fold fully and take canonically equal texts alike.
TEST(UUnicodeTest, NamesFoldAlikeAsEachKindOfFolderComparesThem) {
  struct Row {
    const char* a;
    const char* b;
    bool simpleAlike, canonicalAlike;
  };
  const Row rows[] = {
      {"Photo.JPG", "photo.jpg", true, true},
      {"ÉTÉ", "été", true, true},
      {"ΣΊΣΥΦΟΣ", "σίσυφος", true, true},                 // final sigma
      {"straße", "STRASSE", false, true},                 // ß folds to ss only fully
      {"ẞ", "ss", false, true},                           // capital sharp s
      {"ﬀ", "FF", false, true},                           // a ligature
      {"\u00e9t\u00e9", "E\u0301TE\u0301", false, true},  // composed, decomposed
      {"ı", "I", true, false},                            // dotless i has I for capital, and no fold
      {"İ", "i", false, false},
      {"\u212a", "k", false, true},     // the Kelvin sign is a capital of its own
      {"A\xff", "a\xff", true, false},  // not UTF-8: such folders compare the bytes
      {"a\xff", "a\xff", true, true},
      {"a", "b", false, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(FoldCase(row.a) == FoldCase(row.b), row.simpleAlike) << row.a << " / " << row.b;
    EXPECT_EQ(FoldCaseCanonically(row.a) == FoldCaseCanonically(row.b), row.canonicalAlike) << row.a << " / " << row.b;
  }
}

}  // namespace
}  // namespace qx::unicode
