#include "rename/UUndo.h"

#include <optional>
#include <vector>

#include "platform/UDirectory.h"
#include "platform/USystemError.h"
#include "platform/UUndoFile.h"

namespace qx {

namespace {

// A recorded name must name an entry of this directory and nothing else: an undo
// file edited by hand must not move anything out of it.
bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

}  // namespace

TUndoOutcome UndoDirectory(const std::string& path, TMessageHost& messages) {
  TUndoOutcome outcome;
  std::optional<TDirectory> directory;
  try {
    directory.emplace(TDirectory::Open(path));
  } catch (const TSystemError&) {
    messages.ShowMessage("Cannot change current directory to " + path);
    return outcome;
  }
  if (!directory->Exists(kUndoFileName)) {
    messages.ShowMessage(
        "Undo file _quillex_undo.txt does not exist in current directory. Operation will not continue!");
    return outcome;
  }
  if (!messages.Confirm("Operation will undo renaming in current directory.\r\n"
                        "Then it will remove _quillex_undo.txt from this directory. Continue?")) {
    return outcome;
  }

  std::vector<std::string> lines;
  try {
    lines = ReadUndoFile(*directory).value_or(std::vector<std::string>());
  } catch (const TSystemError& error) {
    // Going on as if the file were empty would delete the only record of the renames.
    messages.ShowMessage(error.what());
    return outcome;
  }
  outcome.ran = true;

  // The run recorded its renames in the order it made them; taking them back latest
  // first unwinds chains (b -> c, then a -> b) that replaying in file order cannot.
  const std::size_t pairs = (lines.size() + 1) / 2;
  for (std::size_t pair = pairs; pair-- > 0;) {
    const std::string& current = lines[2 * pair];
    const std::string earlier = 2 * pair + 1 < lines.size() ? lines[2 * pair + 1] : std::string();
    if (IsPlainName(current) && IsPlainName(earlier) && directory->RenameNoReplace(current, earlier) == 0) {
      ++outcome.renamed;
    } else {
      ++outcome.errors;
      messages.ShowMessage("Cannot rename " + current + " to " + earlier + ". Operation will continue");
    }
  }

  if (outcome.errors == 0 || messages.Confirm("Errors detected! Remove _quillex_undo.txt from this Dir?")) {
    DeleteUndoFile(*directory);
  }
  std::string report = std::to_string(outcome.renamed) + " files and/or directories have been renamed.";
  if (outcome.errors > 0) report += " " + std::to_string(outcome.errors) + " errors detected!";
  messages.ShowMessage(report);
  return outcome;
}

}  // namespace qx
