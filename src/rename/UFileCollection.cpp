// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UFileCollection.h"

#include <algorithm>
#include <cerrno>
#include <numeric>
#include <stdexcept>

#include "platform/UCollation.h"
#include "platform/UDateTime.h"
#include "platform/UMask.h"
#include "platform/USystemError.h"
#include "platform/UUndoFile.h"

namespace qx {

namespace {

std::vector<std::uint32_t> Positions(std::size_t count) {
  std::vector<std::uint32_t> order(count);
  std::iota(order.begin(), order.end(), 0);
  return order;
}

// Sorting by name compares collation keys, made once per entry into one block, instead
// of collating the same names over and over.
void SortByName(TWRFileList& entries, const TNameArena& arena, bool descending, TNumberOrder numbers) {
  const TCollator& collator = ThreadCollator(numbers);
  std::string keys;
  std::vector<std::uint32_t> ends;
  ends.reserve(entries.Size() + 1);
  ends.push_back(0);
  for (std::size_t i = 0; i < entries.Size(); ++i) {
    collator.AppendSortKey(arena.View(entries.Name(i)), keys);
    if (keys.size() > UINT32_MAX) throw std::length_error("the sort keys of one folder take more than 4 GiB");
    ends.push_back(static_cast<std::uint32_t>(keys.size()));
  }
  const auto key = [&](std::uint32_t i) { return std::string_view(keys).substr(ends[i], ends[i + 1] - ends[i]); };
  std::vector<std::uint32_t> order = Positions(entries.Size());
  std::sort(order.begin(), order.end(),
            [&](std::uint32_t a, std::uint32_t b) { return descending ? key(b) < key(a) : key(a) < key(b); });
  entries.Reorder(order);
}

TNumberOrder NumberOrder(const TRunOptions& options) {
  return options.numbersByValue ? TNumberOrder::byValue : TNumberOrder::asText;
}

void SortByDate(TWRFileList& entries, bool descending) {
  std::vector<std::uint32_t> order = Positions(entries.Size());
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return descending ? entries.Date(b) < entries.Date(a) : entries.Date(a) < entries.Date(b);
  });
  entries.Reorder(order);
}

}  // namespace

TFileCollection::TFileCollection(const TDirectory& directory, TNameArena& arena, bool needDates)
    : TFileCollection(directory, arena, List(directory, arena), needDates) {}

TFileCollection::TFileCollection(const TDirectory& directory, TNameArena& arena, std::vector<bool> isDirectory,
                                 bool needDates)
    : m_directory(directory), m_arena(arena), m_isDirectory(std::move(isDirectory)), m_needDates(needDates) {}

std::vector<bool> TFileCollection::List(const TDirectory& directory, TNameArena& arena) {
  std::vector<bool> isDirectory;
  try {
    directory.ForEachEntry([&](std::string_view name, bool folder) {
      arena.Add(name);
      isDirectory.push_back(folder);
    });
  } catch (const std::length_error&) {
    throw TSystemError("Cannot read folder", directory.Path(), EOVERFLOW);
  }
  return isDirectory;
}

std::string_view TFileCollection::CaseSample() const {
  for (TNameId name = 0; name < ListedCount(); ++name) {
    if (HasCaseLetter(m_arena.View(name))) return m_arena.View(name);
  }
  return {};
}

double EntryDate(const TDirectory& directory, std::string_view name) {
  const auto time = directory.ModifiedTime(std::string(name));
  return time ? EntryDateFromFileTime(*time) : 0;
}

TWRFileList TFileCollection::CollectDirectories(const TLogLine& log) const {
  TWRFileList directories(m_needDates);
  for (TNameId name = 0; name < ListedCount(); ++name) {
    if (!m_isDirectory[name]) continue;
    directories.Add(name, Date(name));
    if (log) log("- Added directory " + directories.Description(directories.Size() - 1, m_arena));
  }
  return directories;
}

TWRFileList TFileCollection::CollectFiles(const std::string& mask, const TLogLine& log) const {
  TWRFileList files(m_needDates);
  for (TNameId name = 0; name < ListedCount(); ++name) {
    const std::string_view text = m_arena.View(name);
    // A name starting with a dot is hidden; the undo file is never a candidate.
    if (m_isDirectory[name] || text.front() == '.' || text == kUndoFileName) continue;
    if (!MatchesMask(text, mask)) continue;
    files.Add(name, Date(name));
    if (log) log("- Added file " + files.Description(files.Size() - 1, m_arena));
  }
  return files;
}

TWRFileList TFileCollection::CollectNamed(const std::vector<TNameId>& names, bool directories,
                                          const TLogLine& log) const {
  TWRFileList entries(m_needDates);
  for (const TNameId name : names) {
    entries.Add(name, Date(name));
    if (log)
      log((directories ? "- Added directory " : "- Added file ") + entries.Description(entries.Size() - 1, m_arena));
  }
  return entries;
}

void SortEntries(TWRFileList& entries, const TNameArena& arena, bool directories, const TRunOptions& options,
                 const TLogLine& log) {
  if (!options.sort) return;
  if (log) log(directories ? "+ Sorting directories..." : "+ Sorting files...");
  switch (options.sortOrder) {
    case TSortOrder::NameAsc: SortByName(entries, arena, false, NumberOrder(options)); break;
    case TSortOrder::NameDesc: SortByName(entries, arena, true, NumberOrder(options)); break;
    case TSortOrder::DateAsc: SortByDate(entries, false); break;
    case TSortOrder::DateDesc: SortByDate(entries, true); break;
    case TSortOrder::ListingOrder: break;
  }
}

}  // namespace qx
