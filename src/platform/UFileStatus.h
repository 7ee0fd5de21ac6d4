// SPDX-License-Identifier: GPL-3.0-or-later
// Which file an entry is, with its size and times, as the folder views need them to
// tell a folder from another one under the same name and to notice changes. Read
// through the core's system-call seam; the walk of a run does not use this.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

namespace qx {

struct TFileStatus {
  dev_t device = 0;
  ino_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedSeconds = 0;
  // Modification and status-change times in nanoseconds: a folder whose times are
  // unchanged holds the same names.
  std::int64_t modifiedNs = 0;
  std::int64_t changedNs = 0;
  bool isDirectory = false;  // a link to a directory is not one

  bool IsSameFile(const TFileStatus& other) const { return device == other.device && inode == other.inode; }
  bool operator==(const TFileStatus& other) const = default;
};

// The entry `name` relative to the folder open as `dirFd` (AT_FDCWD for a path), a
// symbolic link itself rather than what it points to; nothing when it cannot be read.
// For stamps and columns only, where an entry that cannot be read shows as changed or
// blank and is read again at the next look: a caller that reports why uses ReadStatus.
std::optional<TFileStatus> StatusOf(int dirFd, const std::string& name);
// The file or folder open as `fd`, even when no name leads to it any more; nothing when
// fstat fails, which on a descriptor the caller holds open it does not.
std::optional<TFileStatus> StatusOfHandle(int fd);
// StatusOf for a caller that reports why it cannot be read: throws TSystemError.
TFileStatus ReadStatus(int dirFd, const std::string& name);

}  // namespace qx
