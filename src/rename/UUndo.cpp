// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UUndo.h"

#include <cerrno>
#include <optional>
#include <set>
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

std::optional<std::string> NameProblem(const TUndoName& name, std::size_t nameMax) {
  return name.cut ? std::optional<std::string>("name too long") : EntryNameProblem(name.text, nameMax, true);
}

// Renames each pair of `file` back, latest first, each told to `recorder` first: the run
// recorded its steps in the order it made them, so the reverse order unwinds chains
// (b -> c, then a -> b). False when the file could not be read to its start: it must
// then stay.
bool TakeBack(const TDirectory& directory, const TUndoFile& file, TMessageHost& messages, TUndoOutcome& outcome,
              TRenameRecorder* recorder = nullptr) {
  const std::size_t nameMax = directory.NameMax();
  const auto takeBack = [&](const TUndoPair& pair) {
    const std::string& current = pair.current.text;
    const std::string& earlier = pair.earlier.text;
    // An undo file edited by hand, or planted by someone else, must not move anything
    // out of the folder or over the undo file.
    auto problem = NameProblem(pair.current, nameMax);
    if (!problem) problem = NameProblem(pair.earlier, nameMax);
    if (!problem) {
      try {
        directory.RenameNoReplace(current, earlier, recorder);
        ++outcome.renamed;
        return;
      } catch (const TSystemError& error) {
        // A step recorded but never made (the run was killed between the two), or one
        // taken back already: the new name is gone and the old one there, or both name
        // one file (a rename onto another link of the same file is never made).
        const auto neverMade = [&] {
          if (error.Errno() == ENOENT) return directory.Exists(earlier);
          return error.Errno() == EEXIST && directory.IsSameEntry(current, earlier);
        };
        try {
          if (neverMade()) return;
          problem = error.Reason();
        } catch (const TSystemError& lookup) {
          problem = lookup.Reason();  // whether the step was made cannot be told
        }
      }
    }
    ++outcome.errors;
    // A name cut short is longer than any file system allows: it is shown only begun.
    const auto shownMax = [nameMax](const TUndoName& name) { return name.cut ? 0 : nameMax; };
    messages.ShowFailure("Cannot rename " + directory.PathOf(ShownName(current, shownMax(pair.current))) + " to " +
                             ShownNewName(earlier, shownMax(pair.earlier)) + ". Operation will continue",
                         *problem);
  };
  try {
    file.ForEachPairLatestFirst(takeBack);
    return true;
  } catch (const TSystemError& error) {
    ++outcome.errors;
    messages.ShowMessage(error.what());
    return false;
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

// The undo files an Undo of a tree kept after errors: each known by its identity, so it
// can be removed later wherever its folder went, and the first folders by their path.
class TKeptFiles {
 public:
  void Add(const TDirectory& directory, const TUndoFile& file) {
    m_files.insert(file.Identity());
    if (m_shownFolders.size() < kShownFolders) m_shownFolders.push_back(directory.Path());
  }
  std::size_t Count() const { return m_files.size(); }
  // The folders, a line each, up to kShownFolders of them.
  std::string List() const {
    std::string list;
    for (const std::string& folder : m_shownFolders) list += "\r\n" + folder;
    if (Count() > m_shownFolders.size()) list += "\r\nand " + std::to_string(Count() - m_shownFolders.size()) + " more";
    return list;
  }
  // Removes the directory's undo file if it is one of these.
  void RemoveFrom(const TDirectory& directory, TMessageHost& messages) const {
    try {
      const std::optional<TUndoFile> file = TUndoFile::Read(directory);
      if (file && m_files.contains(file->Identity())) Remove(directory, *file, messages);
    } catch (const TSystemError&) {
      // Not one of these: those were read before.
    }
  }

 private:
  static constexpr std::size_t kShownFolders = 20;
  std::set<std::pair<dev_t, ino_t>> m_files;
  std::vector<std::string> m_shownFolders;
};

std::optional<TDirectory> OpenStart(const std::string& path, TMessageHost& messages, TUndoOutcome& outcome) {
  try {
    return TDirectory::Open(path);
  } catch (const TSystemError& error) {
    ++outcome.errors;
    messages.ShowFailure("Cannot change current directory to " + path, error.Reason());
    return std::nullopt;
  }
}

TUndoOutcome UndoFolder(const std::string& path, TMessageHost& messages, TRenameRecorder* recorder) {
  TUndoOutcome outcome;
  const std::optional<TDirectory> directory = OpenStart(path, messages, outcome);
  if (!directory) return outcome;
  std::optional<TUndoFile> file;
  std::size_t pairs = 0;
  try {
    file = TUndoFile::Read(*directory);
    if (file) pairs = file->PairCount();
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
  if (!messages.Confirm("Operation will undo renaming in current directory (" + Count(pairs, "rename", "renames") +
                        ").\r\nThen it will remove " + kUndoFileName + " from this directory. Continue?")) {
    return outcome;
  }
  outcome.ran = true;
  const bool readWhole = TakeBack(*directory, *file, messages, outcome, recorder);
  if (readWhole && (outcome.errors == 0 ||
                    messages.Confirm(std::string("Errors detected! Remove ") + kUndoFileName + " from this Dir?"))) {
    Remove(*directory, *file, messages);
  }
  messages.ShowMessage(Report(outcome));
  return outcome;
}

}  // namespace

TUndoOutcome UndoDirectory(const std::string& path, TMessageHost& messages) {
  return UndoFolder(path, messages, nullptr);
}

TUndoOutcome UndoDirectoryRecorded(const std::string& path, TMessageHost& messages, TRenameRecorder& recorder) {
  return UndoFolder(path, messages, &recorder);
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
          if (auto file = TUndoFile::Read(directory)) ++files, pairs += file->PairCount();
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
  TKeptFiles kept;
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
        const bool readWhole = TakeBack(directory, *file, messages, outcome);
        if (outcome.errors == errorsBefore) {
          Remove(directory, *file, messages);
        } else if (readWhole) {
          kept.Add(directory, *file);
        }
      },
      [&](const std::string& folder, const std::string& reason) {
        ++outcome.errors;
        messages.ShowFailure("Cannot change to directory: " + folder, reason);
      });
  // As for one folder, the user decides whether the files of the folders with errors
  // stay, so that a damaged one below can no longer hold every later run up.
  bool removed = false;
  if (kept.Count() > 0 && messages.Confirm(std::string("Errors detected! Remove ") + kUndoFileName +
                                           " from these folders?" + kept.List())) {
    WalkSubfoldersFirst(
        *start, [&](const TDirectory& directory) { kept.RemoveFrom(directory, messages); },
        [](const std::string&, const std::string&) {});
    removed = true;
  }
  std::string report = Report(outcome);
  if (kept.Count() > 0 && !removed) {
    report += std::string(" ") + kUndoFileName + " was kept in " + Count(kept.Count(), "folder", "folders") +
              " with errors:" + kept.List();
  }
  messages.ShowMessage(report);
  return outcome;
}

}  // namespace qx
