// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/URunHost.h"

#include "platform/UDirectory.h"

namespace qx {

const std::string& TFolderPath::Text() const {
  if (!m_text) m_text = m_directory.Path();
  return *m_text;
}

std::string TFolderPath::PathOf(std::string_view name) const { return m_directory.PathOf(std::string(name)); }

}  // namespace qx
