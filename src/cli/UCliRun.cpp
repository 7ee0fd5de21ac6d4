// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/UCliRun.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <optional>
#include <ostream>

#include "cli/UChangeLines.h"
#include "cli/UCliApp.h"
#include "cli/UJsonText.h"
#include "cli/UTerminal.h"
#include "cli/UTerminalText.h"
#include "lists/URenameList.h"
#include "platform/UFiles.h"
#include "platform/USignals.h"
#include "platform/USystemError.h"
#include "rename/URenameRun.h"
#include "rename/UUndo.h"

namespace qx::cli {

namespace {

const char* StatusName(TEntryStatus status) {
  switch (status) {
    case TEntryStatus::Unchanged: return "unchanged";
    case TEntryStatus::Renamed: return "renamed";
    case TEntryStatus::Clash: return "clash";
    case TEntryStatus::Failed: return "failed";
  }
  return "?";
}

// Every entry line has the same six keys, so a script reads a reason as null rather
// than finding it missing.
void AppendEntryLine(std::string& lines, const TEntryOutcome& outcome) {
  lines.append("{\"path\":");
  AppendJsonString(lines, outcome.folder.Text());
  lines.append(",\"old\":");
  AppendJsonString(lines, outcome.oldName);
  lines.append(",\"new\":");
  AppendJsonString(lines, outcome.newName);
  lines.append(outcome.kind == TEntryKind::File ? ",\"kind\":\"file\"" : ",\"kind\":\"folder\"");
  lines.append(",\"status\":\"").append(StatusName(outcome.status)).append("\",\"reason\":");
  if (outcome.status == TEntryStatus::Clash || outcome.status == TEntryStatus::Failed) {
    AppendJsonString(lines, outcome.reason);
  } else {
    lines.append("null");
  }
  lines.append("}\n");
}

std::string SummaryLine(const TRunState& state, bool simulate, bool completed) {
  const auto flag = [](bool value) { return value ? "true" : "false"; };
  return std::string("{\"summary\":{\"simulate\":") + flag(simulate) +
         ",\"folders_renamed\":" + std::to_string(state.DirsRenamed) +
         ",\"folders\":" + std::to_string(state.DirsProcessed) +
         ",\"files_renamed\":" + std::to_string(state.FilesRenamed) +
         ",\"files\":" + std::to_string(state.FilesProcessed) + ",\"errors\":" + std::to_string(state.ErrorCount) +
         ",\"cancelled\":" + flag(state.Cancelled) + ",\"completed\":" + flag(completed) + "}}\n";
}

// What the summary adds when the run did not reach its end; nothing when it did.
std::optional<std::string> StopLine(const TRunState& state, bool completed, bool simulate) {
  const char* rest =
      simulate ? "the tree shows what the simulation reached." : "what the run had not reached keeps its name.";
  if (state.Cancelled) return std::string("Cancelled: ") + rest;
  if (!completed) return std::string("Stopped by the failure above: ") + rest;
  return std::nullopt;
}

// Large pieces: a run can have a line per file.
constexpr std::size_t kPieceSize = 65536;

void Write(std::ostream& out, std::string& lines) {
  out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
  lines.clear();
}

// The terminal as the run's host: log lines to stderr or a file, messages and
// questions through the terminal, a progress line when stderr is a terminal and the
// run takes more than a moment, and Ctrl-C as the Cancel button.
class TTerminalRunHost : public TRunHost {
 public:
  TTerminalRunHost(TTerminalMessages& messages, std::ostream& log, std::ostream& err, const TInterruptWatch& ctrlC)
      : m_messages(messages), m_log(log), m_err(err), m_ctrlC(ctrlC), m_showProgress(ShowsOnTerminal(err)) {}

  void ShowMessage(const std::string& text) override { m_messages.ShowMessage(text); }
  bool Confirm(const std::string& text) override { return m_messages.Confirm(text); }
  TRenameAnswer AskRename(const std::string& question) override { return m_messages.AskRename(question); }
  void AddLogLine(const std::string& line) override {
    if (&m_log == &m_err) m_messages.ClearProgress();
    m_log << ShownOn(m_log, line) << '\n';
  }
  void SetCurrentItem(const std::string& item) override { m_item = item; }
  void UpdateProgress(const TRunState& state) override {
    if (!m_showProgress) return;
    const auto now = Clock::now();
    if (now - m_start < std::chrono::milliseconds(500) || now - m_lastShown < std::chrono::milliseconds(100)) return;
    m_lastShown = now;
    m_messages.ShowProgress(std::to_string(std::lround(state.Progress * 100)) + "%  folders " +
                            std::to_string(state.DirsRenamed) + "/" + std::to_string(state.DirsProcessed) + "  files " +
                            std::to_string(state.FilesRenamed) + "/" + std::to_string(state.FilesProcessed) +
                            "  errors " + std::to_string(state.ErrorCount) + "  " + TerminalSafe(m_item));
  }
  bool CancelRequested() override { return m_ctrlC.Interrupted(); }
  // Each entry's line, as `line` writes it, goes to `out`.
  using TEntryLine = std::function<void(std::string& lines, const TEntryOutcome& outcome)>;
  void SendEntriesTo(std::ostream& out, TEntryLine line) {
    m_entries = &out;
    m_entryLine = std::move(line);
  }
  void EntryDone(const TEntryOutcome& outcome) override {
    if (!m_entries) return;
    m_entryLine(m_entryLines, outcome);
    if (m_entryLines.size() > kPieceSize) Write(*m_entries, m_entryLines);
  }
  void EndRun() {
    m_messages.ClearProgress();
    if (m_entries) Write(*m_entries, m_entryLines);
  }

 private:
  using Clock = std::chrono::steady_clock;
  TTerminalMessages& m_messages;
  std::ostream& m_log;
  std::ostream& m_err;
  const TInterruptWatch& m_ctrlC;
  std::ostream* m_entries = nullptr;
  TEntryLine m_entryLine;
  std::string m_entryLines;
  std::string m_item;
  bool m_showProgress;
  Clock::time_point m_start = Clock::now();
  Clock::time_point m_lastShown;
};

const char* Tag(TNodeState state) {
  switch (state) {
    case TNodeState::FolderUnchanged: return "D=";
    case TNodeState::FolderRenamed: return "D+";
    case TNodeState::FolderError: return "D!";
    case TNodeState::FileUnchanged: return "F=";
    case TNodeState::FileRenamed: return "F+";
    case TNodeState::FileError: return "F!";
  }
  return "?";
}

}  // namespace

void PrintResultTree(const TResultTree& tree, std::ostream& out) {
  if (tree.IsEmpty()) return;
  // Depth first without recursion: a tree may be deeper than the stack is kind to.
  std::vector<std::pair<TNodeId, std::size_t>> stack = {{tree.Root(), 0}};
  const bool terminal = ShowsOnTerminal(out);
  std::string lines;  // written in large pieces: a tree can have a line per file
  while (!stack.empty()) {
    const auto [node, depth] = stack.back();
    stack.pop_back();
    lines.append(2 * depth, ' ').append(Tag(tree.State(node))).append(1, ' ');
    lines.append(terminal ? TerminalSafe(tree.Text(node)) : tree.Text(node)).append(1, '\n');
    if (lines.size() > kPieceSize) Write(out, lines);
    for (std::size_t i = tree.ChildCount(node); i-- > 0;) stack.emplace_back(tree.ChildAt(node, i), depth + 1);
  }
  Write(out, lines);
}

int RunRename(const TJobList& jobs, const TRunRequest& request, TTerminalMessages& messages, std::ostream& out,
              std::ostream& err) {
  // Names the user made need no job.
  const bool namesGiven =
      request.options.given && std::all_of(request.options.given->begin(), request.options.given->end(),
                                           [](const TGivenEntry& entry) { return entry.newName.has_value(); });
  if (const auto problem = RunStartProblem(jobs); problem && !namesGiven) {
    messages.ShowMessage(*problem);
    return kExitUsage;
  }
  std::optional<TAppendStream> logFile;
  if (!request.logFile.empty()) {
    try {
      logFile.emplace(request.logFile);
    } catch (const TSystemError& error) {
      messages.ShowFailure("Cannot write the log to " + request.logFile, error.Reason());
      return kExitFailure;
    }
  }
  const TInterruptWatch ctrlC;
  TTerminalRunHost host(messages, logFile ? *logFile : err, err, ctrlC);
  const bool json = request.format == TOutputFormat::json;
  const bool simulate = request.options.simulate;
  TRenameRun run(jobs, request.options, host);
  const bool list = request.format == TOutputFormat::tsv || request.format == TOutputFormat::csv;
  std::vector<std::pair<std::string, std::string>> renames;
  if (json) {
    host.SendEntriesTo(out, AppendEntryLine);
  } else if (list) {
    // Each entry the run took a turn for, with the name it would have: a list to edit
    // and apply. Paths start in the working directory, where the list is read back.
    host.SendEntriesTo(out, [&renames, here = AbsolutePath(".")](std::string&, const TEntryOutcome& outcome) {
      renames.emplace_back(PathBelow(outcome.folder.PathOf(outcome.oldName), here), std::string(outcome.newName));
    });
  } else if (request.format == TOutputFormat::text && (simulate || request.verbose)) {
    // The run's folder, once the run has made it absolute.
    host.SendEntriesTo(out, [&](std::string& lines, const TEntryOutcome& outcome) {
      AppendChangeLine(lines, outcome, run.Options().startDirectory, request.colour, out);
    });
  }
  const bool completed = run.Run();
  host.EndRun();

  const TRunState& state = run.State();
  const std::optional<std::string> stopped = StopLine(state, completed, simulate);
  if (json) {
    out << SummaryLine(state, simulate, completed);
  } else if (list) {
    out << lists::WriteRenameList(
        renames, request.format == TOutputFormat::tsv ? lists::TListFormat::tsv : lists::TListFormat::csv);
  } else if (simulate) {
    if (request.format == TOutputFormat::tree) PrintResultTree(run.ResultTree(), out);
    if (stopped) out << *stopped << '\n';
    // Last, so that nobody reads a simulation as a run that renamed.
    out << state.FilesRenamed << " files and " << state.DirsRenamed << " directories would be renamed.\n";
  } else {
    out << "Folders renamed: " << state.DirsRenamed << " of " << state.DirsProcessed << '\n'
        << "Files renamed: " << state.FilesRenamed << " of " << state.FilesProcessed << '\n'
        << "Errors: " << state.ErrorCount << '\n';
    if (stopped) out << *stopped << '\n';
  }
  out.flush();
  bool logLost = false;
  if (logFile) {
    try {
      logFile->Finish();
    } catch (const TSystemError& error) {
      messages.ShowFailure("Cannot write the log to " + request.logFile, error.Reason());
      logLost = true;
    }
  }
  return !completed || state.ErrorCount > 0 || state.Cancelled || logLost ? kExitFailure : kExitOk;
}

int RunUndo(const std::string& directory, bool recurse, TMessageHost& messages) {
  const TUndoOutcome outcome = recurse ? UndoTree(directory, messages) : UndoDirectory(directory, messages);
  return outcome.errors == 0 ? kExitOk : kExitFailure;
}

}  // namespace qx::cli
