// Collecting and ordering the entries of one directory: its subdirectories (every one,
// hidden ones too) and the files that match the mask (never hidden ones, never the undo
// file). The directory is listed once; both lists come from that listing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/UDirectory.h"
#include "rename/URunOptions.h"
#include "rename/UTWRFile.h"

namespace qx {

// Writes one log line; empty when the run does not log.
using TLogLine = std::function<void(const std::string& text)>;

class TFileCollection {
 public:
  // Lists `directory`. Dates are read only when `needDates` is set (a date order or a
  // log), since the listing alone tells folders from files.
  TFileCollection(const TDirectory& directory, bool needDates);

  // Logs "- Added directory " + description for each.
  std::vector<TWRFile> CollectDirectories(const TLogLine& log) const;
  // Logs "- Added file " + description for each.
  std::vector<TWRFile> CollectFiles(const std::string& mask, const TLogLine& log) const;
  // Everything the listing found, hidden entries and the undo file included.
  const std::vector<TDirEntry>& Entries() const { return m_entries; }

 private:
  TWRFile Entry(const std::string& name) const;

  const TDirectory& m_directory;
  std::vector<TDirEntry> m_entries;
  bool m_needDates;
};


// With sorting on, logs "+ Sorting directories..." or "+ Sorting files..." and puts the
// list in `order` (ListingOrder keeps it as listed). Equal entries come in no set order.
void SortEntries(std::vector<TWRFile>& entries, bool directories, const TRunOptions& options, const TLogLine& log);

}  // namespace qx
