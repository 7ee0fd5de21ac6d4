// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/USystemError.h"

#include <cstring>

namespace qx {

TSystemError::TSystemError(const std::string& what, const std::string& path, int error)
    : TSystemError(what, path, error, ErrorText(error)) {}

TSystemError::TSystemError(const std::string& what, const std::string& path, int error, const std::string& reason)
    : std::runtime_error(what + " " + path + ": " + reason), m_path(path), m_reason(reason), m_errno(error) {}

std::string ErrorText(int error) { return std::strerror(error); }

}  // namespace qx
