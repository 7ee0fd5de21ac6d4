// Builds small directory trees from a list of paths and reads them back, so a test
// states a tree before and after a run in one line each.
#pragma once

#include <string>
#include <vector>

namespace qx::test {

// Creates each path below `root`: a path ending in '/' is a folder, anything else an
// empty file; missing parent folders are created.
void MakeTree(const std::string& root, const std::vector<std::string>& paths);

// Every entry below `root` as a relative path, folders with a trailing '/', sorted
// by bytes.
std::vector<std::string> ListTree(const std::string& root);

// Sets an entry's modification time (seconds since the epoch).
void SetModifiedTime(const std::string& path, long seconds);

}  // namespace qx::test
