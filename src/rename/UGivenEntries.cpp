// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UGivenEntries.h"

#include <unistd.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

#include "platform/UCollation.h"
#include "platform/UFileStatus.h"
#include "platform/UFiles.h"
#include "platform/USystemError.h"
#include "platform/UUndoFile.h"
#include "rename/UFileCollection.h"

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

struct TFolderFound {
  TDirectory directory;
  TNameArena names;
  std::vector<bool> isDirectory;                         // of each name listed
  std::unordered_map<std::string_view, TNameId> byName;  // the listing's names, to find the given ones
  std::vector<bool> given;                               // of each name listed: given already
  std::string real;  // where it really is; only with recursion, to find given entries inside given folders
};

struct TPlannedEntry {
  std::size_t folder;
  TNameId name;
  double date;
  std::optional<std::string> newName;
};

// Opens and lists each entry's folder once, and finds the entry in the listing.
class TResolver {
 public:
  TResolver(TGivenPlan& plan, const TRunOptions& options)
      : m_plan(plan),
        m_needsRealPaths(options.recurseDirs),
        m_needsDates(options.sort &&
                     (options.sortOrder == TSortOrder::DateAsc || options.sortOrder == TSortOrder::DateDesc)) {}

  void Add(const TGivenEntry& given) {
    const auto split = Split(given.path);
    if (!split) return Problem(given.path, "it names no entry of a folder: give the entry's own name");
    const std::size_t place = FolderOf(given.path, split->folder);
    if (place == kNone) return;
    if (split->name == kUndoFileName) return Problem(given.path, "it is the undo file Quillex keeps for its folder");
    TFolderFound& folder = m_folders[place];
    const auto found = folder.byName.find(split->name);
    if (found == folder.byName.end()) return Problem(given.path, ErrorText(ENOENT));
    const TNameId name = found->second;
    if (folder.given[name]) return;
    folder.given[name] = true;
    const double date = m_needsDates ? EntryDate(folder.directory, split->name) : 0;
    m_entries.push_back({place, name, date, given.newName});
  }

  std::vector<TFolderFound>& Folders() { return m_folders; }
  std::vector<TPlannedEntry>& Entries() { return m_entries; }

 private:
  void Problem(const std::string& path, const std::string& reason) { m_plan.problems.push_back({path, reason}); }

  // The folder `part` of `path` names, opened and listed once; kNone when it cannot be
  // (a problem).
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
      if (added) m_folders.push_back(Listed(std::move(directory)));
      return m_byPart[part] = place->second;
    } catch (const TSystemError& error) {
      m_whyNot[part] = error.Reason();
      Problem(path, error.Reason());
      return m_byPart[part] = kNone;
    }
  }

  TFolderFound Listed(TDirectory directory) const {
    TFolderFound folder{std::move(directory), {}, {}, {}, {}, {}};
    folder.isDirectory = TFileCollection::List(folder.directory, folder.names);
    // The arena is complete: its names stay where they are while the plan looks them up.
    folder.byName.reserve(folder.names.Count());
    for (TNameId name = 0; name < folder.names.Count(); ++name) folder.byName.emplace(folder.names.View(name), name);
    folder.given.assign(folder.names.Count(), false);
    if (m_needsRealPaths) folder.real = RealPath(folder.directory);
    return folder;
  }

  TGivenPlan& m_plan;
  bool m_needsRealPaths;
  bool m_needsDates;
  std::vector<TFolderFound> m_folders;
  std::unordered_map<std::string, std::size_t> m_byPart;  // 100,000 files of one folder open it once
  std::unordered_map<std::string, std::string> m_whyNot;
  std::map<std::pair<dev_t, ino_t>, std::size_t> m_byIdentity;
  std::vector<TPlannedEntry> m_entries;
};

// Drops the entries that lie inside a given folder the run enters: its walk takes them.
void DropEntriesInsideEnteredFolders(const std::vector<TFolderFound>& folders, std::vector<TPlannedEntry>& entries) {
  std::unordered_set<std::string> entered;
  for (const TPlannedEntry& entry : entries) {
    const TFolderFound& folder = folders[entry.folder];
    if (folder.isDirectory[entry.name])
      entered.insert(JoinPath(folder.real, std::string(folder.names.View(entry.name))));
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
  switch (options.sortOrder) {
    case TSortOrder::NameAsc:
    case TSortOrder::NameDesc: {
      // Each name's collation key made once, into one block.
      const TCollator& collator = ThreadCollator(options.numbersByValue ? TNumberOrder::byValue : TNumberOrder::asText);
      std::string keys;
      std::vector<std::size_t> ends = {0};
      for (const TPlannedEntry& entry : entries) {
        collator.AppendSortKey(folders[entry.folder].names.View(entry.name), keys);
        ends.push_back(keys.size());
      }
      const auto key = [&](std::size_t i) { return std::string_view(keys).substr(ends[i], ends[i + 1] - ends[i]); };
      std::vector<std::string> paths;
      for (const TFolderFound& folder : folders) paths.push_back(folder.directory.Path());
      const bool descending = options.sortOrder == TSortOrder::NameDesc;
      std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (key(a) != key(b)) return descending ? key(b) < key(a) : key(a) < key(b);
        return paths[entries[a].folder] < paths[entries[b].folder];
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

TGivenPlan PlanGivenEntries(const std::vector<TGivenEntry>& given, const TRunOptions& options, int countersPerTurn) {
  TGivenPlan plan;
  TResolver resolver(plan, options);
  for (const TGivenEntry& entry : given) resolver.Add(entry);
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
    TFolderFound& found = folders[entry.folder];
    if (placeOf[entry.folder] == kNone) {
      placeOf[entry.folder] = plan.folders.size();
      plan.folders.push_back(
          {std::move(found.directory), std::move(found.names), std::move(found.isDirectory), {}, {}, {}});
    }
    TGivenFolder& folder = plan.folders[placeOf[entry.folder]];
    const bool isDirectory = folder.isDirectory[entry.name];
    const bool takesTurn = !isDirectory || options.renameDirs;
    std::uint32_t& turn = options.resetCounter ? turnsInFolder[entry.folder] : turnsInAll;
    (isDirectory ? folder.directories : folder.files)
        .push_back({entry.name, static_cast<std::int32_t>(start + turn * step), std::move(entry.newName)});
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
    folder.below = PathBelow(folder.directory.Path(), plan.commonFolder);
  }
  return plan;
}

}  // namespace qx
