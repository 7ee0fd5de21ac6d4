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
    : m_tree(std::move(tree)), m_index([this](std::uint32_t node, std::string&) { return m_tree.OldText(node); }) {
  const TNodeId root = m_tree.Root();
  if (root == TResultTree::kNoNode) return;
  for (std::size_t i = 0; i < m_tree.ChildCount(root); ++i) {
    const TNodeId node = m_tree.ChildAt(root, i);
    // A simulation shows every subdirectory, renamed or not.
    if (foldersRenamed || !IsFolderState(m_tree.State(node))) m_index.Insert(m_tree.OldText(node), node);
  }
}

std::unique_ptr<TFolderPreview> TFolderPreview::Make(const TJobList& jobs, TRunOptions options,
                                                     const std::function<bool()>& cancelled) {
  if (RunStartProblem(jobs)) return nullptr;
  options.simulate = true;
  options.recurseDirs = false;
  options.log = false;
  options.confirm = false;
  // Opened first, so that a folder that cannot be opened says why.
  TDirectory::Open(options.startDirectory);
  if (cancelled()) return nullptr;
  TSilentRunHost host(cancelled);
  TRenameRun run(jobs, options, host);
  run.KeepOldNamesInTree();
  const bool completed = run.Run();
  if (run.State().Cancelled) return nullptr;
  if (!completed || !host.Told().empty()) throw std::runtime_error(host.Told());
  return std::unique_ptr<TFolderPreview>(new TFolderPreview(run.TakeResultTree(), options.renameDirs));
}

std::optional<TFolderPreview::TOutcome> TFolderPreview::Outcome(std::string_view name) const {
  const std::uint32_t* node = m_index.Find(name);
  if (!node) return std::nullopt;
  return TOutcome{m_tree.Text(*node), m_tree.State(*node), m_tree.Reason(*node)};
}

}  // namespace qx
