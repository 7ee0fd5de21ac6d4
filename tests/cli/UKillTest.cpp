// Kills quillex-cli in the middle of real runs and checks that Undo in every folder
// brings back exactly the original names: no rename may ever be missing from an undo
// file. QX_KILL_ROUNDS sets the number of kills (a few by default, 50 or more for the
// long version).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <thread>

#include "jobio/UJobIO.h"
#include "rename/UUndo.h"
#include "support/UMakeJob.h"
#include "support/UTempDir.h"
#include "support/UTree.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class TAlwaysYes : public TMessageHost {
 public:
  void ShowMessage(const std::string&) override {}
  bool Confirm(const std::string&) override { return true; }
};

std::vector<std::string> OriginalPaths() {
  std::vector<std::string> paths;
  for (int folder = 0; folder < 4; ++folder) {
    const std::string dir = "Folder " + std::to_string(folder) + "/";
    paths.push_back(dir + "Inner/");
    for (int file = 0; file < 400; ++file) {
      paths.push_back(dir + "IMG_" + std::to_string(file) + ".JPG");
      if (file % 20 == 0) paths.push_back(dir + "Inner/scan " + std::to_string(file) + ".png");
    }
  }
  return paths;
}

pid_t StartRun(const std::string& jobs, const std::string& config, const std::string& root) {
  std::cout.flush();  // the child must not write our buffered output a second time
  const pid_t pid = fork();
  if (pid == 0) {
    freopen("/dev/null", "w", stdout);
    freopen("/dev/null", "w", stderr);
    execl(QX_CLI_PATH, "quillex-cli", "--config-dir", config.c_str(), "run", "--jobs", jobs.c_str(), "--recurse",
          "--rename-dirs", "--undo", "--sort", "none", root.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

// Undo in every folder, deepest first, so each parent takes back its subfolders'
// renames after they have taken back their own.
void UndoEverywhere(const std::string& root) {
  std::vector<std::string> folders = {root};
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    if (it->is_directory()) folders.push_back(it->path().string());
  }
  std::sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) {
    return std::count(a.begin(), a.end(), '/') > std::count(b.begin(), b.end(), '/');
  });
  TAlwaysYes yes;
  for (const std::string& folder : folders) {
    if (fs::exists(folder + "/_quillex_undo.txt")) UndoDirectory(folder, yes);
  }
}

TEST(UKillTest, UndoAfterAKillRestoresEveryName) {
  test::TTempDir dir;
  const std::string jobs = dir / "jobs.xml";
  ASSERT_TRUE(SaveJobListToXML(jobs, {test::MakeJob(TJobKind::jobInsert, 0, 0, 0, "renamed ")}, ""));
  fs::create_directory(dir / "config");
  const std::vector<std::string> original = OriginalPaths();
  std::vector<std::string> expected = original;
  for (int folder = 0; folder < 4; ++folder) expected.push_back("Folder " + std::to_string(folder) + "/");
  std::sort(expected.begin(), expected.end());

  // How long an uninterrupted run takes sets the range of the kill moments.
  const std::string root = dir / "root";
  test::MakeTree(root, original);
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  waitpid(StartRun(jobs, dir / "config", root), &status, 0);
  const auto fullRun = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  UndoEverywhere(root);
  ASSERT_EQ(test::ListTree(root), expected);

  const char* roundsSetting = std::getenv("QX_KILL_ROUNDS");
  const int rounds = roundsSetting ? std::atoi(roundsSetting) : 4;
  std::mt19937 random(std::random_device{}());
  const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(fullRun).count();
  int interrupted = 0;  // kills that left some names changed and some not
  for (int round = 0; round < rounds; ++round) {
    fs::remove_all(root);
    test::MakeTree(root, original);
    const long delay = std::uniform_int_distribution<long>(0, std::max<long>(1, micros))(random);
    const pid_t pid = StartRun(jobs, dir / "config", root);
    std::this_thread::sleep_for(std::chrono::microseconds(delay));
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    const std::vector<std::string> killed = test::ListTree(root);
    const auto renamed = std::count_if(killed.begin(), killed.end(), [](std::string path) {
      if (path.back() == '/') path.pop_back();
      return fs::path(path).filename().string().rfind("renamed ", 0) == 0;
    });
    if (renamed > 0 && renamed < static_cast<long>(expected.size())) ++interrupted;
    UndoEverywhere(root);
    ASSERT_EQ(test::ListTree(root), expected) << "round " << round << ", killed after " << delay << " us";
  }
  std::cout << interrupted << " of " << rounds << " kills landed in the middle of a run\n";
}

}  // namespace
}  // namespace qx
