// quillex-cli: see UCliApp.h.
#include <iostream>

#include "cli/UCliApp.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return qx::cli::RunQuillexCli(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr);
}
