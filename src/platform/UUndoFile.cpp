#include "platform/UUndoFile.h"

#include <fcntl.h>

#include <cerrno>

#include "platform/UFiles.h"
#include "platform/USysCalls.h"
#include "platform/USystemError.h"

namespace qx {

namespace {

std::string PathIn(const TDirectory& directory) {
  const std::string& dir = directory.Path();
  return dir.empty() || dir.back() == '/' ? dir + kUndoFileName : dir + "/" + kUndoFileName;
}

}  // namespace

TUndoFileWriter::TUndoFileWriter(const TDirectory& directory) : m_path(PathIn(directory)) {
  const int fd = sys::Sys().OpenAt(directory.Handle(), kUndoFileName,
                                   O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) throw TSystemError("Cannot create", m_path, errno);
  m_fd = TFileDescriptor(fd);
}

void TUndoFileWriter::Append(const std::string& newName, const std::string& oldName) {
  const std::string pair = newName + "\r\n" + oldName + "\r\n";
  std::string_view rest = pair;
  while (!rest.empty()) {
    const ssize_t written = sys::Sys().Write(m_fd.Get(), rest.data(), rest.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      sys::Sys().Ftruncate(m_fd.Get(), m_size);  // never leave half a pair behind
      throw TSystemError("Cannot write to", m_path, error);
    }
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  m_sizeBeforeLastPair = m_size;
  m_size += static_cast<off_t>(pair.size());
}

void TUndoFileWriter::RemoveLastPair() {
  // Appending writes follow the end of the file, so the next pair takes its place.
  if (sys::Sys().Ftruncate(m_fd.Get(), m_sizeBeforeLastPair) != 0) {
    throw TSystemError("Cannot write to", m_path, errno);
  }
  m_size = m_sizeBeforeLastPair;
}

void TUndoFileWriter::Close() {
  if (m_fd.Close() != 0) throw TSystemError("Cannot write to", m_path, errno);
}

std::optional<std::vector<std::string>> ReadUndoFile(const TDirectory& directory) {
  const int fd = sys::Sys().OpenAt(directory.Handle(), kUndoFileName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC, 0);
  if (fd < 0) {
    if (errno == ENOENT) return std::nullopt;
    throw TSystemError("Cannot open", PathIn(directory), errno);
  }
  TFileDescriptor file(fd);
  const std::string content = ReadRest(file.Get(), PathIn(directory));
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < content.size();) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

int DeleteUndoFile(const TDirectory& directory) {
  return sys::Sys().UnlinkAt(directory.Handle(), kUndoFileName, 0) == 0 ? 0 : errno;
}

}  // namespace qx
