// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UDateTime.h"

#include <locale.h>

#include <cmath>
#include <cstdio>

namespace qx {

namespace {

constexpr double kSecondsPerDay = 86400.0;

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
long long DaysFromCivil(long long year, unsigned month, unsigned day) {
  year -= month <= 2;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

const long long kEpochOffset = DaysFromCivil(1899, 12, 30);

}  // namespace

std::optional<TLocalDateTime> LocalDateTime(std::time_t time) {
  struct tm local;
  if (localtime_r(&time, &local) == nullptr || local.tm_year + 1900LL < 1 || local.tm_year + 1900LL > 9999) {
    return std::nullopt;
  }
  return TLocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                        local.tm_hour,        local.tm_min,     local.tm_sec};
}

double EntryDateFromFileTime(std::time_t time) {
  struct tm local;
  if (localtime_r(&time, &local) == nullptr) return 0;
  const long long days = DaysFromCivil(local.tm_year + 1900LL, static_cast<unsigned>(local.tm_mon + 1),
                                       static_cast<unsigned>(local.tm_mday)) -
                         kEpochOffset;
  const int seconds = local.tm_hour * 3600 + local.tm_min * 60 + (local.tm_sec & ~1);
  return static_cast<double>(days) + seconds / kSecondsPerDay;
}

std::string FormatEntryDate(double date) {
  const double dayPart = std::floor(date);
  const auto seconds = static_cast<long long>(std::llround((date - dayPart) * kSecondsPerDay));
  // Back from days to a civil date, the inverse of DaysFromCivil.
  long long z = static_cast<long long>(dayPart) + kEpochOffset + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(z - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  const long long year = static_cast<long long>(yearOfEra) + era * 400 + (month <= 2);

  char text[64];
  std::snprintf(text, sizeof text, "%02u/%02u/%04lld %02lld:%02lld", day, month, year, seconds / 3600,
                (seconds / 60) % 60);
  return text;
}

std::string FormatLocalDateTime(std::time_t time) {
  struct tm local;
  if (localtime_r(&time, &local) == nullptr) return "";
  // The user's time conventions, without changing the program's global locale.
  locale_t userLocale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
  char text[128];
  const std::size_t length = userLocale ? strftime_l(text, sizeof text, "%x %X", &local, userLocale)
                                        : strftime(text, sizeof text, "%x %X", &local);
  if (userLocale) freelocale(userLocale);
  return std::string(text, length);
}

}  // namespace qx
