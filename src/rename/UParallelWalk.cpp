// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UParallelWalk.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <variant>

#include "platform/UDirectory.h"

namespace qx {

// A worker's visit's effects, in the order they happened.
class TParallelWalk::TJournal : public TRunOutput {
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
  void Replay(TRunOutput& out, const TDirectory* directory) {
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

// One folder of the walk: entered by `name` from its parent's directory.
struct TParallelWalk::TTask {
  TTask* parent = nullptr;
  std::size_t index = 0;  // among its parent's subdirectories
  int depth = 0;
  double share = 0;
  std::string name;
  TNodeId node = TResultTree::kNoNode;  // simulated runs: its node in the run's tree, once known
  enum class TState { ready, running, done, skipped } state = TState::ready;
  bool byRun = false;                 // visited by the run's thread, straight into its output
  std::unique_ptr<TJournal> journal;  // a worker's visit's effects
  TResultTree tree;                   // a worker's visit's nodes, below a root of its own
  std::int32_t counter = 0;
  TVisited visited;
  std::vector<std::unique_ptr<TTask>> children;
  std::exception_ptr error;
};

namespace {

// How many visited folders may wait for the replay: a few per worker, so that a slow
// folder does not idle the others, and never more than a quarter of the open-file limit,
// as each holds its directory (and a worker's also its undo file) open; the rest of the
// limit is the deep tree's, one handle per level, as for the walk one folder after another.
std::size_t Window(int folders) {
  return std::max<std::size_t>(1, std::min(4 * static_cast<std::size_t>(folders), OpenFileLimit() / 4));
}

}  // namespace

// The walk's order: a folder before its subdirectories, and those in their order.
bool TParallelWalk::TWalkOrder::operator()(const TTask* a, const TTask* b) const {
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

TParallelWalk::TParallelWalk(int folders, TVisitFunction visit, TRunOutput& sink, TResultTree* simulated,
                             TPendingFigures& pending)
    : m_folders(folders),
      m_window(Window(folders)),
      m_visit(std::move(visit)),
      m_sink(sink),
      m_simulated(simulated),
      m_pending(pending),
      m_root(std::make_unique<TTask>()) {}

// Thrown or not, the workers stop and are joined before the tasks go.
TParallelWalk::~TParallelWalk() {
  {
    std::lock_guard lock(m_mutex);
    m_stopped = m_finished = true;
  }
  m_changed.notify_all();
  m_workers.clear();
}

void TParallelWalk::Run(const std::string& startDirectory) {
  TTask& root = *m_root;
  root.name = startDirectory;
  root.share = 1.0;
  if (m_simulated) root.node = m_simulated->AddRoot(startDirectory);
  // The top folder is the run's thread's, before any worker starts: a single folder,
  // however large, goes straight into the run, as one folder after another would.
  if (m_sink.Stopped()) return;
  root.state = TTask::TState::running;
  root.byRun = true;
  if (Settle(root)) {
    // As many workers as folders at once: the run's thread replays, and visits a
    // folder itself only when every worker is busy with later ones.
    for (int i = 0; i < m_folders; ++i) m_workers.emplace_back([this] { Work(); });
    Replay();
  }
  if (m_error) std::rethrow_exception(m_error);
}

// A worker: the first folder in the walk's order, while it keeps no more than the
// window's number of visited folders waiting for the replay, so that memory and open
// directories stay bounded. The folder the replay waits for is never held back by the
// window: one no worker has begun is the run's thread's.
void TParallelWalk::Work() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [this] { return m_finished || (!m_ready.empty() && MayTakeFirst()); });
    if (m_ready.empty()) return;
    TTask* task = *m_ready.begin();
    m_ready.erase(m_ready.begin());
    if (m_stopped) {
      task->state = TTask::TState::skipped;
      m_changed.notify_all();
      continue;
    }
    task->state = TTask::TState::running;
    ++m_ahead;
    lock.unlock();
    Visit(*task);
    lock.lock();
  }
}

bool TParallelWalk::MayTakeFirst() const { return m_stopped || m_ahead < m_window; }

// One folder's visit, by a worker into a journal, or by the run's thread straight into
// the run; then its subdirectories become folders to visit.
void TParallelWalk::Visit(TTask& task) {
  TRunOutput* out = &m_sink;
  TResultTree* tree = m_simulated ? m_simulated : &task.tree;
  // Only the run's thread knows, and sets, where a folder's node goes in its tree.
  TNodeId node = task.byRun ? task.node : TResultTree::kNoNode;
  if (!task.byRun) {
    task.journal = std::make_unique<TJournal>(m_sink.Logs(), m_pending, m_cancelled);
    out = task.journal.get();
    tree = &task.tree;
    if (m_simulated && m_simulated->KeepsOldNames()) task.tree.KeepOldNames();
    node = m_simulated ? task.tree.AddRoot("") : TResultTree::kNoNode;
  }
  try {
    const TDirectory* parent = task.parent ? &task.parent->visited.visit->directory : nullptr;
    task.visited = m_visit({parent, task.name, task.depth, task.share}, *out, *tree, node, task.counter);
  } catch (...) {
    task.error = std::current_exception();
  }
  std::lock_guard lock(m_mutex);
  task.state = TTask::TState::done;
  if (task.error) m_stopped = true;
  if (task.visited.recurses) AddSubdirectories(task);
  m_changed.notify_all();
}

// Under the lock: the subdirectories of a visited folder, each entered by its name after
// the folder's own renames.
void TParallelWalk::AddSubdirectories(TTask& task) {
  const TFolderVisit& visit = *task.visited.visit;
  const std::size_t count = visit.directories.Size();
  for (std::size_t i = 0; i < count; ++i) {
    auto child = std::make_unique<TTask>();
    child->parent = &task;
    child->index = i;
    child->depth = task.depth + 1;
    child->share = visit.descentShare / static_cast<double>(count);
    child->name = visit.SubdirectoryName(i);
    if (m_stopped) {
      child->state = TTask::TState::skipped;
    } else {
      m_ready.insert(child.get());
    }
    task.children.push_back(std::move(child));
  }
}

// The run's thread, after the top folder: the folders below it in the walk's order, each
// replayed once visited, as the walk one folder after another would have made them.
void TParallelWalk::Replay() {
  std::vector<std::pair<TTask*, std::size_t>> stack{{m_root.get(), 0}};
  while (!stack.empty()) {
    auto& [task, next] = stack.back();
    if (next == task->children.size()) {
      task->children.clear();
      task->visited.visit.reset();
      stack.pop_back();
      continue;
    }
    const std::size_t i = next++;
    const TFolderVisit& visit = *task->visited.visit;
    TTask& child = *task->children[i];
    // As the walk one folder after another asks before it enters a folder. Once the run
    // is stopped (cancelled, or by a failure) only the folders already begun are told:
    // the others are never entered, nor logged as if they were.
    if (m_sink.Stopped()) Stop(true);
    if (!Claim(child)) continue;
    visit.LogDescent(m_sink, i);
    if (m_simulated) child.node = visit.treeIndexList[i];
    if (Settle(child)) stack.emplace_back(&child, 0);
  }
}

// Whether the folder is visited: one a worker has begun is; one no worker has begun is
// the run's thread's from here on, unless the run is stopped.
bool TParallelWalk::Claim(TTask& task) {
  std::lock_guard lock(m_mutex);
  if (task.state == TTask::TState::ready) {
    m_ready.erase(&task);
    task.state = m_stopped ? TTask::TState::skipped : TTask::TState::running;
    task.byRun = !m_stopped;
  }
  return task.state != TTask::TState::skipped;
}

// Makes a claimed folder's visit, or waits for its worker's, and replays it; true when
// its subdirectories follow.
bool TParallelWalk::Settle(TTask& task) {
  if (task.byRun) {
    Visit(task);
  } else {
    std::unique_lock lock(m_mutex);
    while (task.state != TTask::TState::done) {
      m_changed.wait_for(lock, std::chrono::milliseconds(50));
      lock.unlock();
      // The sink is asked only on this thread, between the workers' folders; adding no
      // progress shows the workers' pending figures.
      if (m_sink.Stopped()) Stop(true);
      m_sink.AddProgress(0);
      lock.lock();
    }
    --m_ahead;
    lock.unlock();
    m_changed.notify_all();
    const TFolderVisit* visit = task.visited.visit.get();
    if (visit && m_simulated) {
      // The worker's nodes take their place in the run's tree; its subdirectories' nodes
      // with them.
      const TNodeId first = m_simulated->AppendChildrenOf(task.node, task.tree);
      for (TNodeId& node : task.visited.visit->treeIndexList) node = first + (node - 1);
      task.tree.Clear();
    }
    task.journal->Replay(m_sink, visit ? &visit->directory : nullptr);
    task.journal.reset();
  }
  if (task.error && !m_error) m_error = task.error;
  const bool cancelled = m_sink.Stopped();
  if (cancelled || task.error) Stop(cancelled);
  return task.visited.recurses;
}

void TParallelWalk::Stop(bool cancelled) {
  {
    std::lock_guard lock(m_mutex);
    m_stopped = true;
  }
  if (cancelled) m_cancelled = true;
  m_changed.notify_all();
}

}  // namespace qx
