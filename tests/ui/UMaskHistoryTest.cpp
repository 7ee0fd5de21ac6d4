// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/UAppPaths.h"
#include "platform/UFiles.h"
#include "settings/UAppSettings.h"
#include "support/URecordingMessages.h"
#include "support/UTempDir.h"
#include "ui/main/UMaskHistory.h"

namespace qx {
namespace {

using THistory = std::vector<std::string>;

THistory Masks(int from, int to) {
  THistory masks;
  for (int n = from; n <= to; ++n) masks.push_back("*." + std::to_string(n));
  return masks;
}

TEST(UMaskHistoryTest, TheCurrentMaskGoesOnTopOnceAndTheHistoryKeepsTen) {
  struct TRow {
    const char* name;
    THistory before;
    std::string mask;
    THistory after;
  };
  const TRow rows[] = {
      {"empty history", {}, "*.txt", {"*.txt"}},
      {"new mask on top", {"*.a", "*.b"}, "*.c", {"*.c", "*.a", "*.b"}},
      {"the top entry again", {"*.a", "*.b"}, "*.a", {"*.a", "*.b"}},
      {"fourth entry moves up, three shift down",
       {"*.0", "*.1", "*.2", "*.3", "*.4"},
       "*.3",
       {"*.3", "*.0", "*.1", "*.2", "*.4"}},
      {"the last entry", {"*.a", "*.b", "*.c"}, "*.c", {"*.c", "*.a", "*.b"}},
      {"letter case counts", {"*.TXT"}, "*.txt", {"*.txt", "*.TXT"}},
      {"A, B, then A again", {"B", "A"}, "A", {"A", "B"}},
      {"an eleventh mask drops the oldest", Masks(1, 10), "*.new",
       [] {
         THistory h = Masks(1, 9);
         h.insert(h.begin(), "*.new");
         return h;
       }()},
      {"a known mask in a full history keeps ten", Masks(1, 10), "*.10",
       [] {
         THistory h = Masks(1, 9);
         h.insert(h.begin(), "*.10");
         return h;
       }()},
      {"an empty mask is a mask", {"*.a"}, "", {"", "*.a"}},
  };
  for (const TRow& row : rows) {
    THistory history = row.before;
    UpdateMaskHistory(history, row.mask);
    EXPECT_EQ(history, row.after) << row.name;
  }
}

// The program's settings store over `text` as quillex.ini, loaded.
ToxRegVal StoreOver(const test::TTempDir& dir, const std::string& text, test::TRecordingMessages& messages) {
  dir.WriteFile(kSettingsFileName, text);
  ToxRegVal ini = CreateAppSettings(messages, dir.Path());
  ini.Load();
  return ini;
}

TEST(UMaskHistoryTest, LoadingPassesOverEmptyKeysAndRepeats) {
  struct TRow {
    const char* name;
    const char* saved;
    THistory history;
  };
  const TRow rows[] = {
      {"nothing saved", "", {}},
      {"in order", "filemask0=a\nfilemask1=b\n", {"a", "b"}},
      {"gaps close up", "filemask0=\nfilemask1=a\nfilemask4=b\n", {"a", "b"}},
      {"an entry met again", "filemask0=a\nfilemask1=b\nfilemask2=a\nfilemask3=b\n", {"a", "b"}},
      {"letter case counts", "filemask0=a\nfilemask1=A\n", {"a", "A"}},
      {"a key past ten is no entry", "filemask10=z\n", {}},
  };
  for (const TRow& row : rows) {
    test::TTempDir dir;
    test::TRecordingMessages messages;
    const ToxRegVal ini = StoreOver(dir, std::string("[Strings]\n") + row.saved, messages);
    EXPECT_EQ(LoadMaskHistory(ini), row.history) << row.name;
  }
}

// Whatever the keys held before, a saved history reads back as it was, the keys after it
// are empty, and every other line of the file stays.
TEST(UMaskHistoryTest, ASavedHistoryComesBackAsItWasAndNothingElse) {
  std::mt19937 random(20261207);
  const THistory pool = Masks(0, 14);
  const auto pick = [&](std::size_t size) { return std::uniform_int_distribution<std::size_t>(0, size - 1)(random); };
  const std::string otherLines = "; kept\n[Other]\nkey=value\n";
  for (int round = 0; round < 60; ++round) {
    std::string before = otherLines + "[Strings]\n";
    for (std::size_t n = 0; n < kMaskHistorySize + 2; ++n) {
      if (pick(2) == 0) before += "filemask" + std::to_string(n) + "=" + pool[pick(pool.size())] + "\n";
    }
    THistory history = pool;
    std::shuffle(history.begin(), history.end(), random);
    history.resize(pick(kMaskHistorySize + 1));

    test::TTempDir dir;
    test::TRecordingMessages messages;
    ToxRegVal ini = StoreOver(dir, before, messages);
    SaveMaskHistory(ini, history);
    ini.Save();
    ToxRegVal reloaded = CreateAppSettings(messages, dir.Path());
    reloaded.Load();
    EXPECT_EQ(LoadMaskHistory(reloaded), history) << before;
    for (std::size_t n = history.size(); n < kMaskHistorySize; ++n) {
      EXPECT_EQ(reloaded.GetString("filemask" + std::to_string(n)), "") << before;
    }
    EXPECT_TRUE(ReadWholeFile(dir / kSettingsFileName).starts_with(otherLines)) << before;
  }
}

}  // namespace
}  // namespace qx
