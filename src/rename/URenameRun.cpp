// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/URenameRun.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <memory>
#include <new>
#include <stdexcept>
#include <thread>
#include <unordered_map>

#include "platform/UDateTime.h"
#include "platform/UDirectory.h"
#include "platform/UFileStatus.h"
#include "platform/USystemError.h"
#include "platform/UUndoFile.h"
#include "rename/UEntryDates.h"
#include "rename/UEntryName.h"
#include "rename/UFileCollection.h"
#include "rename/UFolderRenamer.h"
#include "rename/UFolderVisit.h"
#include "rename/UGivenEntries.h"
#include "rename/UParallelWalk.h"
#include "rename/URenameFolders.h"
#include "rename/URunOutput.h"

namespace qx {

// The run's own output: straight to its host, its state and its tree.
class TRenameRun::TDirectOutput : public TRunOutput {
 public:
  explicit TDirectOutput(TRenameRun& run) : m_run(run) {}
  bool Logs() const override { return m_run.m_options.log; }
  void Log(std::string line) override { m_run.m_host.AddLogLine(line); }
  void Fail(int depth, const std::string& text, const std::string& reason, bool quiet) override {
    m_run.Fail(depth, text, reason, quiet);
  }
  void Count(std::int32_t TRunState::*figure) override { ++(m_run.m_state.*figure); }
  void AddProgress(double amount) override { m_run.AddProgress(amount); }
  void SetCurrentItem(const std::string& item) override { m_run.m_host.SetCurrentItem(item); }
  void EntryDone(const TEntryOutcome& outcome) override { m_run.m_host.EntryDone(outcome); }
  bool Stopped() override { return m_run.IsCancelled(); }
  void SayTargetsChecked(int depth) override {
    if (m_said) return;
    m_said = true;
    LogLine(*this, depth,
            "+ This file system cannot refuse to replace an entry: each new name is looked up just before its "
            "rename");
  }

 private:
  TRenameRun& m_run;
  bool m_said = false;
};

// One step's entries (a visit's subdirectories, or its files) and what becomes of each:
// counted, logged, in a simulation shown in its node, and at the end told the host.
// The names are ids in the visit's arena; a new name is added there only when it
// differs from the old one.
struct TRenameRun::TStep : TRenameOutcomes {
  TStep(TRenameRun& owner, TFolderVisit& in, TEntryKind kind, const TWRFileList& entries)
      : run(owner),
        visit(in),
        isFile(kind == TEntryKind::File),
        oldNames(entries.Names()),
        newNames(entries.Size(), TNameArena::kNoName),  // each set at its entry's turn
        statuses(entries.Size(), TEntryStatus::Unchanged) {
    if (!run.m_options.simulate) return;
    // Each node's text is about as long as the entry's name.
    std::size_t bytes = 0;
    for (const TNameId name : oldNames) bytes += Name(name).size() + 2;
    visit.tree->Reserve(oldNames.size(), bytes);
  }

  std::string_view Name(TNameId name) const { return visit.names.View(name); }
  std::string_view OldName(std::size_t entry) const { return Name(oldNames[entry]); }
  // The entry's plan when it was given; null in a walk.
  const TGivenName* Given(std::size_t entry) const {
    const std::vector<const TGivenName*>& plans = isFile ? visit.givenFiles : visit.givenDirectories;
    return entry < plans.size() ? plans[entry] : nullptr;
  }
  // Simulations only, once the entry's turn has come: its node. The entries' nodes are
  // added in their order, one after the other.
  TNodeId Node(std::size_t entry) const {
    return entry < nodesAdded ? firstNode + static_cast<TNodeId>(entry) : TResultTree::kNoNode;
  }

  void Renamed(std::size_t entry, TNameId name) override {
    visit.out->Count(isFile ? &TRunState::FilesRenamed : &TRunState::DirsRenamed);
    statuses[entry] = TEntryStatus::Renamed;
    newNames[entry] = name;  // numbered, where the name it was given was taken
    if (Node(entry) != TResultTree::kNoNode) {
      visit.tree->SetState(Node(entry), isFile ? TNodeState::FileRenamed : TNodeState::FolderRenamed);
      visit.tree->SetText(Node(entry), Name(name));
    }
  }
  void Failed(std::size_t entry, int error, const std::string& reason) override {
    NameRefused(entry, error == EEXIST ? TEntryStatus::Clash : TEntryStatus::Failed, reason);
  }
  void Step(const std::string& line) override { LogLine(*visit.out, visit.depth, line); }

  // The entry cannot have its new name: the run or the folder said no.
  void NameRefused(std::size_t entry, TEntryStatus status, const std::string& reason) {
    const std::string_view newName = Name(newNames[entry]);
    Refused(entry, status, newName,
            "Cannot rename " + visit.directory.PathOf(std::string(OldName(entry))) + " to " +
                ShownNewName(newName, visit.nameMax) + ". Operation will continue",
            reason);
  }
  // A failure at any moment of the step; `shown` stands for the new name in the node.
  void Refused(std::size_t entry, TEntryStatus status, std::string_view shown, const std::string& text,
               const std::string& reason) {
    statuses[entry] = status;
    reasons.emplace(entry, reason);
    const TNodeId node = Node(entry);
    visit.out->Fail(visit.depth, text, reason, node != TResultTree::kNoNode);
    if (node == TResultTree::kNoNode) return;
    visit.tree->SetState(node, isFile ? TNodeState::FileError : TNodeState::FolderError);
    visit.tree->SetText(node, std::string(shown).append(" (was \"").append(OldName(entry)).append("\")"));
    visit.tree->SetReason(node, reason);
  }
  // An entry that keeps its name without a turn: a folder not renamed, or one left by a
  // cancel.
  void Keep(std::size_t entry, TFolderRenamer& renamer) {
    newNames[entry] = oldNames[entry];
    if (run.m_options.simulate) AddNode(entry);
    renamer.Keep(entry);
  }
  // Simulations only: the entry's node, unchanged until the renamer says otherwise.
  void AddNode(std::size_t entry) {
    const TNodeState state = isFile ? TNodeState::FileUnchanged : TNodeState::FolderUnchanged;
    const TNodeId node = visit.tree->AddChild(visit.node, Name(newNames[entry]), state, OldName(entry));
    if (nodesAdded++ == 0) firstNode = node;
  }
  // Once the renamer has settled every rename of the step: each entry to the host, in
  // the step's order, since a rename that waited settles after later entries.
  void Report() const {
    const TFolderPath folder(visit.directory);
    for (std::size_t entry = 0; entry < oldNames.size(); ++entry) {
      const TEntryStatus status = statuses[entry];
      const std::string_view oldName = OldName(entry);
      const bool failed = status == TEntryStatus::Clash || status == TEntryStatus::Failed;
      visit.out->EntryDone({folder, oldName, status == TEntryStatus::Unchanged ? oldName : Name(newNames[entry]),
                            isFile ? TEntryKind::File : TEntryKind::Directory, status,
                            failed ? std::string_view(reasons.at(entry)) : std::string_view()});
    }
  }

  TRenameRun& run;
  TFolderVisit& visit;
  bool isFile;
  const std::vector<TNameId>& oldNames;
  std::vector<TNameId> newNames;
  std::vector<TEntryStatus> statuses;
  std::unordered_map<std::size_t, std::string> reasons;  // only the clashes and failures have one
  TNodeId firstNode = TResultTree::kNoNode;
  std::size_t nodesAdded = 0;
};

TRenameRun::TRenameRun(const TJobList& jobs, TRunOptions options, TRunHost& host)
    : m_jobs(jobs), m_options(std::move(options)), m_host(host), m_recordsUndo(!m_options.simulate && m_options.undo) {
  // Nothing is renamed, asked or recorded in a simulation; it still predicts the names
  // that an undo file could not record.
  if (m_options.simulate) m_options.confirm = false;
  m_asksEachRename = m_options.confirm;
  m_direct = std::make_unique<TDirectOutput>(*this);
}

TRenameRun::~TRenameRun() = default;

bool TRenameRun::Run() {
  std::optional<TGivenPlan> given;
  if (m_options.given) {
    given = PlanGivenEntries(*m_options.given, m_options, CountersPerTurn());
    m_options.startDirectory = given->commonFolder;
  }
  StartRun();
  bool completed = false;
  try {
    if (given) {
      WalkGiven(*given);
    } else if (const int folders = FoldersAtOnce(); folders > 1) {
      WalkInParallel(folders);
    } else {
      Walk();
    }
    completed = true;
  } catch (const TUndoFileError& error) {
    // Without its undo file a run could not be taken back: it stops here.
    StopRun(error.what());
  } catch (const std::bad_alloc&) {
    // Nothing half done is lost, each rename made stands, and the run says why, as below.
    StopRun("Quillex stopped the run: not enough memory.");
  } catch (const std::exception& error) {
    // A folder whose new names no longer fit beside its listing: nothing half done is
    // lost, each rename made stands, and the run says why.
    StopRun(std::string("Quillex stopped the run: ") + error.what() + ".");
  }
  FinishRun(completed);
  return completed;
}

void TRenameRun::StartRun() {
  m_counterValue = m_options.counterStart;
  m_state = TRunState();
  m_tree.Clear();
  LogLine(*m_direct, 0, "---- ", FormatLocalDateTime(std::time(nullptr)), " ---- Starting Renaming in ",
          m_options.startDirectory);
}

void TRenameRun::StopRun(const std::string& text) {
  ++m_state.ErrorCount;
  LogLine(*m_direct, 0, text);
  m_host.ShowMessage(text);
}

void TRenameRun::FinishRun(bool completed) {
  LogLine(*m_direct, 0, "");
  if (m_state.Cancelled) LogLine(*m_direct, 0, "---- Cancelled: what the run had not reached keeps its name");
  if (!completed)
    LogLine(*m_direct, 0, "---- Stopped by the failure above: what the run had not reached keeps its name");
  LogLine(*m_direct, 0, "---- ", FormatLocalDateTime(std::time(nullptr)), " ---- Finished Renaming in ",
          m_options.startDirectory);
  LogLine(*m_direct, 0, std::string(80, '-'));
}

int TRenameRun::CountersPerTurn() const {
  return static_cast<int>(std::count_if(
      m_jobs.begin(), m_jobs.end(), [](const TJob& job) { return job.enabled && job.type == TJobKind::jobCounter; }));
}

int TRenameRun::FoldersAtOnce() const {
  if (m_options.parallel == 1 || !m_options.recurseDirs || m_asksEachRename ||
      (!m_options.resetCounter && CountersPerTurn() > 0)) {
    return 1;
  }
  if (m_options.parallel != kAutomaticFolders) return std::clamp(m_options.parallel, 1, kMostFoldersAtOnce);
  // On a share each rename and look-up is a round trip, and those of different folders
  // overlap: many folders at once. On a local disk the work is the processor's: a
  // folder per core. A start folder that cannot be opened is the walk's to report.
  try {
    if (TDirectory::Open(m_options.startDirectory).IsRemote()) return kRemoteFoldersAtOnce;
  } catch (const TSystemError&) {
    return 1;
  }
  return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 2, kMostLocalFoldersAtOnce);
}

void TRenameRun::Walk() {
  const TNodeId root = m_options.simulate ? m_tree.AddRoot(m_options.startDirectory) : TResultTree::kNoNode;
  if (IsCancelled()) return;
  WalkFrom(Visit({nullptr, m_options.startDirectory, 0, 1.0}, *m_direct, m_tree, root, m_counterValue));
}

void TRenameRun::WalkFrom(TVisited visited) {
  std::vector<std::unique_ptr<TFolderVisit>> visits;
  if (visited.recurses) visits.push_back(std::move(visited.visit));
  while (!visits.empty()) {
    TFolderVisit& visit = *visits.back();
    if (visit.descended == visit.directories.Size()) {
      visits.pop_back();
      continue;
    }
    // Once cancelled, no folder is entered, nor logged as if it were.
    if (IsCancelled()) return;
    const std::size_t i = visit.descended++;
    visit.LogDescent(*m_direct, i);
    const TNodeId child = m_options.simulate ? visit.treeIndexList[i] : TResultTree::kNoNode;
    const double share = visit.descentShare / static_cast<double>(visit.directories.Size());
    // Stepping back needs nothing: the parent's visit still holds its directory's handle.
    TVisited entered = Visit({&visit.directory, visit.SubdirectoryName(i), visit.depth + 1, share}, *m_direct, m_tree,
                             child, m_counterValue);
    if (entered.recurses) visits.push_back(std::move(entered.visit));
  }
}

void TRenameRun::WalkGiven(TGivenPlan& plan) {
  const TNodeId root = m_options.simulate ? m_tree.AddRoot(plan.commonFolder) : TResultTree::kNoNode;
  // A simulation shows the paths it cannot take in its tree, first, as it shows any failure.
  for (const TGivenProblem& problem : plan.problems) {
    Fail(0, "Cannot rename " + problem.path + ". Operation will continue", problem.reason, m_options.simulate);
    if (!m_options.simulate) continue;
    const TNodeId node = m_tree.AddChild(root, problem.path, TNodeState::FileError, problem.path);
    m_tree.SetReason(node, problem.reason);
  }
  // The folders a run enters below given ones number their entries after the given ones.
  m_counterValue = plan.counterAfter;
  std::size_t entries = 0;
  for (const TGivenFolder& folder : plan.folders) entries += folder.directories.size() + folder.files.size();
  // A node's children are added together: the folders' nodes next, then the common
  // folder's own entries, before any visit adds below them.
  std::vector<TNodeId> nodes(plan.folders.size(), root);
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < plan.folders.size(); ++i) {
    if (plan.folders[i].below.empty()) {
      order.insert(order.begin(), i);
      continue;
    }
    order.push_back(i);
    if (m_options.simulate) {
      nodes[i] = m_tree.AddChild(root, plan.folders[i].below, TNodeState::FolderUnchanged, plan.folders[i].below);
    }
  }
  for (const std::size_t i : order) {
    if (IsCancelled()) return;
    TGivenFolder& folder = plan.folders[i];
    const double share =
        static_cast<double>(folder.directories.size() + folder.files.size()) / static_cast<double>(entries);
    WalkFrom(VisitGiven(folder, nodes[i], share));
  }
}

TVisited TRenameRun::VisitGiven(TGivenFolder& folder, TNodeId node, double share) {
  TVisited visited;
  const std::string path = folder.directory.Path();
  LogLine(*m_direct, 0, "> Changing to ", path);
  std::optional<TFileStatus> status = StatusOfHandle(folder.directory.Handle());
  // Given folders are told apart by what they are when planned, so this fails only for
  // one that a walk below another given folder has entered already (through a link).
  if (!status || !FirstVisit(*status)) {
    Fail(0, "Cannot change to directory: " + path, "it was visited already in this run");
    AddProgress(share);
    return visited;
  }
  m_startDevice = status->device;
  m_host.SetCurrentItem(path);
  visited.visit = std::make_unique<TFolderVisit>(
      TFolderVisit{std::move(folder.directory), 0, node, 0, m_direct.get(), &m_tree, &m_givenCounter});
  visited.recurses = VisitSteps(*visited.visit, share, &folder);
  return visited;
}

void TRenameRun::WalkInParallel(int folders) {
  m_pending = std::make_unique<TPendingFigures>();
  const auto visit = [this](const TFolderPlace& place, TRunOutput& out, TResultTree& tree, TNodeId node,
                            std::int32_t& counter) { return Visit(place, out, tree, node, counter); };
  TParallelWalk walk(folders, visit, *m_direct, m_options.simulate ? &m_tree : nullptr, *m_pending);
  walk.Run(m_options.startDirectory);
}

TVisited TRenameRun::Visit(const TFolderPlace& place, TRunOutput& out, TResultTree& tree, TNodeId node,
                           std::int32_t& counter) {
  TVisited visited;
  std::optional<TDirectory> entered = OpenVisit(out, place);
  if (!entered) return visited;
  visited.visit =
      std::make_unique<TFolderVisit>(TFolderVisit{std::move(*entered), place.depth, node, 0, &out, &tree, &counter});
  visited.recurses = VisitSteps(*visited.visit, place.share);
  return visited;
}

std::optional<TDirectory> TRenameRun::OpenVisit(TRunOutput& out, const TFolderPlace& place) {
  const std::string name(place.name);
  const TDirectory* parent = place.parent;
  const int depth = place.depth;
  LogLine(out, depth, "> Changing to ", name);
  std::optional<TDirectory> entered;
  TFileStatus status;
  try {
    entered.emplace(parent ? parent->OpenChild(name) : TDirectory::Open(name));
    status = entered->Status();
  } catch (const TSystemError& error) {
    out.Fail(depth, "Cannot change to directory: " + (parent ? parent->PathOf(name) : name), error.Reason(), false);
    out.AddProgress(place.share);
    return std::nullopt;
  }
  // Taken by the run's thread before any worker opens a folder.
  if (!parent) m_startDevice = status.device;
  if (parent && m_options.oneFileSystem && status.device != m_startDevice) {
    LogLine(out, depth, "- Passing over ", name, ": another file system");
    out.AddProgress(place.share);
    return std::nullopt;
  }
  if (!FirstVisit(status)) {
    out.Fail(depth, "Cannot change to directory: " + entered->Path(), "it was visited already in this run", false);
    out.AddProgress(place.share);
    return std::nullopt;
  }
  out.SetCurrentItem(name);
  return entered;
}

bool TRenameRun::FirstVisit(const TFileStatus& folder) {
  const std::lock_guard lock(m_visitedLock);
  return m_visited.emplace(folder.device, folder.inode).second;
}

namespace {

// The given entries of one kind, as the collection lists them, and their plans beside.
TWRFileList GivenEntries(const TFileCollection& collection, const std::vector<TGivenName>& given, bool directories,
                         std::vector<const TGivenName*>& plans, const TLogLine& log) {
  std::vector<TNameId> names;
  names.reserve(given.size());
  for (const TGivenName& entry : given) {
    names.push_back(entry.name);
    plans.push_back(&entry);
  }
  return collection.CollectNamed(names, directories, log);
}

}  // namespace

bool TRenameRun::VisitSteps(TFolderVisit& visit, double share, TGivenFolder* given) {
  TRunOutput& out = *visit.out;
  const int depth = visit.depth;
  if (m_options.resetCounter) *visit.counter = m_options.counterStart;

  visit.descentShare = m_options.recurseDirs ? 0.9 * share : 0;
  const double directoryShare = !m_options.renameDirs ? 0 : m_options.recurseDirs ? 0.05 * share : 0.5 * share;
  const double fileShare = share - visit.descentShare - directoryShare;

  const bool needDates =
      m_options.log ||
      (m_options.sort && (m_options.sortOrder == TSortOrder::DateAsc || m_options.sortOrder == TSortOrder::DateDesc));
  std::optional<TFileCollection> collection;
  try {
    if (given) {
      // The plan listed the folder already.
      visit.names = std::move(given->names);
      collection.emplace(visit.directory, visit.names, std::move(given->isDirectory), needDates);
    } else {
      collection.emplace(visit.directory, visit.names, needDates);
    }
  } catch (const TSystemError& error) {
    // Renaming from part of a listing would pass the rest over unnoticed.
    out.Fail(depth, "Cannot read directory: " + visit.directory.Path(), error.Reason(), false);
    out.AddProgress(share);
    return false;
  }
  // Room for a new name per entry, a little longer than the old one.
  visit.names.Reserve(visit.names.Count(), visit.names.Bytes() + visit.names.Bytes() / 4);
  visit.nameMax = visit.directory.NameMax();
  std::optional<TUndoFileWriter> undo;
  if (m_recordsUndo) visit.undo = &undo.emplace(visit.directory);
  const TNameFolding folding = visit.directory.NameFolding(collection->CaseSample());
  const std::size_t listed = collection->ListedCount();
  if (m_options.simulate) {
    // The real run makes the undo file before its first rename.
    visit.folder = std::make_unique<TPictureFolder>(visit.names, listed, m_options.undo, folding);
  } else {
    visit.folder = std::make_unique<TRealFolder>(visit.directory, visit.undo, visit.names, listed, folding);
  }

  // Log lines are not even composed when nobody reads them.
  TLogLine log;
  if (m_options.log) log = [&out, depth](const std::string& text) { LogLine(out, depth, text); };
  if (given) {
    visit.directories = GivenEntries(*collection, given->directories, true, visit.givenDirectories, log);
  } else {
    visit.directories = collection->CollectDirectories(log);
    SortEntries(visit.directories, visit.names, true, m_options, log);
  }
  DirectoryStep(visit, directoryShare);

  TWRFileList files = given ? GivenEntries(*collection, given->files, false, visit.givenFiles, log)
                            : collection->CollectFiles(m_options.fileMask, log);
  collection.reset();
  if (!given) SortEntries(files, visit.names, false, m_options, log);
  FileStep(visit, files, fileShare);
  visit.folder.reset();
  visit.undo = nullptr;
  if (undo) undo->Close();
  if (visit.directory.ChecksTargetsFirst()) out.SayTargetsChecked(depth);

  if (!m_options.recurseDirs) return false;
  LogLine(out, depth, "+ Recursing Directories...");
  if (visit.directories.Empty()) out.AddProgress(visit.descentShare);
  return true;
}

void TRenameRun::DirectoryStep(TFolderVisit& visit, double share) {
  if (m_options.renameDirs && visit.directories.Empty()) visit.out->AddProgress(share);
  // A real run without folder renaming has nothing to do here; a simulation still
  // shows every subdirectory.
  if (!m_options.simulate && !m_options.renameDirs) return;
  const std::size_t count = visit.directories.Size();
  const double each = count == 0 ? 0 : share / static_cast<double>(count);
  TStep step(*this, visit, TEntryKind::Directory, visit.directories);
  TFolderRenamer renamer(*visit.folder, step, step.oldNames);
  if (!m_options.takenSuffix.empty()) renamer.NumberTakenNames(m_options.takenSuffix, visit.nameMax);
  for (std::size_t i = 0; i < count; ++i) {
    // Cancelled: the rest of the folder keeps its names.
    const bool turns = m_options.renameDirs && !visit.out->Stopped();
    if (turns || !m_options.renameDirs) LogLine(*visit.out, visit.depth, "* Renaming directory ", step.OldName(i));
    if (turns) {
      TakeTurn(step, renamer, i);
      visit.out->AddProgress(each);
    } else {
      step.Keep(i, renamer);
    }
    if (m_options.simulate) {
      visit.treeIndexList.push_back(step.Node(i));
      LogLine(*visit.out, visit.depth, "* Added Tree Index ", std::to_string(visit.tree->IndexInParent(step.Node(i))));
    }
  }
  renamer.Finish();
  if (m_options.renameDirs) step.Report();
  if (!m_options.simulate) {
    visit.directoryNewNames.reserve(count);
    for (std::size_t i = 0; i < count; ++i) visit.directoryNewNames.push_back(renamer.NameOf(i));
  }
}

void TRenameRun::FileStep(TFolderVisit& visit, const TWRFileList& files, double share) {
  if (files.Empty()) visit.out->AddProgress(share);
  const double each = files.Empty() ? 0 : share / static_cast<double>(files.Size());
  TStep step(*this, visit, TEntryKind::File, files);
  TFolderRenamer renamer(*visit.folder, step, step.oldNames);
  if (!m_options.takenSuffix.empty()) renamer.NumberTakenNames(m_options.takenSuffix, visit.nameMax);
  for (std::size_t i = 0; i < files.Size(); ++i) {
    if (visit.out->Stopped()) {
      // Cancelled: the rest of the folder keeps its names.
      for (; i < files.Size(); ++i) step.Keep(i, renamer);
      break;
    }
    LogLine(*visit.out, visit.depth, "* Renaming file ", step.OldName(i));
    TakeTurn(step, renamer, i);
    visit.out->AddProgress(each);
  }
  renamer.Finish();
  step.Report();
}

void TRenameRun::TakeTurn(TStep& step, TFolderRenamer& renamer, std::size_t entry) {
  step.visit.out->Count(step.isFile ? &TRunState::FilesProcessed : &TRunState::DirsProcessed);
  std::string engineError;
  TFolderEntryDates dates(step.visit.directory.Handle(), step.OldName(entry), !step.isFile);
  const TGivenName* given = step.Given(entry);
  if (given) *step.visit.counter = given->counter;
  const std::optional<std::string> newName =
      given && given->newName ? given->newName
                              : TryApplyJobList(m_jobs, step.OldName(entry), *step.visit.counter, engineError, &dates);
  if (!dates.WhyNoDateTaken().empty()) {
    LogLine(*step.visit.out, step.visit.depth, "  No date taken in ", step.OldName(entry), " (", dates.WhyNoDateTaken(),
            "): its modification date is used");
  }
  const bool changed = newName && *newName != step.OldName(entry);
  step.newNames[entry] = changed ? step.visit.names.Add(*newName) : step.oldNames[entry];
  // Read after the new name is added, which may move the arena's characters.
  const std::string_view oldName = step.OldName(entry);
  if (m_options.simulate) step.AddNode(entry);
  if (!newName) {
    step.Refused(entry, TEntryStatus::Failed, engineError,
                 "Cannot rename " + step.visit.directory.PathOf(std::string(oldName)) + ". Operation will continue",
                 engineError);
    return renamer.Keep(entry);
  }
  if (!changed) return renamer.Keep(entry);
  if (auto refusal = Refusal(step.visit, oldName, *newName)) {
    step.NameRefused(entry, TEntryStatus::Failed, *refusal);
    return renamer.Keep(entry);
  }
  if (m_asksEachRename) {
    renamer.Settle();
    const std::string noun = step.isFile ? "file" : "directory";
    const std::string question = "Rename " + noun + " \"" + std::string(oldName) + "\" to \"" + *newName + "\"?";
    if (!MayRename(question)) return renamer.Keep(entry);
  }
  renamer.Rename(entry, step.newNames[entry]);
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
  return false;  // every answer returns above; a value out of the enum keeps the name
}

std::optional<std::string> TRenameRun::Refusal(const TFolderVisit& visit, std::string_view oldName,
                                               std::string_view newName) const {
  if (auto problem = EntryNameProblem(newName, visit.nameMax, m_options.undo)) return problem;
  if (m_options.undo && HoldsLineBreak(oldName)) {
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
  LogLine(*m_direct, depth, FailureLine(text, reason));
  if (quiet || !m_showsEachFailure || IsCancelled()) return;
  switch (m_host.ShowRunFailure(text, reason)) {
    case TFailureAnswer::IgnoreAll: m_showsEachFailure = false; break;
    case TFailureAnswer::Cancel: m_state.Cancelled = true; break;
    case TFailureAnswer::Ok: break;
  }
}

void TRenameRun::AddProgress(double amount) {
  m_state.Progress += amount;
  m_host.UpdateProgress(m_pending ? m_pending->AddedTo(m_state) : m_state);
}

}  // namespace qx
