// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/UFiles.h"
#include "platform/UProfileFile.h"
#include "platform/USysCalls.h"
#include "support/UFaultySysCalls.h"
#include "support/UTempDir.h"

namespace qx {
namespace {

constexpr std::optional<std::string> kAbsent = std::nullopt;

TEST(UProfileFileTest, ReadsAsAUserWouldExpect) {
  struct Row {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
  };
  const std::string longValue(3000, 'x');
  std::string longUtf8;
  for (int i = 0; i < 2100; ++i) longUtf8 += "\xC3\xA9";  // é
  const Row rows[] = {
      {"plain", "[Strings]\npath=/home/me\n", "Strings", "path", "/home/me"},
      {"section and key ignore case", "[STRINGS]\nPATH=/x\n", "strings", "Path", "/x"},
      {"non-ASCII names ignore case", "[Ärger]\nÖl=1\n", "ärger", "öL", "1"},
      {"blanks around = and the value", "[S]\n  key \t=\t value with blanks  \n", "S", "key", "value with blanks"},
      {"blanks around the header", "  [ S ]  trailing\nkey=1\n", "S", "key", "1"},
      {"= and ; inside the value", "[S]\nkey=a=b;c ; d\n", "S", "key", "a=b;c ; d"},
      {"comment is no key", "[S]\n;key=1\n  ; key=2\nkey=3\n", "S", "key", "3"},
      {"commented-out key only", "[S]\n;key=1\n", "S", "key", kAbsent},
      {"empty value", "[S]\nkey=\n", "S", "key", ""},
      {"blank value", "[S]\nkey=   \n", "S", "key", ""},
      {"double quotes removed", "[S]\nkey=\" padded \"\n", "S", "key", " padded "},
      {"single quotes removed", "[S]\nkey='x'\n", "S", "key", "x"},
      {"unmatched quotes kept", "[S]\nkey=\"x'\n", "S", "key", "\"x'"},
      {"lone quote kept", "[S]\nkey=\"\n", "S", "key", "\""},
      {"first of duplicate keys", "[S]\nkey=first\nKEY=second\n", "S", "key", "first"},
      {"key in a repeated section", "[S]\na=1\n[T]\nkey=t\n[s]\nkey=s\n", "S", "key", "s"},
      {"key of another section", "[T]\nkey=t\n[S]\nother=1\n", "S", "key", kAbsent},
      {"key before any section", "key=0\n[S]\n", "S", "key", kAbsent},
      {"missing section", "[T]\nkey=1\n", "S", "key", kAbsent},
      {"line without =", "[S]\nkey\n", "S", "key", kAbsent},
      {"header without ] is no header", "[S]\n[T\nkey=1\n", "S", "key", "1"},
      {"CR LF line ends", "[S]\r\nkey=value\r\nnext=2\r\n", "S", "key", "value"},
      {"CR LF empty value", "[S]\r\nkey=\r\n", "S", "key", ""},
      {"a lone CR closing the file", "[S]\nkey=value\r", "S", "key", "value"},
      {"no line end at the end", "[S]\nkey=last", "S", "key", "last"},
      {"byte-order mark", "\xEF\xBB\xBF[S]\nkey=1\n", "S", "key", "1"},
      {"backslash in the section name", "[Main\\Booleans]\nkey=1\n", "main\\booleans", "key", "1"},
      {"long value cut", "[S]\nkey=" + longValue + "\n", "S", "key", std::string(2047, 'x')},
      {"long value cut by characters", "[S]\nkey=" + longUtf8 + "\n", "S", "key", longUtf8.substr(0, 2 * 2047)},
      {"empty file", "", "S", "key", kAbsent},
  };
  for (const Row& row : rows) {
    test::TTempDir dir;
    const TProfileFile file(dir.WriteFile("a.ini", row.content));
    EXPECT_EQ(file.Read(row.section, row.key), row.expected) << row.name;
  }
}

TEST(UProfileFileTest, AMissingFileReadsEmptyAndIsNotCreatedWithoutAWrite) {
  test::TTempDir dir;
  TProfileFile file(dir / "a.ini");
  EXPECT_EQ(file.Read("S", "key"), kAbsent);
  file.Flush();
  EXPECT_FALSE(PathExists(dir / "a.ini"));
}

struct TWrite {
  const char* section;
  const char* key;
  std::string value;
};

TEST(UProfileFileTest, WritesChangeOnlyTheirLine) {
  struct Row {
    const char* name;
    std::string before;
    std::vector<TWrite> writes;
    std::string after;
  };
  const Row rows[] = {
      {"new file", "", {{"S", "key", "1"}, {"S", "b", ""}, {"T", "c", "x"}}, "[S]\nkey=1\nb=\n\n[T]\nc=x\n"},
      {"value replaced, name and spacing kept",
       "; settings\n[s]\n  KEY = old value  \nother=1\n",
       {{"S", "key", "new"}},
       "; settings\n[s]\n  KEY = new\nother=1\n"},
      {"same value leaves the line byte for byte",
       "[S]\n key =  \"v\"  \n",
       {{"S", "key", "v"}},
       "[S]\n key =  \"v\"  \n"},
      {"CR LF kept, new lines CR LF",
       "[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n",
       {{"S", "a", "9"}, {"S", "n", "new"}, {"U", "u", "3"}},
       "[S]\r\na=9\r\nn=new\r\n\r\n[T]\r\nb=2\r\n\r\n[U]\r\nu=3\r\n"},
      {"new key after the section's last key, before blank lines and comments",
       "[S]\na=1\n; about b\nb=2\n\n; next comes T\n[T]\nc=3\n",
       {{"s", "new", "4"}},
       "[S]\na=1\n; about b\nb=2\nnew=4\n\n; next comes T\n[T]\nc=3\n"},
      {"new key in an empty section", "[S]\n[T]\nc=3\n", {{"S", "new", "4"}}, "[S]\nnew=4\n[T]\nc=3\n"},
      {"new key goes to the first of repeated sections",
       "[S]\na=1\n[T]\n[S]\nb=2\n",
       {{"S", "new", "4"}, {"S", "b", "5"}},
       "[S]\na=1\nnew=4\n[T]\n[S]\nb=5\n"},
      {"first of duplicate keys replaced", "[S]\nk=1\nk=2\n", {{"S", "k", "3"}}, "[S]\nk=3\nk=2\n"},
      {"no line end at the end", "[S]\nk=1", {{"S", "n", "2"}}, "[S]\nk=1\nn=2\n"},
      // The CR closing the file ends the line: a line added after it keeps k's value.
      {"a lone CR at the end", "[S]\nk=1\r", {{"S", "n", "2"}}, "[S]\nk=1\nn=2\n"},
      {"a lone CR ends the only line", "k=1\r", {{"S", "n", "2"}}, "k=1\n\n[S]\nn=2\n"},
      {"new section after a last line without line end", "[S]\nk=1", {{"T", "n", "2"}}, "[S]\nk=1\n\n[T]\nn=2\n"},
      {"new section after a blank last line", "[S]\nk=1\n\n", {{"T", "n", "2"}}, "[S]\nk=1\n\n[T]\nn=2\n"},
      {"byte-order mark kept", "\xEF\xBB\xBF[S]\nk=1\n", {{"S", "k", "2"}}, "\xEF\xBB\xBF[S]\nk=2\n"},
      {"lines before the first section kept", "junk line\nk=0\n[S]\n", {{"S", "k", "1"}}, "junk line\nk=0\n[S]\nk=1\n"},
      {"names trimmed", "", {{" S ", " k ", "1"}}, "[S]\nk=1\n"},
      {"blanks and quotes protected by quotes",
       "[S]\na=1\n",
       {{"S", "a", " padded "}, {"S", "b", "\"q\""}, {"S", "c", "'"}, {"S", "d", "a=b;c"}},
       "[S]\na=\" padded \"\nb=\"\"q\"\"\nc='\nd=a=b;c\n"},
      {"a line break never adds a line",
       "[S]\nk=1\n[B]\nflag=0\n",
       {{"S", "k", "x\n[B]\nflag=1"}, {"S", "r", "y\r\nz"}},
       "[S]\nk=x\nr=y\n[B]\nflag=0\n"},
  };
  for (const Row& row : rows) {
    test::TTempDir dir;
    const std::string path = row.before.empty() ? dir / "a.ini" : dir.WriteFile("a.ini", row.before);
    TProfileFile file(path);
    for (const TWrite& write : row.writes) file.Write(write.section, write.key, write.value);
    file.Flush();
    EXPECT_EQ(PathExists(path) ? ReadWholeFile(path) : "", row.after) << row.name;
  }
}

TEST(UProfileFileTest, EveryValueWithoutALineBreakReadsBackAsWritten) {
  const std::string values[] = {"",    " ",  "  lead", "trail  ", "\"",       "\"\"",         "'x'",   "\"x\"",
                                "a=b", ";c", "[x]",    "\t tab",  "\xC3\xA9", "\xFF\xFE raw", "= \" ="};
  test::TTempDir dir;
  TProfileFile file(dir / "a.ini");
  for (std::size_t i = 0; i < std::size(values); ++i) file.Write("S", "k" + std::to_string(i), values[i]);
  file.Flush();
  const TProfileFile reread(dir / "a.ini");
  for (std::size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(reread.Read("S", "k" + std::to_string(i)), values[i]) << "value [" << values[i] << "]";
  }
}

TEST(UProfileFileTest, NamesTheFormatCannotHoldAreRefused) {
  struct Row {
    const char* section;
    const char* key;
  };
  const Row rows[] = {{"", "k"},    {"  ", "k"}, {"a]b", "k"}, {"a\nb", "k"}, {"S", ""},
                      {"S", "a=b"}, {"S", ";k"}, {"S", "[k"},  {"S", "a\rb"}};
  for (const Row& row : rows) {
    test::TTempDir dir;
    TProfileFile file(dir / "a.ini");
    EXPECT_THROW(file.Write(row.section, row.key, "1"), std::invalid_argument) << "[" << row.section << "] " << row.key;
    EXPECT_FALSE(file.IsModified()) << "[" << row.section << "] " << row.key;
  }
}

TEST(UProfileFileTest, AFailedWriteRaisesUnableToWriteAndKeepsThePreviousFile) {
  struct Row {
    const char* name;
    test::TCall call;
    int error;
    int succeedFirst;
  };
  const Row rows[] = {
      {"temporary file cannot be created", test::TCall::Open, EACCES, 1},  // the first open reads the file
      {"disk full part-way", test::TCall::Write, ENOSPC, 0},
      {"flush fails", test::TCall::Fsync, EIO, 0},
      {"rename refused", test::TCall::Rename, EPERM, 0},
  };
  const std::string previous = "[S]\r\nkey=old\r\n; comment\r\n";
  for (const Row& row : rows) {
    test::TTempDir dir;
    const std::string path = dir.WriteFile("a.ini", previous);
    test::TFaultySysCalls faults(row.call, row.error, row.succeedFirst);
    {
      sys::TScopedSysCalls seam(faults);
      TProfileFile file(path);
      file.Write("S", "key", std::string(100000, 'n'));
      try {
        file.Flush();
        ADD_FAILURE() << row.name << ": no error raised";
      } catch (const TProfileWriteError& error) {
        EXPECT_STREQ(error.what(), ("Unable to write to " + path).c_str()) << row.name;
        EXPECT_EQ(error.Errno(), row.error) << row.name;
      }
    }
    EXPECT_GE(faults.Failures(), 1) << row.name;
    EXPECT_EQ(ReadWholeFile(path), previous) << row.name;
  }
}

// Refuses to open `path` for reading, as a file without read permission would.
class TUnreadable : public sys::TSysCalls {
 public:
  explicit TUnreadable(std::string path) : m_path(std::move(path)) {}
  int OpenAt(int dirFd, const char* path, int flags, mode_t mode) override {
    if (m_path == path && (flags & O_ACCMODE) == O_RDONLY) {
      errno = EACCES;
      return -1;
    }
    return TSysCalls::OpenAt(dirFd, path, flags, mode);
  }

 private:
  std::string m_path;
};

TEST(UProfileFileTest, AFileThatCannotBeReadIsNeverReplaced) {
  test::TTempDir dir;
  const std::string previous = "[Other]\nprecious=1\n";
  const std::string path = dir.WriteFile("a.ini", previous);
  TUnreadable unreadable(path);
  {
    sys::TScopedSysCalls seam(unreadable);
    TProfileFile file(path);
    EXPECT_EQ(file.Read("Other", "precious"), kAbsent);
    file.Write("S", "key", "1");
    try {
      file.Flush();
      ADD_FAILURE() << "no error raised";
    } catch (const TProfileWriteError& error) {
      EXPECT_STREQ(error.what(), ("Unable to write to " + path).c_str());
      EXPECT_EQ(error.Errno(), EACCES);
    }
  }
  EXPECT_EQ(ReadWholeFile(path), previous);
}

TEST(UProfileFileTest, ADirectoryInPlaceOfTheFileIsNeitherReadNorReplaced) {
  test::TTempDir dir;
  ASSERT_EQ(::mkdir((dir / "a.ini").c_str(), 0755), 0);
  TProfileFile file(dir / "a.ini");
  file.Write("S", "key", "1");
  EXPECT_THROW(file.Flush(), TProfileWriteError);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "a.ini"));
}

TEST(UProfileFileTest, AMissingFolderIsCreatedByTheFirstWrite) {
  test::TTempDir dir;
  const std::string path = dir / "config/quillex/a.ini";
  TProfileFile file(path);
  file.Write("S", "key", "1");
  file.Flush();
  EXPECT_EQ(ReadWholeFile(path), "[S]\nkey=1\n");
  EXPECT_FALSE(file.IsModified());
}

}  // namespace
}  // namespace qx
