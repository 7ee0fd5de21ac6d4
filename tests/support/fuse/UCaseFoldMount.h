// SPDX-License-Identifier: GPL-3.0-or-later
// A case-insensitive folder for one test: quillex-casefold-fs mounted over a backing
// folder, both inside a fresh temporary folder, and unmounted when the object goes,
// whether the test passed or not. It is not a way to mount anything else.
#pragma once

#include <sys/types.h>

#include <string>

#include "support/UTempDir.h"

namespace qx::test {

class TCaseFoldMount {
 public:
  // How the mount compares names: as vfat or an SMB share does, or as a Linux folder with
  // the casefold attribute does (which it says it has).
  enum class TFolding : bool { simpleCase, casefold };

  // Mounts and waits until the file system answers. Where FUSE is missing (no usable
  // /dev/fuse) nothing is mounted and Available() is false; any other failure to mount
  // throws std::runtime_error saying why.
  explicit TCaseFoldMount(TFolding folding = TFolding::simpleCase);
  // Unmounts and waits for the file system to end. One that crashed, failed or had to be
  // killed fails the running test.
  ~TCaseFoldMount();
  TCaseFoldMount(const TCaseFoldMount&) = delete;
  TCaseFoldMount& operator=(const TCaseFoldMount&) = delete;

  bool Available() const { return m_unavailable.empty(); }
  // Why FUSE cannot be used here, for GTEST_SKIP().
  const std::string& Unavailable() const { return m_unavailable; }

  // The mount point, with a trailing '/'.
  const std::string& Path() const { return m_mountPoint; }
  std::string operator/(const std::string& name) const { return m_mountPoint + name; }

 private:
  // "" once the mount answers, else why it did not.
  std::string WaitUntilMounted();
  // Unmounts, ends the file system's process and reaps it; returns what went wrong with
  // it, "" when nothing did.
  std::string Stop();
  bool Unmount(bool lazily) const;

  TTempDir m_root;
  std::string m_backing;
  std::string m_mountPoint;
  std::string m_unavailable;
  pid_t m_pid = -1;
  bool m_mounted = false;
};

}  // namespace qx::test
