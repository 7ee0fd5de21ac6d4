// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QUrl>

#include "ui/UQtText.h"

namespace qx {
namespace {

TEST(UQtTextTest, EveryByteStringComesBackUnchanged) {
  struct TRow {
    const char* name;
    std::string bytes;
  };
  const TRow rows[] = {
      {"empty", ""},
      {"ASCII", "filename.ext"},
      {"two-byte characters", "caf\xc3\xa9 na\xc3\xafve"},
      {"three-byte characters", "\xe6\x97\xa5\xe6\x9c\xac.txt"},
      {"a character beyond the BMP", "\xf0\x9f\x98\x80 smile"},
      {"a Latin-1 byte", "caf\xe9.txt"},
      {"a lone continuation byte", "a\x80z"},
      {"a truncated sequence at the end", "abc\xe6\x97"},
      {"an overlong slash", "a\xc0\xafz"},
      {"an encoded surrogate", "\xed\xa0\x80x"},
      {"every high byte",
       [] {
         std::string all;
         for (int b = 0x80; b <= 0xFF; ++b) all += static_cast<char>(b);
         return all;
       }()},
      {"a NUL inside", std::string("a\0b", 3)},
  };
  for (const TRow& row : rows) EXPECT_EQ(ToBytes(ToQString(row.bytes)), row.bytes) << row.name;
}

TEST(UQtTextTest, ValidUtf8ShowsAsItsCharacters) {
  const std::string rows[] = {"filename.ext", "caf\xc3\xa9", "\xe6\x97\xa5\xe6\x9c\xac", "\xf0\x9f\x98\x80"};
  for (const std::string& row : rows) {
    EXPECT_EQ(ToQString(row), QString::fromUtf8(row.data(), static_cast<qsizetype>(row.size()))) << row;
    EXPECT_EQ(ToBytes(QString::fromUtf8(row.data(), static_cast<qsizetype>(row.size()))), row) << row;
  }
}

TEST(UQtTextTest, ALoneSurrogateThatNoByteStandsForBecomesTheReplacementCharacter) {
  QString text = "a";
  text += QChar(char16_t{0xD800});
  text += "b";
  EXPECT_EQ(ToBytes(text),
            "a\xef\xbf\xbd"
            "b");
}

TEST(UQtTextTest, AFileUrlOfThisComputerGivesItsPathsBytes) {
  struct TRow {
    const char* url;
    std::optional<std::string> path;
  };
  const TRow rows[] = {
      {"file:///tmp/a.txt", "/tmp/a.txt"},
      {"file:///tmp/caf%C3%A9.txt", "/tmp/caf\xc3\xa9.txt"},
      {"file:///tmp/%FF%E9.txt", "/tmp/\xff\xe9.txt"},
      {"file:///tmp/a%20b%25c%23.txt", "/tmp/a b%c#.txt"},
      {"file://localhost/tmp/x", "/tmp/x"},
      {"file://elsewhere.example/tmp/x", std::nullopt},
      {"https://example.org/a.txt", std::nullopt},
      {"sftp://example.org/home/a.txt", std::nullopt},
      {"file:///tmp/a%00b", std::nullopt},
      {"file:a.txt", std::nullopt},
  };
  for (const TRow& row : rows) EXPECT_EQ(LocalFilePath(QUrl(QString::fromLatin1(row.url))), row.path) << row.url;
}

}  // namespace
}  // namespace qx
