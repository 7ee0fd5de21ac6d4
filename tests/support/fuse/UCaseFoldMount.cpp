// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fuse/UCaseFoldMount.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/magic.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <vector>

#include "support/UChild.h"

namespace qx::test {

namespace {

// Starting and stopping take milliseconds; the limit only keeps a broken file system
// from hanging the suite.
constexpr auto kLimit = std::chrono::seconds(10);
constexpr auto kPollInterval = std::chrono::milliseconds(10);
constexpr const char* kFsName = "quillex-casefold-fs";

bool IsFuseMount(const std::string& path) {
  struct statfs st;
  return statfs(path.c_str(), &st) == 0 && st.f_type == FUSE_SUPER_MAGIC;
}

// A FUSE mount whose process has gone answers ENOTCONN at once; only unmounting clears it.
bool IsDeadMount(const std::string& path) {
  struct statfs st;
  return statfs(path.c_str(), &st) != 0 && errno == ENOTCONN;
}

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string_view rest = path != nullptr ? path : "";
  for (;;) {
    const std::size_t colon = rest.find(':');
    if (access((std::string(rest.substr(0, colon)) + "/" + program).c_str(), X_OK) == 0) return true;
    if (colon == std::string_view::npos) return false;
    rest.remove_prefix(colon + 1);
  }
}

std::vector<char*> Argv(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  return argv;
}

// True with its status once `pid` has ended; false when it is still running at the limit.
bool ReapWithinLimit(pid_t pid, int& status) {
  const auto deadline = std::chrono::steady_clock::now() + kLimit;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
  return true;
}

}  // namespace

TCaseFoldMount::TCaseFoldMount(TFolding folding) : m_backing(m_root / "backing"), m_mountPoint(m_root / "mount/") {
  if (mkdir(m_backing.c_str(), 0755) != 0 || mkdir(m_mountPoint.c_str(), 0755) != 0) {
    throw std::runtime_error("cannot make the folders to mount in " + m_root.Path());
  }
  const int device = open("/dev/fuse", O_RDWR | O_CLOEXEC);
  if (device < 0) {
    m_unavailable = std::string("FUSE is not available here: /dev/fuse: ") + std::strerror(errno);
    return;
  }
  close(device);
  // Without it the mount could not be taken down again.
  if (!OnPath("fusermount3")) throw std::runtime_error("fusermount3 is missing (scripts/install-deps.sh installs it)");

  std::vector<std::string> args{QX_CASEFOLD_FS_PATH, m_backing, m_mountPoint, "-f", "-s"};
  if (folding == TFolding::casefold) args.insert(args.begin() + 1, "--casefold");
  const std::vector<char*> argv = Argv(args);
  const pid_t parent = getpid();
  m_pid = fork();
  if (m_pid < 0) throw std::runtime_error(std::string("cannot start ") + kFsName + ": fork failed");
  if (m_pid == 0) {
    // Should the test process die without unmounting, SIGTERM makes libfuse unmount.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(1);
    execv(argv[0], argv.data());
    _exit(127);
  }
  if (const std::string failure = WaitUntilMounted(); !failure.empty()) {
    const std::string stopped = Stop();
    throw std::runtime_error(failure + (stopped.empty() ? "" : "; " + stopped));
  }
}

TCaseFoldMount::~TCaseFoldMount() {
  if (const std::string problem = Stop(); !problem.empty()) ADD_FAILURE() << problem;
}

std::string TCaseFoldMount::WaitUntilMounted() {
  const auto deadline = std::chrono::steady_clock::now() + kLimit;
  for (;;) {
    if (IsFuseMount(m_mountPoint)) {
      m_mounted = true;
      return "";
    }
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
      m_pid = -1;
      return std::string(kFsName) + " " + StatusText(status) + " before mounting " + m_mountPoint;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      return std::string(kFsName) + " did not mount " + m_mountPoint + " within the time limit";
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

std::string TCaseFoldMount::Stop() {
  std::string problem;
  if (m_pid > 0) {
    // A mount that is busy (a file left open in it) is detached instead and then serves
    // only what is open, so the file system is told to end; so is one that never mounted.
    // Told so, it exits with libfuse's code for that, which says nothing of its health.
    const bool toldToEnd = !(m_mounted && Unmount(false));
    if (toldToEnd) {
      if (m_mounted) Unmount(true);
      kill(m_pid, SIGTERM);
    }
    int status = 0;
    if (!ReapWithinLimit(m_pid, status)) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, &status, 0);
      problem = std::string(kFsName) + " did not end after unmounting and was killed";
    } else if (!WIFEXITED(status) || (!toldToEnd && WEXITSTATUS(status) != 0)) {
      problem = std::string(kFsName) + " " + StatusText(status);
    }
    m_pid = -1;
    m_mounted = false;
  }
  // Its process is gone, so a mount still here is dead and answers at once.
  if (IsDeadMount(m_mountPoint) && !Unmount(false)) {
    problem += (problem.empty() ? "" : "; ") + std::string("its dead mount stayed at ") + m_mountPoint;
  }
  return problem;
}

bool TCaseFoldMount::Unmount(bool lazily) const {
  std::vector<std::string> args{"fusermount3", "-u"};
  if (lazily) args.push_back("-z");
  args.push_back(m_mountPoint);
  const std::vector<char*> argv = Argv(args);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace qx::test
