#include "platform/USystemError.h"

#include <cstring>

namespace qx {

TSystemError::TSystemError(const std::string& what, const std::string& path, int error)
    : std::runtime_error(what + " " + path + ": " + std::strerror(error)), m_path(path), m_errno(error) {}

}  // namespace qx
