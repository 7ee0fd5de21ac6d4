// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UFollowedPaths.h"

#include <algorithm>

#include "platform/UFiles.h"

namespace qx {

namespace {

// Calls `take(before, part)` for each part of the absolute `path`, `before` being the
// path up to that part.
template <typename TTake>
void ForEachPart(const std::string& path, TTake take) {
  for (std::size_t start = 1; start < path.size();) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    take(path.substr(0, end), std::string_view(path).substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace

TFollowedPaths::TFollowedPaths(std::vector<std::string> paths, TFolderNames folderNames)
    : m_paths(std::move(paths)), m_folderNames(folderNames) {
  for (const std::string& path : m_paths)
    ForEachPart(path, [this](std::string upTo, std::string_view) { m_followed.insert(std::move(upTo)); });
}

void TFollowedPaths::Renamed(const std::string& folder, std::string_view oldName, std::string_view newName) {
  const std::string before = NamedBefore(folder);
  std::string path = JoinPath(before, oldName);
  if (!m_followed.contains(path)) return;
  m_oldNames.emplace(JoinPath(before, newName), oldName);
  m_newNames.emplace(std::move(path), newName);
}

void TFollowedPaths::RenamedInTurn(const std::string& folder, std::span<const TRenameStep> steps) {
  std::unordered_map<std::string, std::string> first;  // a name taken -> the entry's name before the steps
  for (const TRenameStep& step : steps) {
    auto moved = first.extract(step.from);
    // A rename never replaces: whoever held `to` before has moved on.
    first[step.to] = moved.empty() ? step.from : std::move(moved.mapped());
  }
  for (const auto& [now, before] : first) {
    if (now != before) Renamed(folder, before, now);
  }
}

std::string TFollowedPaths::NamedBefore(const std::string& folder) const {
  if (m_folderNames == TFolderNames::before || m_oldNames.empty()) return folder;
  // Part by part from the top: a name a folder took stands for the name it had.
  std::string before = "/";
  ForEachPart(folder, [&](const std::string&, std::string_view part) {
    const auto old = m_oldNames.find(JoinPath(before, part));
    before = JoinPath(before, old == m_oldNames.end() ? part : std::string_view(old->second));
  });
  return before;
}

std::vector<std::string> TFollowedPaths::Paths() const {
  std::vector<std::string> paths;
  paths.reserve(m_paths.size());
  for (const std::string& path : m_paths) {
    std::string after = "/";
    ForEachPart(path, [&](const std::string& upTo, std::string_view part) {
      const auto renamed = m_newNames.find(upTo);
      after = JoinPath(after, renamed == m_newNames.end() ? part : std::string_view(renamed->second));
    });
    paths.push_back(std::move(after));
  }
  return paths;
}

}  // namespace qx
