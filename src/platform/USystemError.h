// SPDX-License-Identifier: GPL-3.0-or-later
// The error every failed system call becomes: it keeps errno, the path and the reason,
// and its text reads "<what> <path>: <reason>". The reason is the system's text for the
// errno unless the platform layer refused the call itself and says why.
#pragma once

#include <stdexcept>
#include <string>

namespace qx {

class TSystemError : public std::runtime_error {
 public:
  TSystemError(const std::string& what, const std::string& path, int error);
  TSystemError(const std::string& what, const std::string& path, int error, const std::string& reason);
  int Errno() const { return m_errno; }
  const std::string& Path() const { return m_path; }
  const std::string& Reason() const { return m_reason; }

 private:
  std::string m_path;
  std::string m_reason;
  int m_errno;
};

// The system's text for an errno.
std::string ErrorText(int error);

}  // namespace qx
