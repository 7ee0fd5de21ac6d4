// The file-mask history of the main window's mask box, as plain text: the most recent
// mask first, at most ten, no entry twice. No Qt, so it is tested on its own.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qx {

inline constexpr std::size_t kMaskHistorySize = 10;

// Moves `mask` to the top when an entry equals it exactly (letter case counts), or puts
// it on top and drops the oldest entries beyond ten. An empty mask is a mask like any other.
void UpdateMaskHistory(std::vector<std::string>& history, const std::string& mask);

}  // namespace qx
