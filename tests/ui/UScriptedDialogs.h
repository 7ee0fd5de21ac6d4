// SPDX-License-Identifier: GPL-3.0-or-later
// A dialog runner for tests: each modal dialog is handed to the next scripted step,
// which works its controls and says OK or Cancel; file dialogs answer from a queue.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/dialogs/UDialogRunner.h"

namespace qx::test {

class TScriptedDialogs : public TDialogRunner {
 public:
  using TStep = std::function<bool(QDialog&)>;

  // A dialog without a step left is cancelled and counted in `unexpected`.
  bool Exec(QDialog& dialog) override;
  // Records the request; answers from `files`, Cancel once they run out.
  std::optional<std::string> ChooseJobListFile(TJobListFileDialog which, QWidget* parent,
                                               const std::string& startDir) override;
  // Records the address; opens nothing.
  void OpenUrl(const QUrl& url) override;

  std::deque<TStep> steps;
  std::deque<std::optional<std::string>> files;
  std::vector<std::pair<TJobListFileDialog, std::string>> fileRequests;
  std::vector<std::string> openedUrls;
  std::vector<std::string> shownDialogs;  // class names, in order
  int unexpected = 0;
};

// A step that presses OK, or Cancel, without touching anything.
TScriptedDialogs::TStep PressOk();
TScriptedDialogs::TStep PressCancel();

}  // namespace qx::test
