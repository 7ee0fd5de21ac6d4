// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/UTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace qx::test {

namespace fs = std::filesystem;

void MakeTree(const std::string& root, const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    const fs::path full = fs::path(root) / path;
    if (!path.empty() && path.back() == '/') {
      fs::create_directories(full);
    } else {
      fs::create_directories(full.parent_path());
      std::ofstream(full, std::ios::binary);
    }
  }
}

std::vector<std::string> ListTree(const std::string& root) {
  std::vector<std::string> paths;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    std::string relative = it->path().lexically_relative(root).string();
    if (it->is_directory() && !it->is_symlink()) relative += '/';
    paths.push_back(relative);
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

void SetModifiedTime(const std::string& path, long seconds) {
  const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
  if (utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) throw std::runtime_error("utimensat");
}

namespace {

// FNV-1a over the file's bytes, read in pieces: copies of real trees hold large files.
std::string ContentDigest(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::uint64_t hash = 14695981039346656037ull;
  std::uint64_t size = 0;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
    }
    size += static_cast<std::uint64_t>(in.gcount());
  }
  return std::to_string(size) + " " + std::to_string(hash);
}

int OpenFolderAt(int dirFd, const std::string& name) {
  const int fd = openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot open folder " + name);
  return fd;
}

}  // namespace

std::vector<std::string> SnapshotTree(const std::string& root) {
  std::vector<std::string> lines;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    const std::string relative = it->path().lexically_relative(root).string();
    const fs::file_type type = it->symlink_status().type();
    if (type == fs::file_type::directory) {
      lines.push_back(relative + "/");
    } else if (type == fs::file_type::symlink) {
      lines.push_back(relative + " -> " + fs::read_symlink(it->path()).string());
    } else if (type == fs::file_type::regular) {
      lines.push_back(relative + " " + ContentDigest(it->path()));
    } else {
      lines.push_back(relative + " kind " + std::to_string(static_cast<int>(type)));
    }
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

void MakeChain(const std::string& root, int depth, const std::string& folder, const std::string& file) {
  int fd = OpenFolderAt(AT_FDCWD, root);
  for (int level = 0; level < depth; ++level) {
    if (mkdirat(fd, folder.c_str(), 0755) != 0) throw std::runtime_error("mkdirat failed");
    const int child = OpenFolderAt(fd, folder);
    close(fd);
    fd = child;
  }
  const int created = openat(fd, file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  close(fd);
  if (created < 0) throw std::runtime_error("cannot create " + file);
  close(created);
}

std::vector<std::string> DescribeChain(const std::string& root) {
  std::vector<std::string> levels;
  for (int fd = OpenFolderAt(AT_FDCWD, root); fd >= 0;) {
    DIR* stream = fdopendir(fcntl(fd, F_DUPFD_CLOEXEC, 0));
    if (stream == nullptr) throw std::runtime_error("cannot list a folder");
    std::vector<std::string> names, folders;
    while (const struct dirent* entry = readdir(stream)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      names.push_back(name);
      struct stat st;
      if (fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)) folders.push_back(name);
    }
    closedir(stream);
    if (folders.size() > 1) throw std::runtime_error("not a chain at level " + std::to_string(levels.size()));
    std::sort(names.begin(), names.end());
    std::string line;
    for (const std::string& name : names) line += (line.empty() ? "" : "|") + name;
    levels.push_back(line);
    const int child = folders.empty() ? -1 : OpenFolderAt(fd, folders[0]);
    close(fd);
    fd = child;
  }
  return levels;
}

}  // namespace qx::test
