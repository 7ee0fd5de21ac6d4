// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/browse/UFolderEntries.h"

#include <QMimeDatabase>
#include <algorithm>

#include "ui/browse/UListingModel.h"

namespace qx {

namespace {

template <typename T>
int CompareValues(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

const TFileDetails& TFileEntry::Details(int dirFd) const {
  if (!details) {
    TFileDetails read;
    read.status = StatusOf(dirFd, name);
    // By the name alone: the list never reads a file's content.
    if (!isFolder) read.type = QMimeDatabase().mimeTypeForFile(ShownName(name), QMimeDatabase::MatchExtension);
    details = std::move(read);
  }
  return *details;
}

QString TFileEntry::Type(int dirFd) const {
  return isFolder ? QStringLiteral("Folder") : Details(dirFd).type.comment();
}

bool Before(const TFileEntry& a, const TFileEntry& b, TFileOrder order, int dirFd) {
  if (a.isFolder != b.isFolder) return a.isFolder;
  const auto size = [dirFd](const TFileEntry& entry) {
    const auto& status = entry.Details(dirFd).status;
    return entry.isFolder || !status ? std::uint64_t{0} : status->size;
  };
  const auto modified = [dirFd](const TFileEntry& entry) {
    const auto& status = entry.Details(dirFd).status;
    return status ? status->modifiedNs : std::int64_t{0};
  };
  int byColumn = 0;
  switch (order.column) {
    case colSize: byColumn = CompareValues(size(a), size(b)); break;
    case colType: byColumn = a.Type(dirFd).compare(b.Type(dirFd), Qt::CaseInsensitive); break;
    case colModified: byColumn = CompareValues(modified(a), modified(b)); break;
    default: break;
  }
  if (byColumn == 0) byColumn = CompareNames(a.key, a.name, b.key, b.name);
  return order.direction == Qt::AscendingOrder ? byColumn < 0 : byColumn > 0;
}

std::vector<TFileEntry> ReadEntries(const TDirectory& folder) {
  std::vector<TFileEntry> entries;
  for (const TDirEntry& entry : folder.List()) {
    if (entry.name.front() != '.') entries.push_back({entry.name, entry.isDirectory, NameKey(entry.name), {}});
  }
  return entries;
}

void SortEntries(std::vector<TFileEntry>& entries, TFileOrder order, int dirFd) {
  std::sort(entries.begin(), entries.end(),
            [&](const TFileEntry& a, const TFileEntry& b) { return Before(a, b, order, dirFd); });
}

}  // namespace qx
