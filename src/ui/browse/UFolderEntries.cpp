// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/browse/UFolderEntries.h"

#include <QMimeDatabase>
#include <algorithm>
#include <cstdint>

#include "ui/browse/UListingModel.h"

namespace qx {

namespace {

template <typename T>
int CompareValues(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// -1, 0 or 1 by the column alone; 0 for the name column, which the names' keys order.
int CompareByColumn(const TFileEntry& a, const TFileEntry& b, int column, int dirFd) {
  const auto size = [dirFd](const TFileEntry& entry) {
    const auto& status = entry.Details(dirFd).status;
    return entry.isFolder || !status ? std::uint64_t{0} : status->size;
  };
  const auto modified = [dirFd](const TFileEntry& entry) {
    const auto& status = entry.Details(dirFd).status;
    return status ? status->modifiedNs : std::int64_t{0};
  };
  switch (column) {
    case colSize: return CompareValues(size(a), size(b));
    case colType: return a.Type(dirFd).compare(b.Type(dirFd), Qt::CaseInsensitive);
    case colModified: return CompareValues(modified(a), modified(b));
    default: return 0;
  }
}

bool Before(const TFileEntry& a, std::string_view keyA, const TFileEntry& b, std::string_view keyB, TFileOrder order,
            int dirFd) {
  if (a.isFolder != b.isFolder) return a.isFolder;
  int byColumn = CompareByColumn(a, b, order.column, dirFd);
  if (byColumn == 0) byColumn = CompareNames(keyA, a.name, keyB, b.name);
  return order.direction == Qt::AscendingOrder ? byColumn < 0 : byColumn > 0;
}

}  // namespace

const TFileDetails& TFileEntry::Details(int dirFd) const {
  if (!details) {
    auto read = std::make_unique<TFileDetails>();
    read->status = StatusOf(dirFd, name);
    // By the name alone: the list never reads a file's content.
    if (!isFolder) read->type = QMimeDatabase().mimeTypeForFile(ShownName(name), QMimeDatabase::MatchExtension);
    details = std::move(read);
  }
  return *details;
}

QString TFileEntry::Type(int dirFd) const {
  return isFolder ? QStringLiteral("Folder") : Details(dirFd).type.comment();
}

std::vector<TFileEntry> ReadEntries(const TDirectory& folder) {
  std::vector<TFileEntry> entries;
  folder.ForEachEntry([&](std::string_view name, bool isDirectory) {
    if (name.front() != '.') entries.push_back({std::string(name), isDirectory, {}});
  });
  return entries;
}

std::vector<TFileEntry> ReadSelected(const TDirectory& folder, const std::vector<std::string>& paths) {
  std::vector<TFileEntry> entries;
  for (const std::string& path : paths) {
    if (const auto status = StatusOf(folder.Handle(), path)) entries.push_back({path, status->isDirectory, {}});
  }
  return entries;
}

std::vector<std::size_t> SortedRows(const std::vector<TFileEntry>& entries, TFileOrder order, int dirFd) {
  // Each name's key made once: a million of them compared again and again cost less so
  // than made anew for each comparison. They are kept in blocks of about a mebibyte,
  // since one buffer that grows holds them three times over while it is copied.
  constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
  struct TKeyed {
    std::uint32_t row;
    std::uint32_t block;
    std::uint32_t begin;
    std::uint32_t length;
  };
  std::vector<std::string> blocks;
  std::vector<TKeyed> keyed;
  keyed.reserve(entries.size());
  for (std::size_t row = 0; row < entries.size(); ++row) {
    if (blocks.empty() || blocks.back().size() >= kBlockBytes) blocks.emplace_back().reserve(kBlockBytes + 256);
    std::string& block = blocks.back();
    const std::size_t begin = block.size();
    AppendNameKey(entries[row].name, block, order.numbersByValue);
    keyed.push_back({static_cast<std::uint32_t>(row), static_cast<std::uint32_t>(blocks.size() - 1),
                     static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(block.size() - begin)});
  }
  const auto keyOf = [&](const TKeyed& item) {
    return std::string_view(blocks[item.block]).substr(item.begin, item.length);
  };
  std::sort(keyed.begin(), keyed.end(), [&](const TKeyed& a, const TKeyed& b) {
    return Before(entries[a.row], keyOf(a), entries[b.row], keyOf(b), order, dirFd);
  });
  std::vector<std::size_t> rows;
  rows.reserve(keyed.size());
  for (const TKeyed& item : keyed) rows.push_back(item.row);
  return rows;
}

void SortEntries(std::vector<TFileEntry>& entries, TFileOrder order, int dirFd) {
  std::vector<std::size_t> rows = SortedRows(entries, order, dirFd);
  // In place, cycle by cycle, without a second list of entries.
  for (std::size_t place = 0; place < rows.size(); ++place) {
    if (rows[place] == place) continue;
    TFileEntry held = std::move(entries[place]);
    std::size_t hole = place;
    while (rows[hole] != place) {
      const std::size_t from = rows[hole];
      entries[hole] = std::move(entries[from]);
      rows[hole] = hole;
      hole = from;
    }
    entries[hole] = std::move(held);
    rows[hole] = hole;
  }
}

std::size_t PlaceOf(const std::vector<TFileEntry>& entries, std::size_t row, TFileOrder order, int dirFd) {
  const TFileEntry& moved = entries[row];
  const std::string movedKey = NameKey(moved.name, order.numbersByValue);
  const auto before = [&](const TFileEntry& other) {
    return Before(other, NameKey(other.name, order.numbersByValue), moved, movedKey, order, dirFd);
  };
  const auto first = entries.begin();
  const auto rowAt = first + static_cast<std::ptrdiff_t>(row);
  return static_cast<std::size_t>((std::partition_point(first, rowAt, before) - first) +
                                  (std::partition_point(rowAt + 1, entries.end(), before) - (rowAt + 1)));
}

}  // namespace qx
