// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/UCliLists.h"

#include <algorithm>
#include <map>
#include <ostream>

#include "cli/UCliApp.h"
#include "cli/UTerminal.h"
#include "lists/UEditText.h"
#include "lists/URenameList.h"
#include "platform/UCollation.h"
#include "platform/UDirectory.h"
#include "platform/UEditor.h"
#include "platform/UFiles.h"
#include "platform/UMask.h"
#include "platform/USystemError.h"
#include "platform/UUndoFile.h"
#include "rename/URenameRun.h"

namespace qx::cli {

namespace {

// Names made by the user, one per entry: no job takes part, and folders named are
// renamed as files are; none is entered.
int RunGivenNames(TRunRequest& request, std::vector<TGivenEntry> given, TTerminalMessages& messages, std::ostream& out,
                  std::ostream& err) {
  request.options.given = std::move(given);
  request.options.renameDirs = true;
  request.options.recurseDirs = false;
  return RunRename(TJobList(), request, messages, out, err);
}

// Why the run would not give each entry its new name, by the entry's path.
class TRefusals : public TRunHost {
 public:
  void ShowMessage(const std::string& text) override { m_told.push_back(text); }
  bool Confirm(const std::string&) override { return false; }
  void AddLogLine(const std::string&) override {}
  void SetCurrentItem(const std::string&) override {}
  void UpdateProgress(const TRunState&) override {}
  bool CancelRequested() override { return false; }
  void EntryDone(const TEntryOutcome& outcome) override {
    if (outcome.status != TEntryStatus::Clash && outcome.status != TEntryStatus::Failed) return;
    m_why.emplace(outcome.folder.PathOf(outcome.oldName), outcome.reason);
  }
  const std::map<std::string, std::string>& Why() const { return m_why; }
  const std::vector<std::string>& Told() const { return m_told; }

 private:
  std::map<std::string, std::string> m_why;
  std::vector<std::string> m_told;
};

// The folder part of a path the editor shows, with its slash; "" for a bare name.
std::string_view FolderPart(std::string_view text) {
  const std::size_t slash = text.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : text.substr(0, slash + 1);
}

// The entries an edit shows: a folder's entries that the mask takes (not hidden, not
// the undo file), by name as a run orders them, or an entry as named. Throws TSystemError.
std::vector<std::string> EntriesToEdit(const std::vector<std::string>& paths, const TRunOptions& options) {
  std::vector<std::string> texts;
  const TCollator& collator = ThreadCollator(options.numbersByValue ? TNumberOrder::byValue : TNumberOrder::asText);
  for (const std::string& path : paths) {
    if (!IsDirectory(path)) {
      texts.push_back(path);
      continue;
    }
    std::vector<std::pair<std::string, std::string>> names;  // key, name
    for (const TDirEntry& entry : TDirectory::Open(AbsolutePath(path)).List()) {
      if (entry.name.front() == '.' || entry.name == kUndoFileName || !MatchesMask(entry.name, options.fileMask)) {
        continue;
      }
      names.emplace_back(collator.SortKey(entry.name), entry.name);
    }
    std::sort(names.begin(), names.end());
    const std::string prefix = path == "." ? "" : path.ends_with('/') ? path : path + "/";
    for (const auto& [key, name] : names) texts.push_back(prefix + name);
  }
  return texts;
}

// The user's edit as renames: entry i from texts[i] to edited[i]'s last part, for each
// that changed. A change before the last slash is a problem: an edit renames, it does not
// move.
std::vector<TGivenEntry> Renames(const std::vector<std::string>& texts, const std::vector<std::string>& edited,
                                 std::vector<std::string>& problems) {
  std::vector<TGivenEntry> renames;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (edited[i] == texts[i]) continue;
    if (FolderPart(edited[i]) != FolderPart(texts[i])) {
      problems.push_back("entry " + std::to_string(i + 1) + ": only the name after the last / can change");
      continue;
    }
    renames.push_back({texts[i], edited[i].substr(FolderPart(edited[i]).size())});
  }
  return renames;
}

// What a simulation of the renames says against them, one problem per entry.
std::vector<std::string> Refused(const std::vector<TGivenEntry>& renames, const std::vector<std::string>& texts,
                                 const TRunOptions& options) {
  TRunOptions simulation = options;
  simulation.given = renames;
  simulation.simulate = true;
  simulation.renameDirs = true;
  simulation.recurseDirs = false;
  simulation.log = simulation.confirm = false;
  TRefusals host;
  const TJobList noJobs;  // the run keeps it by reference
  TRenameRun run(noJobs, simulation, host);
  run.Run();
  std::vector<std::string> problems = host.Told();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const auto why = host.Why().find(AbsolutePath(texts[i]));
    if (why != host.Why().end()) problems.push_back("entry " + std::to_string(i + 1) + ": " + why->second);
  }
  return problems;
}

// The edited text again, its old problems replaced by `problems` on top.
std::string WithProblems(std::string_view edited, const std::vector<std::string>& problems) {
  std::string text;
  for (const std::string& problem : problems) text.append("# ").append(problem).append("\n");
  text += "#\n";
  while (edited.starts_with('#')) {
    const std::size_t end = edited.find('\n');
    edited.remove_prefix(end == std::string_view::npos ? edited.size() : end + 1);
  }
  return text.append(edited);
}

}  // namespace

int ApplyList(const std::string& list, std::string_view text, TRunRequest request, TTerminalMessages& messages,
              std::ostream& out, std::ostream& err) {
  const lists::TListReading reading = lists::ReadRenameList(text, lists::ListFormatOf(list, text));
  if (!reading.problems.empty()) {
    for (const std::string& problem : reading.problems) messages.ShowMessage(list + ": " + problem);
    messages.ShowMessage("Nothing was renamed.");
    return kExitFailure;
  }
  const std::string base = list == "-" ? "" : DirectoryOf(list);
  std::vector<TGivenEntry> given;
  for (const lists::TListRow& row : reading.rows) {
    given.push_back({row.oldPath.front() == '/' ? row.oldPath : base + row.oldPath, row.newName});
  }
  return RunGivenNames(request, std::move(given), messages, out, err);
}

int EditNames(const std::vector<std::string>& paths, TRunRequest request, const std::string& editor, bool confirm,
              TTerminalMessages& messages, std::ostream& out, std::ostream& err) {
  std::vector<std::string> texts;
  try {
    texts = EntriesToEdit(paths, request.options);
  } catch (const TSystemError& error) {
    messages.ShowFailure("Cannot read " + error.Path(), error.Reason());
    return kExitFailure;
  }
  if (texts.empty()) {
    messages.ShowMessage("No entry to edit.");
    return kExitOk;
  }
  std::string written = lists::WriteEditText(texts);
  for (;;) {
    std::string why;
    std::optional<std::string> edited;
    try {
      edited = EditInEditor(editor, written, why);
    } catch (const TSystemError& error) {
      messages.ShowFailure("Cannot edit the names in " + error.Path(), error.Reason());
      return kExitFailure;
    }
    if (!edited) {
      messages.ShowMessage("The editor \"" + editor + "\" did not end well (" + why + "): nothing was renamed.");
      return kExitFailure;
    }
    if (*edited == written) {
      messages.ShowMessage("No name was changed.");
      return kExitOk;
    }
    const lists::TEditReading reading = lists::ReadEditText(*edited, texts);
    std::vector<std::string> problems = reading.problems;
    std::vector<TGivenEntry> renames;
    if (problems.empty()) renames = Renames(texts, reading.texts, problems);
    if (problems.empty()) problems = Refused(renames, texts, request.options);
    if (!problems.empty()) {
      written = WithProblems(*edited, problems);
      continue;
    }
    if (renames.empty()) {
      messages.ShowMessage("No name was changed.");
      return kExitOk;
    }
    if (confirm && !request.options.simulate &&
        !messages.Confirm("Rename " + std::to_string(renames.size()) + " entries?")) {
      return kExitOk;
    }
    return RunGivenNames(request, std::move(renames), messages, out, err);
  }
}

}  // namespace qx::cli
