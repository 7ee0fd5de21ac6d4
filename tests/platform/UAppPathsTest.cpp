// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/UAppPaths.h"
#include "platform/USystemError.h"
#include "support/UTempDir.h"

namespace qx {
namespace {

// Sets an environment variable for one scope.
class TScopedEnv {
 public:
  TScopedEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~TScopedEnv() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

TEST(UAppPathsTest, SettingsLiveInTheConfigFolderUnlessAPortableIniSitsBesideTheProgram) {
  test::TTempDir dir;
  const TScopedEnv config("XDG_CONFIG_HOME", dir / "config");
  const std::string xdg = dir / "config/quillex/";
  std::filesystem::create_directories(dir / "build/src/app");
  std::filesystem::create_directories(dir / "usr/bin");
  std::filesystem::create_directories(dir / "usr/share/quillex");
  std::filesystem::create_directories(dir / "portable");
  dir.WriteFile("portable/quillex.ini", "");
  std::filesystem::create_directories(dir / "folder-ini/quillex.ini");
  const struct {
    const char* name;
    std::string programDir, expected;
  } rows[] = {
      {"a writable build tree", dir / "build/src/app/", xdg},
      {"an installed copy", dir / "usr/bin/", xdg},
      {"a quillex.ini beside the program", dir / "portable/", dir / "portable/"},
      // The user's own choice, even where it cannot be read: it is reported, never replaced.
      {"a folder named quillex.ini beside it", dir / "folder-ini/", dir / "folder-ini/"},
  };
  for (const auto& row : rows) EXPECT_EQ(SettingsDirFor(row.programDir), row.expected) << row.name;
}

TEST(UAppPathsTest, AFolderIsMadeWithItsParentsForItsOwnerOnly) {
  test::TTempDir dir;
  EnsureDirectory(dir / "home/.config/quillex/");
  for (const char* made : {"home", "home/.config", "home/.config/quillex"}) {
    struct stat st;
    ASSERT_EQ(::stat((dir / made).c_str(), &st), 0) << made;
    EXPECT_EQ(st.st_mode & 0777, 0700u) << made;
  }
  EXPECT_NO_THROW(EnsureDirectory(dir / "home/.config/quillex")) << "an existing folder is no failure";
  dir.WriteFile("file", "");
  EXPECT_THROW(EnsureDirectory(dir / "file/below"), TSystemError);
}

}  // namespace
}  // namespace qx
