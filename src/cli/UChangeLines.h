// SPDX-License-Identifier: GPL-3.0-or-later
// What a run changes, for people: one line per entry it renames or fails to rename,
// "old -> new", the paths below the run's folder. On a terminal with colour, the part of
// the name that changes stands out: red in the old name, green in the new.
#pragma once

#include <ios>
#include <string>
#include <string_view>

#include "rename/URunHost.h"

namespace qx::cli {

// Appends the entry's line to `lines`; nothing for an entry that keeps its name.
// `base` is the run's folder; `stream` is where the lines go, whose terminal decides
// how control characters show.
void AppendChangeLine(std::string& lines, const TEntryOutcome& outcome, std::string_view base, bool colour,
                      std::ios_base& stream);

}  // namespace qx::cli
