// SPDX-License-Identifier: GPL-3.0-or-later
// File masks as the directory search understands them: '*' any run of characters
// (dots included, possibly none), '?' one character, letters equal whatever their
// case, and "*.*" every name. A mask is one pattern: ';' or ',' are plain characters.
#pragma once

#include <string_view>

namespace qx {

bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace qx
