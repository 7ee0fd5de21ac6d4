// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/UChild.h"

#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <iostream>
#include <stdexcept>

namespace qx::test {

namespace {

void WriteAll(int fd, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t written = write(fd, text.data() + done, text.size() - done);
    if (written <= 0) return;
    done += static_cast<std::size_t>(written);
  }
}

}  // namespace

TChildEnd RunInChild(const std::function<std::string()>& work, unsigned guardSeconds) {
  int channel[2];
  if (pipe(channel) != 0) throw std::runtime_error("pipe failed");
  // The child must not write our buffered output a second time.
  std::cout.flush();
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    close(channel[0]);
    alarm(guardSeconds);
    int code = 0;
    std::string output;
    try {
      output = work();
    } catch (const std::exception& error) {
      output = std::string("exception: ") + error.what();
      code = 1;
    }
    WriteAll(channel[1], output);
    _exit(code);  // no destructors or atexit handlers of the test process
  }
  close(channel[1]);
  TChildEnd end;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(channel[0], buffer, sizeof buffer);
    if (got > 0) {
      end.output.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  close(channel[0]);
  waitpid(pid, &end.status, 0);
  return end;
}

std::string StatusText(int status) {
  if (WIFEXITED(status)) return "exited with " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) {
    return "killed by signal " + std::to_string(WTERMSIG(status)) + " (" + strsignal(WTERMSIG(status)) + ")";
  }
  return "status " + std::to_string(status);
}

}  // namespace qx::test
