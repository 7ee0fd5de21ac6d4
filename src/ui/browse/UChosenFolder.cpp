// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/browse/UChosenFolder.h"

#include <fcntl.h>

#include "platform/UFiles.h"
#include "platform/USystemError.h"

namespace qx {

bool TChosenFolder::Choose(const std::string& path) {
  if (path.empty()) return false;
  // The folder tree shows no links, so the path it can open down to has none.
  const std::optional<std::string> resolved = ResolvedPath(path);
  if (!resolved) return false;
  try {
    TDirectory folder = TDirectory::Open(*resolved);
    const TFileStatus identity = folder.Status();
    m_path = *resolved;
    m_folder = std::move(folder);
    m_identity = identity;
    return true;
  } catch (const TSystemError&) {
    return false;
  }
}

bool TChosenFolder::StillThere() const {
  if (!m_folder) return false;
  const std::optional<TFileStatus> now = StatusOf(AT_FDCWD, m_path);
  return now && now->IsSameFile(m_identity);
}

void TChosenFolder::Clear() {
  m_path.clear();
  m_folder.reset();
}

}  // namespace qx
