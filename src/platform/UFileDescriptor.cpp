// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UFileDescriptor.h"

#include "platform/USysCalls.h"

namespace qx {

TFileDescriptor& TFileDescriptor::operator=(TFileDescriptor&& other) noexcept {
  if (this != &other) {
    Close();
    m_fd = std::exchange(other.m_fd, -1);
  }
  return *this;
}

TFileDescriptor::~TFileDescriptor() { Close(); }

int TFileDescriptor::Close() {
  if (m_fd < 0) return 0;
  return sys::Sys().Close(std::exchange(m_fd, -1));
}

}  // namespace qx
