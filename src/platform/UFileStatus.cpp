// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UFileStatus.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>

#include "platform/USysCalls.h"
#include "platform/USystemError.h"

namespace qx {

namespace {

constexpr std::int64_t kNsPerSecond = 1'000'000'000;

// A time in nanoseconds, held at the ends of the 64-bit range: a file may carry any
// time its file system can store, beyond the year 2262 too.
std::int64_t Nanoseconds(const struct timespec& time) {
  constexpr std::int64_t kMostSeconds = INT64_MAX / kNsPerSecond - 1;
  if (time.tv_sec > kMostSeconds) return INT64_MAX;
  if (time.tv_sec < -kMostSeconds) return INT64_MIN;
  return time.tv_sec * kNsPerSecond + time.tv_nsec;
}

std::optional<TFileStatus> Read(int dirFd, const char* name, int flags) {
  struct stat st;
  if (sys::Sys().FstatAt(dirFd, name, &st, flags) != 0) return std::nullopt;
  TFileStatus status;
  status.device = st.st_dev;
  status.inode = st.st_ino;
  status.size = static_cast<std::uint64_t>(st.st_size);
  status.modifiedSeconds = st.st_mtim.tv_sec;
  status.modifiedNs = Nanoseconds(st.st_mtim);
  status.changedNs = Nanoseconds(st.st_ctim);
  status.isDirectory = S_ISDIR(st.st_mode);
  return status;
}

}  // namespace

std::optional<TFileStatus> StatusOf(int dirFd, const std::string& name) {
  return Read(dirFd, name.c_str(), AT_SYMLINK_NOFOLLOW);
}

std::optional<TFileStatus> StatusOfHandle(int fd) { return Read(fd, "", AT_EMPTY_PATH); }

TFileStatus ReadStatus(int dirFd, const std::string& name) {
  if (auto status = Read(dirFd, name.c_str(), AT_SYMLINK_NOFOLLOW)) return *status;
  throw TSystemError("Cannot read", name, errno);
}

}  // namespace qx
