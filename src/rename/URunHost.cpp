// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/URunHost.h"

#include "platform/UDirectory.h"

namespace qx {

const std::string& TFolderPath::Text() const {
  if (!m_text) m_text = m_directory.Path();
  return *m_text;
}

}  // namespace qx
