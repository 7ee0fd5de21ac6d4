// SPDX-License-Identifier: GPL-3.0-or-later
// Where some entries are once renames have moved them: told each entry renamed, by its
// folder and its old and new names, it gives each followed path afterwards; a folder's
// rename moves every entry inside it. The desktop program's selection follows a run over
// its entries, and an undo of their folders, so.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/UDirectory.h"

namespace qx {

class TFollowedPaths {
 public:
  // How whoever tells the renames names the folders.
  enum class TFolderNames {
    before,  // as before every rename told: a run's given folders, an undo's folders
    after,   // a renamed folder by its new name too: a run that enters given folders
  };

  // `paths`: absolute, as AbsolutePath gives them.
  TFollowedPaths(std::vector<std::string> paths, TFolderNames folderNames);

  // The entry `oldName` of `folder` took `newName`: a run's outcome, told once for each
  // entry, by the name it had before every rename told.
  void Renamed(const std::string& folder, std::string_view oldName, std::string_view newName);
  // Renames made one after another in `folder`, as an undo makes them: chains and cycles
  // come to one move of each entry.
  void RenamedInTurn(const std::string& folder, std::span<const TRenameStep> steps);
  // Each followed path after the renames, in the order given.
  std::vector<std::string> Paths() const;

 private:
  // `folder` as it was named before the renames.
  std::string NamedBefore(const std::string& folder) const;

  std::vector<std::string> m_paths;
  TFolderNames m_folderNames;
  std::unordered_set<std::string> m_followed;               // each path, and every folder above it
  std::unordered_map<std::string, std::string> m_newNames;  // a followed path -> the name it took
  // The folder before + '/' + the name taken -> the name before, for the folders named after.
  std::unordered_map<std::string, std::string> m_oldNames;
};

// The steps a renamer makes, as it tells them, for RenamedInTurn.
class TStepLog : public TRenameRecorder {
 public:
  void Record(std::span<const TRenameStep> steps) override {
    m_steps.insert(m_steps.end(), steps.begin(), steps.end());
  }
  void Forget(std::size_t count) override { m_steps.resize(m_steps.size() - count); }
  const std::vector<TRenameStep>& Steps() const { return m_steps; }

 private:
  std::vector<TRenameStep> m_steps;
};

}  // namespace qx
