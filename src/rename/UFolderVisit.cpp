// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UFolderVisit.h"

namespace qx {

void TFolderVisit::LogDescent(TRunOutput& to, std::size_t i) const {
  const std::string_view newName = directoryNewNames.empty() ? "" : SubdirectoryName(i);
  LogLine(to, depth, "+ Recursing into ", names.View(directories.Name(i)), " (", newName, ")");
}

}  // namespace qx
