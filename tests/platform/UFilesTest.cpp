// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/UFiles.h"
#include "platform/USystemError.h"
#include "support/UFaultySysCalls.h"
#include "support/UTempDir.h"

namespace qx {
namespace {

using test::TCall;

std::size_t EntriesIn(const std::string& dir) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(UFilesTest, ReplaceCreatesTheFileOrReplacesItKeepingItsPermissions) {
  test::TTempDir dir;
  const std::string path = dir / "list.xml";
  ReplaceFileAtomically(path, "first");
  EXPECT_EQ(ReadWholeFile(path), "first");

  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ReplaceFileAtomically(path, std::string(100000, 'x'));
  EXPECT_EQ(ReadWholeFile(path), std::string(100000, 'x'));
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(EntriesIn(dir.Path()), 1u) << "no temporary file may be left behind";
}

TEST(UFilesTest, ALinkStaysALinkAndItsTargetIsReplaced) {
  test::TTempDir dir;
  std::filesystem::create_directory(dir / "dotfiles");
  const std::string target = dir.WriteFile("dotfiles/quillex.ini", "old");
  ASSERT_EQ(::symlink(target.c_str(), (dir / "quillex.ini").c_str()), 0);
  ReplaceFileAtomically(dir / "quillex.ini", "new");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "quillex.ini"));
  EXPECT_EQ(ReadWholeFile(target), "new");
  EXPECT_EQ(EntriesIn(dir / "dotfiles"), 1u) << "the temporary file went where the target lives";
}

TEST(UFilesTest, AFailureAnywhereLeavesThePreviousFileByteForByteAndNoTemporaryFile) {
  struct Row {
    const char* name;
    TCall call;
    int error;
    int succeedFirst;
  };
  const Row rows[] = {
      {"cannot create the temporary file", TCall::Open, EACCES, 0},
      {"disk full part-way through", TCall::Write, ENOSPC, 0},
      {"flush fails", TCall::Fsync, EIO, 0},
      {"close reports a delayed write error", TCall::Close, EIO, 0},
      {"rename refused", TCall::Rename, EACCES, 0},
  };
  const std::string previous = "previous content\r\nline two\r\n";
  for (const Row& row : rows) {
    test::TTempDir dir;
    const std::string path = dir.WriteFile("settings.ini", previous);
    test::TFaultySysCalls faults(row.call, row.error, row.succeedFirst);
    {
      sys::TScopedSysCalls seam(faults);
      try {
        ReplaceFileAtomically(path, std::string(200000, 'n'));
        ADD_FAILURE() << row.name << ": no error raised";
      } catch (const TSystemError& error) {
        EXPECT_EQ(error.Errno(), row.error) << row.name;
      }
    }
    EXPECT_GE(faults.Failures(), 1) << row.name;
    EXPECT_EQ(ReadWholeFile(path), previous) << row.name;
    EXPECT_EQ(EntriesIn(dir.Path()), 1u) << row.name << ": temporary file left behind";
  }
}

TEST(UFilesTest, ReadingAMissingFileNamesItAndItsReason) {
  test::TTempDir dir;
  try {
    ReadWholeFile(dir / "missing.xml");
    ADD_FAILURE() << "no error raised";
  } catch (const TSystemError& error) {
    EXPECT_EQ(error.Errno(), ENOENT);
    EXPECT_EQ(error.Path(), dir / "missing.xml");
    EXPECT_NE(std::string(error.what()).find("missing.xml"), std::string::npos);
  }
}

TEST(UFilesTest, WritingIntoAMissingFolderSaysTheFolderIsMissing) {
  test::TTempDir dir;
  try {
    ReplaceFileAtomically(dir / "nowhere/jobs.xml", "x");
    ADD_FAILURE() << "no error raised";
  } catch (const TSystemError& error) {
    EXPECT_EQ(error.Reason(), "the folder " + dir / "nowhere/" + " does not exist");
  }
  EXPECT_FALSE(PathExists(dir / "nowhere")) << "a file's write makes no folder";
}

TEST(UFilesTest, DirectoryOfKeepsTheTrailingSeparator) {
  EXPECT_EQ(DirectoryOf("/home/me/list.xml"), "/home/me/");
  EXPECT_EQ(DirectoryOf("list.xml"), "");
  EXPECT_EQ(DirectoryOf("/list.xml"), "/");
}

}  // namespace
}  // namespace qx

namespace qx {
namespace {

// Whatever stands where a settings file or a job list is expected, reading it never
// blocks and never takes more than the limit: it is the file's content or an error.
TEST(UFilesTest, AWholeFileReadRefusesWhatIsNoFileOrTooLarge) {
  test::TTempDir dir;
  alarm(20);  // a read that blocks fails the test instead of hanging it
  struct Row {
    const char* what;
    std::function<void(const std::string&)> make;
    int error;  // 0: read
  };
  const Row rows[] = {
      {"a regular file", [&](const std::string& p) { dir.WriteFile(p.substr(dir.Path().size()), "x=1"); }, 0},
      {"a FIFO", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }, EINVAL},
      {"a folder", [](const std::string& p) { std::filesystem::create_directory(p); }, EISDIR},
      {"a link to a character device", [](const std::string& p) { ASSERT_EQ(symlink("/dev/zero", p.c_str()), 0); },
       EINVAL},
      {"larger than the limit",
       [](const std::string& p) {
         std::ofstream{p};
         std::filesystem::resize_file(p, kWholeFileLimit + 1);  // sparse: nothing is written
       },
       EFBIG},
  };
  int n = 0;
  for (const Row& row : rows) {
    const std::string path = dir / ("entry" + std::to_string(n++));
    row.make(path);
    try {
      EXPECT_EQ(ReadWholeFile(path), "x=1") << row.what;
      EXPECT_EQ(row.error, 0) << row.what;
    } catch (const TSystemError& error) {
      EXPECT_EQ(error.Errno(), row.error) << row.what << ": " << error.what();
    }
  }
  alarm(0);
}

}  // namespace
}  // namespace qx
