// SPDX-License-Identifier: GPL-3.0-or-later
// Facts about the running process: its working directory and which of its streams are
// terminals. It changes nothing about the process.
#pragma once

#include <string>

namespace qx {

// The working directory as the system names it: absolute, without symbolic links.
// Throws TSystemError when it cannot be told (it was removed, or is out of reach).
std::string CurrentDirectory();

// True when the file descriptor `fd` is a terminal.
bool IsTerminal(int fd);

}  // namespace qx
