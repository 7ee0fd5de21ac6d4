// SPDX-License-Identifier: GPL-3.0-or-later
// Runs part of a test in a forked child, so that the test outlives what that part
// provokes: a call that would block for ever, or a process that kills itself.
#pragma once

#include <functional>
#include <string>

namespace qx::test {

struct TChildEnd {
  int status = 0;      // as waitpid gives it
  std::string output;  // what `work` returned; empty when it did not return
};

// Forks; the child runs `work`, hands its result back through a pipe and exits. An
// alarm ends a child still running after `guardSeconds`, so a regression that blocks
// fails the test instead of hanging the suite.
TChildEnd RunInChild(const std::function<std::string()>& work, unsigned guardSeconds = 60);

// "exited with 0", "killed by signal 9 (Killed)", for failure messages.
std::string StatusText(int status);

}  // namespace qx::test
