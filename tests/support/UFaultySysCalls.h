// SPDX-License-Identifier: GPL-3.0-or-later
// System-call seams that fail one chosen call with a chosen errno, so tests can break
// an operation part-way: a call of one kind after a number of successful ones, or
// whichever call comes Nth.
#pragma once

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "platform/USysCalls.h"

namespace qx::test {

enum class TCall { Open, Write, Fsync, Close, Rename, Unlink, Mkdir, ReadDir };

class TFaultySysCalls : public sys::TSysCalls {
 public:
  // Fails `call` with `error` after `succeedFirst` successful ones; with `pathPart`, only
  // calls whose path (either name, for a rename; the folder's path, for a readdir)
  // contains it count.
  TFaultySysCalls(TCall call, int error, int succeedFirst = 0, std::string pathPart = "")
      : m_call(call), m_error(error), m_left(succeedFirst), m_pathPart(std::move(pathPart)) {}

  int OpenAt(int dirFd, const char* path, int flags, mode_t mode) override {
    return Fails(TCall::Open, path) ? -1 : TSysCalls::OpenAt(dirFd, path, flags, mode);
  }
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    if (m_call != TCall::Write || m_left > 0) {
      if (m_call == TCall::Write) --m_left;
      return TSysCalls::Write(fd, data, size);
    }
    // A disk that fills up takes part of the write first, then refuses the rest.
    if (!m_partialWritten && size > 1) {
      m_partialWritten = true;
      return TSysCalls::Write(fd, data, size / 2);
    }
    ++m_failures;
    errno = m_error;
    return -1;
  }
  int Fsync(int fd) override { return Fails(TCall::Fsync) ? -1 : TSysCalls::Fsync(fd); }
  int Close(int fd) override {
    if (Fails(TCall::Close)) {
      TSysCalls::Close(fd);
      errno = m_error;
      return -1;
    }
    return TSysCalls::Close(fd);
  }
  int RenameAt2(int oldDir, const char* oldName, int newDir, const char* newName, unsigned flags) override {
    return Fails(TCall::Rename, oldName, newName) ? -1 : TSysCalls::RenameAt2(oldDir, oldName, newDir, newName, flags);
  }
  int UnlinkAt(int dirFd, const char* path, int flags) override {
    return Fails(TCall::Unlink, path) ? -1 : TSysCalls::UnlinkAt(dirFd, path, flags);
  }
  int MkdirAt(int dirFd, const char* path, mode_t mode) override {
    return Fails(TCall::Mkdir, path) ? -1 : TSysCalls::MkdirAt(dirFd, path, mode);
  }

  struct dirent* ReadDir(DIR* dir) override {
    if (Fails(TCall::ReadDir, m_pathPart.empty() ? nullptr : FolderPath(dir).c_str())) return nullptr;
    return TSysCalls::ReadDir(dir);
  }

  int Failures() const { return m_failures; }

 private:
  // Leaves errno alone: a listing tells its end from a failure by errno.
  static std::string FolderPath(DIR* dir) {
    const int savedErrno = errno;
    char path[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(dirfd(dir));
    const ssize_t size = readlink(link.c_str(), path, sizeof path);
    errno = savedErrno;
    return size > 0 ? std::string(path, static_cast<std::size_t>(size)) : std::string();
  }
  bool Fails(TCall call, const char* path = nullptr, const char* otherPath = nullptr) {
    if (call != m_call) return false;
    const auto mentions = [this](const char* p) {
      return p != nullptr && std::string(p).find(m_pathPart) != std::string::npos;
    };
    if (!m_pathPart.empty() && !mentions(path) && !mentions(otherPath)) return false;
    if (m_left > 0) {
      --m_left;
      return false;
    }
    ++m_failures;
    errno = m_error;
    return true;
  }

  TCall m_call;
  int m_error;
  int m_left;
  std::string m_pathPart;
  int m_failures = 0;
  bool m_partialWritten = false;
};

// Fails the call numbered `failAt` (from 0, whatever its kind, on whichever thread makes
// it) with EIO, and counts every call.
class TFailNthCall : public sys::TSysCalls {
 public:
  explicit TFailNthCall(long failAt) : m_failAt(failAt) {}
  long Calls() const { return m_calls; }

  int OpenAt(int dirFd, const char* path, int flags, mode_t mode) override {
    return Fails() ? -1 : TSysCalls::OpenAt(dirFd, path, flags, mode);
  }
  ssize_t Read(int fd, void* data, std::size_t size) override { return Fails() ? -1 : TSysCalls::Read(fd, data, size); }
  ssize_t PRead(int fd, void* data, std::size_t size, off_t offset) override {
    return Fails() ? -1 : TSysCalls::PRead(fd, data, size, offset);
  }
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    return Fails() ? -1 : TSysCalls::Write(fd, data, size);
  }
  int Fsync(int fd) override { return Fails() ? -1 : TSysCalls::Fsync(fd); }
  // A close that reports a failure has still closed the descriptor, as the kernel's does.
  int Close(int fd) override {
    const bool fails = Fails();
    const int result = TSysCalls::Close(fd);
    return fails ? (errno = EIO, -1) : result;
  }
  int Fchmod(int fd, mode_t mode) override { return Fails() ? -1 : TSysCalls::Fchmod(fd, mode); }
  int FstatAt(int dirFd, const char* path, struct stat* st, int flags) override {
    return Fails() ? -1 : TSysCalls::FstatAt(dirFd, path, st, flags);
  }
  int RenameAt2(int oldDir, const char* oldName, int newDir, const char* newName, unsigned flags) override {
    return Fails() ? -1 : TSysCalls::RenameAt2(oldDir, oldName, newDir, newName, flags);
  }
  int UnlinkAt(int dirFd, const char* path, int flags) override {
    return Fails() ? -1 : TSysCalls::UnlinkAt(dirFd, path, flags);
  }
  int Ftruncate(int fd, off_t length) override { return Fails() ? -1 : TSysCalls::Ftruncate(fd, length); }
  int Dup(int fd) override { return Fails() ? -1 : TSysCalls::Dup(fd); }
  DIR* FdOpenDir(int fd) override { return Fails() ? nullptr : TSysCalls::FdOpenDir(fd); }
  struct dirent* ReadDir(DIR* dir) override {
    return Fails() ? nullptr : TSysCalls::ReadDir(dir);
  }

 private:
  bool Fails() {
    if (m_calls++ != m_failAt) return false;
    errno = EIO;
    return true;
  }
  const long m_failAt;
  std::atomic<long> m_calls = 0;
};

}  // namespace qx::test
