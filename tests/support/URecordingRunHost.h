// SPDX-License-Identifier: GPL-3.0-or-later
// A run host that records every log line, message, question and progress update,
// answers questions from a script, and asks the run to stop after a number of updates.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "rename/URenameRun.h"
#include "support/URecordingMessages.h"

namespace qx::test {

class TRecordingRunHost : public TRecordingMessagesOf<TRunHost> {
 public:
  void AddLogLine(const std::string& line) override { log.push_back(line); }
  void SetCurrentItem(const std::string& item) override {
    items.push_back(item);
    if (onEnter) onEnter(item);
  }
  void UpdateProgress(const TRunState& state) override { progress.push_back(state.Progress); }
  bool CancelRequested() override {
    return cancelAfterUpdates >= 0 && static_cast<int>(progress.size()) >= cancelAfterUpdates;
  }

  std::vector<std::string> log, items;
  std::vector<double> progress;
  int cancelAfterUpdates = -1;
  std::function<void(const std::string&)> onEnter;  // called as each folder is entered
};

}  // namespace qx::test
