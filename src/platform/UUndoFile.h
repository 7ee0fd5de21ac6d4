// SPDX-License-Identifier: GPL-3.0-or-later
// The undo file "_quillex_undo.txt" of one directory: pairs of CR LF lines, an entry's
// new name then its old name, appended step by step before each rename is made, so no
// rename is ever missing from it, even when the program is killed. Runs only ever add
// to it; Undo takes the pairs back latest first and then removes it. A file in its
// place that is not a regular file with a single link is refused, never read from,
// written through or waited on.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
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
  // appended after it would be read out of step. Throws TUndoFileError.
  explicit TUndoFileWriter(const TDirectory& directory);

  // Writes the pair `to`, `from` through to the file before returning. Throws TUndoFileError.
  void Record(const std::string& from, const std::string& to) override;
  // Takes back the latest pair still recorded. Throws TUndoFileError.
  void Forget() override;
  // Throws TUndoFileError when the close reports a write error.
  void Close();

 private:
  const TDirectory& m_directory;
  TFileDescriptor m_fd;
  off_t m_size = 0;
  std::vector<off_t> m_recentStarts;  // where the latest pairs begin
};

struct TUndoPair {
  std::string current;  // the name a run gave the entry
  std::string earlier;  // the name it had before
};

// One directory's undo file as it was read, with the handle it was read through.
class TUndoFile {
 public:
  // Nothing when the directory has no undo file. Throws TUndoFileError when the file
  // is refused or cannot be read.
  static std::optional<TUndoFile> Read(const TDirectory& directory);

  // In file order; a lone last line is paired with an empty name.
  const std::vector<TUndoPair>& Pairs() const { return m_pairs; }
  // Removes the file if the directory still holds the very file that was read. Returns
  // false, removing nothing, when it was replaced meanwhile. Throws TUndoFileError.
  bool RemoveIfUnchanged(const TDirectory& directory) const;

 private:
  TUndoFile(TFileDescriptor fd, std::vector<TUndoPair> pairs) : m_fd(std::move(fd)), m_pairs(std::move(pairs)) {}
  TFileDescriptor m_fd;
  std::vector<TUndoPair> m_pairs;
};

}  // namespace qx
