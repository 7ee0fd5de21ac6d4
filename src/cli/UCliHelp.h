// SPDX-License-Identifier: GPL-3.0-or-later
// The help of quillex-cli and of each of its commands, as printed by --help. Written
// for people, within 80 columns; the manual page and the shell completions are checked
// against these texts.
#pragma once

#include <string>
#include <string_view>

namespace qx::cli {

// The help of `command`, or of the program for "". Nothing for an unknown command.
std::string HelpText(std::string_view command);

}  // namespace qx::cli
