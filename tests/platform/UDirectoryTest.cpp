// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>

#include "platform/UDirectory.h"
#include "platform/UFiles.h"
#include "platform/USysCalls.h"
#include "platform/USystemError.h"
#include "support/UFaultySysCalls.h"
#include "support/UTempDir.h"
#include "support/UTree.h"
#include "support/fuse/UCaseFoldMount.h"

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

// A file system without no-replace renames: the flag is refused with EINVAL; with
// `unreadable`, looking up that name fails with EIO.
class TNoReplaceUnsupported : public sys::TSysCalls {
 public:
  explicit TNoReplaceUnsupported(std::string unreadable = "") : m_unreadable(std::move(unreadable)) {}
  int FstatAt(int dirFd, const char* path, struct stat* st, int flags) override {
    if (path == m_unreadable) {
      errno = EIO;
      return -1;
    }
    return TSysCalls::FstatAt(dirFd, path, st, flags);
  }
  int RenameAt2(int oldDir, const char* oldName, int newDir, const char* newName, unsigned flags) override {
    if (flags != 0) {
      errno = EINVAL;
      return -1;
    }
    return TSysCalls::RenameAt2(oldDir, oldName, newDir, newName, flags);
  }

 private:
  std::string m_unreadable;
};

// The errno a rename fails with, 0 when it succeeds.
int RenameError(const TDirectory& folder, const std::string& from, const std::string& to,
                TRenameRecorder* recorder = nullptr) {
  try {
    folder.RenameNoReplace(from, to, recorder);
    return 0;
  } catch (const TSystemError& error) {
    return error.Errno();
  }
}

// Keeps the steps it is told of, as an undo file would.
class TStepLog : public TRenameRecorder {
 public:
  void Record(std::span<const TRenameStep> told) override {
    ++records;
    for (const TRenameStep& step : told) steps.push_back(step.from + ">" + step.to);
  }
  void Forget(std::size_t count) override { steps.resize(steps.size() - count); }
  Paths steps;
  int records = 0;
};

TEST(UDirectoryTest, ARenameNeverReplacesAnEntry) {
  test::TTempDir dir;
  dir.WriteFile("a", "A");
  dir.WriteFile("b", "B");
  const TDirectory folder = TDirectory::Open(dir.Path());
  EXPECT_EQ(RenameError(folder, "a", "b"), EEXIST);
  EXPECT_EQ(RenameError(folder, "missing", "c"), ENOENT);
  EXPECT_EQ(RenameError(folder, "a", "c"), 0);
  EXPECT_EQ(test::ListTree(dir.Path()), (Paths{"b", "c"}));

  TNoReplaceUnsupported unsupported;
  sys::TScopedSysCalls seam(unsupported);
  EXPECT_EQ(RenameError(folder, "c", "b"), EEXIST) << "looked first where the kernel cannot refuse";
  EXPECT_EQ(RenameError(folder, "c", "d"), 0);
  EXPECT_EQ(test::ListTree(dir.Path()), (Paths{"b", "d"}));

  TNoReplaceUnsupported blind("b");
  sys::TScopedSysCalls blindSeam(blind);
  EXPECT_EQ(RenameError(folder, "d", "b"), EIO) << "a target that cannot be looked up may be there";
  EXPECT_EQ(test::ListTree(dir.Path()), (Paths{"b", "d"}));
  EXPECT_EQ(ReadWholeFile(dir / "b"), "B");
}

TEST(UDirectoryTest, ACaseOnlyRenameOnACaseInsensitiveFileSystemStepsThroughATemporaryName) {
  test::TTempDir dir;
  dir.WriteFile("photo.jpg", "1");
  dir.WriteFile("other.jpg", "2");
  const TDirectory folder = TDirectory::Open(dir.Path());
  TCaseInsensitiveFolder caseInsensitive(dir.Path());
  sys::TScopedSysCalls seam(caseInsensitive);
  TStepLog log;
  EXPECT_EQ(RenameError(folder, "photo.jpg", "PHOTO.JPG", &log), 0);
  EXPECT_EQ(log.steps, (Paths{"photo.jpg>.quillex-case-0", ".quillex-case-0>PHOTO.JPG"})) << "both steps recorded";
  EXPECT_EQ(RenameError(folder, "PHOTO.JPG", "Other.JPG"), EEXIST) << "another entry is still never replaced";
  EXPECT_EQ(test::ListTree(dir.Path()), (Paths{"PHOTO.JPG", "other.jpg"}));
}

TEST(UDirectoryTest, ATwoStepRenameThatCannotFinishIsPutBackOrNamesWhereTheEntryWasLeft) {
  // A target that is another link to the same file sends the rename through the
  // temporary name, and the second step finds the target taken.
  for (const bool putBackFails : {false, true}) {
    test::TTempDir dir;
    dir.WriteFile("a", "A");
    ASSERT_EQ(link((dir / "a").c_str(), (dir / "b").c_str()), 0);
    const TDirectory folder = TDirectory::Open(dir.Path());
    test::TFaultySysCalls failPutBack(test::TCall::Rename, EIO, 2);
    std::optional<sys::TScopedSysCalls> seam;
    if (putBackFails) seam.emplace(failPutBack);
    TStepLog log;
    try {
      folder.RenameNoReplace("a", "b", &log);
      ADD_FAILURE() << "the target is taken";
    } catch (const TSystemError& error) {
      EXPECT_EQ(error.Errno(), EEXIST);
      EXPECT_EQ(error.Reason().find(".quillex-case-0") != std::string::npos, putBackFails) << error.Reason();
    }
    const Paths expected = putBackFails ? Paths{".quillex-case-0", "b"} : Paths{"a", "b"};
    EXPECT_EQ(test::ListTree(dir.Path()), expected) << putBackFails;
    // What is recorded takes the entry back to "a" from wherever it was left.
    EXPECT_EQ(log.steps, putBackFails ? Paths{"a>.quillex-case-0"} : Paths{}) << putBackFails;
  }
}

TEST(UDirectoryTest, ABatchIsRecordedInOneGoAndOnlyItsStepsThatWereMadeStayRecorded) {
  struct Row {
    const char* what;
    Paths before;
    std::vector<TRenameStep> steps;
    Paths after, recorded;
    std::vector<std::pair<std::size_t, int>> failures;  // step, errno
    int records;                                        // times the recorder was told
    bool ignoresCase = false;
  };
  const Row rows[] = {
      {"every step made", {"a", "b"}, {{"a", "x"}, {"b", "y"}}, {"x", "y"}, {"a>x", "b>y"}, {}, 1},
      {"a step in the middle fails",
       {"a", "b", "c", "d"},
       {{"a", "x"}, {"b", "c"}, {"d", "z"}},
       {"b", "c", "x", "z"},
       {"a>x", "d>z"},
       {{1, EEXIST}},
       2},
      {"the first and the last fail",
       {"a", "b", "t"},
       {{"m", "n"}, {"a", "x"}, {"b", "t"}},
       {"b", "t", "x"},
       {"a>x"},
       {{0, ENOENT}, {2, EEXIST}},
       2},
      {"a change of case where case is ignored goes through a temporary name",
       {"a", "photo.jpg"},
       {{"photo.jpg", "PHOTO.JPG"}, {"a", "b"}},
       {"PHOTO.JPG", "b"},
       {"photo.jpg>.quillex-case-0", ".quillex-case-0>PHOTO.JPG", "a>b"},
       {},
       4,
       true},
  };
  for (const Row& row : rows) {
    test::TTempDir dir;
    test::MakeTree(dir.Path(), row.before);
    const TDirectory folder = TDirectory::Open(dir.Path());
    TCaseInsensitiveFolder caseInsensitive(dir.Path());
    std::optional<sys::TScopedSysCalls> seam;
    if (row.ignoresCase) seam.emplace(caseInsensitive);
    TStepLog log;
    std::vector<std::pair<std::size_t, int>> failures;
    folder.RenameAll(row.steps, log,
                     [&](std::size_t step, const TSystemError& error) { failures.emplace_back(step, error.Errno()); });
    seam.reset();
    EXPECT_EQ(test::ListTree(dir.Path()), row.after) << row.what;
    EXPECT_EQ(log.steps, row.recorded) << row.what;
    EXPECT_EQ(failures, row.failures) << row.what;
    EXPECT_EQ(log.records, row.records) << row.what;
  }
}

TEST(UDirectoryTest, AListingThatFailsPartWayIsAnErrorNotAShortList) {
  test::TTempDir dir;
  test::MakeTree(dir.Path(), {"a", "b", "c"});
  const TDirectory folder = TDirectory::Open(dir.Path());
  test::TFaultySysCalls failing(test::TCall::ReadDir, EIO, 2);
  sys::TScopedSysCalls seam(failing);
  try {
    folder.List();
    ADD_FAILURE() << "the listing failed";
  } catch (const TSystemError& error) {
    EXPECT_EQ(error.Errno(), EIO);
    EXPECT_EQ(error.Path(), dir.Path());
  }
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

// A run chooses how many folders to take at once by this: a file system in user space
// stands for a share, the temporary folder's disk is local.
TEST(UDirectoryTest, AFuseFolderIsRemoteALocalOneIsNot) {
  test::TTempDir local;
  EXPECT_FALSE(TDirectory::Open(local.Path()).IsRemote());
  test::TCaseFoldMount mount;
  if (!mount.Available()) GTEST_SKIP() << mount.Unavailable();
  EXPECT_TRUE(TDirectory::Open(mount.Path()).IsRemote());
}

}  // namespace
}  // namespace qx
