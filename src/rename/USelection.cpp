// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/USelection.h"

#include <algorithm>
#include <unordered_set>

#include "platform/UFiles.h"

namespace qx {

namespace {

// The folder part of an absolute path.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string Counted(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

TSelection::TSelection(const std::vector<std::string>& paths) {
  std::unordered_set<std::string> seen;
  for (const std::string& path : paths) {
    std::string absolute = AbsolutePath(path);
    if (seen.insert(absolute).second) m_paths.push_back(std::move(absolute));
  }
  m_commonFolder = qx::CommonFolder(Folders());
}

std::vector<std::string> TSelection::PathsBelow() const {
  const std::size_t skipped = m_commonFolder == "/" ? 1 : m_commonFolder.size() + 1;
  std::vector<std::string> below;
  below.reserve(m_paths.size());
  for (const std::string& path : m_paths) below.push_back(path.substr(std::min(skipped, path.size())));
  return below;
}

std::vector<TGivenEntry> TSelection::Given() const {
  std::vector<TGivenEntry> given;
  given.reserve(m_paths.size());
  for (const std::string& path : m_paths) given.push_back({path});
  return given;
}

std::vector<std::string> TSelection::Folders() const {
  std::vector<std::string> folders;
  for (const std::string& path : m_paths) folders.push_back(FolderOf(path));
  // A folder's path starts the paths of those inside it, so it sorts before them.
  std::sort(folders.begin(), folders.end(), std::greater<>());
  folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
  return folders;
}

std::string SelectionSummary(std::size_t files, std::size_t folders, std::size_t places) {
  if (files + folders == 0) return "None of the selected files and folders is there any more";
  std::string summary = files > 0 ? Counted(files, "selected file", "selected files")
                                  : Counted(folders, "selected folder", "selected folders");
  if (files > 0 && folders > 0) summary += " and " + Counted(folders, "folder", "folders");
  if (places > 1) summary += " in " + Counted(places, "folder", "folders");
  return summary;
}

}  // namespace qx
