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

// Runs one command line; `args` excludes the program name and is taken byte for byte.
// Questions are read from `in`; `inputIsTerminal` says whether a person can answer them.
int RunQuillexCli(const std::vector<std::string>& args, std::istream& in, bool inputIsTerminal, std::ostream& out,
                  std::ostream& err);

}  // namespace qx::cli
