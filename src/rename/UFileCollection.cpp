#include "rename/UFileCollection.h"

#include <algorithm>
#include <numeric>

#include "platform/UCollation.h"
#include "platform/UDateTime.h"
#include "platform/UMask.h"
#include "platform/UUndoFile.h"

namespace qx {

namespace {

const TCollator& UserCollator() {
  static const TCollator collator;
  return collator;
}

// Sorting by name compares collation keys, made once per entry, instead of collating
// the same names over and over.
void SortByName(std::vector<TWRFile>& entries, bool descending) {
  std::vector<std::string> keys;
  keys.reserve(entries.size());
  for (const TWRFile& entry : entries) keys.push_back(UserCollator().SortKey(entry.Name));
  std::vector<std::size_t> order(entries.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return descending ? keys[b] < keys[a] : keys[a] < keys[b]; });
  std::vector<TWRFile> sorted;
  sorted.reserve(entries.size());
  for (std::size_t index : order) sorted.push_back(std::move(entries[index]));
  entries = std::move(sorted);
}

}  // namespace

TFileCollection::TFileCollection(const TDirectory& directory, bool needDates)
    : m_directory(directory), m_entries(directory.List()), m_needDates(needDates) {}

TWRFile TFileCollection::Entry(const std::string& name) const {
  double date = 0;
  if (m_needDates) {
    if (const auto time = m_directory.ModifiedTime(name)) date = EntryDateFromFileTime(*time);
  }
  return TWRFile(name, date);
}

std::vector<TWRFile> TFileCollection::CollectDirectories(const TLogLine& log) const {
  std::vector<TWRFile> directories;
  for (const TDirEntry& entry : m_entries) {
    if (!entry.isDirectory) continue;
    directories.push_back(Entry(entry.name));
    if (log) log("- Added directory " + directories.back().Description());
  }
  return directories;
}

std::vector<TWRFile> TFileCollection::CollectFiles(const std::string& mask, const TLogLine& log) const {
  std::vector<TWRFile> files;
  for (const TDirEntry& entry : m_entries) {
    // A name starting with a dot is hidden; the undo file is never a candidate.
    if (entry.isDirectory || entry.name.front() == '.' || entry.name == kUndoFileName) continue;
    if (!MatchesMask(entry.name, mask)) continue;
    files.push_back(Entry(entry.name));
    if (log) log("- Added file " + files.back().Description());
  }
  return files;
}

void SortEntries(std::vector<TWRFile>& entries, bool directories, const TRunOptions& options, const TLogLine& log) {
  if (!options.sort) return;
  if (log) log(directories ? "+ Sorting directories..." : "+ Sorting files...");
  switch (options.sortOrder) {
    case TSortOrder::NameAsc: SortByName(entries, false); break;
    case TSortOrder::NameDesc: SortByName(entries, true); break;
    case TSortOrder::DateAsc:
      std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.Date < b.Date; });
      break;
    case TSortOrder::DateDesc:
      std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.Date > b.Date; });
      break;
    case TSortOrder::ListingOrder: break;
  }
}

}  // namespace qx
