// SPDX-License-Identifier: GPL-3.0-or-later
// Parses an expression (code points) into a tree, applying the (?...) switches as they
// come. Raises the compile errors with their positions; it does not compile or match.
#pragma once

#include <string_view>

#include "regex/detail/URegexAst.h"

namespace qx::detail {

TAst ParseExpression(std::u32string_view expression);

}  // namespace qx::detail
