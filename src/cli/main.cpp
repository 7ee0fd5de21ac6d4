// SPDX-License-Identifier: GPL-3.0-or-later
// quillex-cli: see UCliApp.h.
#include <unistd.h>

#include <iostream>

#include "cli/UCliApp.h"
#include "platform/UDirectory.h"
#include "platform/UProcess.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  qx::RaiseOpenFileLimit();
  const qx::cli::TStreams streams{qx::IsTerminal(STDIN_FILENO), qx::IsTerminal(STDOUT_FILENO),
                                  qx::IsTerminal(STDERR_FILENO)};
  return qx::cli::RunQuillexCli(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr,
                                streams);
}
