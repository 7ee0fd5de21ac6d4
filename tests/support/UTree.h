// SPDX-License-Identifier: GPL-3.0-or-later
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

// Every entry below `root` with what it holds, sorted by bytes: "path/" for a folder,
// "path -> target" for a symbolic link, "path <size> <hash>" for a file's content, and
// the kind for anything else. Two trees that list the same are the same byte for byte.
std::vector<std::string> SnapshotTree(const std::string& root);

// `depth` nested folders named `folder` below `root`, an empty file `file` in the
// deepest. Built relative to handles: the paths outgrow PATH_MAX.
void MakeChain(const std::string& root, int depth, const std::string& folder, const std::string& file);

// A chain of folders level by level: each level's entry names, sorted, on one line
// separated by '|'. Throws when a level holds more than one folder.
std::vector<std::string> DescribeChain(const std::string& root);

}  // namespace qx::test
