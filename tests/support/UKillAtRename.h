// SPDX-License-Identifier: GPL-3.0-or-later
// A system-call seam that kills its own process at the Nth rename, just before making it
// or just after it returns, so a run in a forked child (RunInChild) stops at an exact
// step. It also counts the renames and keeps their names, to choose the moments from.
#pragma once

#include <signal.h>
#include <unistd.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/USysCalls.h"
#include "support/URecordingMessages.h"

namespace qx::test {

class TKillAtRename : public sys::TSysCalls {
 public:
  // With `killAt` 0 it never kills, it only counts.
  TKillAtRename(int killAt, bool afterTheCall) : m_killAt(killAt), m_afterTheCall(afterTheCall) {}

  int RenameAt2(int oldDir, const char* oldName, int newDir, const char* newName, unsigned flags) override {
    bool killsHere = false;
    {
      // A run over several folders at once renames from several threads.
      const std::lock_guard lock(m_mutex);
      renames.emplace_back(oldName, newName);
      killsHere = static_cast<int>(renames.size()) == m_killAt;
    }
    if (killsHere && !m_afterTheCall) kill(getpid(), SIGKILL);
    const int result = TSysCalls::RenameAt2(oldDir, oldName, newDir, newName, flags);
    if (killsHere) kill(getpid(), SIGKILL);
    return result;
  }

  std::vector<std::pair<std::string, std::string>> renames;  // from, to; failed ones too

 private:
  int m_killAt;
  bool m_afterTheCall;
  std::mutex m_mutex;
};

// The messages of `undo` (UndoDirectory or UndoTree) over `root`, answered Yes, when it
// failed anywhere; "" when it did not: what a test after a kill expects to be empty.
template <class TUndo>
std::string UndoFailures(TUndo undo, const std::string& root) {
  TRecordingMessages messages;
  messages.answers = {true};
  if (undo(root, messages).errors == 0) return "";
  std::string text;
  for (const std::string& message : messages.messages) text += "\n  " + message;
  return text;
}

}  // namespace qx::test
