// SPDX-License-Identifier: GPL-3.0-or-later
// The rename run: walks a directory tree from the starting directory, passes every
// collected name through the ticked jobs and renames the entry (never replacing
// another), or in a simulation builds the predicted result tree. Talks to whoever
// drives it only through TRunHost.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "jobs/UTJob.h"
#include "platform/UMessages.h"
#include "rename/UResultTree.h"
#include "rename/URunOptions.h"
#include "rename/UTWRFile.h"

namespace qx {

class TDirectory;
struct TFileStatus;
class TFolderRenamer;
class TUndoFileWriter;

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

class TRenameRun {
 public:
  TRenameRun(const TJobList& jobs, TRunOptions options, TRunHost& host);
  ~TRenameRun();

  // StartRun, the walk from the starting directory, FinishRun's log lines. Returns
  // false when the run was stopped by a failing or unfit undo file (the error has been
  // shown).
  bool Run();

  const TRunState& State() const { return m_state; }
  const TResultTree& ResultTree() const { return m_tree; }
  // Hands the result tree over instead of copying it; the run's own is then empty.
  TResultTree TakeResultTree() { return std::move(m_tree); }
  const TRunOptions& Options() const { return m_options; }

 private:
  struct TVisit;
  struct TStep;
  class TOutput;
  class TDirectOutput;
  class TJournal;
  class TParallelWalk;
  struct TPendingFigures;

  void StartRun();
  // The closing log lines; a run that did not reach its end says why first.
  void FinishRun(bool completed);
  // A failure that ends the run (its undo file, a folder it cannot hold): counted,
  // logged and shown; what the run has done stands.
  void StopRun(const std::string& text);
  // Depth first on a stack of its own: a tree may be deeper than the machine's stack.
  void Walk();
  // `folders` at once (FoldersAtOnce).
  void WalkInParallel(int folders);
  // Enters one directory and makes its directory and file steps; pushes the visit when
  // its subdirectories are to be entered.
  void Enter(std::vector<TVisit>& visits, const TDirectory* parent, const std::string& name, double share, int depth,
             TNodeId node);
  // "> Changing to" and the opening; nothing when the directory cannot be opened (the
  // failure has gone to `out`), is a folder this run has visited already (through a bind
  // mount or a loop: reported too), or lies on another file system with oneFileSystem.
  std::optional<TDirectory> OpenVisit(TOutput& out, const TDirectory* parent, const std::string& name, int depth,
                                      double share);
  // An open directory's collection and steps; true when its subdirectories are to be
  // entered, false when it could not be read or the run does not recurse.
  bool VisitSteps(TVisit& visit, double share);
  // Whether the folder is entered for the first time in this run; any thread.
  bool FirstVisit(const TFileStatus& folder);
  // "+ Recursing into" subdirectory `i` of `visit`, logged only for a folder the run
  // enters (or a worker has begun).
  void LogDescent(const TVisit& visit, std::size_t i);
  void DirectoryStep(TVisit& visit, double share);
  void FileStep(TVisit& visit, const TWRFileList& files, double share);
  // One entry's turn: its new name computed (the counter advances), checked, asked for,
  // and handed to the step's renamer, which makes it now or once the name is free.
  void TakeTurn(TStep& step, TFolderRenamer& renamer, std::size_t entry);
  // Why the run refuses to rename `oldName` to `newName`, before asking the file system
  // (a simulation predicts the same); nothing when it does not.
  std::optional<std::string> Refusal(const TVisit& visit, std::string_view oldName, std::string_view newName) const;
  // The answer to "Confirm every change" for one rename: Yes to All stops the asking,
  // Cancel cancels the run and keeps the name.
  bool MayRename(const std::string& question);
  // Once cancelled (by the host or by an answer), the run enters no more folders, asks
  // no more questions (with confirming, the rest of its folder keeps its names) and
  // shows no more failures (they are still counted and logged).
  bool IsCancelled();
  // Counts, logs and, unless `quiet` (a simulation's predicted failure, shown in its
  // tree), shows a failure with its reason, until Ignore All or a cancel; Cancel cancels.
  void Fail(int depth, const std::string& text, const std::string& reason, bool quiet = false);
  // One log line indented three blanks per level, composed only when the run logs.
  template <typename... TPieces>
  void Log(TOutput& out, int depth, const TPieces&... pieces);
  void AddProgress(double amount);
  // How many folders this run works on at once: one unless its outcome cannot depend on
  // their order (no question per rename, no counter that runs on from folder to folder);
  // else as asked, or, left to the run, what the start folder's file system serves well.
  int FoldersAtOnce() const;

  const TJobList& m_jobs;
  TRunOptions m_options;
  TRunHost& m_host;
  const bool m_recordsUndo;
  // The folders entered so far, by device and inode, so that none is visited twice;
  // shared by the workers of a run over several folders at once.
  std::mutex m_visitedLock;
  std::set<std::pair<dev_t, ino_t>> m_visited;
  std::optional<dev_t> m_startDevice;  // once the starting directory is open
  // Cleared by Yes to All and by Ignore All.
  bool m_asksEachRename;
  bool m_showsEachFailure = true;
  TRunState m_state;
  std::int32_t m_counterValue = 0;
  TResultTree m_tree;
  std::unique_ptr<TDirectOutput> m_direct;  // the run's own output: host, tree and state
  TPendingFigures* m_pending = nullptr;     // while workers run: what they have done, not yet replayed
};

}  // namespace qx
