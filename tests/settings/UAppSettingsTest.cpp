// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/UAppPaths.h"
#include "platform/UFiles.h"
#include "platform/UProfileFile.h"
#include "settings/UAppSettings.h"
#include "support/URecordingMessages.h"
#include "support/UTempDir.h"

namespace qx {
namespace {

TEST(UAppSettingsTest, AFirstSaveWritesEveryDeclaredKeyWithItsDefaultInOrder) {
  test::TTempDir dir;
  test::TRecordingMessages messages;
  ToxRegVal ini = CreateAppSettings(messages, dir.Path());
  ini.Load();
  ini.Save();
  EXPECT_EQ(ReadWholeFile(dir / "quillex.ini"),
            "[Booleans]\n"
            "recurseDirs=0\n"
            "renameDirs=0\n"
            "resetCounter=0\n"
            "sort=1\n"
            "confirm=0\n"
            "undo=0\n"
            "log=0\n"
            "simulation=0\n"
            "numbersByValue=1\n"
            "\n"
            "[Integers]\n"
            "counterStart=0\n"
            "viewStyle=2\n"
            "stvWidth=200\n"
            "fontSize=8\n"
            "sortOrder=0\n"
            "parallelFolders=0\n"
            "\n"
            "[Strings]\n"
            "path=\n"
            "openDir=\n"
            "saveDir=\n"
            "fontName=MS Sans Serif\n"
            "example=filename.ext\n"
            "encoding=ISO-8859-1\n"
            "filemask=*.*\n"
            "filemask0=\n"
            "filemask1=\n"
            "filemask2=\n"
            "filemask3=\n"
            "filemask4=\n"
            "filemask5=\n"
            "filemask6=\n"
            "filemask7=\n"
            "filemask8=\n"
            "filemask9=\n"
            "takenSuffix=\n");
  EXPECT_TRUE(ini.Floats().empty());
}

// A number a run cannot take costs only its own key: the default, said as the other bad
// values are, and written back by the next save.
TEST(UAppSettingsTest, FoldersAtOnceOutsideZeroTo64KeepTheDefault) {
  const auto outside = [](const char* value) {
    return "Error reading Integer value \"Integers\\parallelFolders\". Value = \"" + std::string(value) +
           "\", not 0 (automatic) or 1 to 64. Value set to 0 (automatic)";
  };
  struct Row {
    const char* name;
    const char* file;
    int folders;
    std::vector<std::string> messages;
  };
  const Row rows[] = {
      {"no file", nullptr, kAutomaticFolders, {}},
      {"absent", "[Integers]\ncounterStart=2\n", kAutomaticFolders, {}},
      {"automatic", "[Integers]\nparallelFolders=0\n", kAutomaticFolders, {}},
      {"one", "[Integers]\nparallelFolders=1\n", 1, {}},
      {"the most", "[Integers]\nparallelFolders=64\n", 64, {}},
      {"none offered by the menu", "[Integers]\nparallelFolders=3\n", 3, {}},
      {"negative", "[Integers]\nparallelFolders=-2\n", kAutomaticFolders, {outside("-2")}},
      {"above the most", "[Integers]\nparallelFolders=65\n", kAutomaticFolders, {outside("65")}},
      {"beyond 32 bits", "[Integers]\nparallelFolders=4294967297\n", kAutomaticFolders, {outside("4294967297")}},
      {"no number",
       "[Integers]\nparallelFolders=eight\n",
       kAutomaticFolders,
       {"Error reading Integer value \"Integers\\parallelFolders\". Value = \"eight\". Value set to 0"}},
  };
  for (const Row& row : rows) {
    test::TTempDir dir;
    test::TRecordingMessages messages;
    if (row.file) dir.WriteFile("quillex.ini", row.file);
    ToxRegVal ini = CreateAppSettings(messages, dir.Path());
    ini.Load();
    EXPECT_EQ(CheckedParallelFolders(ini, messages), row.folders) << row.name;
    EXPECT_EQ(messages.messages, row.messages) << row.name;
    ini.Save();
    EXPECT_EQ(TProfileFile(dir / "quillex.ini").Read("Integers", setting::kParallelFolders),
              std::to_string(row.folders))
        << row.name;
  }
}

TEST(UAppSettingsTest, TheFileIsQuillexIniInTheGivenOrTheSettingsFolder) {
  test::TRecordingMessages messages;
  EXPECT_EQ(CreateAppSettings(messages, "/etc/qx").FilePath(), "/etc/qx/quillex.ini");
  EXPECT_EQ(CreateAppSettings(messages, "/etc/qx/").FilePath(), "/etc/qx/quillex.ini");
  EXPECT_EQ(CreateAppSettings(messages).FilePath(), SettingsDir() + "quillex.ini");
}

}  // namespace
}  // namespace qx
