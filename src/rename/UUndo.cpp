// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UUndo.h"

#include <cerrno>
#include <optional>
#include <vector>

#include "platform/UDirectory.h"
#include "platform/USystemError.h"
#include "platform/UUndoFile.h"
#include "rename/UEntryName.h"

namespace qx {

namespace {

std::string Count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Renames each pair of `file` back, latest first: the run recorded its steps in the
// order it made them, so the reverse order unwinds chains (b -> c, then a -> b).
void TakeBack(const TDirectory& directory, const TUndoFile& file, TMessageHost& messages, TUndoOutcome& outcome) {
  const std::size_t nameMax = directory.NameMax();
  const auto& pairs = file.Pairs();
  for (auto pair = pairs.rbegin(); pair != pairs.rend(); ++pair) {
    const std::string failure = "Cannot rename " + pair->current + " to " + pair->earlier + ". Operation will continue";
    // An undo file edited by hand, or planted by someone else, must not move anything
    // out of the folder or over the undo file.
    auto problem = EntryNameProblem(pair->current, nameMax, true);
    if (!problem) problem = EntryNameProblem(pair->earlier, nameMax, true);
    if (!problem) {
      try {
        directory.RenameNoReplace(pair->current, pair->earlier);
        ++outcome.renamed;
        continue;
      } catch (const TSystemError& error) {
        // A step recorded but never made (the run was killed between the two), or one
        // taken back already: the new name is gone and the old one there, or both name
        // one file (a rename onto another link of the same file is never made).
        if ((error.Errno() == ENOENT && directory.Exists(pair->earlier)) ||
            (error.Errno() == EEXIST && directory.IsSameEntry(pair->current, pair->earlier))) {
          continue;
        }
        problem = error.Reason();
      }
    }
    ++outcome.errors;
    messages.ShowFailure(failure, *problem);
  }
}

void Remove(const TDirectory& directory, const TUndoFile& file, TMessageHost& messages) {
  try {
    if (!file.RemoveIfUnchanged(directory)) {
      messages.ShowMessage("The undo file " + directory.PathOf(kUndoFileName) +
                           " was replaced while Undo ran; it is left as it is.");
    }
  } catch (const TSystemError& error) {
    messages.ShowMessage(error.what());
  }
}

std::string Report(const TUndoOutcome& outcome) {
  std::string report = std::to_string(outcome.renamed) + " files and/or directories have been renamed.";
  if (outcome.errors > 0) report += " " + std::to_string(outcome.errors) + " errors detected!";
  return report;
}

// Every folder of the tree below `root`, each after its subfolders, on a stack of its
// own (a tree may be deeper than the machine's stack). `leave(directory)` handles one;
// `failed(path, reason)` is told of a folder that could not be entered or listed.
template <class TLeave, class TFailed>
void WalkSubfoldersFirst(const TDirectory& root, const TLeave& leave, const TFailed& failed) {
  struct TFrame {
    std::optional<TDirectory> owned;  // empty for the root, which is the caller's
    std::vector<std::string> subfolders;
    std::size_t entered = 0;
  };
  std::vector<TFrame> frames;
  const auto enter = [&](std::optional<TDirectory> owned) {
    const TDirectory& directory = owned ? *owned : root;
    try {
      TFrame frame{std::nullopt, {}};
      for (TDirEntry& entry : directory.List()) {
        if (entry.isDirectory) frame.subfolders.push_back(std::move(entry.name));
      }
      frame.owned = std::move(owned);
      frames.push_back(std::move(frame));
    } catch (const TSystemError& error) {
      failed(error.Path(), error.Reason());
    }
  };
  enter(std::nullopt);
  while (!frames.empty()) {
    TFrame& frame = frames.back();
    const TDirectory& directory = frame.owned ? *frame.owned : root;
    if (frame.entered == frame.subfolders.size()) {
      leave(directory);
      frames.pop_back();
      continue;
    }
    const std::string& name = frame.subfolders[frame.entered++];
    std::optional<TDirectory> child;
    try {
      child.emplace(directory.OpenChild(name));
    } catch (const TSystemError& error) {
      failed(error.Path(), error.Reason());
      continue;
    }
    enter(std::move(child));
  }
}

std::optional<TDirectory> OpenStart(const std::string& path, TMessageHost& messages, TUndoOutcome& outcome) {
  try {
    return TDirectory::Open(path);
  } catch (const TSystemError& error) {
    ++outcome.errors;
    messages.ShowFailure("Cannot change current directory to " + path, error.Reason());
    return std::nullopt;
  }
}

}  // namespace

TUndoOutcome UndoDirectory(const std::string& path, TMessageHost& messages) {
  TUndoOutcome outcome;
  const std::optional<TDirectory> directory = OpenStart(path, messages, outcome);
  if (!directory) return outcome;
  std::optional<TUndoFile> file;
  try {
    file = TUndoFile::Read(*directory);
  } catch (const TSystemError& error) {
    // Going on as if the file were empty would delete the only record of the renames.
    ++outcome.errors;
    messages.ShowMessage(error.what());
    return outcome;
  }
  if (!file) {
    ++outcome.errors;
    messages.ShowMessage(std::string("Undo file ") + kUndoFileName +
                         " does not exist in current directory. Operation will not continue!");
    return outcome;
  }
  if (!messages.Confirm("Operation will undo renaming in current directory (" +
                        Count(file->Pairs().size(), "rename", "renames") + ").\r\nThen it will remove " +
                        kUndoFileName + " from this directory. Continue?")) {
    return outcome;
  }
  outcome.ran = true;
  TakeBack(*directory, *file, messages, outcome);
  if (outcome.errors == 0 ||
      messages.Confirm(std::string("Errors detected! Remove ") + kUndoFileName + " from this Dir?")) {
    Remove(*directory, *file, messages);
  }
  messages.ShowMessage(Report(outcome));
  return outcome;
}

TUndoOutcome UndoTree(const std::string& path, TMessageHost& messages) {
  TUndoOutcome outcome;
  const std::optional<TDirectory> start = OpenStart(path, messages, outcome);
  if (!start) return outcome;
  // A first walk counts, so the question can say what is at stake; it reports nothing,
  // the walk that takes the renames back does.
  std::size_t files = 0, pairs = 0;
  WalkSubfoldersFirst(
      *start,
      [&](const TDirectory& directory) {
        try {
          if (auto file = TUndoFile::Read(directory)) ++files, pairs += file->Pairs().size();
        } catch (const TSystemError&) {
          ++files;
        }
      },
      [](const std::string&, const std::string&) {});
  if (files == 0) {
    ++outcome.errors;
    messages.ShowMessage(std::string("Undo file ") + kUndoFileName +
                         " does not exist in current directory or its subdirectories. Operation will not continue!");
    return outcome;
  }
  if (!messages.Confirm("Operation will undo renaming in this directory and its subdirectories (" +
                        Count(pairs, "rename", "renames") + " in " + Count(files, "undo file", "undo files") +
                        ").\r\nThen it will remove " + kUndoFileName + " from these directories. Continue?")) {
    return outcome;
  }
  outcome.ran = true;
  std::size_t kept = 0;
  WalkSubfoldersFirst(
      *start,
      [&](const TDirectory& directory) {
        std::optional<TUndoFile> file;
        try {
          file = TUndoFile::Read(directory);
        } catch (const TSystemError& error) {
          ++outcome.errors;
          messages.ShowMessage(error.what());
          return;
        }
        if (!file) return;
        const std::int32_t errorsBefore = outcome.errors;
        TakeBack(directory, *file, messages, outcome);
        if (outcome.errors == errorsBefore) {
          Remove(directory, *file, messages);
        } else {
          ++kept;
        }
      },
      [&](const std::string& folder, const std::string& reason) {
        ++outcome.errors;
        messages.ShowFailure("Cannot change to directory: " + folder, reason);
      });
  std::string report = Report(outcome);
  if (kept > 0)
    report += std::string(" ") + kUndoFileName + " was kept in " + Count(kept, "folder", "folders") + " with errors.";
  messages.ShowMessage(report);
  return outcome;
}

}  // namespace qx
