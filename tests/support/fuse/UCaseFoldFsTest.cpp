// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/UDirectory.h"
#include "platform/USystemError.h"
#include "support/UTree.h"
#include "support/fuse/UCaseFoldMount.h"

namespace qx::test {
namespace {

using Paths = std::vector<std::string>;
// Acts in a folder of the mount (its path, ending in '/'); says what came of it.
using TAction = std::function<std::string(const std::string& folder)>;

std::string Error(int error) { return std::strerror(error); }
std::string Outcome(int rc) { return rc == 0 ? "ok" : Error(errno); }

TAction Stat(std::string name) {
  return [=](const std::string& folder) {
    struct stat st;
    return Outcome(lstat((folder + name).c_str(), &st));
  };
}
// The entry's size, mode or modification time after `change`, read under `readAs`.
TAction Changed(std::function<int(const std::string&)> change, std::string readAs,
                std::function<long(const struct stat&)> field) {
  return [=](const std::string& folder) {
    struct stat st;
    if (change(folder) != 0 || lstat((folder + readAs).c_str(), &st) != 0) return Error(errno);
    return std::to_string(field(st));
  };
}
// Looks `name` up, makes `made`, then looks `name` up again.
TAction StatMakeStat(std::string name, std::string made) {
  return [=](const std::string& folder) {
    struct stat st;
    const std::string before = Outcome(lstat((folder + name).c_str(), &st));
    std::ofstream(folder + made, std::ios::binary);
    return before + ", then " + Outcome(lstat((folder + name).c_str(), &st));
  };
}
TAction CreateExclusive(std::string name) {
  return [=](const std::string& folder) {
    const int fd = open((folder + name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    const std::string outcome = Outcome(fd < 0 ? -1 : 0);
    if (fd >= 0) close(fd);
    return outcome;
  };
}
TAction WriteThenRead(std::string writeAs, std::string readAs) {
  return [=](const std::string& folder) {
    std::ofstream(folder + writeAs, std::ios::binary) << "abc";  // opens the entry there
    std::ostringstream content;
    content << std::ifstream(folder + readAs, std::ios::binary).rdbuf();
    return content.str();
  };
}
TAction Rename(std::string from, std::string to, unsigned flags) {
  return [=](const std::string& folder) {
    return Outcome(renameat2(AT_FDCWD, (folder + from).c_str(), AT_FDCWD, (folder + to).c_str(), flags));
  };
}
TAction MakeFolder(std::string name) {
  return [=](const std::string& folder) { return Outcome(mkdir((folder + name).c_str(), 0755)); };
}
TAction Remove(std::string name, int flags) {
  return [=](const std::string& folder) { return Outcome(unlinkat(AT_FDCWD, (folder + name).c_str(), flags)); };
}
TAction HardLink(std::string from, std::string to) {
  return [=](const std::string& folder) { return Outcome(link((folder + from).c_str(), (folder + to).c_str())); };
}
TAction SymLinkThenRead(std::string name, std::string readAs) {
  return [=](const std::string& folder) {
    char content[64] = {};
    if (symlink("target", (folder + name).c_str()) != 0 ||
        readlink((folder + readAs).c_str(), content, sizeof content - 1) < 0) {
      return Error(errno);
    }
    return std::string(content);
  };
}

class TCaseFoldFsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!m_mount.Available()) GTEST_SKIP() << m_mount.Unavailable();
  }
  // A fresh folder of the mount per row, made of `paths`.
  std::string RowFolder(std::size_t row, const Paths& paths) {
    const std::string folder = m_mount / ("row" + std::to_string(row) + "/");
    std::filesystem::create_directory(folder);
    MakeTree(folder, paths);
    return folder;
  }
  TCaseFoldMount m_mount;
};

// What the tests of case rules rely on: names are found under any case and listed in
// the case they were made with, and nothing takes the name of another entry's case.
TEST_F(TCaseFoldFsTest, NamesIgnoreCaseAndKeepTheirOwn) {
  const int kNoReplace = RENAME_NOREPLACE;
  const auto size = [](const struct stat& st) { return static_cast<long>(st.st_size); };
  const auto mode = [](const struct stat& st) { return static_cast<long>(st.st_mode & 0777); };
  const auto modified = [](const struct stat& st) { return static_cast<long>(st.st_mtime); };
  struct TRow {
    const char* what;
    Paths before;
    TAction action;
    std::string expected;
    Paths after;
  };
  const std::vector<TRow> rows = {
      {"a file is found under another case", {"Photo.JPG"}, Stat("photo.jpg"), "ok", {"Photo.JPG"}},
      {"a name no case matches is absent", {"Photo.JPG"}, Stat("photo.png"), Error(ENOENT), {"Photo.JPG"}},
      {"letters beyond ASCII ignore case", {"Über.txt"}, Stat("üBER.TXT"), "ok", {"Über.txt"}},
      {"a name absent a moment ago is found once made under another case",
       {},
       StatMakeStat("photo.jpg", "Photo.JPG"),
       Error(ENOENT) + ", then ok",
       {"Photo.JPG"}},
      {"an exclusive create under another case",
       {"Photo.JPG"},
       CreateExclusive("PHOTO.jpg"),
       Error(EEXIST),
       {"Photo.JPG"}},
      {"content written under one case is read under another",
       {"Photo.JPG"},
       WriteThenRead("photo.jpg", "PHOTO.JPG"),
       "abc",
       {"Photo.JPG"}},
      {"no-replace rename onto another file's case",
       {"a.txt", "B.txt"},
       Rename("a.txt", "b.TXT", kNoReplace),
       Error(EEXIST),
       {"B.txt", "a.txt"}},
      {"no-replace rename onto itself under another case",
       {"Photo.JPG"},
       Rename("Photo.JPG", "photo.jpg", kNoReplace),
       Error(EEXIST),
       {"Photo.JPG"}},
      {"plain rename onto itself under another case",
       {"Photo.JPG"},
       Rename("Photo.JPG", "photo.jpg", 0),
       "ok",
       {"photo.jpg"}},
      {"plain rename onto another file's case replaces it",
       {"a.txt", "B.txt"},
       Rename("a.txt", "b.TXT", 0),
       "ok",
       {"b.TXT"}},
      {"a folder and what it holds are found under another case",
       {"Docs/Note.txt"},
       Stat("DOCS/note.TXT"),
       "ok",
       {"Docs/", "Docs/Note.txt"}},
      {"a folder made under another case", {"Docs/"}, MakeFolder("docs"), Error(EEXIST), {"Docs/"}},
      {"no-replace rename onto another folder's case",
       {"a/", "B/"},
       Rename("a", "b", kNoReplace),
       Error(EEXIST),
       {"B/", "a/"}},
      {"no-replace folder rename onto itself under another case",
       {"Docs/"},
       Rename("Docs", "DOCS", kNoReplace),
       Error(EEXIST),
       {"Docs/"}},
      {"plain folder rename onto itself under another case",
       {"Docs/Note.txt"},
       Rename("Docs", "docs", 0),
       "ok",
       {"docs/", "docs/Note.txt"}},
      {"unlink under another case", {"Photo.JPG"}, Remove("PHOTO.jpg", 0), "ok", {}},
      {"rmdir under another case", {"Docs/"}, Remove("DOCS", AT_REMOVEDIR), "ok", {}},
      {"a hard link onto another file's case",
       {"a.txt", "B.txt"},
       HardLink("a.txt", "b.txt"),
       Error(EEXIST),
       {"B.txt", "a.txt"}},
      {"a hard link made from another case", {"a.txt"}, HardLink("A.TXT", "c.txt"), "ok", {"a.txt", "c.txt"}},
      {"a symbolic link read under another case", {}, SymLinkThenRead("Link", "LINK"), "target", {"Link"}},
      {"truncate under another case",
       {"Photo.JPG"},
       Changed([](const std::string& f) { return truncate((f + "photo.jpg").c_str(), 5); }, "PHOTO.JPG", size),
       "5",
       {"Photo.JPG"}},
      {"chmod under another case",
       {"Photo.JPG"},
       Changed([](const std::string& f) { return chmod((f + "photo.jpg").c_str(), 0600); }, "PHOTO.JPG", mode),
       std::to_string(0600),
       {"Photo.JPG"}},
      {"modification time set under another case",
       {"Photo.JPG"},
       Changed(
           [](const std::string& f) {
             const struct timespec times[2] = {{1000, 0}, {1000, 0}};
             return utimensat(AT_FDCWD, (f + "photo.jpg").c_str(), times, AT_SYMLINK_NOFOLLOW);
           },
           "PHOTO.JPG", modified),
       "1000",
       {"Photo.JPG"}},
  };
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TRow& row = rows[i];
    const std::string folder = RowFolder(i, row.before);
    EXPECT_EQ(row.action(folder), row.expected) << row.what;
    EXPECT_EQ(ListTree(folder), row.after) << row.what;
  }
}

// Quillex's own no-replace rename changes the case here, through its temporary name.
TEST_F(TCaseFoldFsTest, QuillexRenameChangesOnlyTheCase) {
  struct TRow {
    Paths before;
    std::string from, to, expected;
    Paths after;
  };
  const std::vector<TRow> rows = {
      {{"Photo.JPG"}, "photo.jpg", "PHOTO.JPG", "ok", {"PHOTO.JPG"}},
      {{"Docs/Note.txt"}, "docs", "DOCS", "ok", {"DOCS/", "DOCS/Note.txt"}},
      {{"a.txt", "B.txt"}, "a.txt", "b.TXT", Error(EEXIST), {"B.txt", "a.txt"}},
  };
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TRow& row = rows[i];
    const std::string folder = RowFolder(i, row.before);
    std::string outcome = "ok";
    try {
      TDirectory::Open(folder).RenameNoReplace(row.from, row.to);
    } catch (const TSystemError& error) {
      outcome = Error(error.Errno());
    }
    EXPECT_EQ(outcome, row.expected) << row.from << " -> " << row.to;
    EXPECT_EQ(ListTree(folder), row.after) << row.from << " -> " << row.to;
  }
}

bool IsMounted(const std::string& mountPoint) {
  std::ifstream mounts("/proc/self/mounts");
  const std::string field = " " + mountPoint.substr(0, mountPoint.size() - 1) + " ";
  for (std::string line; std::getline(mounts, line);) {
    if (line.find(field) != std::string::npos) return true;
  }
  return false;
}

// The mount goes with the object, even while a file in it is still open.
TEST(TCaseFoldMountTest, LeavesNoMountBehind) {
  for (const bool leaveFileOpen : {false, true}) {
    std::string mountPoint;
    int fd = -1;
    {
      TCaseFoldMount mount;
      if (!mount.Available()) GTEST_SKIP() << mount.Unavailable();
      mountPoint = mount.Path();
      ASSERT_TRUE(IsMounted(mountPoint));
      if (leaveFileOpen) fd = open((mount / "open.txt").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
      ASSERT_EQ(fd >= 0, leaveFileOpen) << std::strerror(errno);
    }
    if (fd >= 0) close(fd);
    EXPECT_FALSE(IsMounted(mountPoint)) << (leaveFileOpen ? "a file left open" : "nothing open");
  }
}

}  // namespace
}  // namespace qx::test
