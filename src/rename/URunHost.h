// SPDX-License-Identifier: GPL-3.0-or-later
// What a rename run tells whoever drives it, and asks of them: its figures, each entry's
// outcome, its log lines, its progress and questions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/UMessages.h"

namespace qx {

class TDirectory;

struct TRunState {
  std::int32_t FilesProcessed = 0;
  std::int32_t DirsProcessed = 0;
  std::int32_t FilesRenamed = 0;
  std::int32_t DirsRenamed = 0;
  // Everything that failed: renames, predicted clashes, folders that could not be
  // entered or read. Zero means nothing failed.
  std::int32_t ErrorCount = 0;
  double Progress = 0;  // 0 to 1
  bool Cancelled = false;
};

enum class TEntryKind { File, Directory };

// What became of an entry. A clash is a new name that another entry holds (in a
// simulation, would hold); a failure anything else that kept the old name: a job error,
// a name the run refuses, a rename the file system refused.
enum class TEntryStatus : std::uint8_t { Unchanged, Renamed, Clash, Failed };

// A folder's path as the run's messages give it: the starting directory, then each
// folder by the name the run entered it by. Composed when first asked for, since a walk
// keeps no path per level and most hosts never ask.
class TFolderPath {
 public:
  explicit TFolderPath(const TDirectory& directory) : m_directory(directory) {}
  const std::string& Text() const;
  // The path of the entry `name` in this folder.
  std::string PathOf(std::string_view name) const;

 private:
  const TDirectory& m_directory;
  mutable std::optional<std::string> m_text;
};

// One entry as the run reports it to its host. The views hold only during the call.
struct TEntryOutcome {
  const TFolderPath& folder;  // the folder holding the entry
  std::string_view oldName;
  // The name the jobs gave: the one refused for a clash or a failure; the old name when
  // unchanged (declined included) or when a job failed and gave none.
  std::string_view newName;
  TEntryKind kind;
  TEntryStatus status;
  std::string_view reason;  // a clash's or a failure's, as the log gives it; else empty
};

// The desktop program answers with its windows, the command line with the terminal.
class TRunHost : public TMessageHost {
 public:
  // One log line, indented already; called only when the run logs.
  virtual void AddLogLine(const std::string& line) = 0;
  // The directory being entered; then let pending events run.
  virtual void SetCurrentItem(const std::string& item) = 0;
  // Called after every entry; then let pending events run (a Cancel click arrives here).
  virtual void UpdateProgress(const TRunState& state) = 0;
  // Whether the user has asked the run to stop (Cancel, Ctrl-C, closing the window);
  // polled before every folder, question and failure message.
  virtual bool CancelRequested() = 0;
  // Every entry the run took a turn for (files, and folders when they are renamed), in
  // the order of the walk, once the renames of its step in its folder are settled; a
  // simulation's entries as its tree shows them. When the run stops inside a step (a
  // failing undo file, a folder of too many names), that step reports none.
  virtual void EntryDone(const TEntryOutcome&) {}
};

}  // namespace qx
