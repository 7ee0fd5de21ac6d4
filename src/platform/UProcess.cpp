// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UProcess.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/USystemError.h"

namespace qx {

std::string CurrentDirectory() {
  // Asking for an allocated buffer sets no limit on the path's length.
  const std::unique_ptr<char, decltype(&std::free)> path(::getcwd(nullptr, 0), &std::free);
  if (!path) throw TSystemError("Cannot tell the working directory", "", errno);
  return path.get();
}

bool IsTerminal(int fd) { return ::isatty(fd) == 1; }

}  // namespace qx
