// SPDX-License-Identifier: GPL-3.0-or-later
// Entry dates and run time stamps as the log shows them, and dates broken down for
// names.
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace qx {

// A moment as a clock on the wall shows it, in local time.
struct TLocalDateTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool operator==(const TLocalDateTime&) const = default;
};

// A date, or why there is none, as one clause a message can carry.
struct TDateOrReason {
  std::optional<TLocalDateTime> date;
  std::string whyNone;  // empty with a date
};

// `time` in the local time zone; nothing when the system cannot convert it or its year
// lies outside 1 to 9999, which a name's four-digit year cannot show.
std::optional<TLocalDateTime> LocalDateTime(std::time_t time);

// Days since 30 December 1899, the time of day as the fraction, in local time and
// rounded down to an even second, the resolution directory listings have always had.
double EntryDateFromFileTime(std::time_t time);

// "dd/mm/yyyy hh:nn", e.g. "05/03/2004 09:07".
std::string FormatEntryDate(double date);

// The moment in the user's locale: its short date, a blank, its long time.
std::string FormatLocalDateTime(std::time_t time);

}  // namespace qx
