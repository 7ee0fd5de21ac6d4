// SPDX-License-Identifier: GPL-3.0-or-later
// The undo file "_quillex_undo.txt" of one directory: pairs of CR LF lines, an entry's
// new name then its old name, appended before the renames they stand for are made, so
// no rename is ever missing from it, even when the program is killed. Runs only ever add
// to it; Undo takes the pairs back latest first and then removes it. A file in its
// place that is not a regular file with a single link is refused, never read from,
// written through or waited on.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/UDirectory.h"
#include "platform/UFileDescriptor.h"
#include "platform/USystemError.h"

namespace qx {

inline constexpr const char* kUndoFileName = "_quillex_undo.txt";

// A failure of the undo file itself: a run cannot go on without its record.
class TUndoFileError : public TSystemError {
 public:
  using TSystemError::TSystemError;
};

class TUndoFileWriter : public TRenameRecorder {
 public:
  // Opens the directory's undo file for appending, creating it empty when there is none;
  // `directory` must outlive the writer.
  // Refuses a file whose last pair is cut short (a line count that is odd), since pairs
  // appended after it would be read out of step; the refusal says how to take it back.
  // Throws TUndoFileError.
  explicit TUndoFileWriter(const TDirectory& directory);

  // Writes the steps' pairs (`to`, then `from`) through to the file in one go before
  // returning; a write that fails leaves none of them. Throws TUndoFileError.
  void Record(std::span<const TRenameStep> steps) override;
  // Takes back the latest `count` pairs: at most those of the latest Record and four
  // before them. Throws TUndoFileError.
  void Forget(std::size_t count) override;
  // Throws TUndoFileError when the close reports a write error.
  void Close();

 private:
  const TDirectory& m_directory;
  TFileDescriptor m_fd;
  off_t m_size = 0;
  std::vector<off_t> m_recentStarts;  // where the latest pairs begin, the latest last
};

// The most of a recorded name Undo holds: more than any file system allows, so a name
// cut to it is refused as too long, and a hostile file's "name" of a gigabyte is never
// copied whole into memory or a message.
inline constexpr std::size_t kUndoNameLimit = 4096;

// A name as Undo reads it: the whole name, or its first kUndoNameLimit bytes when `cut`.
struct TUndoName {
  std::string text;
  bool cut = false;
};

struct TUndoPair {
  TUndoName current;  // the name a run gave the entry
  TUndoName earlier;  // the name it had before
};

// One directory's undo file as it was found, with the handle it was read through. It is
// read in pieces, never whole, so memory stays bounded whatever its size.
class TUndoFile {
 public:
  // Nothing when the directory has no undo file. Throws TUndoFileError when the file
  // is refused or cannot be read.
  static std::optional<TUndoFile> Read(const TDirectory& directory);

  // How many pairs it holds; a lone last line counts as a pair with an empty name.
  // Counted at the first call. Throws TUndoFileError when a read fails.
  std::size_t PairCount() const;
  // Hands each pair to `take`, latest first, the file read backwards piece by piece.
  // Throws TUndoFileError when a read fails.
  void ForEachPairLatestFirst(const std::function<void(const TUndoPair&)>& take) const;
  // Which file it is (device and inode): an undo file has a single link, so this names
  // it wherever its folder has moved.
  std::pair<dev_t, ino_t> Identity() const { return m_identity; }
  // Removes the file if the directory still holds the very file that was read. Returns
  // false, removing nothing, when it was replaced meanwhile. Throws TUndoFileError.
  bool RemoveIfUnchanged(const TDirectory& directory) const;

 private:
  TUndoFile(const TDirectory& directory, TFileDescriptor fd, const struct stat& st);
  std::size_t LineCount() const;

  std::string m_path;
  TFileDescriptor m_fd;
  off_t m_size;  // as it was when opened: what a run appends meanwhile is not taken back
  std::pair<dev_t, ino_t> m_identity;
  mutable std::optional<std::size_t> m_lines;
};

}  // namespace qx
