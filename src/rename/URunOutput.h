// SPDX-License-Identifier: GPL-3.0-or-later
// Where a folder's visit writes its effects: its log lines, failures, counts, progress,
// entries and current item. The run's own output hands them straight to its host; the
// walk over several folders at once lets a worker's visit write a journal, which the
// run's thread replays in the walk's order, so that both walks give the same log,
// messages, counts and progress.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "rename/URunHost.h"

namespace qx {

class TRunOutput {
 public:
  virtual ~TRunOutput() = default;
  virtual bool Logs() const = 0;
  virtual void Log(std::string line) = 0;
  virtual void Fail(int depth, const std::string& text, const std::string& reason, bool quiet) = 0;
  virtual void Count(std::int32_t TRunState::*figure) = 0;
  virtual void AddProgress(double amount) = 0;
  virtual void SetCurrentItem(const std::string& item) = 0;
  virtual void EntryDone(const TEntryOutcome& outcome) = 0;
  // The run says once that a file system makes it look up each new name first.
  virtual void SayTargetsChecked(int depth) = 0;
  // Whether the run has been cancelled: no further entry then takes its turn, since a
  // turn may read a photo's metadata from a slow disk.
  virtual bool Stopped() = 0;
};

// One log line indented three blanks per level, composed only when `out` logs.
template <typename... TPieces>
void LogLine(TRunOutput& out, int depth, const TPieces&... pieces) {
  if (!out.Logs()) return;
  std::string line(3 * static_cast<std::size_t>(depth), ' ');
  (line.append(std::string_view(pieces)), ...);
  out.Log(std::move(line));
}

// What the walk over several folders at once has done and the replay has not reached
// yet, so that the progress shown meanwhile counts the workers' work too. Zero in a run
// one folder after another.
struct TPendingFigures {
  std::atomic<std::int32_t> filesProcessed = 0, dirsProcessed = 0, filesRenamed = 0, dirsRenamed = 0, errors = 0;
  std::atomic<double> progress = 0;

  std::atomic<std::int32_t>& Of(std::int32_t TRunState::*figure);
  TRunState AddedTo(TRunState state) const;
};

}  // namespace qx
