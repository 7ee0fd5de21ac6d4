// The undo file "_quillex_undo.txt" of one directory: pairs of CR LF lines, an entry's
// new name then its old name. Written pair by pair before each rename, so that no
// rename can ever be missing from it, even when the program is killed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/UDirectory.h"
#include "platform/UFileDescriptor.h"

namespace qx {

inline constexpr const char* kUndoFileName = "_quillex_undo.txt";

class TUndoFileWriter {
 public:
  // Creates the directory's undo file empty, replacing an old one. A symbolic link in
  // its place is refused. Throws TSystemError.
  explicit TUndoFileWriter(const TDirectory& directory);

  // Writes the pair through to the file before returning. Throws TSystemError.
  void Append(const std::string& newName, const std::string& oldName);
  // Takes back the last pair, for a rename that then failed. Throws TSystemError.
  void RemoveLastPair();
  // Throws TSystemError when the close reports a write error.
  void Close();

 private:
  TFileDescriptor m_fd;
  std::string m_path;
  off_t m_size = 0;
  off_t m_sizeBeforeLastPair = 0;
};

// The lines of the directory's undo file (CR LF or LF ends); nothing when there is no
// such file. Throws TSystemError when it exists but cannot be read.
std::optional<std::vector<std::string>> ReadUndoFile(const TDirectory& directory);

// Returns 0 or the errno of the failure.
int DeleteUndoFile(const TDirectory& directory);

}  // namespace qx
