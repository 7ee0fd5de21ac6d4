// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program as a process: the way a session ends it, and a start without a
// display.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "jobio/UJobIO.h"
#include "platform/UFiles.h"
#include "support/UChild.h"
#include "support/UMakeJob.h"
#include "support/URecordingMessages.h"
#include "support/UTempDir.h"

namespace qx {
namespace {

using namespace std::chrono_literals;

// A line of /proc/PID/status after its "Name:\t", or "" when the process is gone.
std::string StatusField(pid_t pid, const std::string& name) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with(name + ":\t")) return line.substr(name.size() + 2);
  }
  return "";
}

// Catching SIGTERM and asleep for a while: the event loop is running, so the first
// show's steps (the default job list read) are done.
bool WaitUntilIdleInTheEventLoop(pid_t pid) {
  int asleep = 0;
  for (auto waited = 0ms; waited < 30s && asleep < 5; waited += 100ms) {
    std::this_thread::sleep_for(100ms);
    const std::string caught = StatusField(pid, "SigCgt");
    const bool catchesTerm = !caught.empty() && (std::stoull(caught, nullptr, 16) & (1ull << (SIGTERM - 1))) != 0;
    asleep = catchesTerm && StatusField(pid, "State").starts_with("S") ? asleep + 1 : 0;
  }
  return asleep >= 5;
}

// The exit status, or nothing when the process is still running after `limit`.
std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds limit) {
  for (auto waited = 0ms; waited < limit; waited += 50ms) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return status;
    std::this_thread::sleep_for(50ms);
  }
  return std::nullopt;
}

TEST(UDesktopProcessTest, SigtermWritesTheJobListFirstAndEndsWithNoMessageWaiting) {
  // A copy in a writable folder keeps its settings beside itself.
  test::TTempDir dir;
  const std::string program = dir / "quillex";
  std::filesystem::copy_file(QX_QUILLEX_PROGRAM, program);
  std::filesystem::create_directory(dir / "quillex.ini");
  const std::vector<TJob> jobs = {test::MakeJob(TJobKind::jobLower, 0, 0, 0, "", "")};
  SaveJobListToXML(dir / "quillex_job_config.xml", jobs, "");

  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!freopen((dir / "stderr").c_str(), "w", stderr)) _exit(126);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  const bool ready = WaitUntilIdleInTheEventLoop(pid);
  kill(pid, SIGTERM);
  const auto status = WaitForExit(pid, 30s);
  if (!status) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  ASSERT_TRUE(ready);
  ASSERT_TRUE(status) << "still running 30 s after SIGTERM";
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << test::StatusText(*status);

  // Written again, in the encoding setting, although the settings could not be.
  EXPECT_NE(ReadWholeFile(dir / "quillex_job_config.xml").find("encoding=\"ISO-8859-1\""), std::string::npos);
  test::TRecordingMessages messages;
  EXPECT_EQ(LoadJobListFromXML(dir / "quillex_job_config.xml", messages), jobs);
  const std::string printed = ReadWholeFile(dir / "stderr");
  EXPECT_NE(printed.find("quillex: Unable to write to " + dir / "quillex.ini"), std::string::npos) << printed;
  EXPECT_TRUE(PathExists(dir / "quillex_last_close.txt"));
}

TEST(UDesktopProcessTest, WithoutADisplayItSaysSoAndExitsWithOne) {
  for (const char* platform : {"", "xcb"}) {
    test::TTempDir dir;
    const test::TChildEnd end = test::RunInChild([&]() -> std::string {
      for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"}) unsetenv(display);
      *platform ? setenv("QT_QPA_PLATFORM", platform, 1) : unsetenv("QT_QPA_PLATFORM");
      setenv("HOME", dir.Path().c_str(), 1);
      if (!freopen((dir / "stderr").c_str(), "w", stderr)) return "stderr cannot be redirected";
      execl(QX_QUILLEX_PROGRAM, QX_QUILLEX_PROGRAM, static_cast<char*>(nullptr));
      return "quillex cannot be started";
    });
    const std::string printed = ReadWholeFile(dir / "stderr");
    EXPECT_TRUE(WIFEXITED(end.status) && WEXITSTATUS(end.status) == 1)
        << "QT_QPA_PLATFORM=" << platform << ": " << test::StatusText(end.status) << " " << end.output;
    EXPECT_NE(printed.find("quillex: cannot connect to a display; use quillex-cli for the command line\n"),
              std::string::npos)
        << "QT_QPA_PLATFORM=" << platform << ": " << printed;
  }
}

}  // namespace
}  // namespace qx
