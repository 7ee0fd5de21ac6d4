// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UUndoFile.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/USysCalls.h"

namespace qx {

namespace {

// Pairs kept beyond those of the latest Record: a rename through a temporary name takes
// back two steps, recorded one at a time.
constexpr std::size_t kRecentPairs = 4;

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

// Pieces of this size are read at a time, forwards to count, backwards to take back.
constexpr std::size_t kPieceSize = 1 << 16;

// Fills `buffer` from `offset`. Throws TUndoFileError.
void ReadAt(int fd, off_t offset, std::string& buffer, const std::string& path) {
  for (std::size_t done = 0; done < buffer.size();) {
    const ssize_t read =
        sys::Sys().PRead(fd, buffer.data() + done, buffer.size() - done, offset + static_cast<off_t>(done));
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) throw TUndoFileError("Cannot read", path, errno);
    if (read == 0) throw TUndoFileError("Cannot read", path, EIO, "it was cut short while it was read");
    done += static_cast<std::size_t>(read);
  }
}

struct TLineCount {
  std::size_t lines = 0;
  bool endsWithLineEnd = true;  // an empty file too
};

// The lines of the file's first `size` bytes: those ended by '\n', and a last one
// without. Counted piece by piece: a file may be far larger than memory allows.
TLineCount CountLines(int fd, off_t size, const std::string& path) {
  TLineCount count;
  std::string piece;
  for (off_t at = 0; at < size; at += static_cast<off_t>(piece.size())) {
    piece.resize(static_cast<std::size_t>(std::min<off_t>(size - at, kPieceSize)));
    ReadAt(fd, at, piece, path);
    count.lines += static_cast<std::size_t>(std::count(piece.begin(), piece.end(), '\n'));
    count.endsWithLineEnd = piece.back() == '\n';
  }
  if (!count.endsWithLineEnd) ++count.lines;
  return count;
}

// The lines of a file from the last to the first, read backwards a piece at a time; the
// same lines CountLines counts, each without its "\n" and a "\r" before it.
class TLinesBackwards {
 public:
  TLinesBackwards(int fd, off_t size, const std::string& path) : m_fd(fd), m_path(path), m_pos(size) {}

  std::optional<TUndoName> Previous() {
    if (m_pos == 0) return std::nullopt;
    off_t end = m_pos;
    if (ByteAt(end - 1) == '\n') --end;  // only the file's last line may have no end of its own
    const off_t start = LineStart(end);
    m_pos = start;
    return NameAt(start, end);
  }

 private:
  char ByteAt(off_t at) {
    Load(at);
    return m_piece[static_cast<std::size_t>(at - m_pieceStart)];
  }

  // After the '\n' before `end`, or the start of the file.
  off_t LineStart(off_t end) {
    while (end > 0) {
      Load(end - 1);
      const std::size_t span = static_cast<std::size_t>(end - m_pieceStart);
      if (const void* at = ::memrchr(m_piece.data(), '\n', span)) {
        return m_pieceStart + (static_cast<const char*>(at) - m_piece.data()) + 1;
      }
      end = m_pieceStart;
    }
    return 0;
  }

  TUndoName NameAt(off_t start, off_t end) {
    const auto length = static_cast<std::size_t>(end - start);
    TUndoName name{std::string(), length > kUndoNameLimit};
    name.text.resize(std::min(length, kUndoNameLimit));
    const off_t pieceEnd = m_pieceStart + static_cast<off_t>(m_piece.size());
    if (start >= m_pieceStart && start + static_cast<off_t>(name.text.size()) <= pieceEnd) {
      name.text.assign(m_piece, static_cast<std::size_t>(start - m_pieceStart), name.text.size());
    } else {
      ReadAt(m_fd, start, name.text, m_path);
    }
    if (!name.cut && !name.text.empty() && name.text.back() == '\r') name.text.pop_back();
    return name;
  }

  // The piece ending at `at` (inclusive), unless it is loaded already.
  void Load(off_t at) {
    if (at >= m_pieceStart && at < m_pieceStart + static_cast<off_t>(m_piece.size())) return;
    m_pieceStart = std::max<off_t>(0, at + 1 - static_cast<off_t>(kPieceSize));
    m_piece.resize(static_cast<std::size_t>(at + 1 - m_pieceStart));
    ReadAt(m_fd, m_pieceStart, m_piece, m_path);
  }

  int m_fd;
  const std::string& m_path;
  off_t m_pos;  // where the line returned last begins
  off_t m_pieceStart = 0;
  std::string m_piece;
};

// `text` as one word for a shell, so a message can give a command to copy.
std::string ShellWord(const std::string& text) {
  std::string word = "'";
  for (const char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

}  // namespace

TUndoFileWriter::TUndoFileWriter(const TDirectory& directory)
    : m_directory(directory), m_fd(OpenFit(directory, O_RDWR | O_CREAT | O_APPEND)) {
  struct stat st;
  if (StatOf(m_fd.Get(), st) != 0) ThrowFor("Cannot open", directory);
  m_size = st.st_size;
  const TLineCount count = CountLines(m_fd.Get(), m_size, directory.PathOf(kUndoFileName));
  if (!count.endsWithLineEnd || count.lines % 2 != 0) {
    throw TUndoFileError("Cannot use", directory.PathOf(kUndoFileName), EINVAL,
                         "its last pair of names is cut short; take it back with Undo in that folder "
                         "(quillex-cli undo --yes --remove-after-errors " +
                             ShellWord(directory.Path()) + ") or remove it first");
  }
}

void TUndoFileWriter::Record(std::span<const TRenameStep> steps) {
  std::string pairs;
  std::vector<off_t> starts;
  starts.reserve(steps.size());
  for (const TRenameStep& step : steps) {
    starts.push_back(m_size + static_cast<off_t>(pairs.size()));
    pairs.append(step.to).append("\r\n").append(step.from).append("\r\n");
  }
  std::string_view rest = pairs;
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
  m_size += static_cast<off_t>(pairs.size());
  if (m_recentStarts.size() > kRecentPairs) {
    m_recentStarts.erase(m_recentStarts.begin(), m_recentStarts.end() - static_cast<std::ptrdiff_t>(kRecentPairs));
  }
  m_recentStarts.insert(m_recentStarts.end(), starts.begin(), starts.end());
}

void TUndoFileWriter::Forget(std::size_t count) {
  count = std::min(count, m_recentStarts.size());
  if (count == 0) return;
  const off_t start = m_recentStarts[m_recentStarts.size() - count];
  // Appending writes follow the end of the file, so the next pairs take their place.
  if (sys::Sys().Ftruncate(m_fd.Get(), start) != 0) ThrowFor("Cannot write to", m_directory);
  m_size = start;
  m_recentStarts.resize(m_recentStarts.size() - count);
}

void TUndoFileWriter::Close() {
  if (m_fd.Close() != 0) ThrowFor("Cannot write to", m_directory);
}

std::optional<TUndoFile> TUndoFile::Read(const TDirectory& directory) {
  TFileDescriptor fd = OpenFit(directory, O_RDONLY);
  if (!fd.IsOpen()) return std::nullopt;
  struct stat st;
  if (StatOf(fd.Get(), st) != 0) ThrowFor("Cannot read", directory);
  return TUndoFile(directory, std::move(fd), st);
}

TUndoFile::TUndoFile(const TDirectory& directory, TFileDescriptor fd, const struct stat& st)
    : m_path(directory.PathOf(kUndoFileName)),
      m_fd(std::move(fd)),
      m_size(st.st_size),
      m_identity(st.st_dev, st.st_ino) {}

std::size_t TUndoFile::LineCount() const {
  if (!m_lines) m_lines = CountLines(m_fd.Get(), m_size, m_path).lines;
  return *m_lines;
}

std::size_t TUndoFile::PairCount() const { return (LineCount() + 1) / 2; }

void TUndoFile::ForEachPairLatestFirst(const std::function<void(const TUndoPair&)>& take) const {
  const bool lone = LineCount() % 2 != 0;
  TLinesBackwards lines(m_fd.Get(), m_size, m_path);
  // A lone last line is the start of a pair that was never finished.
  if (lone) {
    if (auto line = lines.Previous()) take({std::move(*line), {}});
  }
  for (;;) {
    std::optional<TUndoName> earlier = lines.Previous();
    if (!earlier) return;
    std::optional<TUndoName> current = lines.Previous();
    if (!current) return;
    take({std::move(*current), std::move(*earlier)});
  }
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
