// SPDX-License-Identifier: GPL-3.0-or-later
// What a run is told when it starts: the starting directory, the mask and the options
// of the main window. A run takes them once, so changing a control mid-run has no effect.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qx {

// The first four are numbered 0 to 3 in the settings (sortOrder) and in the order of the
// main window's buttons.
enum class TSortOrder { NameAsc, NameDesc, DateAsc, DateDesc, ListingOrder };

// The order a stored number stands for; nothing for a number outside 0 to 3.
inline std::optional<TSortOrder> SortOrderFromNumber(std::int64_t number) {
  if (number < 0 || number > 3) return std::nullopt;
  return static_cast<TSortOrder>(number);
}

// An entry a run is given by its path (a selection, a name from find), rather than one
// it finds by walking a folder.
struct TGivenEntry {
  std::string path;
  // Set by a list of new names or an editor; the ticked jobs make the new name otherwise.
  std::optional<std::string> newName = std::nullopt;
};

struct TRunOptions {
  std::string startDirectory;
  std::string fileMask = "*.*";
  bool simulate = false;
  bool recurseDirs = false;
  bool renameDirs = false;
  bool resetCounter = false;
  bool confirm = false;
  bool undo = false;
  bool log = false;
  bool sort = true;
  TSortOrder sortOrder = TSortOrder::NameAsc;
  // Sorting by name compares runs of digits by their value (f2 before f10), as file
  // managers show names; off, digit by digit as text.
  bool numbersByValue = true;
  // Subdirectories on another file system than the starting directory's (mount points)
  // are passed over.
  bool oneFileSystem = false;
  std::int32_t counterStart = 0;
  // How many folders a run may work on at once; 1 is one after the other, and
  // kAutomaticFolders lets the run choose (TRenameRun's FoldersAtOnce). More than one
  // are used only where the outcome cannot depend on the order, and never more than
  // kMostFoldersAtOnce.
  int parallel = 1;
  // Where a new name is taken: empty, the rename fails; else this text, its "%d" the
  // number, goes before the name's extension, from 2 up to the first name that is free
  // ("IMG 2024-06-03 (2).jpg" with " (%d)"). TakenSuffixProblem tells a text that cannot.
  std::string takenSuffix;
  // When set, the run takes exactly these entries, in any folders, instead of walking
  // the starting directory: files whatever the mask, folders renamed only with
  // renameDirs and entered only with recurseDirs (then walked as any folder is). An
  // empty list renames nothing.
  std::optional<std::vector<TGivenEntry>> given;
};

// Why `suffix` cannot number taken names (it must hold one "%d", and nothing a name
// cannot); nothing when it can.
inline std::optional<std::string> TakenSuffixProblem(const std::string& suffix) {
  const std::size_t mark = suffix.find("%d");
  if (mark == std::string::npos || suffix.find("%d", mark + 2) != std::string::npos) {
    return "it must hold %d once, where the number goes";
  }
  if (suffix.find_first_of(std::string("/\n\0", 3)) != std::string::npos)
    return "a name cannot hold a slash or a line break";
  return std::nullopt;
}

// The limits of folders at once, for the run and for what users may choose.
inline constexpr int kAutomaticFolders = 0;
// More than a share or a disk serves one program at once gains nothing.
inline constexpr int kMostFoldersAtOnce = 64;
// The run's own choice on a share: enough to overlap many round trips, few enough for
// what a server serves one client.
inline constexpr int kRemoteFoldersAtOnce = 32;
// The run's own choice on a local disk is a folder per core, up to this: beyond a few
// threads renames contend in the file system.
inline constexpr int kMostLocalFoldersAtOnce = 8;

}  // namespace qx
