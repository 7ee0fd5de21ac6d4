// SPDX-License-Identifier: GPL-3.0-or-later
// Collecting and ordering the entries of one directory: its subdirectories (every one,
// hidden ones too) and the files that match the mask (never hidden ones, never the undo
// file). The directory is listed once, into the visit's arena; both lists come from
// that listing.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UDirectory.h"
#include "rename/UNameArena.h"
#include "rename/URunOptions.h"
#include "rename/UTWRFile.h"

namespace qx {

// Writes one log line; empty when the run does not log.
using TLogLine = std::function<void(const std::string& text)>;

// The date a run sorts an entry by: its last-write time, as a date of the log; 0 when it
// cannot be read.
double EntryDate(const TDirectory& directory, std::string_view name);

class TFileCollection {
 public:
  // Lists `directory` into `arena`, which must be empty: the listing's names are then
  // the arena's first ListedCount(). Dates are read only when `needDates` is set (a
  // date order or a log), since the listing alone tells folders from files. Throws
  // TSystemError.
  TFileCollection(const TDirectory& directory, TNameArena& arena, bool needDates);
  // A listing made before: `isDirectory` tells each of the arena's names.
  TFileCollection(const TDirectory& directory, TNameArena& arena, std::vector<bool> isDirectory, bool needDates);
  // Lists `directory` into `arena`; tells, for each name added, whether it is a folder.
  // Throws TSystemError.
  static std::vector<bool> List(const TDirectory& directory, TNameArena& arena);

  // Logs "- Added directory " + description for each.
  TWRFileList CollectDirectories(const TLogLine& log) const;
  // Logs "- Added file " + description for each.
  TWRFileList CollectFiles(const std::string& mask, const TLogLine& log) const;
  // The listed entries `names`, in that order, whatever the mask. Logs as the two above do.
  TWRFileList CollectNamed(const std::vector<TNameId>& names, bool directories, const TLogLine& log) const;
  // Everything the listing found, hidden entries and the undo file included.
  std::size_t ListedCount() const { return m_isDirectory.size(); }
  // A listed name with a letter whose case can be swapped; empty when none has one.
  std::string_view CaseSample() const;

 private:
  double Date(TNameId name) const { return m_needDates ? EntryDate(m_directory, m_arena.View(name)) : 0; }

  const TDirectory& m_directory;
  const TNameArena& m_arena;
  std::vector<bool> m_isDirectory;  // by name id
  bool m_needDates;
};

// With sorting on, logs "+ Sorting directories..." or "+ Sorting files..." and puts the
// list in `order` (ListingOrder keeps it as listed). Equal entries come in no set order.
void SortEntries(TWRFileList& entries, const TNameArena& arena, bool directories, const TRunOptions& options,
                 const TLogLine& log);

}  // namespace qx
