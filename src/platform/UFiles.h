// Whole-file reads and atomic whole-file replacement, through the system-call seam.
// Not a general file API: the walk and the undo files have their own units.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qx {

// Replaces the file at `path` with `content`: a temporary file beside it is written,
// flushed to disk and renamed over the target, so a crash or a full disk leaves either
// the old file or the new one, never a mixture. An existing file's permissions are kept,
// and a symbolic link stays a link: the file it points to is the one replaced.
// Throws TSystemError on failure; the previous file is then untouched and no temporary
// file is left behind.
void ReplaceFileAtomically(const std::string& path, std::string_view content);

// The most a whole-file read takes: settings and job lists are a few KB.
inline constexpr std::size_t kWholeFileLimit = 16 << 20;

// The whole content of the file. Throws TSystemError when it cannot be read, when it is
// not a regular file (a FIFO or a device is never waited on or read from), or when it
// is larger than `limit` bytes.
std::string ReadWholeFile(const std::string& path, std::size_t limit = kWholeFileLimit);
// The rest of an open file; `path` names it in errors. Throws TSystemError.
std::string ReadRest(int fd, const std::string& path);

// True when `path` names an existing entry (a link is not followed).
bool PathExists(const std::string& path);

// The directory part of `path` with its trailing '/', or "" when it has none.
std::string DirectoryOf(const std::string& path);

}  // namespace qx
