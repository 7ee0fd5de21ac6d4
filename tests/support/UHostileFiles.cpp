// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/UHostileFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace qx::test {

namespace {

void Write(const std::string& path, const std::string& content) { std::ofstream(path, std::ios::binary) << content; }

void MakeFifo(const std::string& path) {
  if (mkfifo(path.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
}

void MakeDeviceLink(const std::string& path) { std::filesystem::create_symlink("/dev/zero", path); }

void MakeFolder(const std::string& path) { std::filesystem::create_directory(path); }

void MakeSparseHuge(const std::string& path) {
  Write(path, "");
  std::filesystem::resize_file(path, 20 << 20);
}

void MakeRandomBytes(const std::string& path) {
  std::mt19937 random(7);
  std::string bytes(256 << 10, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  Write(path, bytes);
}

void MakeLongLine(const std::string& path) {
  Write(path, "[Strings]\nfilemask=" + std::string(900'000, '*') + "\n<quillex>" + std::string(900'000, ' '));
}

void MakeRepetitions(const std::string& path) {
  std::string text;
  for (int n = 0; n < 20'000; ++n) text += "[Strings]\nfilemask=*.a\nFILEMASK=*.b\n<quillex/>\n";
  Write(path, text);
}

}  // namespace

const std::vector<THostileFile>& HostileFiles() {
  static const std::vector<THostileFile> files = {
      {"a FIFO", MakeFifo, "it is not a regular file"},
      {"a link to a device", MakeDeviceLink, "it is not a regular file"},
      {"a folder", MakeFolder, "Is a directory"},
      {"a sparse file of 20 MiB", MakeSparseHuge, "it is larger than"},
      {"random bytes", MakeRandomBytes, ""},
      {"a line of 900 KB", MakeLongLine, ""},
      {"repeated sections and keys", MakeRepetitions, ""},
  };
  return files;
}

}  // namespace qx::test
