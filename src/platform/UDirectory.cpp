#include "platform/UDirectory.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/resource.h>

#include <cerrno>
#include <cstring>

#include "platform/USysCalls.h"
#include "platform/USystemError.h"

namespace qx {

namespace {

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

std::string ChildPath(const std::string& parent, const std::string& name) {
  return parent.empty() || parent.back() == '/' ? parent + name : parent + "/" + name;
}

}  // namespace

TDirectory TDirectory::Open(const std::string& path) {
  const int fd = sys::Sys().OpenAt(AT_FDCWD, path.c_str(), kDirectoryFlags, 0);
  if (fd < 0) throw TSystemError("Cannot open folder", path, errno);
  return TDirectory(TFileDescriptor(fd), path);
}

TDirectory TDirectory::OpenChild(const std::string& name) const {
  const int fd = sys::Sys().OpenAt(m_fd.Get(), name.c_str(), kDirectoryFlags | O_NOFOLLOW, 0);
  if (fd < 0) throw TSystemError("Cannot open folder", ChildPath(m_path, name), errno);
  return TDirectory(TFileDescriptor(fd), ChildPath(m_path, name));
}

std::vector<TDirEntry> TDirectory::List() const {
  std::vector<TDirEntry> entries;
  // The stream takes its own handle; it shares the read position with ours, hence the rewind.
  const int streamFd = sys::Sys().Dup(m_fd.Get());
  if (streamFd < 0) return entries;
  DIR* stream = sys::Sys().FdOpenDir(streamFd);
  if (stream == nullptr) {
    sys::Sys().Close(streamFd);
    return entries;
  }
  rewinddir(stream);
  while (const struct dirent* entry = sys::Sys().ReadDir(stream)) {
    if (IsDotOrDotDot(entry->d_name)) continue;
    bool isDirectory = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN) {
      struct stat st;
      isDirectory = sys::Sys().FstatAt(m_fd.Get(), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
    }
    entries.push_back({entry->d_name, isDirectory});
  }
  sys::Sys().CloseDir(stream);
  return entries;
}

std::optional<std::time_t> TDirectory::ModifiedTime(const std::string& name) const {
  struct stat st;
  if (sys::Sys().FstatAt(m_fd.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
  return st.st_mtime;
}

bool TDirectory::Exists(const std::string& name) const {
  struct stat st;
  return sys::Sys().FstatAt(m_fd.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

bool TDirectory::IsSameEntry(const std::string& a, const std::string& b) const {
  struct stat first, second;
  return sys::Sys().FstatAt(m_fd.Get(), a.c_str(), &first, AT_SYMLINK_NOFOLLOW) == 0 &&
         sys::Sys().FstatAt(m_fd.Get(), b.c_str(), &second, AT_SYMLINK_NOFOLLOW) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

int TDirectory::RenameNoReplace(const std::string& from, const std::string& to) const {
  const int error = RenameStep(from, to);
  if (error != EEXIST || !IsSameEntry(from, to)) return error;

  // `to` is `from` itself under another case: a case-insensitive file system. Step
  // through a name of our own so the case change happens and nothing is replaced.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string temporary = ".quillex-case-" + std::to_string(attempt);
    const int first = RenameStep(from, temporary);
    if (first == EEXIST) continue;
    if (first != 0) return first;
    const int second = RenameStep(temporary, to);
    if (second != 0) RenameStep(temporary, from);
    return second;
  }
  return EEXIST;
}

int TDirectory::RenameStep(const std::string& from, const std::string& to) const {
  const int fd = m_fd.Get();
  if (sys::Sys().RenameAt2(fd, from.c_str(), fd, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL) return errno;
  // A file system without no-replace renames (some network ones): look first. Not
  // atomic, but the best such a file system allows.
  if (Exists(to)) return EEXIST;
  return sys::Sys().RenameAt2(fd, from.c_str(), fd, to.c_str(), 0) == 0 ? 0 : errno;
}

void RaiseOpenFileLimit() {
  struct rlimit limit;
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
}

}  // namespace qx
