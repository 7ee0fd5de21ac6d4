#include "rename/URenameRun.h"

#include <ctime>
#include <unordered_set>

#include "platform/UDateTime.h"
#include "platform/UDirectory.h"
#include "platform/USystemError.h"
#include "platform/UUndoFile.h"
#include "regex/URegexReplace.h"
#include "rename/UEntryName.h"
#include "rename/UFileCollection.h"

namespace qx {

// What one directory visit holds; nothing of it outlives the visit. Its steps run while
// it is the newest visit, so the undo file may hold on to its directory meanwhile.
struct TRenameRun::TVisit {
  TDirectory directory;
  int depth;
  TNodeId node;                            // simulated runs: the directory's node
  double descentShare;                     // the progress its subdirectories' visits make
  std::size_t nameMax;                     // the longest name its file system allows
  TUndoFileWriter* undo = nullptr;         // during the steps of a real run with undo on
  std::vector<TWRFile> directories;        // collected once; serves the rename step and the descents
  std::vector<TNodeId> treeIndexList;      // simulated runs: each subdirectory's node
  std::unordered_set<std::string> folded;  // simulated runs: folded texts of the nodes added so far
  std::size_t descended = 0;               // subdirectories entered so far
};

std::optional<std::string> RunStartProblem(const TJobList& jobs) {
  if (!jobs.AnyEnabled()) return "Nothing to do! Create some jobs or enable them first.";
  // An expression that cannot work would turn every name into its error text.
  for (const TJob& job : jobs) {
    if (job.enabled && job.type == TJobKind::jobReplace && job.modifier == 1) {
      if (auto error = RegexExpressionError(job.str1)) return error;
    }
  }
  return std::nullopt;
}

TRenameRun::TRenameRun(const TJobList& jobs, TRunOptions options, TRunHost& host)
    : m_jobs(jobs), m_options(std::move(options)), m_host(host), m_recordsUndo(!m_options.simulate && m_options.undo) {
  // Nothing is renamed, asked or recorded in a simulation; it still predicts the names
  // that an undo file could not record.
  if (m_options.simulate) m_options.confirm = false;
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
  if (m_state.Cancelled) return;
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
  visit.folded = {};
  visit.undo = nullptr;
  if (undo) undo->Close();

  if (!m_options.recurseDirs) {
    visits.pop_back();
    return;
  }
  Log(depth, "+ Recursing Directories...");
  if (visit.directories.empty()) AddProgress(descentShare);
}

void TRenameRun::DirectoryStep(TVisit& visit, double share) {
  if (m_options.renameDirs && visit.directories.empty()) AddProgress(share);
  const double each = visit.directories.empty() ? 0 : share / static_cast<double>(visit.directories.size());
  for (TWRFile& entry : visit.directories) {
    if (m_options.simulate) {
      Log(visit.depth, "* Renaming directory ", entry.Name);
      TComputedName computed{entry.Name, false};
      if (m_options.renameDirs) {
        computed = ApplyCheckedJobs(entry.Name, TEntryKind::Directory);
        AddProgress(each);
      }
      const TNodeId child = AddSimulatedNode(visit, entry.Name, computed, TEntryKind::Directory);
      visit.treeIndexList.push_back(child);
      Log(visit.depth, "* Added Tree Index ", std::to_string(m_tree.IndexInParent(child)));
    } else if (m_options.renameDirs) {
      Log(visit.depth, "* Renaming directory ", entry.Name);
      entry.NewName = RenameEntry(visit, entry.Name, TEntryKind::Directory);
      AddProgress(each);
    }
  }
}

void TRenameRun::FileStep(TVisit& visit, const std::vector<TWRFile>& files, double share) {
  if (files.empty()) AddProgress(share);
  const double each = files.empty() ? 0 : share / static_cast<double>(files.size());
  for (const TWRFile& entry : files) {
    Log(visit.depth, "* Renaming file ", entry.Name);
    if (m_options.simulate) {
      AddSimulatedNode(visit, entry.Name, ApplyCheckedJobs(entry.Name, TEntryKind::File), TEntryKind::File);
    } else {
      RenameEntry(visit, entry.Name, TEntryKind::File);
    }
    AddProgress(each);
  }
}

std::string TRenameRun::RenameEntry(TVisit& visit, const std::string& oldName, TEntryKind kind) {
  const bool isFile = kind == TEntryKind::File;
  ++(isFile ? m_state.FilesProcessed : m_state.DirsProcessed);
  std::string engineError;
  const std::optional<std::string> newName = TryApplyJobList(m_jobs, oldName, m_counterValue, engineError);
  if (!newName) {
    Fail(visit.depth, "Cannot rename " + oldName + ". Operation will continue", engineError);
    return oldName;
  }
  if (*newName == oldName) return oldName;
  const std::string failure = "Cannot rename " + *newName + ". Operation will continue";
  if (auto refusal = Refusal(visit, oldName, *newName)) {
    Fail(visit.depth, failure, *refusal);
    return oldName;
  }
  const std::string noun = isFile ? "file" : "directory";
  if (m_options.confirm && !m_host.Confirm("Rename " + noun + " \"" + oldName + "\" to \"" + *newName + "\"?")) {
    return oldName;
  }
  try {
    // Each step goes to the undo file before it is made, so no rename can be missing from it.
    visit.directory.RenameNoReplace(oldName, *newName, visit.undo);
  } catch (const TUndoFileError&) {
    throw;
  } catch (const TSystemError& error) {
    Fail(visit.depth, failure, error.Reason());
    return oldName;
  }
  ++(isFile ? m_state.FilesRenamed : m_state.DirsRenamed);
  return *newName;
}

TRenameRun::TComputedName TRenameRun::ApplyCheckedJobs(const std::string& oldName, TEntryKind kind) {
  const bool isFile = kind == TEntryKind::File;
  std::string engineError;
  const std::optional<std::string> newName = TryApplyJobList(m_jobs, oldName, m_counterValue, engineError);
  TComputedName computed{newName.value_or(engineError), !newName};
  if (computed.name != oldName) ++(isFile ? m_state.FilesRenamed : m_state.DirsRenamed);
  ++(isFile ? m_state.FilesProcessed : m_state.DirsProcessed);
  return computed;
}

TNodeId TRenameRun::AddSimulatedNode(TVisit& visit, const std::string& oldName, const TComputedName& computed,
                                     TEntryKind kind) {
  const bool isFile = kind == TEntryKind::File;
  const std::string& newName = computed.name;
  std::string folded = FoldForCompare(newName);
  const bool clash = visit.folded.count(folded) > 0;
  // A name the run would refuse, or an engine error, is predicted as the failure it will be.
  const bool failure = clash || computed.failed || (newName != oldName && Refusal(visit, oldName, newName));
  TNodeState state = isFile ? TNodeState::FileUnchanged : TNodeState::FolderUnchanged;
  std::string text = newName;
  if (failure) {
    ++m_state.ErrorCount;
    state = isFile ? TNodeState::FileError : TNodeState::FolderError;
    text = newName + " (was \"" + oldName + "\")";
    folded = FoldForCompare(text);
  } else if (newName != oldName) {
    state = isFile ? TNodeState::FileRenamed : TNodeState::FolderRenamed;
  }
  visit.folded.insert(std::move(folded));
  return m_tree.AddChild(visit.node, std::move(text), state);
}

std::optional<std::string> TRenameRun::Refusal(const TVisit& visit, const std::string& oldName,
                                               const std::string& newName) const {
  if (auto problem = EntryNameProblem(newName, visit.nameMax, m_options.undo)) return problem;
  if (m_options.undo && oldName.find_first_of("\r\n") != std::string::npos) {
    return "its present name holds a line break, which the undo file cannot record";
  }
  return std::nullopt;
}

void TRenameRun::Fail(int depth, const std::string& text, const std::string& reason) {
  ++m_state.ErrorCount;
  Log(depth, FailureLine(text, reason));
  m_host.ShowFailure(text, reason);
}

void TRenameRun::AddProgress(double amount) {
  m_state.Progress += amount;
  m_host.UpdateProgress(m_state);
}

}  // namespace qx
