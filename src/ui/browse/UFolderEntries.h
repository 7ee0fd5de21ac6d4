// SPDX-License-Identifier: GPL-3.0-or-later
// One folder's entries as the file list shows them: hidden ones left out (a run leaves
// them alone), folders first, in the order of a details column. Safe to read off the
// window's thread, so a large or slow folder never holds the window up.
#pragma once

#include <QMimeType>
#include <memory>
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
  bool numbersByValue = true;  // as a run's order by name
};

// What the details view shows beyond the name.
struct TFileDetails {
  std::optional<TFileStatus> status;
  QMimeType type;  // files only, by the name
};

// Kept small: a folder of a million files holds a million of them.
struct TFileEntry {
  std::string name;
  bool isFolder = false;
  // Read when first needed, from the folder open as `dirFd`.
  const TFileDetails& Details(int dirFd) const;
  QString Type(int dirFd) const;

  // Most rows of a large folder are never shown, so most never hold details.
  mutable std::unique_ptr<TFileDetails> details;
};

// The folder's shown entries, in the file system's order. Throws TSystemError when
// it cannot be read.
std::vector<TFileEntry> ReadEntries(const TDirectory& folder);
// The entries at `paths` below `folder`, each named by that path, in the order given;
// those no longer there are left out.
std::vector<TFileEntry> ReadSelected(const TDirectory& folder, const std::vector<std::string>& paths);

// The order: folders first, then by the column, then by name as the views order names.
// A descending order reverses all but the folders coming first.
//
// The rows of `entries` in `order`, first to last; the entries are of the folder open
// as `dirFd`.
std::vector<std::size_t> SortedRows(const std::vector<TFileEntry>& entries, TFileOrder order, int dirFd);
// Puts the entries in `order`.
void SortEntries(std::vector<TFileEntry>& entries, TFileOrder order, int dirFd);
// How many of the entries other than the one at `row` come before it in `order`: its
// place once its name changed, the others being in that order.
std::size_t PlaceOf(const std::vector<TFileEntry>& entries, std::size_t row, TFileOrder order, int dirFd);

}  // namespace qx
