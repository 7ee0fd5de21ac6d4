#include "rename/URenameRun.h"

#include <ctime>
#include <memory>

#include "platform/UDateTime.h"
#include "platform/UDirectory.h"
#include "platform/USystemError.h"
#include "platform/UUndoFile.h"
#include "rename/UEntryName.h"
#include "rename/UFileCollection.h"
#include "rename/UFolderRenamer.h"
#include "rename/URenameFolders.h"

namespace qx {

// What one directory visit holds; nothing of it outlives the visit. Its steps run while
// it is the newest visit, so the undo file may hold on to its directory meanwhile.
struct TRenameRun::TVisit {
  TDirectory directory;
  int depth;
  TNodeId node;                           // simulated runs: the directory's node
  double descentShare;                    // the progress its subdirectories' visits make
  std::size_t nameMax;                    // the longest name its file system allows
  TUndoFileWriter* undo = nullptr;        // during the steps of a real run with undo on
  std::vector<TWRFile> directories;       // collected once; serves the rename step and the descents
  std::vector<TNodeId> treeIndexList;     // simulated runs: each subdirectory's node
  std::unique_ptr<TRenameFolder> folder;  // during the steps: where the renames are made
  std::size_t descended = 0;              // subdirectories entered so far
};

// One step's entries (a visit's subdirectories, or its files) and what becomes of each:
// counted, logged, and in a simulation shown in its node.
struct TRenameRun::TStep : TRenameOutcomes {
  TStep(TRenameRun& owner, TVisit& in, TEntryKind kind, const std::vector<TWRFile>& entries)
      : run(owner), visit(in), isFile(kind == TEntryKind::File) {
    oldNames.reserve(entries.size());
    for (const TWRFile& entry : entries) oldNames.push_back(entry.Name);
    newNames.resize(entries.size());  // each set at its entry's turn
    nodes.assign(entries.size(), TResultTree::kNoNode);
  }

  void Renamed(std::size_t entry) override {
    ++(isFile ? run.m_state.FilesRenamed : run.m_state.DirsRenamed);
    if (nodes[entry] != TResultTree::kNoNode) {
      run.m_tree.SetState(nodes[entry], isFile ? TNodeState::FileRenamed : TNodeState::FolderRenamed);
    }
  }
  void Failed(std::size_t entry, const std::string& reason) override {
    Refused(entry, newNames[entry], "Cannot rename " + newNames[entry] + ". Operation will continue", reason);
  }
  void Step(const std::string& line) override { run.Log(visit.depth, line); }

  // A failure at any moment of the step; `shown` stands for the new name in the node.
  void Refused(std::size_t entry, const std::string& shown, const std::string& text, const std::string& reason) {
    run.Fail(visit.depth, text, reason, nodes[entry] != TResultTree::kNoNode);
    if (nodes[entry] == TResultTree::kNoNode) return;
    run.m_tree.SetState(nodes[entry], isFile ? TNodeState::FileError : TNodeState::FolderError);
    run.m_tree.SetText(nodes[entry], shown + " (was \"" + oldNames[entry] + "\")");
  }
  // Simulations only: the entry's node, unchanged until the renamer says otherwise.
  void AddNode(std::size_t entry) {
    const TNodeState state = isFile ? TNodeState::FileUnchanged : TNodeState::FolderUnchanged;
    nodes[entry] = run.m_tree.AddChild(visit.node, newNames[entry], state);
  }

  TRenameRun& run;
  TVisit& visit;
  bool isFile;
  std::vector<std::string> oldNames, newNames;
  std::vector<TNodeId> nodes;
};

TRenameRun::TRenameRun(const TJobList& jobs, TRunOptions options, TRunHost& host)
    : m_jobs(jobs), m_options(std::move(options)), m_host(host), m_recordsUndo(!m_options.simulate && m_options.undo) {
  // Nothing is renamed, asked or recorded in a simulation; it still predicts the names
  // that an undo file could not record.
  if (m_options.simulate) m_options.confirm = false;
  m_asksEachRename = m_options.confirm;
}

bool TRenameRun::Run() {
  StartRun();
  bool completed = true;
  try {
    Walk();
  } catch (const TUndoFileError& error) {
    // Without its undo file a run could not be taken back: it stops here.
    m_host.ShowMessage(error.what());
    completed = false;
  }
  FinishRun();
  return completed;
}

void TRenameRun::StartRun() {
  m_counterValue = m_options.counterStart;
  m_state = TRunState();
  m_tree.Clear();
  Log(0, "---- ", FormatLocalDateTime(std::time(nullptr)), " ---- Starting Renaming in ", m_options.startDirectory);
}

void TRenameRun::FinishRun() {
  Log(0, "");
  Log(0, "---- ", FormatLocalDateTime(std::time(nullptr)), " ---- Finished Renaming in ", m_options.startDirectory);
  Log(0, std::string(80, '-'));
}

void TRenameRun::Walk() {
  std::vector<TVisit> visits;
  const TNodeId root = m_options.simulate ? m_tree.AddRoot(m_options.startDirectory) : TResultTree::kNoNode;
  Enter(visits, nullptr, m_options.startDirectory, 1.0, 0, root);
  while (!visits.empty()) {
    TVisit& visit = visits.back();
    if (visit.descended == visit.directories.size()) {
      visits.pop_back();
      continue;
    }
    const std::size_t i = visit.descended++;
    const TWRFile& entry = visit.directories[i];
    Log(visit.depth, "+ Recursing into ", entry.Name, " (", entry.NewName, ")");
    const bool renamed = !m_options.simulate && m_options.renameDirs;
    const TNodeId child = m_options.simulate ? visit.treeIndexList[i] : TResultTree::kNoNode;
    const double share = visit.descentShare / static_cast<double>(visit.directories.size());
    // A copy: entering pushes a visit, which may move this one.
    const std::string name = renamed ? entry.NewName : entry.Name;
    // Stepping back needs nothing: the parent's visit still holds its directory's handle.
    Enter(visits, &visit.directory, name, share, visit.depth + 1, child);
  }
}

void TRenameRun::Enter(std::vector<TVisit>& visits, const TDirectory* parent, const std::string& name, double share,
                       int depth, TNodeId node) {
  if (IsCancelled()) return;
  Log(depth, "> Changing to ", name);
  std::optional<TDirectory> entered;
  try {
    entered.emplace(parent ? parent->OpenChild(name) : TDirectory::Open(name));
  } catch (const TSystemError& error) {
    Fail(depth, "Cannot change to directory: " + (parent ? parent->PathOf(name) : name), error.Reason());
    AddProgress(share);
    return;
  }
  m_host.SetCurrentItem(name);
  if (m_options.resetCounter) m_counterValue = m_options.counterStart;

  const double descentShare = m_options.recurseDirs ? 0.9 * share : 0;
  const double directoryShare = !m_options.renameDirs ? 0 : m_options.recurseDirs ? 0.05 * share : 0.5 * share;
  const double fileShare = share - descentShare - directoryShare;

  const bool needDates =
      m_options.log ||
      (m_options.sort && (m_options.sortOrder == TSortOrder::DateAsc || m_options.sortOrder == TSortOrder::DateDesc));
  // The parent's reference is not used past this point: the new visit may move it.
  TVisit& visit =
      visits.emplace_back(TVisit{std::move(*entered), depth, node, descentShare, 0, nullptr, {}, {}, {}, 0});
  std::optional<TFileCollection> collection;
  try {
    collection.emplace(visit.directory, needDates);
  } catch (const TSystemError& error) {
    // Renaming from part of a listing would pass the rest over unnoticed.
    Fail(depth, "Cannot read directory: " + visit.directory.Path(), error.Reason());
    AddProgress(share);
    visits.pop_back();
    return;
  }
  visit.nameMax = visit.directory.NameMax();
  std::optional<TUndoFileWriter> undo;
  if (m_recordsUndo) visit.undo = &undo.emplace(visit.directory);
  const bool ignoresCase = visit.directory.IgnoresCase(collection->Entries());
  if (m_options.simulate) {
    // The real run makes the undo file before its first rename.
    visit.folder = std::make_unique<TPictureFolder>(collection->Entries(), m_options.undo, ignoresCase);
  } else {
    visit.folder = std::make_unique<TRealFolder>(visit.directory, visit.undo, collection->Entries(), ignoresCase);
  }

  // Log lines are not even composed when nobody reads them.
  TLogLine log;
  if (m_options.log) log = [this, depth](const std::string& text) { Log(depth, text); };
  visit.directories = collection->CollectDirectories(log);
  SortEntries(visit.directories, true, m_options, log);
  DirectoryStep(visit, directoryShare);

  std::vector<TWRFile> files = collection->CollectFiles(m_options.fileMask, log);
  collection.reset();
  SortEntries(files, false, m_options, log);
  FileStep(visit, files, fileShare);
  visit.folder.reset();
  visit.undo = nullptr;
  if (undo) undo->Close();
  if (visit.directory.ChecksTargetsFirst() && !m_saidTargetsChecked) {
    m_saidTargetsChecked = true;
    Log(depth,
        "+ This file system cannot refuse to replace an entry: each new name is looked up just before its "
        "rename");
  }

  if (!m_options.recurseDirs) {
    visits.pop_back();
    return;
  }
  Log(depth, "+ Recursing Directories...");
  if (visit.directories.empty()) AddProgress(descentShare);
}

void TRenameRun::DirectoryStep(TVisit& visit, double share) {
  if (m_options.renameDirs && visit.directories.empty()) AddProgress(share);
  // A real run without folder renaming has nothing to do here; a simulation still
  // shows every subdirectory.
  if (!m_options.simulate && !m_options.renameDirs) return;
  const double each = visit.directories.empty() ? 0 : share / static_cast<double>(visit.directories.size());
  TStep step(*this, visit, TEntryKind::Directory, visit.directories);
  TFolderRenamer renamer(*visit.folder, step, step.oldNames);
  for (std::size_t i = 0; i < visit.directories.size(); ++i) {
    Log(visit.depth, "* Renaming directory ", step.oldNames[i]);
    if (m_options.renameDirs) {
      TakeTurn(step, renamer, i);
      AddProgress(each);
    } else {
      step.newNames[i] = step.oldNames[i];
      step.AddNode(i);
      renamer.Keep(i);
    }
    if (m_options.simulate) {
      visit.treeIndexList.push_back(step.nodes[i]);
      Log(visit.depth, "* Added Tree Index ", std::to_string(m_tree.IndexInParent(step.nodes[i])));
    }
  }
  renamer.Finish();
  if (!m_options.simulate) {
    for (std::size_t i = 0; i < visit.directories.size(); ++i) visit.directories[i].NewName = renamer.NameOf(i);
  }
}

void TRenameRun::FileStep(TVisit& visit, const std::vector<TWRFile>& files, double share) {
  if (files.empty()) AddProgress(share);
  const double each = files.empty() ? 0 : share / static_cast<double>(files.size());
  TStep step(*this, visit, TEntryKind::File, files);
  TFolderRenamer renamer(*visit.folder, step, step.oldNames);
  for (std::size_t i = 0; i < files.size(); ++i) {
    Log(visit.depth, "* Renaming file ", step.oldNames[i]);
    TakeTurn(step, renamer, i);
    AddProgress(each);
  }
  renamer.Finish();
}

void TRenameRun::TakeTurn(TStep& step, TFolderRenamer& renamer, std::size_t entry) {
  const std::string& oldName = step.oldNames[entry];
  ++(step.isFile ? m_state.FilesProcessed : m_state.DirsProcessed);
  std::string engineError;
  const std::optional<std::string> newName = TryApplyJobList(m_jobs, oldName, m_counterValue, engineError);
  step.newNames[entry] = newName.value_or(oldName);
  if (m_options.simulate) step.AddNode(entry);
  if (!newName) {
    step.Refused(entry, engineError, "Cannot rename " + oldName + ". Operation will continue", engineError);
    return renamer.Keep(entry);
  }
  if (*newName == oldName) return renamer.Keep(entry);
  if (auto refusal = Refusal(step.visit, oldName, *newName)) {
    step.Failed(entry, *refusal);
    return renamer.Keep(entry);
  }
  const std::string noun = step.isFile ? "file" : "directory";
  if (!MayRename("Rename " + noun + " \"" + oldName + "\" to \"" + *newName + "\"?")) return renamer.Keep(entry);
  renamer.Rename(entry, *newName);
}

bool TRenameRun::MayRename(const std::string& question) {
  if (!m_asksEachRename) return true;
  if (IsCancelled()) return false;
  switch (m_host.AskRename(question)) {
    case TRenameAnswer::Yes: return true;
    case TRenameAnswer::YesToAll: m_asksEachRename = false; return true;
    case TRenameAnswer::Cancel: m_state.Cancelled = true; return false;
    case TRenameAnswer::No: return false;
  }
  return false;
}

std::optional<std::string> TRenameRun::Refusal(const TVisit& visit, const std::string& oldName,
                                               const std::string& newName) const {
  if (auto problem = EntryNameProblem(newName, visit.nameMax, m_options.undo)) return problem;
  if (m_options.undo && oldName.find_first_of("\r\n") != std::string::npos) {
    return "its present name holds a line break, which the undo file cannot record";
  }
  return std::nullopt;
}

bool TRenameRun::IsCancelled() {
  if (!m_state.Cancelled && m_host.CancelRequested()) m_state.Cancelled = true;
  return m_state.Cancelled;
}

void TRenameRun::Fail(int depth, const std::string& text, const std::string& reason, bool quiet) {
  ++m_state.ErrorCount;
  Log(depth, FailureLine(text, reason));
  if (quiet || !m_showsEachFailure || IsCancelled()) return;
  switch (m_host.ShowRunFailure(text, reason)) {
    case TFailureAnswer::IgnoreAll: m_showsEachFailure = false; break;
    case TFailureAnswer::Cancel: m_state.Cancelled = true; break;
    case TFailureAnswer::Ok: break;
  }
}

void TRenameRun::AddProgress(double amount) {
  m_state.Progress += amount;
  m_host.UpdateProgress(m_state);
}

}  // namespace qx
