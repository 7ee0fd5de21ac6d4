// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UUndoFile.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>

#include "platform/UFiles.h"
#include "platform/USysCalls.h"

namespace qx {

namespace {

constexpr std::size_t kRecentPairs = 4;  // a rename takes back at most two of its steps

int StatOf(int fd, struct stat& st) { return sys::Sys().FstatAt(fd, "", &st, AT_EMPTY_PATH); }

// errno is read first: composing the path may change it.
[[noreturn]] void ThrowFor(const char* what, const TDirectory& directory, int error = errno) {
  throw TUndoFileError(what, directory.PathOf(kUndoFileName), error);
}

// What makes a file unfit to be an undo file; nothing when it is a regular file with
// a single link.
std::optional<std::string> Unfit(const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return "it is a folder, not a file";
  if (!S_ISREG(st.st_mode)) return "it is not a regular file";
  if (st.st_nlink != 1) return "it has other names (hard links), so writing it would change another file";
  return std::nullopt;
}

// Opens the undo file for `flags` without ever blocking on it or following a link, and
// checks through the handle that it is fit; a closed handle when there is none to read.
TFileDescriptor OpenFit(const TDirectory& directory, int flags) {
  // Composed only for a message: a path costs the folder's depth.
  const auto path = [&directory] { return directory.PathOf(kUndoFileName); };
  struct stat st;
  // Looked at first, so that nothing is opened that could block or answer to opening
  // (a FIFO, a device); checked again through the handle against a swap meanwhile.
  if (sys::Sys().FstatAt(directory.Handle(), kUndoFileName, &st, AT_SYMLINK_NOFOLLOW) == 0) {
    if (S_ISLNK(st.st_mode)) throw TUndoFileError("Cannot use", path(), ELOOP, "it is a symbolic link");
    if (auto reason = Unfit(st)) throw TUndoFileError("Cannot use", path(), EINVAL, *reason);
  } else if (errno != ENOENT) {
    ThrowFor("Cannot open", directory);
  } else if ((flags & O_CREAT) == 0) {
    return TFileDescriptor();
  }
  const int fd =
      sys::Sys().OpenAt(directory.Handle(), kUndoFileName, flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) ThrowFor("Cannot open", directory);
  TFileDescriptor file(fd);
  if (StatOf(file.Get(), st) != 0) ThrowFor("Cannot open", directory);
  if (auto reason = Unfit(st)) throw TUndoFileError("Cannot use", path(), EINVAL, *reason);
  return file;
}

std::string ReadAll(int fd, const TDirectory& directory) {
  try {
    return ReadRest(fd, std::string());
  } catch (const TSystemError& error) {
    ThrowFor("Cannot read", directory, error.Errno());
  }
}

std::vector<TUndoPair> PairsOf(const std::string& content) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < content.size();) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  std::vector<TUndoPair> pairs;
  for (std::size_t i = 0; i < lines.size(); i += 2) {
    pairs.push_back({std::move(lines[i]), i + 1 < lines.size() ? std::move(lines[i + 1]) : std::string()});
  }
  return pairs;
}

}  // namespace

TUndoFileWriter::TUndoFileWriter(const TDirectory& directory)
    : m_directory(directory), m_fd(OpenFit(directory, O_RDWR | O_CREAT | O_APPEND)) {
  struct stat st;
  if (StatOf(m_fd.Get(), st) != 0) ThrowFor("Cannot open", directory);
  m_size = st.st_size;
  if (m_size == 0) return;
  const std::string content = ReadAll(m_fd.Get(), directory);
  if (content.back() != '\n' || std::count(content.begin(), content.end(), '\n') % 2 != 0) {
    throw TUndoFileError("Cannot use", directory.PathOf(kUndoFileName), EINVAL,
                         "its last pair of names is cut short; take it back with Undo or remove it first");
  }
}

void TUndoFileWriter::Record(const std::string& from, const std::string& to) {
  const std::string pair = to + "\r\n" + from + "\r\n";
  std::string_view rest = pair;
  while (!rest.empty()) {
    const ssize_t written = sys::Sys().Write(m_fd.Get(), rest.data(), rest.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      sys::Sys().Ftruncate(m_fd.Get(), m_size);  // never leave half a pair behind
      ThrowFor("Cannot write to", m_directory, error);
    }
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  if (m_recentStarts.size() == kRecentPairs) m_recentStarts.erase(m_recentStarts.begin());
  m_recentStarts.push_back(m_size);
  m_size += static_cast<off_t>(pair.size());
}

void TUndoFileWriter::Forget() {
  if (m_recentStarts.empty()) return;
  // Appending writes follow the end of the file, so the next pair takes its place.
  if (sys::Sys().Ftruncate(m_fd.Get(), m_recentStarts.back()) != 0) {
    ThrowFor("Cannot write to", m_directory);
  }
  m_size = m_recentStarts.back();
  m_recentStarts.pop_back();
}

void TUndoFileWriter::Close() {
  if (m_fd.Close() != 0) ThrowFor("Cannot write to", m_directory);
}

std::optional<TUndoFile> TUndoFile::Read(const TDirectory& directory) {
  TFileDescriptor fd = OpenFit(directory, O_RDONLY);
  if (!fd.IsOpen()) return std::nullopt;
  // Read before the handle is moved into the result: argument order is unspecified.
  std::vector<TUndoPair> pairs = PairsOf(ReadAll(fd.Get(), directory));
  return TUndoFile(std::move(fd), std::move(pairs));
}

bool TUndoFile::RemoveIfUnchanged(const TDirectory& directory) const {
  struct stat read, now;
  if (StatOf(m_fd.Get(), read) != 0 ||
      sys::Sys().FstatAt(directory.Handle(), kUndoFileName, &now, AT_SYMLINK_NOFOLLOW) != 0 ||
      read.st_dev != now.st_dev || read.st_ino != now.st_ino) {
    return false;
  }
  if (sys::Sys().UnlinkAt(directory.Handle(), kUndoFileName, 0) != 0) {
    ThrowFor("Cannot remove", directory);
  }
  return true;
}

}  // namespace qx
