// SPDX-License-Identifier: GPL-3.0-or-later
// An owned file descriptor, closed through the system-call seam when it goes.
#pragma once

#include <utility>

namespace qx {

class TFileDescriptor {
 public:
  TFileDescriptor() = default;
  explicit TFileDescriptor(int fd) : m_fd(fd) {}
  TFileDescriptor(TFileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
  TFileDescriptor& operator=(TFileDescriptor&& other) noexcept;
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(const TFileDescriptor&) = delete;
  ~TFileDescriptor();

  int Get() const { return m_fd; }
  bool IsOpen() const { return m_fd >= 0; }
  // Closes now and returns the close call's result (0, or -1 with errno set).
  int Close();

 private:
  int m_fd = -1;
};

}  // namespace qx
