// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/UAppPaths.h"
#include "platform/UFiles.h"
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
            "\n"
            "[Integers]\n"
            "counterStart=0\n"
            "viewStyle=2\n"
            "stvWidth=200\n"
            "fontSize=8\n"
            "sortOrder=0\n"
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
            "filemask9=\n");
  EXPECT_TRUE(ini.Floats().empty());
}

TEST(UAppSettingsTest, TheFileIsQuillexIniInTheGivenOrTheSettingsFolder) {
  test::TRecordingMessages messages;
  EXPECT_EQ(CreateAppSettings(messages, "/etc/qx").FilePath(), "/etc/qx/quillex.ini");
  EXPECT_EQ(CreateAppSettings(messages, "/etc/qx/").FilePath(), "/etc/qx/quillex.ini");
  EXPECT_EQ(CreateAppSettings(messages).FilePath(), SettingsDir() + "quillex.ini");
}

}  // namespace
}  // namespace qx
