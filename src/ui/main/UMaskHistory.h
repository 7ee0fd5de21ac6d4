// SPDX-License-Identifier: GPL-3.0-or-later
// The file-mask history of the main window's mask box, as plain text: the most recent
// mask first, at most ten, no entry twice; and how it is kept in the settings. No Qt, so
// it is tested on its own.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "settings/UToxRegVal.h"

namespace qx {

inline constexpr std::size_t kMaskHistorySize = 10;

// Moves `mask` to the top when an entry equals it exactly (letter case counts), or puts
// it on top and drops the oldest entries beyond ten. An empty mask is a mask like any other.
void UpdateMaskHistory(std::vector<std::string>& history, const std::string& mask);

// The history saved in the string keys filemask0 to filemask9, in that order. An empty
// key is no entry, and an entry met again is passed over.
std::vector<std::string> LoadMaskHistory(const ToxRegVal& ini);

// Sets filemask0 onwards to the first ten entries and every key after the last entry to
// "", so that nothing saved before can come back as a stale entry. Memory only; the
// store's Save writes.
void SaveMaskHistory(ToxRegVal& ini, const std::vector<std::string>& history);

}  // namespace qx
