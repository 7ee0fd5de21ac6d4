// SPDX-License-Identifier: GPL-3.0-or-later
// The rename run's own parts, shared by its walk one folder after another
// (URenameRun.cpp) and its walk over several folders at once (URenameRunParallel.cpp).
// Nothing else includes this.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/UDirectory.h"
#include "platform/UUndoFile.h"
#include "rename/UFolderRenamer.h"
#include "rename/UNameArena.h"
#include "rename/URenameRun.h"

namespace qx {

// What one directory visit holds; nothing of it outlives the visit. Its steps run while
// it is the newest visit of its walk (or its worker's), so the undo file may hold on to
// its directory meanwhile.
struct TRenameRun::TVisit {
  TDirectory directory;
  int depth;
  TNodeId node;                                 // simulated runs: the directory's node in `tree`
  double descentShare;                          // the progress its subdirectories' visits make
  TOutput* out;                                 // where its log lines, failures, counts and progress go
  TResultTree* tree;                            // simulated runs: where its nodes go
  std::int32_t* counter;                        // the counter its counter jobs read and advance
  std::size_t nameMax = 0;                      // the longest name its file system allows
  TUndoFileWriter* undo = nullptr;              // during the steps of a real run with undo on
  TNameArena names = {};                        // the listing's names, then the new names and temporaries
  TWRFileList directories{false};               // collected once; serves the rename step and the descents
  std::vector<TNameId> directoryNewNames = {};  // real runs that rename folders: each one's name after its step
  std::vector<TNodeId> treeIndexList = {};      // simulated runs: each subdirectory's node
  std::unique_ptr<TRenameFolder> folder = {};   // during the steps: where the renames are made
  std::size_t descended = 0;                    // subdirectories entered so far

  // The name subdirectory `i` is entered by: its new name once a real run renamed it.
  std::string_view SubdirectoryName(std::size_t i) const {
    return names.View(directoryNewNames.empty() ? directories.Name(i) : directoryNewNames[i]);
  }
};

// Where a visit's effects go: its log lines, failures, counts, progress, entries and
// current item. The walk one folder after another hands them straight to the run; the
// parallel walk lets a worker's visit write a journal, which the run replays in the
// walk's order, so that both give the same log, messages, counts and progress.
class TRenameRun::TOutput {
 public:
  virtual ~TOutput() = default;
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

class TRenameRun::TDirectOutput : public TOutput {
 public:
  explicit TDirectOutput(TRenameRun& run) : m_run(run) {}
  bool Logs() const override { return m_run.m_options.log; }
  void Log(std::string line) override { m_run.m_host.AddLogLine(line); }
  void Fail(int depth, const std::string& text, const std::string& reason, bool quiet) override {
    m_run.Fail(depth, text, reason, quiet);
  }
  void Count(std::int32_t TRunState::*figure) override { ++(m_run.m_state.*figure); }
  void AddProgress(double amount) override { m_run.AddProgress(amount); }
  void SetCurrentItem(const std::string& item) override { m_run.m_host.SetCurrentItem(item); }
  void EntryDone(const TEntryOutcome& outcome) override { m_run.m_host.EntryDone(outcome); }
  bool Stopped() override { return m_run.IsCancelled(); }
  void SayTargetsChecked(int depth) override {
    if (m_said) return;
    m_said = true;
    m_run.Log(*this, depth,
              "+ This file system cannot refuse to replace an entry: each new name is looked up just before its "
              "rename");
  }

 private:
  TRenameRun& m_run;
  bool m_said = false;
};

template <typename... TPieces>
void TRenameRun::Log(TOutput& out, int depth, const TPieces&... pieces) {
  if (!out.Logs()) return;
  std::string line(3 * static_cast<std::size_t>(depth), ' ');
  (line.append(std::string_view(pieces)), ...);
  out.Log(std::move(line));
}

// The figures a journal holds that the run has not replayed yet, so that the progress
// shown while workers run counts their work too.
struct TRenameRun::TPendingFigures {
  std::atomic<std::int32_t> filesProcessed = 0, dirsProcessed = 0, filesRenamed = 0, dirsRenamed = 0, errors = 0;
  std::atomic<double> progress = 0;

  std::atomic<std::int32_t>& Of(std::int32_t TRunState::*figure) {
    if (figure == &TRunState::FilesProcessed) return filesProcessed;
    if (figure == &TRunState::DirsProcessed) return dirsProcessed;
    if (figure == &TRunState::FilesRenamed) return filesRenamed;
    if (figure == &TRunState::DirsRenamed) return dirsRenamed;
    return errors;
  }
  TRunState AddedTo(TRunState state) const {
    state.FilesProcessed += filesProcessed;
    state.DirsProcessed += dirsProcessed;
    state.FilesRenamed += filesRenamed;
    state.DirsRenamed += dirsRenamed;
    state.ErrorCount += errors;
    state.Progress += progress;
    return state;
  }
};

}  // namespace qx
