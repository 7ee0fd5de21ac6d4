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
#include "rename/UResultTree.h"
#include "rename/URunHost.h"
#include "rename/URunOptions.h"
#include "rename/UTWRFile.h"

namespace qx {

class TDirectory;
struct TFileStatus;
class TFolderRenamer;
struct TFolderPlace;
struct TFolderVisit;
struct TGivenFolder;
struct TGivenName;
struct TGivenPlan;
struct TPendingFigures;
class TRunOutput;
struct TVisited;

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
  // A simulation's tree also holds each entry's name before the run.
  void KeepOldNamesInTree() { m_tree.KeepOldNames(); }
  // Hands the result tree over instead of copying it; the run's own is then empty.
  TResultTree TakeResultTree() { return std::move(m_tree); }
  const TRunOptions& Options() const { return m_options; }

 private:
  struct TStep;
  class TDirectOutput;

  void StartRun();
  // The closing log lines; a run that did not reach its end says why first.
  void FinishRun(bool completed);
  // A failure that ends the run (its undo file, a folder it cannot hold): counted,
  // logged and shown; what the run has done stands.
  void StopRun(const std::string& text);
  // Depth first on a stack of its own: a tree may be deeper than the machine's stack.
  void Walk();
  // Enters the subdirectories of a folder visited, and theirs, depth first.
  void WalkFrom(TVisited visited);
  // The run over given entries: their folders one after the other, the given folders
  // among them entered when the run recurses.
  void WalkGiven(TGivenPlan& plan);
  TVisited VisitGiven(TGivenFolder& folder, TNodeId node, double share);
  // `folders` at once (FoldersAtOnce).
  void WalkInParallel(int folders);
  // One folder's visit: entered, its directory and file steps made, its effects into
  // `out`, its nodes (simulations) into `tree` below `node`, its counter jobs on `counter`.
  // Any thread, as the walk over several folders at once calls it from its workers.
  TVisited Visit(const TFolderPlace& place, TRunOutput& out, TResultTree& tree, TNodeId node, std::int32_t& counter);
  // "> Changing to" and the opening; nothing when the directory cannot be opened (the
  // failure has gone to `out`), is a folder this run has visited already (through a bind
  // mount or a loop: reported too), or lies on another file system with oneFileSystem.
  std::optional<TDirectory> OpenVisit(TRunOutput& out, const TFolderPlace& place);
  // An open directory's collection and steps; true when its subdirectories are to be
  // entered, false when it could not be read or the run does not recurse. With `given`,
  // the steps take its given entries instead of what the folder holds.
  bool VisitSteps(TFolderVisit& visit, double share, TGivenFolder* given = nullptr);
  // How far each entry's turn moves the counter: one per counter job ticked.
  int CountersPerTurn() const;
  // Whether the folder is entered for the first time in this run; any thread.
  bool FirstVisit(const TFileStatus& folder);
  void DirectoryStep(TFolderVisit& visit, double share);
  void FileStep(TFolderVisit& visit, const TWRFileList& files, double share);
  // One entry's turn: its new name computed (the counter advances), checked, asked for,
  // and handed to the step's renamer, which makes it now or once the name is free.
  void TakeTurn(TStep& step, TFolderRenamer& renamer, std::size_t entry);
  // Why the run refuses to rename `oldName` to `newName`, before asking the file system
  // (a simulation predicts the same); nothing when it does not.
  std::optional<std::string> Refusal(const TFolderVisit& visit, std::string_view oldName,
                                     std::string_view newName) const;
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
  void AddProgress(double amount);
  // How many folders this run works on at once: one unless its outcome cannot depend on
  // their order (no question per rename, no counter that runs on from folder to folder);
  // else as asked, within the most a run takes, or, left to the run, what the start
  // folder's file system serves well.
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
  std::int32_t m_givenCounter = 0;  // at a given entry's turn, the value its plan holds
  TResultTree m_tree;
  std::unique_ptr<TDirectOutput> m_direct;  // the run's own output: host, tree and state
  // Of a walk over several folders at once: what its workers have done, not yet replayed.
  std::unique_ptr<TPendingFigures> m_pending;
};

}  // namespace qx
