// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's answer to TWindowMessages: message boxes titled "Quillex" over
// the active window, or over a window that stays on top (a run's progress window) while
// one shows, so that it never hides a box. Says nothing itself; every text comes from
// its caller.
#pragma once

#include <QMessageBox>
#include <QPointer>

#include "ui/UWindowMessages.h"

namespace qx {

inline constexpr QLatin1StringView kApplicationTitle("Quillex");

class TQtMessages : public TWindowMessages {
 public:
  // The window's own messages: modal boxes.
  void ShowMessage(const std::string& text) override;
  // Yes and No only.
  bool Confirm(const std::string& text) override;
  // The reason on a line of its own, under the text, in the same box.
  void ShowFailure(const std::string& text, const std::string& reason) override;

  // The boxes of work on another thread do not block the other windows: the progress
  // window's Cancel, closing the main window and SIGTERM must reach the program while
  // one is open (the commands that would disturb the work are off meanwhile). Esc and
  // the title bar's close mean OK, No, No, and OK.
  void ShowMessageThen(const std::string& text, TSeen seen) override;
  void ConfirmThen(const std::string& text, TAnswered<bool> answered) override;
  void ShowFailureThen(const std::string& text, const std::string& reason, TSeen seen) override;
  // Yes, No, Yes to All and Cancel.
  void AskRenameThen(const std::string& question, TAnswered<TRenameAnswer> answered) override;
  // OK, Ignore All and Cancel.
  void ShowRunFailureThen(const std::string& text, const std::string& reason,
                          TAnswered<TFailureAnswer> answered) override;
  // Answers the open box of such work as Esc would.
  void Dismiss() override;

 private:
  // Shows the box without blocking; `answered` gets the button, the escape button's
  // when the box is dismissed or goes with its parent.
  void Open(QMessageBox* box, TAnswered<QMessageBox::StandardButton> answered);

  QPointer<QMessageBox> m_open;
};

}  // namespace qx
