// A directory held open by its handle, so the walk never depends on the process's
// working directory or on a path that may change under it: entering is opening a
// child relative to its parent's handle, stepping back is using the parent's handle.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "platform/UFileDescriptor.h"

namespace qx {

struct TDirEntry {
  std::string name;
  bool isDirectory = false;  // a symbolic link is never a directory: it is an entry to rename
};

class TDirectory {
 public:
  // Opens the directory at `path`; a link to a directory is followed, since the user
  // chose it. Throws TSystemError.
  static TDirectory Open(const std::string& path);
  // Opens the subdirectory `name`; a symbolic link is refused, so a walk never leaves
  // the tree it started in. Throws TSystemError.
  TDirectory OpenChild(const std::string& name) const;

  // Every entry but "." and "..", in the file system's order; empty when the
  // directory cannot be read.
  std::vector<TDirEntry> List() const;

  // The entry's last-write time; nothing when it cannot be read. Links are not followed.
  std::optional<std::time_t> ModifiedTime(const std::string& name) const;
  bool Exists(const std::string& name) const;

  // Renames `from` to `to` inside this directory without ever replacing an entry.
  // A case-only change on a case-insensitive file system goes through a temporary
  // name. Returns 0, or the errno of the failure (EEXIST when `to` is taken).
  int RenameNoReplace(const std::string& from, const std::string& to) const;

  int Handle() const { return m_fd.Get(); }
  // The path the directory was reached by, for messages.
  const std::string& Path() const { return m_path; }

 private:
  TDirectory(TFileDescriptor fd, std::string path) : m_fd(std::move(fd)), m_path(std::move(path)) {}
  bool IsSameEntry(const std::string& a, const std::string& b) const;
  // One rename that never replaces an entry; 0 or the errno.
  int RenameStep(const std::string& from, const std::string& to) const;

  TFileDescriptor m_fd;
  std::string m_path;
};

// Lets the walk hold one handle per level of a deep tree.
void RaiseOpenFileLimit();

}  // namespace qx
