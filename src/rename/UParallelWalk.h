// SPDX-License-Identifier: GPL-3.0-or-later
// The walk over several folders at once. On a network share each rename and look-up is
// a round trip, and renames in different folders overlap where those in one folder
// cannot. Workers take the folders in the walk's order, each writing its visit's effects
// into a journal and its nodes into a tree of its own; the run's thread replays them in
// the walk's order into the run's own output, so the log, the messages, the counts, the
// tree and the undo files are those of the walk one folder after another. The run's
// thread also visits a folder itself when the replay has come to it before any worker has.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "rename/UFolderVisit.h"
#include "rename/UResultTree.h"
#include "rename/URunOutput.h"

namespace qx {

class TParallelWalk {
 public:
  // Visits the folder at `place`: its effects go to `out`, its nodes (simulations) to
  // `tree` below `node`, and its counter jobs read and advance `counter`. Called by the
  // workers and by the run's thread at once.
  using TVisitFunction = std::function<TVisited(const TFolderPlace& place, TRunOutput& out, TResultTree& tree,
                                                TNodeId node, std::int32_t& counter)>;

  // `folders` workers beside the run's thread. `sink` is the run's own output, used on
  // the run's thread only: the journals are replayed into it, the top folder is visited
  // into it, and its Stopped() says when the run is cancelled. `simulated` is a
  // simulation's result tree, null in a real run. `pending` counts what the workers have
  // done and the replay has not reached yet; the sink's progress adds it.
  TParallelWalk(int folders, TVisitFunction visit, TRunOutput& sink, TResultTree* simulated, TPendingFigures& pending);
  ~TParallelWalk();
  TParallelWalk(const TParallelWalk&) = delete;
  TParallelWalk& operator=(const TParallelWalk&) = delete;

  // The whole walk from `startDirectory`. What stops the run (a failing undo file) is
  // thrown once every folder a worker had begun is finished and replayed.
  void Run(const std::string& startDirectory);

 private:
  class TJournal;
  struct TTask;
  struct TWalkOrder {
    bool operator()(const TTask* a, const TTask* b) const;
  };

  void Work();
  bool MayTakeFirst() const;
  void Visit(TTask& task);
  void AddSubdirectories(TTask& task);
  void Replay();
  bool Claim(TTask& task);
  bool Settle(TTask& task);
  void Stop(bool cancelled);
  void EndWorkers();

  const int m_folders;
  const std::size_t m_window;  // the most visited folders that may wait for the replay
  const TVisitFunction m_visit;
  TRunOutput& m_sink;
  TResultTree* const m_simulated;
  TPendingFigures& m_pending;
  std::unique_ptr<TTask> m_root;
  std::exception_ptr m_error;  // the first that stopped the run; the run's thread's

  // m_mutex guards the members below it (but m_cancelled) and every task's `state`,
  // `byRun` and `children`. The rest of a task is written by the one thread that visits
  // it, before its state becomes done under the lock; the run's thread reads it only
  // after seeing done, and a done task is never written again, so the replay reads a
  // finished task's visit, journal, tree and children without the lock.
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::set<TTask*, TWalkOrder> m_ready;  // begun by no one, in the walk's order
  std::size_t m_ahead = 0;               // folders visited by workers, not yet replayed
  bool m_stopped = false;                // cancelled, or stopped by a failure: no more folders begun
  bool m_finished = false;               // the workers end
  // Cancelled: the workers' folders give no further entry its turn. Set by the run's
  // thread, read by the workers without the lock.
  std::atomic<bool> m_cancelled = false;
  std::vector<std::jthread> m_workers;  // last: joined before the tasks go
};

}  // namespace qx
