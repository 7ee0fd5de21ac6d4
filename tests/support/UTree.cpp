#include "support/UTree.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
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

}  // namespace qx::test
