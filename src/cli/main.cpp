// quillex-cli: see UCliApp.h.
#include <unistd.h>

#include <iostream>

#include "cli/UCliApp.h"
#include "platform/UDirectory.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  qx::RaiseOpenFileLimit();
  return qx::cli::RunQuillexCli(std::vector<std::string>(argv + 1, argv + argc), std::cin, isatty(STDIN_FILENO) == 1,
                                std::cout, std::cerr);
}
