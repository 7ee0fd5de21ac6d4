// A system-call seam that fails one chosen call with a chosen errno, optionally only
// after a number of successful calls, so tests can break an operation part-way.
#pragma once

#include <cerrno>
#include <string>

#include "platform/USysCalls.h"

namespace qx::test {

enum class TCall { Open, Write, Fsync, Close, Rename, Unlink, Mkdir };

class TFaultySysCalls : public sys::TSysCalls {
 public:
  TFaultySysCalls(TCall call, int error, int succeedFirst = 0) : m_call(call), m_error(error), m_left(succeedFirst) {}

  int OpenAt(int dirFd, const char* path, int flags, mode_t mode) override {
    return Fails(TCall::Open) ? -1 : TSysCalls::OpenAt(dirFd, path, flags, mode);
  }
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    // A write that fails part-way has usually written something first.
    if (Fails(TCall::Write)) return -1;
    return TSysCalls::Write(fd, data, m_call == TCall::Write && size > 1 ? size / 2 : size);
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
    return Fails(TCall::Rename) ? -1 : TSysCalls::RenameAt2(oldDir, oldName, newDir, newName, flags);
  }
  int UnlinkAt(int dirFd, const char* path, int flags) override {
    return Fails(TCall::Unlink) ? -1 : TSysCalls::UnlinkAt(dirFd, path, flags);
  }
  int MkdirAt(int dirFd, const char* path, mode_t mode) override {
    return Fails(TCall::Mkdir) ? -1 : TSysCalls::MkdirAt(dirFd, path, mode);
  }

  int Failures() const { return m_failures; }

 private:
  bool Fails(TCall call) {
    if (call != m_call) return false;
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
  int m_failures = 0;
};

}  // namespace qx::test
