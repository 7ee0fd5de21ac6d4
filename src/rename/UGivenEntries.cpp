// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UGivenEntries.h"

#include <unistd.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "platform/UCollation.h"
#include "platform/UDateTime.h"
#include "platform/UFileStatus.h"
#include "platform/UFiles.h"
#include "platform/USystemError.h"
#include "platform/UUndoFile.h"

namespace qx {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

struct TSplitPath {
  std::string folder, name;
};

// The folder part of a path and the entry's own name; nothing for a path that names no
// entry of a folder ("", "/", ".", "a/..").
std::optional<TSplitPath> Split(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const std::size_t slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return std::nullopt;
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  return TSplitPath{std::move(folder), std::move(name)};
}

// Where the folder open as `folder` really is, links resolved, as the kernel tells it.
std::string RealPath(const TDirectory& folder) {
  const std::string link = "/proc/self/fd/" + std::to_string(folder.Handle());
  for (std::size_t room = 256;; room *= 4) {
    std::string target(room, '\0');
    const ssize_t length = readlink(link.c_str(), target.data(), room);
    if (length < 0) return folder.Path();
    if (static_cast<std::size_t>(length) < room) return target.substr(0, static_cast<std::size_t>(length));
  }
}

std::string Joined(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

// The longest path of whole parts that starts every one of `paths` (all absolute).
std::string CommonFolder(const std::vector<std::string>& paths) {
  std::string common = paths.front();
  for (const std::string& path : paths) {
    while (!(path == common || (path.starts_with(common) && (common == "/" || path[common.size()] == '/')))) {
      common = common.substr(0, std::max<std::size_t>(common.rfind('/'), 1));
    }
  }
  return common;
}

struct TFolderFound {
  TDirectory directory;
  std::string real;  // where it really is; only with recursion, to find given entries inside given folders
};

struct TPlannedEntry {
  std::size_t folder;
  std::string name;
  bool isDirectory;
  double date;
  std::optional<std::string> newName;
};

// Opens each entry's folder once and reads the entry.
class TResolver {
 public:
  TResolver(TGivenPlan& plan, bool needsRealPaths) : m_plan(plan), m_needsRealPaths(needsRealPaths) {}

  void Add(const TGivenEntry& given) {
    const auto split = Split(given.path);
    if (!split) return Problem(given.path, "it names no entry of a folder: give the entry's own name");
    const std::size_t folder = FolderOf(given.path, split->folder);
    if (folder == kNone) return;
    if (split->name == kUndoFileName) return Problem(given.path, "it is the undo file Quillex keeps for its folder");
    if (!m_seen.emplace(folder, split->name).second) return;
    try {
      const TFileStatus status = ReadStatus(m_folders[folder].directory.Handle(), split->name);
      m_entries.push_back(
          {folder, split->name, status.isDirectory, EntryDateFromFileTime(status.modifiedSeconds), given.newName});
    } catch (const TSystemError& error) {
      Problem(given.path, error.Reason());
    }
  }

  std::vector<TFolderFound>& Folders() { return m_folders; }
  std::vector<TPlannedEntry>& Entries() { return m_entries; }

 private:
  void Problem(const std::string& path, const std::string& reason) { m_plan.problems.push_back({path, reason}); }

  // The folder `part` of `path` names, opened once; kNone when it cannot be (a problem).
  std::size_t FolderOf(const std::string& path, const std::string& part) {
    const auto known = m_byPart.find(part);
    if (known != m_byPart.end()) {
      if (known->second == kNone) Problem(path, m_whyNot.at(part));
      return known->second;
    }
    try {
      TDirectory directory = TDirectory::Open(AbsolutePath(part));
      const TFileStatus status = directory.Status();
      auto [place, added] = m_byIdentity.emplace(std::make_pair(status.device, status.inode), m_folders.size());
      if (added) {
        std::string real = m_needsRealPaths ? RealPath(directory) : std::string();
        m_folders.push_back({std::move(directory), std::move(real)});
      }
      return m_byPart[part] = place->second;
    } catch (const TSystemError& error) {
      m_whyNot[part] = error.Reason();
      Problem(path, error.Reason());
      return m_byPart[part] = kNone;
    }
  }

  TGivenPlan& m_plan;
  bool m_needsRealPaths;
  std::vector<TFolderFound> m_folders;
  std::unordered_map<std::string, std::size_t> m_byPart;  // 100,000 files of one folder open it once
  std::unordered_map<std::string, std::string> m_whyNot;
  std::map<std::pair<dev_t, ino_t>, std::size_t> m_byIdentity;
  std::set<std::pair<std::size_t, std::string>> m_seen;
  std::vector<TPlannedEntry> m_entries;
};

// Drops the entries that lie inside a given folder the run enters: its walk takes them.
void DropEntriesInsideEnteredFolders(const std::vector<TFolderFound>& folders, std::vector<TPlannedEntry>& entries) {
  std::unordered_set<std::string> entered;
  for (const TPlannedEntry& entry : entries) {
    if (entry.isDirectory) entered.insert(Joined(folders[entry.folder].real, entry.name));
  }
  std::vector<bool> inside(folders.size(), false);
  for (std::size_t i = 0; i < folders.size(); ++i) {
    for (std::string path = folders[i].real; path.size() > 1 && !inside[i];
         path = path.substr(0, std::max<std::size_t>(path.rfind('/'), 1))) {
      inside[i] = entered.count(path) != 0;
    }
  }
  std::erase_if(entries, [&](const TPlannedEntry& entry) { return inside[entry.folder]; });
}

// The entries' positions in the run's order: by name or date across all folders, ties by
// folder, then as given.
std::vector<std::size_t> RunOrder(const std::vector<TPlannedEntry>& entries, const std::vector<TFolderFound>& folders,
                                  const TRunOptions& options) {
  std::vector<std::size_t> order(entries.size());
  std::iota(order.begin(), order.end(), 0);
  if (!options.sort) return order;
  const auto folderPath = [&](std::size_t entry) { return folders[entries[entry].folder].directory.Path(); };
  switch (options.sortOrder) {
    case TSortOrder::NameAsc:
    case TSortOrder::NameDesc: {
      const TCollator& collator = ThreadCollator(options.numbersByValue ? TNumberOrder::byValue : TNumberOrder::asText);
      std::vector<std::string> keys(entries.size());
      for (std::size_t i = 0; i < entries.size(); ++i) collator.AppendSortKey(entries[i].name, keys[i]);
      const bool descending = options.sortOrder == TSortOrder::NameDesc;
      std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (keys[a] != keys[b]) return descending ? keys[b] < keys[a] : keys[a] < keys[b];
        return folderPath(a) < folderPath(b);
      });
      break;
    }
    case TSortOrder::DateAsc:
    case TSortOrder::DateDesc: {
      const bool descending = options.sortOrder == TSortOrder::DateDesc;
      std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return descending ? entries[b].date < entries[a].date : entries[a].date < entries[b].date;
      });
      break;
    }
    case TSortOrder::ListingOrder: break;
  }
  return order;
}

}  // namespace

TGivenPlan PlanGivenEntries(const TRunOptions& options, int countersPerTurn) {
  TGivenPlan plan;
  TResolver resolver(plan, options.recurseDirs);
  for (const TGivenEntry& given : *options.given) resolver.Add(given);
  std::vector<TFolderFound>& folders = resolver.Folders();
  std::vector<TPlannedEntry>& entries = resolver.Entries();
  if (options.recurseDirs) DropEntriesInsideEnteredFolders(folders, entries);

  // Counters wrap as the counter job's own does.
  const auto start = static_cast<std::uint32_t>(options.counterStart);
  const auto step = static_cast<std::uint32_t>(countersPerTurn);
  std::uint32_t turnsInAll = 0;
  std::vector<std::uint32_t> turnsInFolder(folders.size(), 0);
  std::vector<std::size_t> placeOf(folders.size(), kNone);
  for (const std::size_t i : RunOrder(entries, folders, options)) {
    TPlannedEntry& entry = entries[i];
    if (placeOf[entry.folder] == kNone) {
      placeOf[entry.folder] = plan.folders.size();
      plan.folders.push_back({std::move(folders[entry.folder].directory), {}, {}, {}});
    }
    TGivenFolder& folder = plan.folders[placeOf[entry.folder]];
    const bool takesTurn = !entry.isDirectory || options.renameDirs;
    std::uint32_t& turn = options.resetCounter ? turnsInFolder[entry.folder] : turnsInAll;
    (entry.isDirectory ? folder.directories : folder.files)
        .push_back({std::move(entry.name), static_cast<std::int32_t>(start + turn * step), std::move(entry.newName)});
    if (takesTurn) {
      ++turn;
      ++plan.turns;
    }
  }
  plan.counterAfter = static_cast<std::int32_t>(start + turnsInAll * step);

  std::vector<std::string> paths;
  for (const TGivenFolder& folder : plan.folders) paths.push_back(folder.directory.Path());
  // With nothing to take, the run is said to be where it was started.
  plan.commonFolder = paths.empty() ? AbsolutePath(".") : CommonFolder(paths);
  for (TGivenFolder& folder : plan.folders) {
    const std::string& path = folder.directory.Path();
    if (path != plan.commonFolder)
      folder.below = path.substr(plan.commonFolder.size() + (plan.commonFolder == "/" ? 0 : 1));
  }
  return plan;
}

}  // namespace qx
