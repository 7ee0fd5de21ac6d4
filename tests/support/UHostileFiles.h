// SPDX-License-Identifier: GPL-3.0-or-later
// What another user, a stray script or a broken disk can leave where Quillex expects
// one of its own files: the cases every reader of such a file must survive.
#pragma once

#include <string>
#include <vector>

namespace qx::test {

struct THostileFile {
  const char* what;
  // Puts the entry at the path.
  void (*make)(const std::string& path);
  // What the refusal says, for the entries that are refused before reading.
  const char* reason;
};

// A FIFO, a link to a device, a folder, a sparse file of 20 MiB, 256 KiB of random bytes,
// one line of 900 KB, and 20,000 repeated sections and keys. The first four are refused
// before reading (`reason` non-empty); the others are read and make little sense.
const std::vector<THostileFile>& HostileFiles();

}  // namespace qx::test
