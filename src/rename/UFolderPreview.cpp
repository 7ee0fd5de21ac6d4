// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UFolderPreview.h"

#include <stdexcept>

#include "platform/UDirectory.h"
#include "rename/URenameRun.h"

namespace qx {

namespace {

// A run nobody watches: it asks nothing (confirming is off) and shows nothing, but keeps
// the first thing it had to show: a folder it could not read.
class TSilentRunHost : public TRunHost {
 public:
  explicit TSilentRunHost(const std::function<bool()>& cancelled) : m_cancelled(cancelled) {}

  void ShowMessage(const std::string& text) override {
    if (m_told.empty()) m_told = text;
  }
  bool Confirm(const std::string&) override { return false; }
  void AddLogLine(const std::string&) override {}
  void SetCurrentItem(const std::string&) override {}
  void UpdateProgress(const TRunState&) override {}
  bool CancelRequested() override { return m_cancelled(); }
  const std::string& Told() const { return m_told; }

 private:
  const std::function<bool()>& m_cancelled;
  std::string m_told;
};

}  // namespace

TFolderPreview::TFolderPreview(TResultTree tree, bool foldersRenamed)
    : m_tree(std::move(tree)), m_index([this](std::uint32_t node, std::string& path) { return PathOf(node, path); }) {
  const TNodeId root = m_tree.Root();
  if (root == TResultTree::kNoNode) return;
  std::string path;
  const auto add = [&](TNodeId node) {
    // A simulation shows every subdirectory, renamed or not.
    if (foldersRenamed || !IsFolderState(m_tree.State(node))) m_index.Insert(PathOf(node, path), node);
  };
  for (std::size_t i = 0; i < m_tree.ChildCount(root); ++i) {
    const TNodeId node = m_tree.ChildAt(root, i);
    // Without descent, a node with nodes below is no entry: it is the folder of given
    // entries, shown by its path below the root.
    for (std::size_t j = 0; j < m_tree.ChildCount(node); ++j) add(m_tree.ChildAt(node, j));
    if (m_tree.ChildCount(node) == 0) add(node);
  }
}

std::string_view TFolderPreview::PathOf(TNodeId node, std::string& path) const {
  const TNodeId parent = m_tree.Parent(node);
  path.assign(m_tree.Text(m_tree.Root()));
  for (const TNodeId part : {parent, node}) {
    if (part == m_tree.Root()) continue;
    if (path.back() != '/') path += '/';
    path.append(m_tree.OldText(part));
  }
  return path;
}

std::unique_ptr<TFolderPreview> TFolderPreview::Make(const TJobList& jobs, TRunOptions options,
                                                     const std::function<bool()>& cancelled) {
  if (RunStartProblem(jobs)) return nullptr;
  options.simulate = true;
  options.recurseDirs = false;
  options.log = false;
  options.confirm = false;
  // Opened first, so that a folder that cannot be opened says why; a run over given
  // entries shows the paths it cannot take in its tree.
  if (!options.given) TDirectory::Open(options.startDirectory);
  if (cancelled()) return nullptr;
  TSilentRunHost host(cancelled);
  TRenameRun run(jobs, options, host);
  run.KeepOldNamesInTree();
  const bool completed = run.Run();
  if (run.State().Cancelled) return nullptr;
  if (!completed || !host.Told().empty()) throw std::runtime_error(host.Told());
  return std::unique_ptr<TFolderPreview>(new TFolderPreview(run.TakeResultTree(), options.renameDirs));
}

std::optional<TFolderPreview::TOutcome> TFolderPreview::Outcome(std::string_view path) const {
  const std::uint32_t* node = m_index.Find(path);
  if (!node) return std::nullopt;
  return TOutcome{m_tree.Text(*node), m_tree.State(*node), m_tree.Reason(*node)};
}

}  // namespace qx
