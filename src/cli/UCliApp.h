// SPDX-License-Identifier: GPL-3.0-or-later
// quillex-cli: the jobs, tests, runs and undo of the desktop program from a terminal,
// sharing its settings file and default job list (read, never written).
// Exit status: 0 success, 1 a failure was reported, 2 wrong usage or nothing to do.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace qx::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Which of the standard streams a person is at.
struct TStreams {
  bool inputIsTerminal = false;   // questions can be answered
  bool outputIsTerminal = false;  // names on stdout are shown escaped
  bool errorIsTerminal = false;   // names on stderr are shown escaped
};

// Runs one command line; `args` excludes the program name and is taken byte for byte.
// Questions are read from `in`. `out` and `err` are marked as terminals or not
// (UTerminalText.h) as `streams` says.
int RunQuillexCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
                  const TStreams& streams);

}  // namespace qx::cli
