// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/UTempDir.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace qx::test {

TTempDir::TTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quillex-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_path = pattern + "/";
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

std::string TTempDir::WriteFile(const std::string& name, const std::string& content) const {
  const std::string path = m_path + name;
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

}  // namespace qx::test
