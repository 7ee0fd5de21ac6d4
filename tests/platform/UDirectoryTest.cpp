#include <gtest/gtest.h>
#include <linux/fs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/UDirectory.h"
#include "platform/USysCalls.h"
#include "platform/USystemError.h"
#include "support/UTempDir.h"
#include "support/UTree.h"

namespace qx {
namespace {

using Paths = std::vector<std::string>;

// Makes one folder behave as on a case-insensitive file system: a name finds the
// entry that differs only in case, and a rename onto such an entry reports EEXIST.
class TCaseInsensitiveFolder : public sys::TSysCalls {
 public:
  explicit TCaseInsensitiveFolder(std::string dir) : m_dir(std::move(dir)) {}
  int FstatAt(int dirFd, const char* path, struct stat* st, int flags) override {
    return TSysCalls::FstatAt(dirFd, Resolve(path).c_str(), st, flags);
  }
  int RenameAt2(int oldDir, const char* oldName, int newDir, const char* newName, unsigned flags) override {
    struct stat st;
    if ((flags & RENAME_NOREPLACE) && TSysCalls::FstatAt(newDir, Resolve(newName).c_str(), &st, 0) == 0) {
      errno = EEXIST;
      return -1;
    }
    return TSysCalls::RenameAt2(oldDir, oldName, newDir, newName, flags);
  }

 private:
  std::string Resolve(const char* name) const {
    for (const auto& entry : std::filesystem::directory_iterator(m_dir)) {
      const std::string found = entry.path().filename().string();
      if (strcasecmp(found.c_str(), name) == 0) return found;
    }
    return name;
  }
  std::string m_dir;
};

// A file system without no-replace renames: the flag is refused with EINVAL.
class TNoReplaceUnsupported : public sys::TSysCalls {
 public:
  int RenameAt2(int oldDir, const char* oldName, int newDir, const char* newName, unsigned flags) override {
    if (flags != 0) {
      errno = EINVAL;
      return -1;
    }
    return TSysCalls::RenameAt2(oldDir, oldName, newDir, newName, flags);
  }
};

TEST(UDirectoryTest, ARenameNeverReplacesAnEntry) {
  test::TTempDir dir;
  dir.WriteFile("a", "A");
  dir.WriteFile("b", "B");
  const TDirectory folder = TDirectory::Open(dir.Path());
  EXPECT_EQ(folder.RenameNoReplace("a", "b"), EEXIST);
  EXPECT_EQ(folder.RenameNoReplace("missing", "c"), ENOENT);
  EXPECT_EQ(folder.RenameNoReplace("a", "c"), 0);
  EXPECT_EQ(test::ListTree(dir.Path()), (Paths{"b", "c"}));

  TNoReplaceUnsupported unsupported;
  sys::TScopedSysCalls seam(unsupported);
  EXPECT_EQ(folder.RenameNoReplace("c", "b"), EEXIST) << "looked first where the kernel cannot refuse";
  EXPECT_EQ(folder.RenameNoReplace("c", "d"), 0);
  EXPECT_EQ(test::ListTree(dir.Path()), (Paths{"b", "d"}));
}

TEST(UDirectoryTest, ACaseOnlyRenameOnACaseInsensitiveFileSystemStepsThroughATemporaryName) {
  test::TTempDir dir;
  dir.WriteFile("photo.jpg", "1");
  dir.WriteFile("other.jpg", "2");
  const TDirectory folder = TDirectory::Open(dir.Path());
  TCaseInsensitiveFolder caseInsensitive(dir.Path());
  sys::TScopedSysCalls seam(caseInsensitive);
  EXPECT_EQ(folder.RenameNoReplace("photo.jpg", "PHOTO.JPG"), 0);
  EXPECT_EQ(folder.RenameNoReplace("PHOTO.JPG", "Other.JPG"), EEXIST) << "another entry is still never replaced";
  EXPECT_EQ(test::ListTree(dir.Path()), (Paths{"PHOTO.JPG", "other.jpg"}));
}

TEST(UDirectoryTest, ListingTellsFoldersFromFilesAndNeverFollowsLinks) {
  test::TTempDir dir;
  test::MakeTree(dir.Path(), {"f.txt", ".hidden", "sub/", ".hdir/"});
  ASSERT_EQ(symlink("sub", (dir / "link").c_str()), 0);
  const TDirectory folder = TDirectory::Open(dir.Path());
  std::vector<TDirEntry> entries = folder.List();
  std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
  ASSERT_EQ(entries.size(), 5u);
  const std::pair<const char*, bool> expected[] = {
      {".hdir", true}, {".hidden", false}, {"f.txt", false}, {"link", false}, {"sub", true}};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].name, expected[i].first);
    EXPECT_EQ(entries[i].isDirectory, expected[i].second) << entries[i].name;
  }
  EXPECT_EQ(folder.List().size(), 5u) << "a second listing starts from the beginning again";
  EXPECT_THROW(folder.OpenChild("link"), TSystemError);
  EXPECT_EQ(folder.OpenChild("sub").Path(), dir / "sub");
}

}  // namespace
}  // namespace qx
