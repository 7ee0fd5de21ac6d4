// SPDX-License-Identifier: GPL-3.0-or-later
// The one seam through which Quillex makes system calls. The default object calls
// the kernel; a test installs a subclass that fails chosen calls (EACCES, ENOSPC,
// EEXIST ...) to prove that every failure path keeps the user's files intact.
#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>

namespace qx::sys {

class TSysCalls {
 public:
  virtual ~TSysCalls() = default;
  // Each returns what the system call returns and leaves errno set on failure.
  virtual int OpenAt(int dirFd, const char* path, int flags, mode_t mode);
  virtual ssize_t Read(int fd, void* data, std::size_t size);
  virtual ssize_t PRead(int fd, void* data, std::size_t size, off_t offset);
  virtual ssize_t Write(int fd, const void* data, std::size_t size);
  virtual int Fsync(int fd);
  virtual int Close(int fd);
  virtual int Fchmod(int fd, mode_t mode);
  virtual int FstatAt(int dirFd, const char* path, struct stat* st, int flags);
  virtual int RenameAt2(int oldDir, const char* oldName, int newDir, const char* newName, unsigned flags);
  virtual int UnlinkAt(int dirFd, const char* path, int flags);
  virtual int MkdirAt(int dirFd, const char* path, mode_t mode);
  virtual int Ftruncate(int fd, off_t length);
  virtual int Dup(int fd);
  virtual DIR* FdOpenDir(int fd);
  virtual struct dirent* ReadDir(DIR* dir);
  virtual int CloseDir(DIR* dir);
};

// The seam in force.
TSysCalls& Sys();

// Puts `calls` in force for the lifetime of this object (tests only).
class TScopedSysCalls {
 public:
  explicit TScopedSysCalls(TSysCalls& calls);
  ~TScopedSysCalls();
  TScopedSysCalls(const TScopedSysCalls&) = delete;
  TScopedSysCalls& operator=(const TScopedSysCalls&) = delete;

 private:
  TSysCalls* m_previous;
};

}  // namespace qx::sys
