// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UDirectory.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/UFiles.h"
#include "platform/USysCalls.h"
#include "platform/USystemError.h"

namespace qx {

namespace {

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

TDirectory TDirectory::Open(const std::string& path) {
  const int fd = sys::Sys().OpenAt(AT_FDCWD, path.c_str(), kDirectoryFlags, 0);
  if (fd < 0) throw TSystemError("Cannot open folder", path, errno);
  return TDirectory(TFileDescriptor(fd), std::make_shared<const TPathLink>(TPathLink{nullptr, path}));
}

TDirectory TDirectory::OpenChild(const std::string& name) const {
  const int fd = sys::Sys().OpenAt(m_fd.Get(), name.c_str(), kDirectoryFlags | O_NOFOLLOW, 0);
  if (fd < 0) {
    const int error = errno;  // before composing the path, which may change it
    throw TSystemError("Cannot open folder", PathOf(name), error);
  }
  return TDirectory(TFileDescriptor(fd), std::make_shared<const TPathLink>(TPathLink{m_path, name}));
}

std::string TDirectory::Path() const {
  std::vector<const std::string*> names;
  for (const TPathLink* link = m_path.get(); link != nullptr; link = link->parent.get()) names.push_back(&link->name);
  std::string path = *names.back();
  for (auto name = names.rbegin() + 1; name != names.rend(); ++name) {
    if (path.empty() || path.back() != '/') path += '/';
    path += **name;
  }
  return path;
}

std::string TDirectory::PathOf(const std::string& name) const { return JoinPath(Path(), name); }

std::vector<TDirEntry> TDirectory::List() const {
  std::vector<TDirEntry> entries;
  ForEachEntry([&](std::string_view name, bool isDirectory) { entries.push_back({std::string(name), isDirectory}); });
  return entries;
}

void TDirectory::ForEachEntry(const std::function<void(std::string_view name, bool isDirectory)>& take) const {
  // The stream takes its own handle; it shares the read position with ours, hence the rewind.
  const int streamFd = sys::Sys().Dup(m_fd.Get());
  if (streamFd < 0) {
    const int error = errno;
    throw TSystemError("Cannot read folder", Path(), error);
  }
  DIR* const stream = sys::Sys().FdOpenDir(streamFd);
  if (stream == nullptr) {
    const int error = errno;
    sys::Sys().Close(streamFd);
    throw TSystemError("Cannot read folder", Path(), error);
  }
  // Closed however the listing ends, a caller's exception included.
  const std::unique_ptr<DIR, void (*)(DIR*)> closer(stream, [](DIR* dir) { sys::Sys().CloseDir(dir); });
  rewinddir(stream);
  for (;;) {
    errno = 0;
    const struct dirent* entry = sys::Sys().ReadDir(stream);
    if (entry == nullptr) break;
    if (IsDotOrDotDot(entry->d_name)) continue;
    bool isDirectory = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN) {
      struct stat st;
      isDirectory = sys::Sys().FstatAt(m_fd.Get(), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
    }
    take(entry->d_name, isDirectory);
  }
  if (const int error = errno; error != 0) throw TSystemError("Cannot read folder", Path(), error);
}

std::optional<std::time_t> TDirectory::ModifiedTime(const std::string& name) const {
  struct stat st;
  if (sys::Sys().FstatAt(m_fd.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
  return st.st_mtime;
}

int TDirectory::LookUp(const std::string& name) const {
  struct stat st;
  return sys::Sys().FstatAt(m_fd.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

bool TDirectory::Exists(const std::string& name) const {
  const int error = LookUp(name);
  if (error != 0 && error != ENOENT) throw TSystemError("Cannot read", PathOf(name), error);
  return error == 0;
}

bool HasCaseLetter(std::string_view name) {
  for (const char c : name) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
  }
  return false;
}

unsigned long TDirectory::FileSystemKind() const {
  struct statfs fs;
  return fstatfs(m_fd.Get(), &fs) == 0 ? static_cast<unsigned long>(fs.f_type) : 0;
}

bool TDirectory::IgnoresCase(std::string_view sample) const {
  if (!sample.empty()) {
    std::string swapped(sample);
    for (char& c : swapped) {
      if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 32);
      else if (c >= 'A' && c <= 'Z')
        c = static_cast<char>(c + 32);
    }
    return IsSameEntry(std::string(sample), swapped);
  }
  // Nothing here to look up: the kinds of file system that always ignore case.
  switch (FileSystemKind()) {
    case 0x4d44:      // vfat
    case 0x2011BAB0:  // exfat
    case 0x7366746e:  // ntfs3
    case 0xFF534D42:  // cifs
    case 0xFE534D42:  // smb2
      return true;
    default: return false;
  }
}

TNameFolding TDirectory::NameFolding(std::string_view sample) const {
  int flags = 0;
  if (ioctl(m_fd.Get(), FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_CASEFOLD_FL) != 0) return TNameFolding::canonical;
  return IgnoresCase(sample) ? TNameFolding::simpleCase : TNameFolding::exact;
}

bool TDirectory::IsRemote() const {
  switch (FileSystemKind()) {
    case 0x6969:      // nfs
    case 0x517B:      // smb
    case 0xFF534D42:  // cifs
    case 0xFE534D42:  // smb2
    case 0x65735546:  // fuse: sshfs, rclone, gvfs ...
    case 0x01021997:  // 9p
    case 0x00C36400:  // ceph
    case 0x5346414F:  // afs
    case 0x6B414653:  // kafs
    case 0x73757245:  // coda
    case 0x0BD00BD0:  // lustre
    case 0x01161970:  // gfs2
    case 0x7461636F:  // ocfs2
      return true;
    default: return false;
  }
}

std::size_t TDirectory::NameMax() const {
  const long max = fpathconf(m_fd.Get(), _PC_NAME_MAX);
  return max > 0 ? static_cast<std::size_t>(max) : NAME_MAX;
}

TFileStatus TDirectory::Status() const {
  if (auto status = StatusOfHandle(m_fd.Get())) return *status;
  throw TSystemError("Cannot read", Path(), errno);
}

bool TDirectory::IsSameEntry(const std::string& a, const std::string& b) const {
  struct stat first, second;
  return sys::Sys().FstatAt(m_fd.Get(), a.c_str(), &first, AT_SYMLINK_NOFOLLOW) == 0 &&
         sys::Sys().FstatAt(m_fd.Get(), b.c_str(), &second, AT_SYMLINK_NOFOLLOW) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

void TDirectory::RenameNoReplace(const std::string& from, const std::string& to, TRenameRecorder* recorder) const {
  if (auto failure = Finished(from, to, RecordedStep(from, to, recorder), recorder)) throw *failure;
}

void TDirectory::RenameAll(std::span<const TRenameStep> steps, TRenameRecorder& recorder,
                           const std::function<void(std::size_t step, const TSystemError& error)>& failed) const {
  bool recorded = false;  // the steps from the next one on
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (!recorded) recorder.Record(steps.subspan(i));
    recorded = true;
    const TRenameStep& step = steps[i];
    const int error = RenameStep(step.from, step.to);
    if (error == 0) continue;
    // Only steps made may stand in the record; the rest are told again after this one.
    recorder.Forget(steps.size() - i);
    recorded = false;
    if (auto failure = Finished(step.from, step.to, error, &recorder)) failed(i, *failure);
  }
}

std::optional<TSystemError> TDirectory::Finished(const std::string& from, const std::string& to, int error,
                                                 TRenameRecorder* recorder) const {
  if (error == 0) return std::nullopt;
  if (error != EEXIST || !IsSameEntry(from, to)) return TSystemError("Cannot rename", PathOf(from), error);
  return RenameThroughTemporary(from, to, recorder);
}

// `to` is `from` itself under another case (a case-insensitive file system) or another
// link to the same file. Step through a name of our own, so a case change happens and
// nothing is replaced; every step is recorded, so a kill between the two loses nothing.
std::optional<TSystemError> TDirectory::RenameThroughTemporary(const std::string& from, const std::string& to,
                                                               TRenameRecorder* recorder) const {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string temporary = ".quillex-case-" + std::to_string(attempt);
    if (LookUp(temporary) != ENOENT) continue;
    const int first = RecordedStep(from, temporary, recorder);
    if (first == EEXIST) continue;
    if (first != 0) return TSystemError("Cannot rename", PathOf(from), first);
    // Still there, `to` is another link to the file, not the file under another case:
    // the second step could only fail.
    const int found = LookUp(to);
    const int second = found == 0 ? EEXIST : found != ENOENT ? found : RecordedStep(temporary, to, recorder);
    if (second == 0) return std::nullopt;
    if (RenameStep(temporary, from) != 0) {
      return TSystemError("Cannot rename", PathOf(from), second, ErrorText(second) + "; it is left named " + temporary);
    }
    // The first step is undone. Killed just before this, the record names a step whose
    // new name is gone and whose old one is back, which Undo passes over.
    if (recorder) recorder->Forget(1);
    return TSystemError("Cannot rename", PathOf(from), second);
  }
  return TSystemError("Cannot rename", PathOf(from), EEXIST);
}

int TDirectory::RecordedStep(const std::string& from, const std::string& to, TRenameRecorder* recorder) const {
  if (recorder) {
    const TRenameStep step{from, to};
    recorder->Record({&step, 1});
  }
  const int error = RenameStep(from, to);
  if (error != 0 && recorder) recorder->Forget(1);
  return error;
}

int TDirectory::RenameStep(const std::string& from, const std::string& to) const {
  const int fd = m_fd.Get();
  if (sys::Sys().RenameAt2(fd, from.c_str(), fd, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL) return errno;
  // A file system without no-replace renames (some network ones): look first. Not
  // atomic, but the best such a file system allows.
  m_checksTargetsFirst = true;
  // A target that cannot be looked up may be there: only its absence lets the rename on.
  if (const int found = LookUp(to); found != ENOENT) return found == 0 ? EEXIST : found;
  return sys::Sys().RenameAt2(fd, from.c_str(), fd, to.c_str(), 0) == 0 ? 0 : errno;
}

std::size_t OpenFileLimit() {
  struct rlimit limit;
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return SIZE_MAX;
  return static_cast<std::size_t>(limit.rlim_cur);
}

void RaiseOpenFileLimit() {
  struct rlimit limit;
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
}

}  // namespace qx
