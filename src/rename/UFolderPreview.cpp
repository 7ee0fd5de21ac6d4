// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UFolderPreview.h"

#include "platform/UDirectory.h"
#include "rename/UFileCollection.h"
#include "rename/URenameRun.h"

namespace qx {

namespace {

// A folder that keeps changing is read this often before the preview gives up; the
// change itself makes the caller ask again.
constexpr int kAttempts = 3;

// A run nobody watches: it asks nothing (confirming is off) and shows nothing, but
// remembers that it had something to show: a folder it could not enter or read.
class TSilentRunHost : public TRunHost {
 public:
  explicit TSilentRunHost(const std::function<bool()>& cancelled) : m_cancelled(cancelled) {}

  void ShowMessage(const std::string&) override { m_told = true; }
  bool Confirm(const std::string&) override { return false; }
  void AddLogLine(const std::string&) override {}
  void SetCurrentItem(const std::string&) override {}
  void UpdateProgress(const TRunState&) override {}
  bool CancelRequested() override { return m_cancelled(); }
  bool Told() const { return m_told; }

 private:
  const std::function<bool()>& m_cancelled;
  bool m_told = false;
};

bool IsUnchanged(TNodeState state) {
  return state == TNodeState::FileUnchanged || state == TNodeState::FolderUnchanged;
}

}  // namespace

TFolderPreview::TFolderPreview() : m_index([this](std::uint32_t name, std::string&) { return m_names.View(name); }) {}

std::unique_ptr<TFolderPreview> TFolderPreview::Make(const TJobList& jobs, TRunOptions options,
                                                     const std::function<bool()>& cancelled) {
  if (RunStartProblem(jobs)) return nullptr;
  options.simulate = true;
  options.recurseDirs = false;
  options.log = false;
  options.confirm = false;
  const bool byDate =
      options.sort && (options.sortOrder == TSortOrder::DateAsc || options.sortOrder == TSortOrder::DateDesc);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (cancelled()) return nullptr;
    // The tree holds the entries in the run's order but not their present names: the
    // folder is listed and ordered here by the run's own collection, then simulated.
    std::unique_ptr<TFolderPreview> preview(new TFolderPreview);
    const TDirectory folder = TDirectory::Open(options.startDirectory);
    const TFileCollection collection(folder, preview->m_names, byDate);
    TWRFileList directories = collection.CollectDirectories({});
    TWRFileList files = collection.CollectFiles(options.fileMask, {});
    SortEntries(directories, preview->m_names, true, options, {});
    SortEntries(files, preview->m_names, false, options, {});
    if (cancelled()) return nullptr;

    TSilentRunHost host(cancelled);
    TRenameRun run(jobs, options, host);
    if (!run.Run() || run.State().Cancelled || host.Told()) return nullptr;
    preview->m_tree = run.TakeResultTree();
    if (preview->Attach(directories, files, options.renameDirs)) return preview;
  }
  return nullptr;
}

bool TFolderPreview::Attach(const TWRFileList& directories, const TWRFileList& files, bool foldersRenamed) {
  const TNodeId root = m_tree.Root();
  const std::size_t count = directories.Size() + files.Size();
  if (root == TResultTree::kNoNode || m_tree.ChildCount(root) != count) return false;
  m_nodes.assign(m_names.Count(), TResultTree::kNoNode);
  // A simulation shows every subdirectory first, renamed or not, then the files.
  for (std::size_t i = 0; i < count; ++i) {
    const bool isFolder = i < directories.Size();
    const TNameId name = isFolder ? directories.Name(i) : files.Name(i - directories.Size());
    const TNodeId node = m_tree.ChildAt(root, i);
    const TNodeState state = m_tree.State(node);
    if (IsFolderState(state) != isFolder) return false;
    if (IsUnchanged(state) && m_tree.Text(node) != m_names.View(name)) return false;
    if (isFolder && !foldersRenamed) continue;
    m_nodes[name] = node;
    m_index.Insert(m_names.View(name), name);
  }
  return true;
}

std::optional<TFolderPreview::TOutcome> TFolderPreview::Outcome(std::string_view name) const {
  const std::uint32_t* id = m_index.Find(name);
  if (!id) return std::nullopt;
  const TNodeId node = m_nodes[*id];
  return TOutcome{m_tree.Text(node), m_tree.State(node), m_tree.Reason(node)};
}

}  // namespace qx
