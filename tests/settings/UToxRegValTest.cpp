// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/UFiles.h"
#include "platform/UProfileFile.h"
#include "platform/USysCalls.h"
#include "settings/UAppSettings.h"
#include "settings/UToxRegVal.h"
#include "support/UFaultySysCalls.h"
#include "support/URecordingMessages.h"
#include "support/UTempDir.h"

namespace qx {
namespace {

using Strings = std::vector<std::string>;

class ToxRegValTest : public testing::Test {
 protected:
  ToxRegVal AppStore() { return CreateAppSettings(m_messages, m_dir.Path()); }
  ToxRegVal StoreWith(const Strings& integers, const Strings& floats) {
    ToxRegVal store(m_messages);
    store.SetUseStartUpDir(false);
    store.SetIniFileName(m_dir / "test.ini");
    store.SetIntegers(integers);
    store.SetFloats(floats);
    return store;
  }
  std::string Ini() const { return m_dir / "quillex.ini"; }
  std::string WriteIni(const std::string& content) const { return m_dir.WriteFile("quillex.ini", content); }
  std::size_t EntriesInDir() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}));
  }

  test::TTempDir m_dir;
  test::TRecordingMessages m_messages;
};

TEST_F(ToxRegValTest, WithoutAFileLoadKeepsTheDefaultsAndCreatesNothing) {
  ToxRegVal store = AppStore();
  const Strings booleans = store.Booleans();
  const Strings integers = store.Integers();
  const Strings strings = store.Strings();
  store.Load();
  EXPECT_EQ(store.Booleans(), booleans);
  EXPECT_EQ(store.Integers(), integers);
  EXPECT_EQ(store.Strings(), strings);
  EXPECT_EQ(EntriesInDir(), 0u);
  EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(ToxRegValTest, LoadReadsEachTypeAsTheFileMeansIt) {
  enum class Kind { Boolean, Integer, String };
  struct Row {
    const char* name;
    std::string file;
    Kind kind;
    const char* key;
    std::string loaded;  // "1"/"0", the decimal, or the text
    std::string saved;   // what Save writes back
    Strings messages;
  };
  const Row rows[] = {
      {"boolean 2", "[Booleans]\nrecurseDirs=2\n", Kind::Boolean, "recurseDirs", "1", "1", {}},
      {"boolean -1", "[Booleans]\nrecurseDirs=-1\n", Kind::Boolean, "recurseDirs", "1", "1", {}},
      {"boolean True", "[Booleans]\nrecurseDirs=True\n", Kind::Boolean, "recurseDirs", "1", "1", {}},
      {"boolean FALSE", "[Booleans]\nsort=FALSE\n", Kind::Boolean, "sort", "0", "0", {}},
      {"boolean 0.0", "[Booleans]\nsort=0.0\n", Kind::Boolean, "sort", "0", "0", {}},
      {"empty boolean keeps default true", "[Booleans]\nsort=\n", Kind::Boolean, "sort", "1", "1", {}},
      {"empty boolean keeps default false", "[Booleans]\nlog=\n", Kind::Boolean, "log", "0", "0", {}},
      {"key letter case", "[booleans]\nRECURSEDIRS=1\n", Kind::Boolean, "recurseDirs", "1", "1", {}},
      {"counterStart abc",
       "[Integers]\ncounterStart=abc\n",
       Kind::Integer,
       "counterStart",
       "0",
       "0",
       {"Error reading Integer value \"Integers\\counterStart\". Value = \"abc\". Value set to 0"}},
      {"bad integer keeps a non-zero default",
       "[Integers]\nstvWidth=12px\n",
       Kind::Integer,
       "stvWidth",
       "200",
       "200",
       {"Error reading Integer value \"Integers\\stvWidth\". Value = \"12px\". Value set to 200"}},
      {"beyond 32 bits",
       "[Integers]\ncounterStart=5000000000\n",
       Kind::Integer,
       "counterStart",
       "5000000000",
       "5000000000",
       {}},
      {"lowest 64-bit",
       "[Integers]\ncounterStart=-9223372036854775808\n",
       Kind::Integer,
       "counterStart",
       "-9223372036854775808",
       "-9223372036854775808",
       {}},
      {"beyond 64 bits",
       "[Integers]\ncounterStart=9223372036854775808\n",
       Kind::Integer,
       "counterStart",
       "0",
       "0",
       {"Error reading Integer value \"Integers\\counterStart\". Value = \"9223372036854775808\". Value set to 0"}},
      {"plus sign and blanks", "[Integers]\ncounterStart =  +7 \n", Kind::Integer, "counterStart", "7", "7", {}},
      {"empty integer keeps default", "[Integers]\nviewStyle=\n", Kind::Integer, "viewStyle", "2", "2", {}},
      {"empty string stays empty", "[Strings]\nexample=\n", Kind::String, "example", "", "", {}},
      {"absent string keeps default",
       "[Strings]\npath=/x\n",
       Kind::String,
       "fontName",
       "MS Sans Serif",
       "MS Sans Serif",
       {}},
      {"= and ; in a string",
       "[Strings]\nfilemask=a=b;*.txt\n",
       Kind::String,
       "filemask",
       "a=b;*.txt",
       "a=b;*.txt",
       {}},
      {"quoted string keeps its blanks",
       "[Strings]\npath=\" /tmp/x \"\n",
       Kind::String,
       "path",
       " /tmp/x ",
       " /tmp/x ",
       {}},
  };
  for (const Row& row : rows) {
    test::TTempDir dir;
    test::TRecordingMessages messages;
    ToxRegVal store = CreateAppSettings(messages, dir.Path());
    const std::string path = dir.WriteFile("quillex.ini", row.file);
    store.Load();
    const char* section = "Strings";
    std::string loaded;
    switch (row.kind) {
      case Kind::Boolean:
        loaded = store.GetBoolean(row.key) ? "1" : "0";
        section = "Booleans";
        break;
      case Kind::Integer:
        loaded = std::to_string(store.GetInteger(row.key));
        section = "Integers";
        break;
      case Kind::String: loaded = store.GetString(row.key); break;
    }
    EXPECT_EQ(loaded, row.loaded) << row.name;
    EXPECT_EQ(messages.messages, row.messages) << row.name;
    store.Save();
    EXPECT_EQ(TProfileFile(path).Read(section, row.key), row.saved) << row.name;
  }
}

TEST_F(ToxRegValTest, AnEmptyStringStaysListed) {
  WriteIni("[Strings]\nexample=\n");
  ToxRegVal store = AppStore();
  store.Load();
  const Strings strings = store.Strings();
  EXPECT_NE(std::find(strings.begin(), strings.end(), "example="), strings.end());
  store.SetString("fontName", "");
  EXPECT_EQ(store.Strings()[3], "fontName=");
  EXPECT_EQ(store.GetString("fontName"), "");
}

// One bad value never wipes the others: the bad key keeps its default, with a message.
TEST_F(ToxRegValTest, AnUnreadableBooleanKeepsItsDefaultAndEveryOtherKeyIsRead) {
  WriteIni("[Booleans]\nrecurseDirs=1\nrenameDirs=yes\nundo=1\nresetCounter=1\n[Integers]\ncounterStart=5\n");
  ToxRegVal store = AppStore();
  store.Load();
  EXPECT_EQ(m_messages.messages, Strings{"'yes' is not a valid boolean value"});
  EXPECT_FALSE(store.GetBoolean("renameDirs")) << "the default";
  for (const char* key : {"recurseDirs", "undo", "resetCounter"}) EXPECT_TRUE(store.GetBoolean(key)) << key;
  EXPECT_EQ(store.GetInteger("counterStart"), 5);
}

TEST_F(ToxRegValTest, ByNameAccessIgnoresCaseAndRefusesUnknownNames) {
  ToxRegVal store = AppStore();
  store.SetInteger("COUNTERSTART", 7);
  store.SetBoolean("Simulation", true);
  store.SetString("PATH", "/home/me");
  EXPECT_EQ(store.GetInteger("counterstart"), 7);
  EXPECT_TRUE(store.GetBoolean("simulation"));
  EXPECT_EQ(store.Strings()[0], "path=/home/me") << "the declared name is kept";

  struct Row {
    const char* name;
    std::function<void(ToxRegVal&)> call;
    const char* message;
  };
  const Row rows[] = {
      {"GetString", [](ToxRegVal& s) { s.GetString("pathx"); }, "String Field \"pathx\" not found"},
      {"SetString", [](ToxRegVal& s) { s.SetString("pathx", "v"); }, "String Field \"pathx\" not found"},
      {"GetInteger", [](ToxRegVal& s) { s.GetInteger("recurseDirs"); }, "Integer Field \"recurseDirs\" not found"},
      {"SetInteger", [](ToxRegVal& s) { s.SetInteger("Count", 1); }, "Integer Field \"Count\" not found"},
      {"GetBoolean", [](ToxRegVal& s) { s.GetBoolean("path"); }, "Boolean Field \"path\" not found"},
      {"SetBoolean", [](ToxRegVal& s) { s.SetBoolean("", true); }, "Boolean Field \"\" not found"},
      {"no trimming", [](ToxRegVal& s) { s.GetString(" path"); }, "String Field \" path\" not found"},
  };
  for (const Row& row : rows) {
    const Strings booleans = store.Booleans();
    const Strings integers = store.Integers();
    const Strings strings = store.Strings();
    try {
      row.call(store);
      ADD_FAILURE() << row.name << ": no error raised";
    } catch (const TSettingsError& error) {
      EXPECT_STREQ(error.what(), row.message) << row.name;
    }
    EXPECT_EQ(store.Booleans(), booleans) << row.name;
    EXPECT_EQ(store.Integers(), integers) << row.name;
    EXPECT_EQ(store.Strings(), strings) << row.name;
  }
}

TEST_F(ToxRegValTest, ListedTextsThatAreNoNumbersRaiseTheConversionErrors) {
  struct Row {
    const char* name;
    Strings integers;
    Strings floats;
    std::function<void(ToxRegVal&)> call;
    const char* message;
  };
  const Row rows[] = {
      {"GetInteger",
       {"n=abc"},
       {},
       [](ToxRegVal& s) { s.GetInteger("N"); },
       "Error in conversion of integer \"N\", Value = \"abc\""},
      {"Load, integer default",
       {"a=1", "b=x"},
       {},
       [](ToxRegVal& s) { s.Load(); },
       "Error in conversion of integer[1], Value = \"x\""},
      {"Save, integer", {"a="}, {}, [](ToxRegVal& s) { s.Save(); }, "Error in conversion of integer[0], Value = \"\""},
      {"Load, float default",
       {},
       {"f=1.5", "g=zz"},
       [](ToxRegVal& s) { s.Load(); },
       "Error in conversion of float[1], Value = \"zz\""},
      {"Save, float",
       {},
       {"f=1,5"},
       [](ToxRegVal& s) { s.Save(); },
       "Error in conversion of float[0], Value = \"1,5\""},
  };
  for (const Row& row : rows) {
    ToxRegVal store = StoreWith(row.integers, row.floats);
    try {
      row.call(store);
      ADD_FAILURE() << row.name << ": no error raised";
    } catch (const TSettingsError& error) {
      EXPECT_STREQ(error.what(), row.message) << row.name;
    }
    EXPECT_EQ(EntriesInDir(), 0u) << row.name << ": a failed Save writes nothing";
  }
}

TEST_F(ToxRegValTest, FloatsLoadSaveAndReportUnreadableValues) {
  ToxRegVal store = StoreWith({}, {"ratio=0.25", "scale=1"});
  const std::string path = m_dir.WriteFile("test.ini", "[Floats]\nratio=abc\nscale=1e3\n");
  store.Load();
  EXPECT_EQ(store.Floats(), (Strings{"ratio=0.25", "scale=1000"}));
  EXPECT_EQ(m_messages.messages,
            Strings{"Error reading Float value \"Floats\\ratio\". Value = \"abc\". Value set to 0.25"});
  store.Save();
  const TProfileFile file(path);
  EXPECT_EQ(file.Read("Floats", "ratio"), "0.25");
  EXPECT_EQ(file.Read("Floats", "scale"), "1000");
}

TEST_F(ToxRegValTest, AHandWrittenFileLoadsAsMeantAndKeepsItsLinesThroughSave) {
  const std::string before =
      "; Quillex settings, edited by hand\r\n"
      "\r\n"
      "[Booleans]\r\n"
      "recurseDirs = 1\r\n"
      "  sort=0\r\n"
      "; my own note\r\n"
      "myOwnFlag=yes\r\n"
      "\r\n"
      "[Integers]\r\n"
      "counterStart = 42\r\n"
      "\r\n"
      "[Strings]\r\n"
      "filemask = *.jpg\r\n"
      "path\t=\t/home/me/Pictures\r\n"
      "\r\n"
      "[frmMain]\r\n"
      "Left=10\r\n"
      "[Extra]\r\n"
      "mine=1\r\n";
  WriteIni(before);
  ToxRegVal store = AppStore();
  store.Load();
  EXPECT_TRUE(store.GetBoolean("recurseDirs"));
  EXPECT_FALSE(store.GetBoolean("sort"));
  EXPECT_EQ(store.GetInteger("counterStart"), 42);
  EXPECT_EQ(store.GetString("filemask"), "*.jpg");
  EXPECT_EQ(store.GetString("path"), "/home/me/Pictures");

  store.SetInteger("counterStart", 43);
  store.Save();
  const std::string after =
      "; Quillex settings, edited by hand\r\n"
      "\r\n"
      "[Booleans]\r\n"
      "recurseDirs = 1\r\n"
      "  sort=0\r\n"
      "; my own note\r\n"
      "myOwnFlag=yes\r\n"
      "renameDirs=0\r\n"
      "resetCounter=0\r\n"
      "confirm=0\r\n"
      "undo=0\r\n"
      "log=0\r\n"
      "simulation=0\r\n"
      "numbersByValue=1\r\n"
      "\r\n"
      "[Integers]\r\n"
      "counterStart = 43\r\n"
      "viewStyle=2\r\n"
      "stvWidth=200\r\n"
      "fontSize=8\r\n"
      "sortOrder=0\r\n"
      "parallelFolders=0\r\n"
      "\r\n"
      "[Strings]\r\n"
      "filemask = *.jpg\r\n"
      "path\t=\t/home/me/Pictures\r\n"
      "openDir=\r\n"
      "saveDir=\r\n"
      "fontName=MS Sans Serif\r\n"
      "example=filename.ext\r\n"
      "encoding=ISO-8859-1\r\n"
      "filemask0=\r\n"
      "filemask1=\r\n"
      "filemask2=\r\n"
      "filemask3=\r\n"
      "filemask4=\r\n"
      "filemask5=\r\n"
      "filemask6=\r\n"
      "filemask7=\r\n"
      "filemask8=\r\n"
      "filemask9=\r\n"
      "takenSuffix=\r\n"
      "\r\n"
      "[frmMain]\r\n"
      "Left=10\r\n"
      "[Extra]\r\n"
      "mine=1\r\n";
  EXPECT_EQ(ReadWholeFile(Ini()), after);
}

TEST_F(ToxRegValTest, LoadNeverWritesEvenWhenValuesWouldBeNormalised) {
  const std::string content = "[Booleans]\nrecurseDirs=True\n[Integers]\ncounterStart = +5\n";
  WriteIni(content);
  ToxRegVal store = AppStore();
  store.Load();
  EXPECT_EQ(ReadWholeFile(Ini()), content);

  ToxRegVal elsewhere = CreateAppSettings(m_messages, m_dir / "missing/folder");
  elsewhere.Load();
  EXPECT_FALSE(PathExists(m_dir / "missing"));
}

TEST_F(ToxRegValTest, AWriteThatFailsPartWayLeavesThePreviousFileByteForByte) {
  struct Row {
    const char* name;
    test::TCall call;
    int error;
    int succeedFirst;
    std::function<void(ToxRegVal&)> write;
  };
  const Row rows[] = {
      {"Save, disk full part-way", test::TCall::Write, ENOSPC, 0, [](ToxRegVal& s) { s.Save(); }},
      {"Save, rename refused", test::TCall::Rename, EACCES, 0, [](ToxRegVal& s) { s.Save(); }},
      {"SaveWindowPlacement, disk full", test::TCall::Write, ENOSPC, 0,
       [](ToxRegVal& s) {
         s.SaveWindowPlacement("frmMain", {1, 2, 3, 4, TWindowState::wsMaximized});
       }},
  };
  const std::string previous = "; mine\r\n[Booleans]\r\nrecurseDirs=1\r\n[Integers]\r\ncounterStart=9\r\n";
  for (const Row& row : rows) {
    WriteIni(previous);
    ToxRegVal store = AppStore();
    store.Load();
    store.SetBoolean("recurseDirs", false);
    store.SetString("path", std::string(100000, 'p'));
    test::TFaultySysCalls faults(row.call, row.error, row.succeedFirst);
    {
      sys::TScopedSysCalls seam(faults);
      try {
        row.write(store);
        ADD_FAILURE() << row.name << ": no error raised";
      } catch (const TProfileWriteError& error) {
        EXPECT_EQ(error.what(), "Unable to write to " + Ini()) << row.name;
      }
    }
    EXPECT_GE(faults.Failures(), 1) << row.name;
    EXPECT_EQ(ReadWholeFile(Ini()), previous) << row.name;
    EXPECT_EQ(EntriesInDir(), 1u) << row.name << ": temporary file left behind";
  }
}

TEST_F(ToxRegValTest, RestoreWindowPlacementAppliesWhatTheFileHolds) {
  constexpr TWindowPlacement kDesign{100, 50, 640, 480, TWindowState::wsNormal};
  struct Row {
    const char* name;
    std::string file;
    bool resize;
    TWindowPlacement expected;
    Strings messages;
  };
  const Row rows[] = {
      {"absent", "[Strings]\npath=/x\n", true, kDesign, {}},
      {"maximised",
       "[frmMain]\nLeft=10\nTop=20\nWidth=500\nHeight=300\nWinState=2\n",
       true,
       {10, 20, 500, 300, TWindowState::wsMaximized},
       {}},
      {"only Left and Top", "[frmMain]\nLeft=10\nTop=20\n", true, {10, 20, 640, 480, TWindowState::wsNormal}, {}},
      {"without resize",
       "[FRMMAIN]\nleft=-10\ntop=20\nwidth=500\nheight=300\n",
       false,
       {-10, 20, 640, 480, TWindowState::wsNormal},
       {}},
      {"minimised", "[frmMain]\nWinState=1\n", true, {100, 50, 640, 480, TWindowState::wsMinimized}, {}},
      {"unknown state ignored", "[frmMain]\nWinState=7\nWidth=33554431\n", true, kDesign, {}},
      {"beyond int counts as absent",
       "[frmMain]\nLeft=5000000000\nTop=7\n",
       true,
       {100, 7, 640, 480, TWindowState::wsNormal},
       {}},
      {"unreadable Left",
       "[frmMain]\nLeft=abc\nTop=7\n",
       true,
       {100, 7, 640, 480, TWindowState::wsNormal},
       {"Error reading Integer value \"frmMain\\Left\". Value = \"abc\". Value set to 33554431"}},
  };
  for (const Row& row : rows) {
    test::TTempDir dir;
    test::TRecordingMessages messages;
    ToxRegVal store = CreateAppSettings(messages, dir.Path());
    dir.WriteFile("quillex.ini", row.file);
    TWindowPlacement placement = kDesign;
    store.RestoreWindowPlacement("frmMain", placement, row.resize);
    EXPECT_EQ(placement, row.expected) << row.name;
    EXPECT_EQ(messages.messages, row.messages) << row.name;
  }
}

TEST_F(ToxRegValTest, SavedWindowPlacementComesBackAndKeepsTheRestOfTheFile) {
  WriteIni("[Strings]\npath=/x\n");
  ToxRegVal store = AppStore();
  const TWindowPlacement saved{-20, 30, 800, 600, TWindowState::wsMaximized};
  store.SaveWindowPlacement("frmMain", saved);
  EXPECT_EQ(ReadWholeFile(Ini()),
            "[Strings]\npath=/x\n\n[frmMain]\nLeft=-20\nTop=30\nWidth=800\nHeight=600\nWinState=2\n");
  TWindowPlacement restored;
  store.RestoreWindowPlacement("frmMain", restored);
  EXPECT_EQ(restored, saved);
}

TEST_F(ToxRegValTest, RegistryStorageIsNotProvidedSoNothingIsReadOrWritten) {
  WriteIni("[Integers]\ncounterStart=5\n[frmMain]\nLeft=1\n");
  ToxRegVal store = AppStore();
  store.SetUseRegistry(true);
  store.Load();
  EXPECT_EQ(store.GetInteger("counterStart"), 0);
  TWindowPlacement placement{100, 50, 640, 480, TWindowState::wsNormal};
  store.RestoreWindowPlacement("frmMain", placement);
  EXPECT_EQ(placement.left, 100);

  std::filesystem::remove(Ini());
  store.Save();
  store.SaveWindowPlacement("frmMain", placement);
  EXPECT_EQ(EntriesInDir(), 0u);
}

TEST_F(ToxRegValTest, IniSectionPrefixesEverySectionButNotTheMessages) {
  WriteIni("[Integers]\ncounterStart=1\n[Main\\Integers]\ncounterStart=abc\n");
  ToxRegVal store = AppStore();
  store.SetIniSection("Main");
  store.Load();
  EXPECT_EQ(m_messages.messages,
            Strings{"Error reading Integer value \"Integers\\counterStart\". Value = \"abc\". Value set to 0"});
  store.Save();
  store.SaveWindowPlacement("frmMain", {});
  const TProfileFile file(Ini());
  EXPECT_EQ(file.Read("Integers", "counterStart"), "1") << "the unprefixed section is someone else's";
  EXPECT_EQ(file.Read("Main\\Integers", "counterStart"), "0");
  EXPECT_EQ(file.Read("Main\\Booleans", "sort"), "1");
  EXPECT_EQ(file.Read("Main\\frmMain", "WinState"), "0");
  EXPECT_EQ(file.Read("Booleans", "sort"), std::nullopt);
}

}  // namespace
}  // namespace qx
