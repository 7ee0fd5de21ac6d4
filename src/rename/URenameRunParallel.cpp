// SPDX-License-Identifier: GPL-3.0-or-later
// The run over several folders at once. On a network share each rename and look-up is a
// round trip, and renames in different folders overlap where those in one folder cannot.
// Workers take the folders in the walk's order, each writing its visit's effects into a
// journal and its nodes into a tree of its own; the run's thread replays them in the
// walk's order, so the log, the messages, the counts, the tree and the undo files are
// those of the walk one folder after another. The run's thread also visits a folder
// itself when the replay has come to it before any worker has.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <set>
#include <thread>
#include <variant>

#include "rename/URenameRun.h"
#include "rename/URenameRunParts.h"

namespace qx {

// A worker's visit's effects, in the order they happened.
class TRenameRun::TJournal : public TOutput {
 public:
  TJournal(bool logs, TPendingFigures& pending, const std::atomic<bool>& cancelled)
      : m_logs(logs), m_pending(pending), m_cancelled(cancelled) {}

  bool Logs() const override { return m_logs; }
  void Log(std::string line) override { m_events.emplace_back(TLine{std::move(line)}); }
  void Fail(int depth, const std::string& text, const std::string& reason, bool quiet) override {
    m_events.emplace_back(TFailure{depth, text, reason, quiet});
    ++m_pending.errors;
  }
  void Count(std::int32_t TRunState::*figure) override {
    m_events.emplace_back(TCount{figure});
    ++m_pending.Of(figure);
  }
  void AddProgress(double amount) override {
    m_events.emplace_back(TProgress{amount});
    m_pending.progress += amount;
  }
  void SetCurrentItem(const std::string& item) override { m_events.emplace_back(TItem{item}); }
  void EntryDone(const TEntryOutcome& outcome) override {
    m_events.emplace_back(TEntry{std::string(outcome.oldName), std::string(outcome.newName),
                                 std::string(outcome.reason), outcome.kind, outcome.status});
  }
  void SayTargetsChecked(int depth) override { m_events.emplace_back(TTargetsChecked{depth}); }
  bool Stopped() override { return m_cancelled; }

  // Into `out` as they happened; the entries are in `directory`, when it was opened.
  void Replay(TOutput& out, const TDirectory* directory) {
    std::optional<TFolderPath> folder;
    if (directory) folder.emplace(*directory);
    for (TEvent& event : m_events) {
      if (auto* line = std::get_if<TLine>(&event)) {
        out.Log(std::move(line->text));
      } else if (auto* failure = std::get_if<TFailure>(&event)) {
        --m_pending.errors;
        out.Fail(failure->depth, failure->text, failure->reason, failure->quiet);
      } else if (auto* count = std::get_if<TCount>(&event)) {
        --m_pending.Of(count->figure);
        out.Count(count->figure);
      } else if (auto* progress = std::get_if<TProgress>(&event)) {
        m_pending.progress -= progress->amount;
        out.AddProgress(progress->amount);
      } else if (auto* item = std::get_if<TItem>(&event)) {
        out.SetCurrentItem(item->name);
      } else if (auto* entry = std::get_if<TEntry>(&event); entry && folder) {  // entries come only from a visit
        out.EntryDone({*folder, entry->oldName, entry->newName, entry->kind, entry->status, entry->reason});
      } else if (auto* said = std::get_if<TTargetsChecked>(&event)) {
        out.SayTargetsChecked(said->depth);
      }
    }
    m_events.clear();
  }

 private:
  struct TLine {
    std::string text;
  };
  struct TFailure {
    int depth;
    std::string text, reason;
    bool quiet;
  };
  struct TCount {
    std::int32_t TRunState::*figure;
  };
  struct TProgress {
    double amount;
  };
  struct TItem {
    std::string name;
  };
  struct TEntry {
    std::string oldName, newName, reason;
    TEntryKind kind;
    TEntryStatus status;
  };
  struct TTargetsChecked {
    int depth;
  };
  using TEvent = std::variant<TLine, TFailure, TCount, TProgress, TItem, TEntry, TTargetsChecked>;

  bool m_logs;
  TPendingFigures& m_pending;
  const std::atomic<bool>& m_cancelled;
  std::vector<TEvent> m_events;
};

class TRenameRun::TParallelWalk {
 public:
  TParallelWalk(TRenameRun& run, int folders) : m_run(run), m_folders(folders), m_window(Window(folders)) {}

  // The whole walk. What stops the run (a failing undo file) is thrown once every
  // folder a worker had started is finished and replayed.
  void Run() {
    TRenameRun& run = m_run;
    m_root.name = run.m_options.startDirectory;
    m_root.share = 1.0;
    if (run.m_options.simulate) m_root.node = run.m_tree.AddRoot(run.m_options.startDirectory);
    run.m_pending = &m_pending;
    // Stopped and joined on the way out, thrown or not, before the tasks go.
    struct TStopper {
      TParallelWalk& walk;
      ~TStopper() {
        {
          std::lock_guard lock(walk.m_mutex);
          walk.m_stopped = walk.m_finished = true;
        }
        walk.m_changed.notify_all();
        walk.m_workers.clear();
        walk.m_run.m_pending = nullptr;
      }
    } stopper{*this};
    // The top folder is the run's thread's, before any worker starts: a single folder,
    // however large, goes straight into the run, as one folder after another would.
    if (run.IsCancelled()) return;
    m_root.state = TTaskState::running;
    m_root.byRun = true;
    if (Settle(m_root)) {
      // As many workers as folders at once: the run's thread replays, and visits a
      // folder itself only when every worker is busy with later ones.
      for (int i = 0; i < m_folders; ++i) m_workers.emplace_back([this] { Work(); });
      Replay();
    }
    if (m_error) std::rethrow_exception(m_error);
  }

 private:
  // How many visited folders may wait for the replay: a few per worker, so that a slow
  // folder does not idle the others, and never more than a quarter of the open-file
  // limit, as each holds its directory (and a worker's also its undo file) open; the
  // rest of the limit is the deep tree's, one handle per level, as for the walk one
  // folder after another.
  static std::size_t Window(int parallel) {
    return std::max<std::size_t>(1, std::min(4 * static_cast<std::size_t>(parallel), OpenFileLimit() / 4));
  }

  enum class TTaskState { ready, running, done, skipped };

  // One folder of the walk: entered by `name` from its parent's directory.
  struct TTask {
    TTask* parent = nullptr;
    std::size_t index = 0;  // among its parent's subdirectories
    int depth = 0;
    double share = 0;
    std::string name;
    TNodeId node = TResultTree::kNoNode;  // simulated runs: its node in the run's tree, once known
    TTaskState state = TTaskState::ready;
    bool byRun = false;                 // visited by the run's thread, straight into its output
    std::unique_ptr<TJournal> journal;  // a worker's visit's effects
    TResultTree tree;                   // a worker's visit's nodes, below a root of its own
    std::int32_t counter = 0;
    std::unique_ptr<TVisit> visit;  // once opened; its directory and names serve the subdirectories
    bool recurses = false;
    std::vector<std::unique_ptr<TTask>> children;
    std::exception_ptr error;
  };

  // The walk's order: a folder before its subdirectories, and those in their order.
  struct TWalkOrder {
    bool operator()(const TTask* a, const TTask* b) const {
      if (a == b) return false;
      const TTask* x = a;
      const TTask* y = b;
      while (x->depth > y->depth) x = x->parent;
      while (y->depth > x->depth) y = y->parent;
      if (x == y) return a->depth < b->depth;  // one holds the other
      while (x->parent != y->parent) {
        x = x->parent;
        y = y->parent;
      }
      return x->index < y->index;
    }
  };

  // A worker: the first folder in the walk's order, while it keeps no more than the
  // window's number of visited folders waiting for the replay, so that memory and open
  // directories stay bounded. The folder the replay waits for is never held back by
  // the window: one no worker has begun is the run's thread's.
  void Work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
      m_changed.wait(lock, [this] { return m_finished || (!m_ready.empty() && MayTakeFirst()); });
      if (m_ready.empty()) return;
      TTask* task = *m_ready.begin();
      m_ready.erase(m_ready.begin());
      if (m_stopped) {
        task->state = TTaskState::skipped;
        m_changed.notify_all();
        continue;
      }
      task->state = TTaskState::running;
      ++m_ahead;
      lock.unlock();
      Visit(*task);
      lock.lock();
    }
  }

  bool MayTakeFirst() const { return m_stopped || m_ahead < m_window; }

  // One folder's visit, by a worker into a journal, or by the run's thread straight into
  // the run; then its subdirectories become folders to visit.
  void Visit(TTask& task) {
    TRenameRun& run = m_run;
    TOutput* out = run.m_direct.get();
    TResultTree* tree = &run.m_tree;
    // Only the run's thread knows, and sets, where a folder's node goes in its tree.
    TNodeId node = task.byRun ? task.node : TResultTree::kNoNode;
    if (!task.byRun) {
      task.journal = std::make_unique<TJournal>(run.m_options.log, m_pending, m_cancelled);
      out = task.journal.get();
      tree = &task.tree;
      node = run.m_options.simulate ? task.tree.AddRoot("") : TResultTree::kNoNode;
    }
    task.counter = run.m_options.counterStart;
    try {
      const TDirectory* parent = task.parent ? &task.parent->visit->directory : nullptr;
      if (auto entered = run.OpenVisit(*out, parent, task.name, task.depth, task.share)) {
        task.visit =
            std::make_unique<TVisit>(TVisit{std::move(*entered), task.depth, node, 0, out, tree, &task.counter});
        task.recurses = run.VisitSteps(*task.visit, task.share);
      }
    } catch (...) {
      task.error = std::current_exception();
    }
    std::lock_guard lock(m_mutex);
    task.state = TTaskState::done;
    if (task.error) m_stopped = true;
    if (task.recurses) AddSubdirectories(task);
    m_changed.notify_all();
  }

  // Under the lock: the subdirectories of a visited folder, each entered by its name
  // after the folder's own renames.
  void AddSubdirectories(TTask& task) {
    const TVisit& visit = *task.visit;
    const std::size_t count = visit.directories.Size();
    for (std::size_t i = 0; i < count; ++i) {
      auto child = std::make_unique<TTask>();
      child->parent = &task;
      child->index = i;
      child->depth = task.depth + 1;
      child->share = visit.descentShare / static_cast<double>(count);
      child->name = visit.SubdirectoryName(i);
      if (m_stopped) {
        child->state = TTaskState::skipped;
      } else {
        m_ready.insert(child.get());
      }
      task.children.push_back(std::move(child));
    }
  }

  // The run's thread, after the top folder: the folders below it in the walk's order,
  // each replayed once visited, as the walk one folder after another would have made them.
  void Replay() {
    TRenameRun& run = m_run;
    std::vector<std::pair<TTask*, std::size_t>> stack{{&m_root, 0}};
    while (!stack.empty()) {
      auto& [task, next] = stack.back();
      if (next == task->children.size()) {
        task->children.clear();
        task->visit.reset();
        stack.pop_back();
        continue;
      }
      const std::size_t i = next++;
      const TVisit& visit = *task->visit;
      TTask& child = *task->children[i];
      // As the walk one folder after another asks before it enters a folder. Once the
      // run is stopped (cancelled, or by a failure) only the folders already begun are
      // told: the others are never entered, nor logged as if they were.
      if (run.IsCancelled()) Stop();
      if (!Claim(child)) continue;
      run.LogDescent(visit, i);
      if (run.m_options.simulate) child.node = visit.treeIndexList[i];
      if (Settle(child)) stack.emplace_back(&child, 0);
    }
  }

  // Whether the folder is visited: one a worker has begun is; one no worker has begun
  // is the run's thread's from here on, unless the run is stopped.
  bool Claim(TTask& task) {
    std::lock_guard lock(m_mutex);
    if (task.state == TTaskState::ready) {
      m_ready.erase(&task);
      task.state = m_stopped ? TTaskState::skipped : TTaskState::running;
      task.byRun = !m_stopped;
    }
    return task.state != TTaskState::skipped;
  }

  // Makes a claimed folder's visit, or waits for its worker's, and replays it; true
  // when its subdirectories follow.
  bool Settle(TTask& task) {
    TRenameRun& run = m_run;
    if (task.byRun) {
      Visit(task);
    } else {
      std::unique_lock lock(m_mutex);
      while (task.state != TTaskState::done) {
        m_changed.wait_for(lock, std::chrono::milliseconds(50));
        lock.unlock();
        // The host is asked only on this thread, between the workers' folders.
        if (run.IsCancelled()) Stop();
        run.m_host.UpdateProgress(m_pending.AddedTo(run.m_state));
        lock.lock();
      }
      --m_ahead;
      lock.unlock();
      m_changed.notify_all();
      if (task.visit && run.m_options.simulate) {
        // The worker's nodes take their place in the run's tree; its subdirectories'
        // nodes with them.
        const TNodeId first = run.m_tree.AppendChildrenOf(task.node, task.tree);
        for (TNodeId& node : task.visit->treeIndexList) node = first + (node - 1);
        task.tree.Clear();
      }
      task.journal->Replay(*run.m_direct, task.visit ? &task.visit->directory : nullptr);
      task.journal.reset();
    }
    if (task.error && !m_error) m_error = task.error;
    if (run.m_state.Cancelled || task.error) Stop();
    return task.recurses;
  }

  void Stop() {
    {
      std::lock_guard lock(m_mutex);
      m_stopped = true;
    }
    if (m_run.m_state.Cancelled) m_cancelled = true;
    m_changed.notify_all();
  }

  TRenameRun& m_run;
  const int m_folders;
  const std::size_t m_window;
  TPendingFigures m_pending;
  TTask m_root;
  std::exception_ptr m_error;  // the first that stopped the run
  std::mutex m_mutex;          // guards what follows, and the tasks' states and children
  std::condition_variable m_changed;
  std::set<TTask*, TWalkOrder> m_ready;
  std::size_t m_ahead = 0;  // folders visited by workers, not yet replayed
  bool m_stopped = false;   // cancelled, or stopped by a failure: no more folders begun
  // Cancelled: the workers' folders give no further entry its turn. Set by the run's
  // thread, read by the workers without the lock.
  std::atomic<bool> m_cancelled = false;
  bool m_finished = false;
  std::vector<std::jthread> m_workers;  // last: joined before the tasks go
};

void TRenameRun::WalkInParallel(int folders) {
  TParallelWalk walk(*this, folders);
  walk.Run();
}

}  // namespace qx
