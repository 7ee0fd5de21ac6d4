// SPDX-License-Identifier: GPL-3.0-or-later
// A directory held open by its handle, so the walk never depends on the process's
// working directory or on a path that may change under it: entering is opening a
// child relative to its parent's handle, stepping back is using the parent's handle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UFileDescriptor.h"
#include "platform/UFileStatus.h"

namespace qx {

struct TDirEntry {
  std::string name;
  bool isDirectory = false;  // a symbolic link is never a directory: it is an entry to rename
};

class TSystemError;

// How a folder compares names when it looks one up.
enum class TNameFolding : std::uint8_t {
  exact,       // byte for byte: ext4, xfs, btrfs, tmpfs
  simpleCase,  // a capital per character (unicode::FoldCase): vfat, exfat, NTFS, SMB shares
  canonical,   // Linux's casefolding (unicode::FoldCaseCanonically): casefold folders of ext4, f2fs, tmpfs
};

// One step of a rename: the entry `from` takes the name `to`.
struct TRenameStep {
  std::string from, to;
};

// Told of every step of a rename before the step is made, and of steps that then did
// not happen (one failed or was put back, and those told after it were never tried), so
// a record of the steps stays true.
class TRenameRecorder {
 public:
  virtual ~TRenameRecorder() = default;
  // The steps about to be made, in order.
  virtual void Record(std::span<const TRenameStep> steps) = 0;
  // The latest `count` steps recorded were not made.
  virtual void Forget(std::size_t count) = 0;
};

class TDirectory {
 public:
  // Opens the directory at `path`; a link to a directory is followed, since the user
  // chose it. Throws TSystemError.
  static TDirectory Open(const std::string& path);
  // Opens the subdirectory `name`; a symbolic link is refused, so a walk never leaves
  // the tree it started in. Throws TSystemError.
  TDirectory OpenChild(const std::string& name) const;

  // Every entry but "." and "..", in the file system's order. Throws TSystemError when
  // the listing fails, part-way too: a short list would pass for the whole folder.
  std::vector<TDirEntry> List() const;
  // The same listing handed over one entry at a time, for a caller that keeps the
  // names its own way; `name` is valid only during the call.
  void ForEachEntry(const std::function<void(std::string_view name, bool isDirectory)>& take) const;

  // The entry's last-write time; nothing when it cannot be read. Links are not followed.
  std::optional<std::time_t> ModifiedTime(const std::string& name) const;
  // Whether `name` is an entry here. Throws TSystemError when that cannot be told (an
  // unreadable folder, an I/O error), which no caller may take for "absent".
  bool Exists(const std::string& name) const;
  // True when both names exist and are one file (links to it, or one name under two
  // cases on a case-insensitive file system). False too when either cannot be looked
  // up: it is asked only after a rename refused with EEXIST, whose reason is the one
  // reported, and "not one file" keeps the entries as they are.
  bool IsSameEntry(const std::string& a, const std::string& b) const;
  // How this folder compares names. A folder with the casefold attribute folds the
  // kernel's way; any other is asked whether it takes two names that differ only in
  // letter case for one (vfat, exfat, SMB shares ...): looked up with the case of
  // `sample`, one of its names with a letter (HasCaseLetter), swapped; or, when it has
  // no such name (`sample` empty), told by the kind of file system.
  TNameFolding NameFolding(std::string_view sample) const;
  // True once a rename here had to look for the target first, the file system refusing
  // the no-replace flag (some network and FUSE file systems).
  bool ChecksTargetsFirst() const { return m_checksTargetsFirst; }
  // Whether this folder lies on a network share or a file system in user space, where
  // each request is a round trip to a server or a process.
  bool IsRemote() const;
  // The longest name, in bytes, that this folder's file system allows.
  std::size_t NameMax() const;
  // The folder's own status, by its handle. Throws TSystemError.
  TFileStatus Status() const;

  // Renames `from` to `to` inside this directory without ever replacing an entry.
  // A case-only change on a case-insensitive file system goes through a temporary
  // name. Each step is told to `recorder` first. Throws TSystemError (errno EEXIST
  // when `to` is taken); if a temporary step cannot be put back, the reason names the
  // temporary name the entry was left under.
  void RenameNoReplace(const std::string& from, const std::string& to, TRenameRecorder* recorder = nullptr) const;
  // Renames each of `steps` in order as RenameNoReplace does, all of them told to
  // `recorder` in one go before the first is made. A step that fails is taken back from
  // the record with those after it, which are told again before the next is made, and
  // `failed` hears its index and why. A failing recorder's error goes on up, the steps it
  // could not record unmade.
  void RenameAll(std::span<const TRenameStep> steps, TRenameRecorder& recorder,
                 const std::function<void(std::size_t step, const TSystemError& error)>& failed) const;

  int Handle() const { return m_fd.Get(); }
  // The path the directory was reached by, for messages; composed on demand, so a
  // deep walk does not keep a path per level.
  std::string Path() const;
  std::string PathOf(const std::string& name) const;

 private:
  struct TPathLink {
    std::shared_ptr<const TPathLink> parent;
    std::string name;
  };
  TDirectory(TFileDescriptor fd, std::shared_ptr<const TPathLink> path)
      : m_fd(std::move(fd)), m_path(std::move(path)) {}
  // The file system's magic number (statfs's f_type); 0 when it cannot be read.
  unsigned long FileSystemKind() const;
  bool IgnoresCase(std::string_view sample) const;
  // 0 when `name` is an entry here, else why not: ENOENT when it is absent.
  int LookUp(const std::string& name) const;
  // One rename that never replaces an entry, recorded first; 0 or the errno.
  int RecordedStep(const std::string& from, const std::string& to, TRenameRecorder* recorder) const;
  int RenameStep(const std::string& from, const std::string& to) const;
  // Finishes a rename whose direct step ended with `error`: nothing when it was made, or
  // could be made through a temporary name; else why not.
  std::optional<TSystemError> Finished(const std::string& from, const std::string& to, int error,
                                       TRenameRecorder* recorder) const;
  std::optional<TSystemError> RenameThroughTemporary(const std::string& from, const std::string& to,
                                                     TRenameRecorder* recorder) const;

  TFileDescriptor m_fd;
  std::shared_ptr<const TPathLink> m_path;
  mutable bool m_checksTargetsFirst = false;
};

// Whether `name` holds a letter a-z or A-Z, whose case NameFolding can swap.
bool HasCaseLetter(std::string_view name);

// Lets the walk hold one handle per level of a deep tree.
void RaiseOpenFileLimit();
// How many files the process may hold open at once.
std::size_t OpenFileLimit();

}  // namespace qx
