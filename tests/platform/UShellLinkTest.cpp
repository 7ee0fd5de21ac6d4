// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/UFiles.h"
#include "platform/UShellLink.h"
#include "support/UFaultySysCalls.h"
#include "support/UTempDir.h"

namespace qx {
namespace {

// Sets an environment variable for one test and puts the old value back.
class TScopedEnv {
 public:
  TScopedEnv(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~TScopedEnv() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

std::string ExecLine(const std::string& entry) {
  const std::size_t start = entry.find("\nExec=");
  return start == std::string::npos ? "" : entry.substr(start + 1, entry.find('\n', start + 1) - start - 1);
}

TEST(UShellLinkTest, ExecQuotesTheProgramPathAsDesktopEntriesRequire) {
  struct Row {
    const char* name;
    const char* target;
    const char* exec;
  };
  const Row rows[] = {
      {"plain", "/usr/bin/quillex", R"(Exec="/usr/bin/quillex" %F)"},
      {"space", "/opt/my apps/quillex", R"(Exec="/opt/my apps/quillex" %F)"},
      {"double quote", R"(/opt/a"b/quillex)", R"(Exec="/opt/a\\"b/quillex" %F)"},
      {"dollar and backquote", "/opt/$HOME`x`/quillex", R"(Exec="/opt/\\$HOME\\`x\\`/quillex" %F)"},
      {"backslash takes four", R"(/opt/a\b/quillex)", R"(Exec="/opt/a\\\\b/quillex" %F)"},
      {"percent is no field code", "/opt/100%f/quillex", R"(Exec="/opt/100%%f/quillex" %F)"},
      {"line break stays in the value", "/opt/a\nb/quillex", R"(Exec="/opt/a\nb/quillex" %F)"},
  };
  for (const Row& row : rows) EXPECT_EQ(ExecLine(DesktopEntry(row.target, "Quillex")), row.exec) << row.name;
}

// A desktop entry with file types would make Quillex what a desktop opens folders or
// unknown files with; it names none, and desktop-file-validate has nothing to say.
TEST(UShellLinkTest, TheEntryStartsQuillexClaimsNoFileTypeAndValidates) {
  const std::string entry = DesktopEntry("/usr/bin/quillex", "Quillex");
  for (const char* line : {"[Desktop Entry]\n", "\nType=Application\n", "\nName=Quillex\n", "\nIcon=quillex\n"}) {
    EXPECT_NE(entry.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u) << "the group header comes first";
  EXPECT_EQ(entry.find("MimeType="), std::string::npos);
  if (std::system("command -v desktop-file-validate >/dev/null") != 0) GTEST_SKIP() << "no desktop-file-validate";
  test::TTempDir dir;
  const std::string file = dir.WriteFile(kShortcutFileName, entry);
  const std::string report = dir / "report";
  EXPECT_EQ(std::system(("desktop-file-validate '" + file + "' >'" + report + "' 2>&1").c_str()), 0);
  EXPECT_EQ(ReadWholeFile(report), "");
}

TEST(UShellLinkTest, WritingTwiceSucceedsTwiceWithTheSameFile) {
  test::TTempDir dir;
  const std::string link = dir / kShortcutFileName;
  ASSERT_EQ(CreateShortcut("/usr/bin/quillex", link, kShortcutDescription), 0);
  const std::string first = ReadWholeFile(link);
  ASSERT_EQ(CreateShortcut("/usr/bin/quillex", link, kShortcutDescription), 0);
  EXPECT_EQ(ReadWholeFile(link), first);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary file left";
}

TEST(UShellLinkTest, SendToFolderWithOrWithoutItsSeparatorGivesOneLinkPath) {
  test::TTempDir home;
  const TScopedEnv homeVar("HOME", home.Path().c_str());
  struct Row {
    const char* name;
    std::string xdg;
    std::string folder;
  };
  const std::string data = home / "data";
  const Row rows[] = {
      {"with separator", data + "/", data + "/applications/"},
      {"without separator", data, data + "/applications/"},
      {"unset", "", home / ".local/share/applications/"},
      {"relative is ignored", "relative/data", home / ".local/share/applications/"},
  };
  for (const Row& row : rows) {
    const TScopedEnv xdg("XDG_DATA_HOME", row.xdg.empty() ? nullptr : row.xdg.c_str());
    EXPECT_EQ(SendToFolder() + kShortcutFileName, row.folder + kShortcutFileName) << row.name;
    EXPECT_TRUE(std::filesystem::is_directory(row.folder)) << row.name << ": the folder is created";
  }
}

TEST(UShellLinkTest, AFolderThatCannotBeWrittenGivesAFailureAndNoFile) {
  test::TTempDir home;
  // A file where the folder belongs: refused even to root.
  home.WriteFile("applications", "not a folder");
  const TScopedEnv xdg("XDG_DATA_HOME", home.Path().c_str());
  const std::string folder = SendToFolder();
  EXPECT_EQ(folder, home / "applications/");
  EXPECT_NE(CreateShortcut("/usr/bin/quillex", folder + kShortcutFileName, kShortcutDescription), 0);
  EXPECT_FALSE(PathExists(folder + kShortcutFileName));
}

TEST(UShellLinkTest, AFailedWriteKeepsTheOldEntryAndGivesItsErrno) {
  test::TTempDir dir;
  const std::string link = dir.WriteFile(kShortcutFileName, "old entry");
  test::TFaultySysCalls faults(test::TCall::Write, ENOSPC, 0);
  {
    sys::TScopedSysCalls seam(faults);
    EXPECT_EQ(CreateShortcut("/usr/bin/quillex", link, kShortcutDescription), ENOSPC);
  }
  EXPECT_EQ(ReadWholeFile(link), "old entry");
}

}  // namespace
}  // namespace qx
