// SPDX-License-Identifier: GPL-3.0-or-later
// quillex-cli: see UCliApp.h.
#include <unistd.h>

#include <iostream>

#include "cli/UCliApp.h"
#include "platform/UDirectory.h"
#include "platform/UFiles.h"
#include "platform/UProcess.h"
#include "platform/USystemError.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  qx::RaiseOpenFileLimit();
  const qx::cli::TStreams streams{qx::IsTerminal(STDIN_FILENO), qx::IsTerminal(STDOUT_FILENO),
                                  qx::IsTerminal(STDERR_FILENO)};
  qx::TAppendStream out(STDOUT_FILENO, "the standard output");
  int status =
      qx::cli::RunQuillexCli(std::vector<std::string>(argv + 1, argv + argc), std::cin, out, std::cerr, streams);
  // Output lost to a full disk or a closed file is a failure, never a silent success.
  try {
    out.Finish();
  } catch (const qx::TSystemError& error) {
    std::cerr << "quillex-cli: " << error.what() << '\n';
    if (status == qx::cli::kExitOk) status = qx::cli::kExitFailure;
  }
  std::cerr.flush();
  if (!std::cerr && status == qx::cli::kExitOk) status = qx::cli::kExitFailure;
  return status;
}
