// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads and atomic whole-file replacement, through the system-call seam.
// Not a general file API: the walk and the undo files have their own units.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UFileDescriptor.h"

namespace qx {

// Replaces the file at `path` with `content`: a temporary file beside it is written,
// flushed to disk and renamed over the target, so a crash or a full disk leaves either
// the old file or the new one, never a mixture. An existing file's permissions are kept,
// and a symbolic link stays a link: the file it points to is the one replaced.
// Throws TSystemError on failure (a missing folder is said so: it is not made here); the
// previous file is then untouched and no temporary file is left behind.
void ReplaceFileAtomically(const std::string& path, std::string_view content);

// The most a whole-file read takes: settings and job lists are a few KB.
inline constexpr std::size_t kWholeFileLimit = 16 << 20;

// The whole content of the file. Throws TSystemError when it cannot be read, when it is
// not a regular file (a FIFO or a device is never waited on or read from), or when it
// is larger than `limit` bytes.
std::string ReadWholeFile(const std::string& path, std::size_t limit = kWholeFileLimit);
// The rest of an open file; `path` names it in errors. Throws TSystemError.
std::string ReadRest(int fd, const std::string& path);
// All that `path` gives, read to its end: a file, or a pipe (a shell's <(find ...)) that
// a user named for a list. Throws TSystemError.
std::string ReadToEnd(const std::string& path);

// A stream that appends to a file, created when missing: each run's lines go after the
// last one's (O_APPEND), never over them. Opening throws TSystemError; a failed write
// sets the stream's badbit, as any stream does, and is kept for Finish.
class TAppendStream : public std::ostream {
 public:
  explicit TAppendStream(const std::string& path);
  // Writes to the open descriptor `fd` (standard output), which stays open; `name`
  // names it in a failure.
  TAppendStream(int fd, const std::string& name);
  ~TAppendStream() override;

  // Writes what is waiting, then throws the first write that failed (TSystemError), so
  // output lost to a full disk or a closed pipe is never taken for success.
  void Finish();

 private:
  class TBuffer;
  std::unique_ptr<TBuffer> m_buffer;
};

// A regular file open for reading, or why it is not: "a symbolic link", "not a regular
// file", or the system's text for the errno; then `fd` is closed.
struct TRegularFile {
  TFileDescriptor fd;
  std::string whyNot;
};
// Opens `name`, an entry of the folder open as `dirFd`, for reading when it is a regular
// file: a link is never followed, and a FIFO or a device is never opened, since opening
// one can block or have effects of its own. Never throws.
TRegularFile OpenRegularFile(int dirFd, const std::string& name);

// True when `path` names an existing entry (a link is not followed). False also when it
// cannot be looked up: every caller goes on to open, read or write the path, and that
// reports the reason.
bool PathExists(const std::string& path);
// True when `path` leads to a folder (links followed).
bool IsDirectory(const std::string& path);
// True when `path` leads to something that is not a folder (links followed).
bool IsNonDirectory(const std::string& path);
// A relative `path` joined to the working directory, so that trees, logs and messages
// name it in full; "." and empty parts are dropped, from an absolute path too. A ".." goes up from the working
// directory only while it leads: past a name it stays, since that name may be a link and
// "link/.." is the parent of the link's target. Links are never resolved, "" stays "" so
// that an empty argument never means the working directory, and a path stays as it is
// when the working directory cannot be told.
std::string AbsolutePath(const std::string& path);
// The longest path of whole parts that starts every one of `paths` (all absolute, as
// AbsolutePath gives them, and at least one).
std::string CommonFolder(const std::vector<std::string>& paths);
// The absolute path without links, "." or ".." that `path` leads to; nothing when it
// leads nowhere.
std::optional<std::string> ResolvedPath(const std::string& path);
// Removes the file (a link itself, never what it points to); false when it cannot.
bool RemoveFile(const std::string& path);

// The part of `path` below `folder` ("" for the folder itself), or `path` whole when it
// does not lie below it.
std::string PathBelow(std::string_view path, std::string_view folder);
// `name` in the folder `parent`, with one slash between them.
std::string JoinPath(std::string_view parent, std::string_view name);
// Writes all of `content` to the open file `fd`; `path` names it in errors. Throws
// TSystemError.
void WriteAll(int fd, std::string_view content, const std::string& path);

// The directory part of `path` with its trailing '/', or "" when it has none.
std::string DirectoryOf(const std::string& path);

}  // namespace qx
