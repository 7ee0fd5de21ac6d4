// quillex-cli: the jobs, tests and runs of the desktop program from a terminal.
// Exit status: 0 success, 1 a failure was reported, 2 wrong usage.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace qx::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Runs one command line; `args` excludes the program name. Arguments are taken byte
// for byte. Everything the command prints goes to `out` and `err`.
int RunQuillexCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace qx::cli
