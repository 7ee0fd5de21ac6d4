// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/UDateTime.h"

namespace qx {
namespace {

TEST(UDateTimeTest, EntryDatesCountDaysFrom1899AndKeepEvenSeconds) {
  setenv("TZ", "UTC", 1);
  tzset();
  struct Row {
    std::time_t time;
    double days;
    const char* text;
  };
  const Row rows[] = {
      {0, 25569.0, "01/01/1970 00:00"},
      {1078477620, 38051.0 + (9 * 3600 + 7 * 60) / 86400.0, "05/03/2004 09:07"},
      {1078477621, 38051.0 + (9 * 3600 + 7 * 60) / 86400.0, "05/03/2004 09:07"},  // odd second dropped
      {951868799, 36585.0 + 86398 / 86400.0, "29/02/2000 23:59"},
      {-2209161600, 0.0, "30/12/1899 00:00"},
  };
  for (const Row& row : rows) {
    EXPECT_DOUBLE_EQ(EntryDateFromFileTime(row.time), row.days) << row.text;
    EXPECT_EQ(FormatEntryDate(row.days), row.text);
  }
}

}  // namespace
}  // namespace qx
