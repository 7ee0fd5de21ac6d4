// SPDX-License-Identifier: GPL-3.0-or-later
// netfs BACKING MOUNTPOINT [delays] [FUSE options]: mounts BACKING at MOUNTPOINT and makes
// each request wait as a network share's round trip would, for the network share table.
// A benchmark instrument, not a product: paths are taken as given, nothing is tuned.
#define FUSE_USE_VERSION 31

#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <stdio.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace qx::bench {
namespace {

constexpr const char* kUsage =
    "usage: netfs BACKING MOUNTPOINT [--rename-delay-ms MS] [--lookup-delay-ms MS]\n"
    "             [--readdir-delay-ms MS] [--stats] [FUSE options]\n"
    "  --rename-delay-ms   before each change of a folder's entries: rename, link, unlink,\n"
    "                      mkdir, rmdir, symlink, create\n"
    "  --lookup-delay-ms   before each lookup and attribute read; also turns the kernel's\n"
    "                      entry and attribute caches off, so every lookup reaches us\n"
    "  --readdir-delay-ms  before each listing of a folder\n"
    "  --stats             print the requests of each kind on stderr when unmounted\n"
    "MS: milliseconds, fractions allowed, 0 to 60000. Runs multi-threaded unless -s.\n";

constexpr double kMaxDelayMs = 60000;

// The kinds of request that are delayed, and counted for --stats.
enum class TKind { kChange, kLookup, kListing, kCount };
constexpr const char* kKindNames[] = {"entry changes (rename, link, unlink, mkdir, rmdir, symlink, create)",
                                      "lookups and attribute reads", "listings"};

struct TNetFs {
  int backing = -1;
  long delayNs[static_cast<int>(TKind::kCount)] = {};
  bool stats = false;
  std::atomic<std::uint64_t> requests[static_cast<int>(TKind::kCount)] = {};
  std::atomic<std::uint64_t> renames{0};
};

TNetFs& Fs() { return *static_cast<TNetFs*>(fuse_get_context()->private_data); }

// The round trip: the calling worker sleeps, the others go on serving.
void RoundTrip(TKind kind) {
  TNetFs& fs = Fs();
  const int index = static_cast<int>(kind);
  fs.requests[index].fetch_add(1, std::memory_order_relaxed);
  const long delay = fs.delayNs[index];
  if (delay == 0) return;
  timespec deadline;
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline.tv_nsec += delay % 1000000000L;
  deadline.tv_sec += delay / 1000000000L + deadline.tv_nsec / 1000000000L;
  deadline.tv_nsec %= 1000000000L;
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
  }
}

// libfuse hands over paths from the mount's root ("/a/b"); the backing folder's handle
// is their root.
const char* Relative(const char* path) { return path[1] == '\0' ? "." : path + 1; }

int Result(int rc) { return rc < 0 ? -errno : 0; }

int FileOf(const fuse_file_info* file) { return static_cast<int>(file->fh); }

void* Init(fuse_conn_info* connection, fuse_config* config) {
  TNetFs& fs = Fs();
  config->use_ino = 1;
  // Open files are served by their handles, so an unlinked open file needs no hiding.
  config->hard_remove = 1;
  config->nullpath_ok = 1;
  if (fs.delayNs[static_cast<int>(TKind::kLookup)] != 0) {
    // A share that caches nothing: each name a program looks up, and each stat, costs a
    // round trip. With the kernel's caches on, most of them would never reach us.
    config->entry_timeout = 0;
    config->negative_timeout = 0;
    config->attr_timeout = 0;
  }
  // A listing then brings names only: attributes are looked up, as counted above.
  connection->want &= ~FUSE_CAP_READDIRPLUS;
  return &fs;
}

void Destroy(void* data) {
  const TNetFs& fs = *static_cast<TNetFs*>(data);
  if (!fs.stats) return;
  fprintf(stderr, "netfs: %llu renames\n", static_cast<unsigned long long>(fs.renames.load()));
  for (int kind = 0; kind < static_cast<int>(TKind::kCount); ++kind) {
    fprintf(stderr, "netfs: %llu %s\n", static_cast<unsigned long long>(fs.requests[kind].load()), kKindNames[kind]);
  }
}

// libfuse answers the kernel's lookups with this too, so both wait here.
int GetAttr(const char* path, struct stat* st, fuse_file_info* file) {
  RoundTrip(TKind::kLookup);
  if (file != nullptr) return Result(fstat(FileOf(file), st));
  return Result(fstatat(Fs().backing, Relative(path), st, AT_SYMLINK_NOFOLLOW));
}

int OpenDir(const char* path, fuse_file_info* file) {
  const int fd = openat(Fs().backing, Relative(path), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -errno;
  DIR* listing = fdopendir(fd);
  if (listing == nullptr) {
    close(fd);
    return -ENOMEM;
  }
  file->fh = reinterpret_cast<std::uintptr_t>(listing);
  return 0;
}

// The whole listing in one call (offsets 0): libfuse keeps it and serves the kernel's
// pages from it, so a folder costs one round trip however long it is.
int ReadDir(const char*, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info* file, fuse_readdir_flags) {
  RoundTrip(TKind::kListing);
  DIR* listing = reinterpret_cast<DIR*>(file->fh);
  rewinddir(listing);
  errno = 0;
  while (const dirent* entry = readdir(listing)) {
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
  RoundTrip(TKind::kChange);
  return Result(mkdirat(Fs().backing, Relative(path), mode));
}

int Unlink(const char* path) {
  RoundTrip(TKind::kChange);
  return Result(unlinkat(Fs().backing, Relative(path), 0));
}

int RmDir(const char* path) {
  RoundTrip(TKind::kChange);
  return Result(unlinkat(Fs().backing, Relative(path), AT_REMOVEDIR));
}

// Any flags (RENAME_NOREPLACE, RENAME_EXCHANGE) go to the backing file system, which
// answers for them.
int Rename(const char* from, const char* to, unsigned flags) {
  RoundTrip(TKind::kChange);
  Fs().renames.fetch_add(1, std::memory_order_relaxed);
  return Result(renameat2(Fs().backing, Relative(from), Fs().backing, Relative(to), flags));
}

int Link(const char* from, const char* to) {
  RoundTrip(TKind::kChange);
  return Result(linkat(Fs().backing, Relative(from), Fs().backing, Relative(to), 0));
}

int SymLink(const char* content, const char* path) {
  RoundTrip(TKind::kChange);
  return Result(symlinkat(content, Fs().backing, Relative(path)));
}

int ReadLink(const char* path, char* buffer, size_t size) {
  const ssize_t got = readlinkat(Fs().backing, Relative(path), buffer, size - 1);
  if (got < 0) return -errno;
  buffer[got] = '\0';
  return 0;
}

int OpenFile(const char* path, int flags, mode_t mode, fuse_file_info* file) {
  const int fd = openat(Fs().backing, Relative(path), flags | O_NOFOLLOW | O_CLOEXEC, mode);
  if (fd < 0) return -errno;
  file->fh = static_cast<std::uint64_t>(fd);
  return 0;
}

int Create(const char* path, mode_t mode, fuse_file_info* file) {
  RoundTrip(TKind::kChange);
  return OpenFile(path, file->flags | O_CREAT, mode, file);
}

int Open(const char* path, fuse_file_info* file) { return OpenFile(path, file->flags & ~(O_CREAT | O_EXCL), 0, file); }

int Read(const char*, char* buffer, size_t size, off_t offset, fuse_file_info* file) {
  const ssize_t got = pread(FileOf(file), buffer, size, offset);
  return got < 0 ? -errno : static_cast<int>(got);
}

// An O_APPEND handle appends whatever the offset, as the kernel's file size says it should.
int Write(const char*, const char* data, size_t size, off_t offset, fuse_file_info* file) {
  const ssize_t written = pwrite(FileOf(file), data, size, offset);
  return written < 0 ? -errno : static_cast<int>(written);
}

int Fsync(const char*, int dataOnly, fuse_file_info* file) {
  return Result(dataOnly ? fdatasync(FileOf(file)) : fsync(FileOf(file)));
}

int Release(const char*, fuse_file_info* file) {
  close(FileOf(file));
  return 0;
}

int Truncate(const char* path, off_t size, fuse_file_info* file) {
  if (file != nullptr) return Result(ftruncate(FileOf(file), size));
  const int fd = openat(Fs().backing, Relative(path), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -errno;
  const int rc = Result(ftruncate(fd, size));
  close(fd);
  return rc;
}

int UTimeNs(const char* path, const timespec times[2], fuse_file_info* file) {
  if (file != nullptr) return Result(futimens(FileOf(file), times));
  return Result(utimensat(Fs().backing, Relative(path), times, AT_SYMLINK_NOFOLLOW));
}

int ChMod(const char* path, mode_t mode, fuse_file_info* file) {
  if (file != nullptr) return Result(fchmod(FileOf(file), mode));
  return Result(fchmodat(Fs().backing, Relative(path), mode, 0));
}

int ChOwn(const char* path, uid_t owner, gid_t group, fuse_file_info* file) {
  if (file != nullptr) return Result(fchown(FileOf(file), owner, group));
  return Result(fchownat(Fs().backing, Relative(path), owner, group, AT_SYMLINK_NOFOLLOW));
}

int StatFs(const char*, struct statvfs* st) { return Result(fstatvfs(Fs().backing, st)); }

fuse_operations Operations() {
  fuse_operations operations{};
  operations.init = Init;
  operations.destroy = Destroy;
  operations.getattr = GetAttr;
  operations.opendir = OpenDir;
  operations.readdir = ReadDir;
  operations.releasedir = ReleaseDir;
  operations.mkdir = MkDir;
  operations.rmdir = RmDir;
  operations.unlink = Unlink;
  operations.rename = Rename;
  operations.link = Link;
  operations.symlink = SymLink;
  operations.readlink = ReadLink;
  operations.create = Create;
  operations.open = Open;
  operations.read = Read;
  operations.write = Write;
  operations.fsync = Fsync;
  operations.release = Release;
  operations.truncate = Truncate;
  operations.utimens = UTimeNs;
  operations.chmod = ChMod;
  operations.chown = ChOwn;
  operations.statfs = StatFs;
  return operations;
}

// MS as nanoseconds; false when it is not a number of milliseconds in range.
bool ParseDelay(const char* text, long& nanoseconds) {
  char* end = nullptr;
  errno = 0;
  const double ms = std::strtod(text, &end);
  if (end == text || *end != '\0' || errno != 0 || !(ms >= 0 && ms <= kMaxDelayMs)) return false;
  nanoseconds = std::lround(ms * 1e6);
  return true;
}

constexpr int kGoOn = -1;

// Takes our options out of argv; everything else goes on to libfuse. kGoOn, or the exit
// status once the help is printed or what is wrong is said.
int ParseOptions(int argc, char* argv[], TNetFs& fs, std::vector<char*>& fuseArgs) {
  struct TDelayOption {
    std::string_view name;
    TKind kind;
  };
  constexpr TDelayOption kDelayOptions[] = {{"--rename-delay-ms", TKind::kChange},
                                            {"--lookup-delay-ms", TKind::kLookup},
                                            {"--readdir-delay-ms", TKind::kListing}};
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--stats") {
      fs.stats = true;
      continue;
    }
    bool isDelay = false;
    for (const TDelayOption& option : kDelayOptions) {
      if (arg != option.name) continue;
      isDelay = true;
      if (i + 1 == argc || !ParseDelay(argv[i + 1], fs.delayNs[static_cast<int>(option.kind)])) {
        fprintf(stderr, "netfs: %s needs a number of milliseconds from 0 to %g, not '%s'\n%s", argv[i], kMaxDelayMs,
                i + 1 == argc ? "" : argv[i + 1], kUsage);
        return 2;
      }
      ++i;
    }
    if (!isDelay) fuseArgs.push_back(argv[i]);
  }
  return kGoOn;
}

}  // namespace
}  // namespace qx::bench

int main(int argc, char* argv[]) {
  using qx::bench::TNetFs;
  TNetFs fs;
  // The backing folder and the mount point come first; libfuse takes the mount point.
  std::vector<char*> fuseArgs{argv[0]};
  if (const int status = qx::bench::ParseOptions(argc, argv, fs, fuseArgs); status != qx::bench::kGoOn) {
    return status;
  }
  if (fuseArgs.size() < 3 || fuseArgs[1][0] == '-') {
    fputs(qx::bench::kUsage, stderr);
    return 2;
  }
  const char* backing = fuseArgs[1];
  fs.backing = open(backing, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fs.backing < 0) {
    fprintf(stderr, "netfs: cannot open %s: %s\n", backing, strerror(errno));
    return 1;
  }
  fuseArgs.erase(fuseArgs.begin() + 1);
  // Room for every request a parallel renamer keeps in flight (libfuse's default is 10),
  // and an idle limit given, whose default libfuse warns about. A later -o wins.
  std::string threads = "-omax_threads=256,max_idle_threads=64";
  fuseArgs.insert(fuseArgs.begin() + 1, threads.data());
  // A sleep overshoots by the timer slack, 50 µs by default; the workers inherit this.
  prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
  const fuse_operations operations = qx::bench::Operations();
  return fuse_main(static_cast<int>(fuseArgs.size()), fuseArgs.data(), &operations, &fs);
}
