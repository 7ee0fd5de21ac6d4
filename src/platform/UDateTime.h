// Entry dates and run time stamps as the log shows them.
#pragma once

#include <ctime>
#include <string>

namespace qx {

// Days since 30 December 1899, the time of day as the fraction, in local time and
// rounded down to an even second, the resolution directory listings have always had.
double EntryDateFromFileTime(std::time_t time);

// "dd/mm/yyyy hh:nn", e.g. "05/03/2004 09:07".
std::string FormatEntryDate(double date);

// The moment in the user's locale: its short date, a blank, its long time.
std::string FormatLocalDateTime(std::time_t time);

}  // namespace qx
