// The error every failed system call becomes: it keeps errno and the path, and its
// text reads "<what> <path>: <reason>".
#pragma once

#include <stdexcept>
#include <string>

namespace qx {

class TSystemError : public std::runtime_error {
 public:
  TSystemError(const std::string& what, const std::string& path, int error);
  int Errno() const { return m_errno; }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
  int m_errno;
};

}  // namespace qx
