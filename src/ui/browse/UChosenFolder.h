// SPDX-License-Identifier: GPL-3.0-or-later
// The starting folder the user chose: its path as bytes, and the folder itself held
// open. Held open, its inode number cannot pass to a folder created after it is
// deleted, so device and inode tell it from any other folder later found at the path.
#pragma once

#include <optional>
#include <string>

#include "platform/UDirectory.h"
#include "platform/UFileStatus.h"

namespace qx {

class TChosenFolder {
 public:
  // Takes the folder at `path`: a relative path counts from the working directory,
  // links, "." and ".." are resolved. False when it is no folder that can be opened;
  // the choice then stays as it was.
  bool Choose(const std::string& path);
  // The chosen folder's path, without a trailing '/' ("/" for the root); "" when none.
  const std::string& Path() const { return m_path; }
  // Whether Path() still names the chosen folder; false when none is chosen.
  bool StillThere() const;
  void Clear();

 private:
  std::string m_path;
  std::optional<TDirectory> m_folder;
  TFileStatus m_identity;
};

}  // namespace qx
