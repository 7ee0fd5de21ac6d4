// SPDX-License-Identifier: GPL-3.0-or-later
// quillex-casefold-fs [--casefold] BACKING MOUNTPOINT [FUSE options]: mounts BACKING at
// MOUNTPOINT so that every name is looked up ignoring case (Unicode simple case mapping)
// while it keeps the case it was made with, as on vfat or an SMB share. With --casefold,
// names are compared as Linux's casefold folders compare them (ß is ss, a composed é is
// e and its accent) and every folder says it has the casefold attribute. Test support,
// not a product: no caching, no tuning; run single-threaded (-s).
#define FUSE_USE_VERSION 31

#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UFileDescriptor.h"
#include "platform/UUnicode.h"
#include "platform/UUtf8.h"

namespace qx::test {
namespace {

struct TMounted {
  int backing;
  bool casefold;
};

const TMounted& Mounted() { return *static_cast<const TMounted*>(fuse_get_context()->private_data); }

int BackingFd() { return Mounted().backing; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (Mounted().casefold) return unicode::FoldCaseCanonically(a) == unicode::FoldCaseCanonically(b);
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    std::size_t sizeA = 0, sizeB = 0;
    if (!unicode::EqualIgnoringCase(utf8::Decode(a, i, sizeA), utf8::Decode(b, j, sizeB))) return false;
    i += sizeA;
    j += sizeB;
  }
  return i == a.size() && j == b.size();
}

// The last component of a path, looked up in the backing folder that holds it.
struct TEntry {
  TFileDescriptor folder;
  std::string asked;  // the name as the path gives it
  std::string name;   // the name it has in `folder`; `asked` when there is no such entry
  bool exists = false;
};

// Sets `name` to the entry of `folder` that `asked` means: the exact name first, else the
// first that matches ignoring case; empty when none does. 0 or -errno.
int FindName(int folder, const std::string& asked, std::string& name) {
  struct stat st;
  name.clear();
  if (fstatat(folder, asked.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
    name = asked;
    return 0;
  }
  if (errno != ENOENT) return -errno;
  const int listFd = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listFd < 0) return -errno;
  DIR* listing = fdopendir(listFd);
  if (listing == nullptr) {
    close(listFd);
    return -ENOMEM;
  }
  errno = 0;
  while (const struct dirent* entry = readdir(listing)) {
    if (SameIgnoringCase(entry->d_name, asked)) {
      name = entry->d_name;
      break;
    }
  }
  const int error = name.empty() ? errno : 0;
  closedir(listing);
  return -error;
}

// Walks `path` from the backing folder, each folder opened relative to its parent and
// never through a symbolic link. The root is the entry "." of the backing folder.
int Resolve(const char* path, TEntry& entry) {
  entry.folder = TFileDescriptor(fcntl(BackingFd(), F_DUPFD_CLOEXEC, 0));
  if (!entry.folder.IsOpen()) return -errno;
  std::vector<std::string> parts;
  for (std::string_view rest(path); !rest.empty();) {
    const std::size_t slash = rest.find('/');
    if (slash != 0) parts.emplace_back(rest.substr(0, slash));
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
  }
  if (parts.empty()) parts.emplace_back(".");
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::string name;
    if (const int error = FindName(entry.folder.Get(), parts[i], name); error != 0) return error;
    if (i + 1 == parts.size()) {
      entry.asked = parts[i];
      entry.exists = !name.empty();
      entry.name = entry.exists ? name : parts[i];
      return 0;
    }
    if (name.empty()) return -ENOENT;
    const int child = openat(entry.folder.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (child < 0) return errno == ELOOP ? -ENOTDIR : -errno;
    entry.folder = TFileDescriptor(child);
  }
  return 0;
}

// Resolves a path that must name an existing entry.
int ResolveExisting(const char* path, TEntry& entry) {
  const int error = Resolve(path, entry);
  return error != 0 ? error : entry.exists ? 0 : -ENOENT;
}

// Resolves a path whose entry is to be made: taken under any case is EEXIST.
int ResolveNew(const char* path, TEntry& entry) {
  const int error = Resolve(path, entry);
  return error != 0 ? error : entry.exists ? -EEXIST : 0;
}

int Result(int rc) { return rc < 0 ? -errno : 0; }

void* Init(fuse_conn_info*, fuse_config* config) {
  // Another case of a name is another path to the kernel and to libfuse: stat must show
  // the backing inode, and nothing may be cached under one spelling while another
  // changes the entry.
  config->use_ino = 1;
  config->entry_timeout = 0;
  config->negative_timeout = 0;
  config->attr_timeout = 0;
  // Open files are served by their handles, so an unlinked open file needs no hiding.
  config->hard_remove = 1;
  config->nullpath_ok = 1;
  return fuse_get_context()->private_data;
}

int GetAttr(const char* path, struct stat* st, fuse_file_info* file) {
  if (file != nullptr) return Result(fstat(static_cast<int>(file->fh), st));
  TEntry entry;
  if (const int error = ResolveExisting(path, entry); error != 0) return error;
  return Result(fstatat(entry.folder.Get(), entry.name.c_str(), st, AT_SYMLINK_NOFOLLOW));
}

int OpenDir(const char* path, fuse_file_info* file) {
  TEntry entry;
  if (const int error = ResolveExisting(path, entry); error != 0) return error;
  const int fd = openat(entry.folder.Get(), entry.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -errno;
  DIR* listing = fdopendir(fd);
  if (listing == nullptr) {
    close(fd);
    return -ENOMEM;
  }
  file->fh = reinterpret_cast<std::uintptr_t>(listing);
  return 0;
}

// Hands over the whole listing at once (offsets 0), so every call starts from the top.
int ReadDir(const char*, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info* file, fuse_readdir_flags) {
  DIR* listing = reinterpret_cast<DIR*>(file->fh);
  rewinddir(listing);
  errno = 0;
  while (const struct dirent* entry = readdir(listing)) {
    struct stat st {};
    st.st_ino = entry->d_ino;
    st.st_mode = static_cast<mode_t>(DTTOIF(entry->d_type));
    if (fill(buffer, entry->d_name, &st, 0, static_cast<fuse_fill_dir_flags>(0)) != 0) return -ENOMEM;
  }
  return -errno;
}

int ReleaseDir(const char*, fuse_file_info* file) {
  closedir(reinterpret_cast<DIR*>(file->fh));
  return 0;
}

int MkDir(const char* path, mode_t mode) {
  TEntry entry;
  if (const int error = ResolveNew(path, entry); error != 0) return error;
  return Result(mkdirat(entry.folder.Get(), entry.name.c_str(), mode));
}

int Remove(const char* path, int flags) {
  TEntry entry;
  if (const int error = ResolveExisting(path, entry); error != 0) return error;
  return Result(unlinkat(entry.folder.Get(), entry.name.c_str(), flags));
}

int Unlink(const char* path) { return Remove(path, 0); }
int RmDir(const char* path) { return Remove(path, AT_REMOVEDIR); }

int OpenEntry(const TEntry& entry, int flags, mode_t mode, fuse_file_info* file) {
  const int fd = openat(entry.folder.Get(), entry.name.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
  if (fd < 0) return -errno;
  file->fh = static_cast<std::uint64_t>(fd);
  return 0;
}

int Create(const char* path, mode_t mode, fuse_file_info* file) {
  TEntry entry;
  if (const int error = Resolve(path, entry); error != 0) return error;
  if (!entry.exists) return OpenEntry(entry, file->flags | O_CREAT | O_EXCL, mode, file);
  if (file->flags & O_EXCL) return -EEXIST;
  return OpenEntry(entry, file->flags & ~O_CREAT, 0, file);
}

int Open(const char* path, fuse_file_info* file) {
  TEntry entry;
  if (const int error = ResolveExisting(path, entry); error != 0) return error;
  return OpenEntry(entry, file->flags & ~(O_CREAT | O_EXCL), 0, file);
}

int Read(const char*, char* buffer, size_t size, off_t offset, fuse_file_info* file) {
  const ssize_t got = pread(static_cast<int>(file->fh), buffer, size, offset);
  return got < 0 ? -errno : static_cast<int>(got);
}

int Write(const char*, const char* data, size_t size, off_t offset, fuse_file_info* file) {
  const ssize_t written = pwrite(static_cast<int>(file->fh), data, size, offset);
  return written < 0 ? -errno : static_cast<int>(written);
}

int Release(const char*, fuse_file_info* file) {
  close(static_cast<int>(file->fh));
  return 0;
}

// Without RENAME_NOREPLACE an existing target is replaced atomically under the name it
// has, then given the case asked for; that also changes the case of an entry renamed
// onto itself under another case. With it, any entry under any case is EEXIST, the
// entry itself too, as the kernel says for vfat.
int Rename(const char* from, const char* to, unsigned flags) {
  if (flags & ~RENAME_NOREPLACE) return -EINVAL;
  TEntry source, target;
  if (const int error = ResolveExisting(from, source); error != 0) return error;
  if (const int error = Resolve(to, target); error != 0) return error;
  if (target.exists && (flags & RENAME_NOREPLACE)) return -EEXIST;
  if (renameat(source.folder.Get(), source.name.c_str(), target.folder.Get(), target.name.c_str()) != 0) return -errno;
  if (target.name == target.asked) return 0;
  return Result(renameat(target.folder.Get(), target.name.c_str(), target.folder.Get(), target.asked.c_str()));
}

int Link(const char* from, const char* to) {
  TEntry source, target;
  if (const int error = ResolveExisting(from, source); error != 0) return error;
  if (const int error = ResolveNew(to, target); error != 0) return error;
  return Result(linkat(source.folder.Get(), source.name.c_str(), target.folder.Get(), target.name.c_str(), 0));
}

int SymLink(const char* content, const char* path) {
  TEntry entry;
  if (const int error = ResolveNew(path, entry); error != 0) return error;
  return Result(symlinkat(content, entry.folder.Get(), entry.name.c_str()));
}

int ReadLink(const char* path, char* buffer, size_t size) {
  TEntry entry;
  if (const int error = ResolveExisting(path, entry); error != 0) return error;
  const ssize_t got = readlinkat(entry.folder.Get(), entry.name.c_str(), buffer, size - 1);
  if (got < 0) return -errno;
  buffer[got] = '\0';
  return 0;
}

int Truncate(const char* path, off_t size, fuse_file_info* file) {
  if (file != nullptr) return Result(ftruncate(static_cast<int>(file->fh), size));
  TEntry entry;
  if (const int error = ResolveExisting(path, entry); error != 0) return error;
  const TFileDescriptor fd(openat(entry.folder.Get(), entry.name.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
  if (!fd.IsOpen()) return -errno;
  return Result(ftruncate(fd.Get(), size));
}

int UTimeNs(const char* path, const struct timespec times[2], fuse_file_info* file) {
  if (file != nullptr) return Result(futimens(static_cast<int>(file->fh), times));
  TEntry entry;
  if (const int error = ResolveExisting(path, entry); error != 0) return error;
  return Result(utimensat(entry.folder.Get(), entry.name.c_str(), times, AT_SYMLINK_NOFOLLOW));
}

int ChMod(const char* path, mode_t mode, fuse_file_info* file) {
  if (file != nullptr) return Result(fchmod(static_cast<int>(file->fh), mode));
  TEntry entry;
  if (const int error = ResolveExisting(path, entry); error != 0) return error;
  return Result(fchmodat(entry.folder.Get(), entry.name.c_str(), mode, AT_SYMLINK_NOFOLLOW));
}

int StatFs(const char*, struct statvfs* st) { return Result(fstatvfs(BackingFd(), st)); }

// Only the attributes, and only the casefold one: what a program asks a folder to learn
// how it compares names.
int IoCtl(const char*, int command, void*, fuse_file_info*, unsigned int, void* data) {
  if (static_cast<unsigned int>(command) != FS_IOC_GETFLAGS) return -ENOTTY;
  *static_cast<int*>(data) = Mounted().casefold ? FS_CASEFOLD_FL : 0;
  return 0;
}

fuse_operations Operations() {
  fuse_operations operations{};
  operations.init = Init;
  operations.getattr = GetAttr;
  operations.opendir = OpenDir;
  operations.readdir = ReadDir;
  operations.releasedir = ReleaseDir;
  operations.mkdir = MkDir;
  operations.rmdir = RmDir;
  operations.unlink = Unlink;
  operations.create = Create;
  operations.open = Open;
  operations.read = Read;
  operations.write = Write;
  operations.release = Release;
  operations.rename = Rename;
  operations.link = Link;
  operations.symlink = SymLink;
  operations.readlink = ReadLink;
  operations.truncate = Truncate;
  operations.utimens = UTimeNs;
  operations.chmod = ChMod;
  operations.statfs = StatFs;
  operations.ioctl = IoCtl;
  return operations;
}

}  // namespace
}  // namespace qx::test

int main(int argc, char* argv[]) {
  std::vector<char*> args(argv, argv + argc);
  const bool casefold = args.size() > 1 && std::strcmp(args[1], "--casefold") == 0;
  if (casefold) args.erase(args.begin() + 1);
  if (args.size() < 3) {
    fprintf(stderr, "usage: %s [--casefold] BACKING MOUNTPOINT [FUSE options]\n", argv[0]);
    return 2;
  }
  qx::test::TMounted mounted{open(args[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC), casefold};
  if (mounted.backing < 0) {
    fprintf(stderr, "%s: cannot open %s: %s\n", argv[0], args[1], strerror(errno));
    return 1;
  }
  // libfuse parses the rest; the backing folder is ours.
  args.erase(args.begin() + 1);
  const fuse_operations operations = qx::test::Operations();
  return fuse_main(static_cast<int>(args.size()), args.data(), &operations, &mounted);
}
