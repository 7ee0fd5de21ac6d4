// SPDX-License-Identifier: GPL-3.0-or-later
// One folder's entries as the file list shows them: hidden ones left out (a run leaves
// them alone), folders first, in the order of a details column. Safe to read off the
// window's thread, so a large or slow folder never holds the window up.
#pragma once

#include <QCollatorSortKey>
#include <QMimeType>
#include <optional>
#include <string>
#include <vector>

#include "platform/UDirectory.h"
#include "platform/UFileStatus.h"

namespace qx {

enum TFileColumn { colName, colSize, colType, colModified, kFileColumnCount };

struct TFileOrder {
  int column = colName;
  Qt::SortOrder direction = Qt::AscendingOrder;
};

// What the details view shows beyond the name.
struct TFileDetails {
  std::optional<TFileStatus> status;
  QMimeType type;  // files only, by the name
};

struct TFileEntry {
  std::string name;
  bool isFolder = false;
  QCollatorSortKey key;
  // Read when first needed, from the folder open as `dirFd`.
  const TFileDetails& Details(int dirFd) const;
  QString Type(int dirFd) const;

  mutable std::optional<TFileDetails> details;
};

// Whether `a` comes before `b`: folders first, then by the column, then by name. A
// descending order reverses all but the folders coming first.
bool Before(const TFileEntry& a, const TFileEntry& b, TFileOrder order, int dirFd);

// The folder's shown entries, in the file system's order. Throws TSystemError when
// it cannot be read.
std::vector<TFileEntry> ReadEntries(const TDirectory& folder);
// Puts the entries of the folder open as `dirFd` in `order`.
void SortEntries(std::vector<TFileEntry>& entries, TFileOrder order, int dirFd);

}  // namespace qx
