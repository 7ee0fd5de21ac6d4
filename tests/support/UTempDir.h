// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh temporary folder per test, removed with everything in it afterwards.
#pragma once

#include <string>

namespace qx::test {

class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  // The folder, with a trailing '/'.
  const std::string& Path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + name; }

  // Writes `content` to the file `name` inside the folder; returns its path.
  std::string WriteFile(const std::string& name, const std::string& content) const;

 private:
  std::string m_path;
};

}  // namespace qx::test
