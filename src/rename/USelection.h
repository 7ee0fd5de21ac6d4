// SPDX-License-Identifier: GPL-3.0-or-later
// Entries a user picked by their paths (a file manager's selection, a drop), which the
// desktop program shows and renames instead of a folder's entries. Paths are bytes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "rename/URunOptions.h"

namespace qx {

class TSelection {
 public:
  // Each path made absolute as a run names it (AbsolutePath); one given twice counts once.
  // At least one path.
  explicit TSelection(const std::vector<std::string>& paths);

  const std::vector<std::string>& Paths() const { return m_paths; }
  // The folder that holds every entry, as a run over them names it.
  const std::string& CommonFolder() const { return m_commonFolder; }
  // Each entry's path below the common folder, in the order of Paths().
  std::vector<std::string> PathsBelow() const;
  // The entries for a run (TRunOptions::given).
  std::vector<TGivenEntry> Given() const;
  // The folders holding the entries, each once, every folder before those that hold it:
  // an undo takes back the renames inside a folder before the folder's own.
  std::vector<std::string> Folders() const;

 private:
  std::vector<std::string> m_paths;
  std::string m_commonFolder;
};

// What the file list's line says of the selection it shows: `files` and `folders`
// selected, lying in `places` folders ("12 selected files in 3 folders").
std::string SelectionSummary(std::size_t files, std::size_t folders, std::size_t places);

}  // namespace qx
