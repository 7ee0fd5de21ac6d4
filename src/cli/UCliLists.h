// SPDX-License-Identifier: GPL-3.0-or-later
// quillex-cli apply and edit: renames the user names one by one, from a list kept in a
// spreadsheet or in their own editor, made through the same run as any other (chains,
// swaps and cycles solved, undo files, a simulation that predicts the real run).
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/UCliRun.h"

namespace qx::cli {

class TTerminalMessages;

// apply LIST: the renames `text` lists, made at once (predicted with a simulation). Its
// old paths start in the list's folder (`list`; "-" is the standard input, whose paths
// start in the working directory). A list with a problem renames nothing. Returns an
// exit status.
int ApplyList(const std::string& list, std::string_view text, TRunRequest request, TTerminalMessages& messages,
              std::ostream& out, std::ostream& err);

// edit PATH...: the entries of each folder among `paths` that the mask takes, and each
// other entry named, one a line in `editor`; what the user changed is renamed once the
// editor ends. A line deleted, a number repeated, a name given twice or one the run
// refuses opens the editor again with the problems on top; quitting the editor with an
// error, or leaving the text as it was, renames nothing. With `confirm`, asks first.
// Returns an exit status.
int EditNames(const std::vector<std::string>& paths, TRunRequest request, const std::string& editor, bool confirm,
              TTerminalMessages& messages, std::ostream& out, std::ostream& err);

}  // namespace qx::cli
