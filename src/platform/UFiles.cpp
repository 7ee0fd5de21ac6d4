// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <random>

#include "platform/UFileDescriptor.h"
#include "platform/UProcess.h"
#include "platform/USysCalls.h"
#include "platform/USystemError.h"

namespace qx {

namespace {

std::string BaseNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TemporaryNameFor(const std::string& path) {
  static std::mt19937_64 random{std::random_device{}()};
  return DirectoryOf(path) + "." + BaseNameOf(path) + "." + std::to_string(random() % 1000000000) + ".tmp";
}

// Makes the rename itself durable; a failure here loses nothing, so it is not reported.
void SyncDirectoryOf(const std::string& path) {
  const std::string dir = DirectoryOf(path);
  TFileDescriptor fd(
      sys::Sys().OpenAt(AT_FDCWD, dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
  if (fd.IsOpen()) sys::Sys().Fsync(fd.Get());
}

// A file kept as a symbolic link (a dotfile manager's, say) stays one: the file it
// points to is replaced, not the link.
std::string LinkTarget(const std::string& path) {
  struct stat st;
  if (sys::Sys().FstatAt(AT_FDCWD, path.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string target = resolved;
  std::free(resolved);
  return target;
}

TFileDescriptor OpenForAppending(const std::string& path) {
  TFileDescriptor fd(sys::Sys().OpenAt(AT_FDCWD, path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666));
  if (!fd.IsOpen()) throw TSystemError("Cannot open", path, errno);
  return fd;
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Writes in large pieces through the system-call seam and keeps the first failure; an
// owned descriptor closes with it.
class TAppendStream::TBuffer : public std::streambuf {
 public:
  TBuffer(TFileDescriptor owned, int fd, std::string name)
      : m_owned(std::move(owned)), m_fd(fd), m_name(std::move(name)) {
    setp(m_data, m_data + sizeof m_data);
  }
  ~TBuffer() override { sync(); }
  const std::optional<TSystemError>& Failure() const { return m_failure; }

 protected:
  int_type overflow(int_type c) override {
    if (sync() != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }
  int sync() override {
    const std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(m_data, m_data + sizeof m_data);
    if (m_failure) return -1;
    try {
      WriteAll(m_fd, pending, m_name);
    } catch (const TSystemError& error) {
      m_failure = error;
      return -1;
    }
    return 0;
  }

 private:
  TFileDescriptor m_owned;
  int m_fd;
  std::string m_name;
  std::optional<TSystemError> m_failure;
  char m_data[1 << 16];
};

TAppendStream::TAppendStream(const std::string& path) : std::ostream(nullptr) {
  TFileDescriptor fd = OpenForAppending(path);
  const int raw = fd.Get();
  m_buffer = std::make_unique<TBuffer>(std::move(fd), raw, path);
  rdbuf(m_buffer.get());
}

TAppendStream::TAppendStream(int fd, const std::string& name)
    : std::ostream(nullptr), m_buffer(std::make_unique<TBuffer>(TFileDescriptor(), fd, name)) {
  rdbuf(m_buffer.get());
}

TAppendStream::~TAppendStream() { flush(); }

void TAppendStream::Finish() {
  flush();
  if (const std::optional<TSystemError>& lost = m_buffer->Failure()) throw *lost;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return !path.empty() && sys::Sys().FstatAt(AT_FDCWD, path.c_str(), &st, 0) == 0 && S_ISDIR(st.st_mode);
}

bool IsNonDirectory(const std::string& path) {
  struct stat st;
  return !path.empty() && sys::Sys().FstatAt(AT_FDCWD, path.c_str(), &st, 0) == 0 && !S_ISDIR(st.st_mode);
}

void WriteAll(int fd, std::string_view content, const std::string& path) {
  while (!content.empty()) {
    const ssize_t written = sys::Sys().Write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      throw TSystemError("Cannot write", path, errno);
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
}

std::string PathBelow(std::string_view path, std::string_view folder) {
  if (folder.ends_with('/')) folder.remove_suffix(1);
  if (path == folder) return "";
  if (path.starts_with(folder) && path.size() > folder.size() && path[folder.size()] == '/') {
    return std::string(path.substr(folder.size() + 1));
  }
  return std::string(path);
}

std::string JoinPath(std::string_view parent, std::string_view name) {
  std::string path(parent);
  if (!path.empty() && path.back() != '/') path += '/';
  return path.append(name);
}

std::string AbsolutePath(const std::string& path) {
  if (path.empty()) return path;
  const bool relative = path.front() != '/';
  std::string full;
  try {
    if (relative) full = CurrentDirectory();
  } catch (const TSystemError&) {
    return path;  // whoever opens it meets the same trouble and reports it
  }
  if (!full.empty() && full.back() == '/') full.pop_back();  // the root
  bool leading = relative;
  for (std::size_t from = 0; from <= path.size();) {
    const std::size_t slash = std::min(path.find('/', from), path.size());
    const std::string_view part = std::string_view(path).substr(from, slash - from);
    from = slash + 1;
    if (part.empty() || part == ".") continue;
    if (part == ".." && leading) {
      if (!full.empty()) full.erase(full.rfind('/'));  // "/.." is "/"
      continue;
    }
    leading = false;
    full.append(1, '/').append(part);
  }
  return full.empty() ? "/" : full;
}

std::string CommonFolder(const std::vector<std::string>& paths) {
  std::string common = paths.front();
  for (const std::string& path : paths) {
    while (!(path == common || (path.starts_with(common) && (common == "/" || path[common.size()] == '/')))) {
      common = common.substr(0, std::max<std::size_t>(common.rfind('/'), 1));
    }
  }
  return common;
}

std::optional<std::string> ResolvedPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
  if (!resolved) return std::nullopt;
  return std::string(resolved.get());
}

bool RemoveFile(const std::string& path) { return sys::Sys().UnlinkAt(AT_FDCWD, path.c_str(), 0) == 0; }

// The entry is looked at before it is opened, and again through the handle, since it may
// have been replaced in between.
TRegularFile OpenRegularFile(int dirFd, const std::string& name) {
  const auto refused = [](std::string why) { return TRegularFile{TFileDescriptor(), std::move(why)}; };
  const char* const notRegular = "not a regular file";
  const char* const symbolicLink = "a symbolic link";
  struct stat status;
  if (sys::Sys().FstatAt(dirFd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return refused(ErrorText(errno));
  if (S_ISLNK(status.st_mode)) return refused(symbolicLink);
  if (!S_ISREG(status.st_mode)) return refused(notRegular);
  TFileDescriptor fd(sys::Sys().OpenAt(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0));
  if (!fd.IsOpen()) return refused(errno == ELOOP ? symbolicLink : ErrorText(errno));
  if (sys::Sys().FstatAt(fd.Get(), "", &status, AT_EMPTY_PATH) != 0) return refused(ErrorText(errno));
  if (!S_ISREG(status.st_mode)) return refused(notRegular);
  return {std::move(fd), ""};
}

bool PathExists(const std::string& path) {
  struct stat st;
  return sys::Sys().FstatAt(AT_FDCWD, path.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

void ReplaceFileAtomically(const std::string& linkOrPath, std::string_view content) {
  const std::string path = LinkTarget(linkOrPath);
  std::string temp;
  TFileDescriptor fd;
  for (int attempt = 0; attempt < 100 && !fd.IsOpen(); ++attempt) {
    temp = TemporaryNameFor(path);
    const int raw = sys::Sys().OpenAt(AT_FDCWD, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (raw >= 0) {
      fd = TFileDescriptor(raw);
    } else if (errno == ENOENT) {
      // Said plainly: "No such file or directory" about a file being made reads as nonsense.
      const std::string folder = DirectoryOf(path);
      throw TSystemError("Cannot create", temp, ENOENT,
                         "the folder " + (folder.empty() ? std::string(".") : folder) + " does not exist");
    } else if (errno != EEXIST) {
      throw TSystemError("Cannot create", temp, errno);
    }
  }
  if (!fd.IsOpen()) throw TSystemError("Cannot create", temp, EEXIST);

  try {
    struct stat old;
    if (sys::Sys().FstatAt(AT_FDCWD, path.c_str(), &old, 0) == 0 &&
        sys::Sys().Fchmod(fd.Get(), old.st_mode & 07777) != 0) {
      throw TSystemError("Cannot set permissions of", temp, errno);
    }
    WriteAll(fd.Get(), content, temp);
    if (sys::Sys().Fsync(fd.Get()) != 0) throw TSystemError("Cannot flush", temp, errno);
    if (fd.Close() != 0) throw TSystemError("Cannot close", temp, errno);
    if (sys::Sys().RenameAt2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), 0) != 0) {
      throw TSystemError("Cannot replace", path, errno);
    }
  } catch (...) {
    fd.Close();
    sys::Sys().UnlinkAt(AT_FDCWD, temp.c_str(), 0);
    throw;
  }
  SyncDirectoryOf(path);
}

std::string ReadWholeFile(const std::string& path, std::size_t limit) {
  // Not blocking: a FIFO in the file's place must not hold the program up.
  TFileDescriptor fd(sys::Sys().OpenAt(AT_FDCWD, path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0));
  if (!fd.IsOpen()) throw TSystemError("Cannot open", path, errno);
  struct stat st;
  if (sys::Sys().FstatAt(fd.Get(), "", &st, AT_EMPTY_PATH) != 0) throw TSystemError("Cannot read", path, errno);
  if (S_ISDIR(st.st_mode)) throw TSystemError("Cannot read", path, EISDIR);
  if (!S_ISREG(st.st_mode)) throw TSystemError("Cannot read", path, EINVAL, "it is not a regular file");
  const std::string tooLarge = "it is larger than " + std::to_string(limit >> 20) + " MiB";
  if (static_cast<std::size_t>(st.st_size) > limit) throw TSystemError("Cannot read", path, EFBIG, tooLarge);
  std::string content = ReadRest(fd.Get(), path);
  if (content.size() > limit) throw TSystemError("Cannot read", path, EFBIG, tooLarge);  // it grew meanwhile
  return content;
}

std::string ReadToEnd(const std::string& path) {
  const TFileDescriptor fd(sys::Sys().OpenAt(AT_FDCWD, path.c_str(), O_RDONLY | O_CLOEXEC, 0));
  if (!fd.IsOpen()) throw TSystemError("Cannot read", path, errno);
  return ReadRest(fd.Get(), path);
}

std::string ReadRest(int fd, const std::string& path) {
  std::string content;
  char buffer[65536];
  for (;;) {
    const ssize_t got = sys::Sys().Read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw TSystemError("Cannot read", path, errno);
    }
    if (got == 0) return content;
    content.append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace qx
