#include "rename/URenameRun.h"

#include <ctime>
#include <unordered_set>

#include "platform/UDateTime.h"
#include "platform/UDirectory.h"
#include "platform/USystemError.h"
#include "platform/UUndoFile.h"
#include "regex/URegexReplace.h"
#include "rename/UFileCollection.h"

namespace qx {

// What one directory visit holds; nothing of it outlives the visit.
struct TRenameRun::TVisit {
  const TDirectory& directory;
  int depth;
  TNodeId node;                            // simulated runs: the directory's node
  TUndoFileWriter* undo;                   // real runs with undo on
  std::vector<TWRFile> directories;        // collected once; serves the rename step and the descents
  std::vector<TNodeId> treeIndexList;      // simulated runs: each subdirectory's node
  std::unordered_set<std::string> folded;  // simulated runs: folded texts of the nodes added so far
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
    : m_jobs(jobs), m_options(std::move(options)), m_host(host) {
  // Nothing is renamed, asked or recorded in a simulation.
  if (m_options.simulate) m_options.confirm = m_options.undo = false;
}

bool TRenameRun::Run() {
  StartRun();
  bool completed = true;
  try {
    if (m_options.simulate) {
      const TNodeId root = m_tree.AddRoot(m_options.startDirectory);
      ProcessDirectory(nullptr, m_options.startDirectory, 1.0, 0, root);
    } else {
      ProcessDirectory(nullptr, m_options.startDirectory, 1.0, 0, TResultTree::kNoNode);
    }
  } catch (const TSystemError& error) {
    // Only the undo file stops a run: without it, renames could not be taken back.
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

void TRenameRun::ProcessDirectory(const TDirectory* parent, const std::string& directory, double share, int depth,
                                  TNodeId node) {
  if (m_state.Cancelled) return;
  Log(depth, "> Changing to ", directory);
  std::optional<TDirectory> entered;
  try {
    entered.emplace(parent ? parent->OpenChild(directory) : TDirectory::Open(directory));
  } catch (const TSystemError&) {
    m_host.ShowMessage("Cannot change to directory: " + directory);
    return;
  }
  m_host.SetCurrentItem(directory);
  if (m_options.resetCounter) m_counterValue = m_options.counterStart;

  const double descentShare = m_options.recurseDirs ? 0.9 * share : 0;
  const double directoryShare = !m_options.renameDirs ? 0 : m_options.recurseDirs ? 0.05 * share : 0.5 * share;
  const double fileShare = share - descentShare - directoryShare;

  std::optional<TUndoFileWriter> undo;
  if (!m_options.simulate && m_options.undo) undo.emplace(*entered);

  const bool needDates =
      m_options.log ||
      (m_options.sort && (m_options.sortOrder == TSortOrder::DateAsc || m_options.sortOrder == TSortOrder::DateDesc));
  const TFileCollection collection(*entered, needDates);
  // Log lines are not even composed when nobody reads them.
  TLogLine log;
  if (m_options.log) log = [this, depth](const std::string& text) { Log(depth, text); };

  TVisit visit{*entered, depth, node, undo ? &*undo : nullptr, collection.CollectDirectories(log), {}, {}};
  SortEntries(visit.directories, true, m_options, log);
  DirectoryStep(visit, directoryShare);

  std::vector<TWRFile> files = collection.CollectFiles(m_options.fileMask, log);
  SortEntries(files, false, m_options, log);
  FileStep(visit, files, fileShare);
  files = {};
  if (undo) undo->Close();

  Descend(visit, descentShare);
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

void TRenameRun::Descend(TVisit& visit, double share) {
  if (!m_options.recurseDirs) return;
  Log(visit.depth, "+ Recursing Directories...");
  if (visit.directories.empty()) AddProgress(share);
  const double each = visit.directories.empty() ? 0 : share / static_cast<double>(visit.directories.size());
  for (std::size_t i = 0; i < visit.directories.size(); ++i) {
    const TWRFile& entry = visit.directories[i];
    Log(visit.depth, "+ Recursing into ", entry.Name, " (", entry.NewName, ")");
    const bool renamed = !m_options.simulate && m_options.renameDirs;
    const TNodeId child = m_options.simulate ? visit.treeIndexList[i] : TResultTree::kNoNode;
    // Stepping back needs nothing: this visit still holds its own directory's handle.
    ProcessDirectory(&visit.directory, renamed ? entry.NewName : entry.Name, each, visit.depth + 1, child);
  }
}

std::string TRenameRun::RenameEntry(TVisit& visit, const std::string& oldName, TEntryKind kind) {
  const bool isFile = kind == TEntryKind::File;
  std::string result = oldName;
  std::string engineError;
  const std::optional<std::string> newName = TryApplyJobList(m_jobs, oldName, m_counterValue, engineError);
  if (!newName) {
    ReportFailedRename(engineError);
  } else if (*newName != oldName) {
    const std::string noun = isFile ? "file" : "directory";
    if (!IsUsableName(*newName)) {
      ReportFailedRename(*newName);
    } else if (!m_options.confirm ||
               m_host.Confirm("Rename " + noun + " \"" + oldName + "\" to \"" + *newName + "\"?")) {
      // The pair goes to the undo file first, so no rename can ever be missing from it.
      if (visit.undo) visit.undo->Append(*newName, oldName);
      if (visit.directory.RenameNoReplace(oldName, *newName) == 0) {
        ++(isFile ? m_state.FilesRenamed : m_state.DirsRenamed);
        result = *newName;
      } else {
        if (visit.undo) visit.undo->RemoveLastPair();
        ReportFailedRename(*newName);
      }
    }
  }
  ++(isFile ? m_state.FilesProcessed : m_state.DirsProcessed);
  return result;
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
  const bool failure = clash || computed.failed || (newName != oldName && !IsUsableName(newName));
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

bool TRenameRun::IsUsableName(const std::string& name) const {
  // No entry may ever leave its directory or lose its name; an undo file holds one
  // name per line, so a line break would corrupt it.
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
      name.find('\0') != std::string::npos) {
    return false;
  }
  return !m_options.undo || name.find_first_of("\r\n") == std::string::npos;
}

void TRenameRun::ReportFailedRename(const std::string& newName) {
  ++m_state.ErrorCount;
  m_host.ShowMessage("Cannot rename " + newName + ". Operation will continue");
}

void TRenameRun::AddProgress(double amount) {
  m_state.Progress += amount;
  m_host.UpdateProgress(m_state);
}

}  // namespace qx
