// SPDX-License-Identifier: GPL-3.0-or-later
// Turns a parsed expression into the matcher's program and works out what the search
// may skip. It raises no errors and does not match.
#pragma once

#include "regex/detail/URegexAst.h"
#include "regex/detail/URegexProgram.h"

namespace qx::detail {

TProgram CompileExpression(TAst ast);

}  // namespace qx::detail
