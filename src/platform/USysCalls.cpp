// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/USysCalls.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace qx::sys {

namespace {

TSysCalls g_kernel;
TSysCalls* g_current = &g_kernel;

}  // namespace

int TSysCalls::OpenAt(int dirFd, const char* path, int flags, mode_t mode) {
  return ::openat(dirFd, path, flags, mode);
}
ssize_t TSysCalls::Read(int fd, void* data, std::size_t size) { return ::read(fd, data, size); }
ssize_t TSysCalls::PRead(int fd, void* data, std::size_t size, off_t offset) { return ::pread(fd, data, size, offset); }
ssize_t TSysCalls::Write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int TSysCalls::Fsync(int fd) { return ::fsync(fd); }
int TSysCalls::Close(int fd) { return ::close(fd); }
int TSysCalls::Fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }
int TSysCalls::FstatAt(int dirFd, const char* path, struct stat* st, int flags) {
  return ::fstatat(dirFd, path, st, flags);
}
int TSysCalls::RenameAt2(int oldDir, const char* oldName, int newDir, const char* newName, unsigned flags) {
  return ::renameat2(oldDir, oldName, newDir, newName, flags);
}
int TSysCalls::UnlinkAt(int dirFd, const char* path, int flags) { return ::unlinkat(dirFd, path, flags); }
int TSysCalls::MkdirAt(int dirFd, const char* path, mode_t mode) { return ::mkdirat(dirFd, path, mode); }
int TSysCalls::Ftruncate(int fd, off_t length) { return ::ftruncate(fd, length); }
int TSysCalls::Dup(int fd) { return ::fcntl(fd, F_DUPFD_CLOEXEC, 0); }
DIR* TSysCalls::FdOpenDir(int fd) { return ::fdopendir(fd); }
struct dirent* TSysCalls::ReadDir(DIR* dir) {
  return ::readdir(dir);
}
int TSysCalls::CloseDir(DIR* dir) { return ::closedir(dir); }

TSysCalls& Sys() { return *g_current; }

TScopedSysCalls::TScopedSysCalls(TSysCalls& calls) : m_previous(g_current) { g_current = &calls; }
TScopedSysCalls::~TScopedSysCalls() { g_current = m_previous; }

}  // namespace qx::sys
