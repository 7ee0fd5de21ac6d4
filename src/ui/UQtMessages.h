// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's answer to TMessageHost: message boxes titled "Quillex" over
// the active window, or over a window that stays on top (a run's progress window) while
// one shows, so that it never hides a box. Says nothing itself; every text comes from
// its caller.
#pragma once

#include <QMessageBox>
#include <QPointer>

#include "platform/UMessages.h"

namespace qx {

inline constexpr QLatin1StringView kApplicationTitle("Quillex");

class TQtMessages : public TMessageHost {
 public:
  void ShowMessage(const std::string& text) override;
  // Yes and No only.
  bool Confirm(const std::string& text) override;
  // The reason on a line of its own, under the text, in the same box.
  void ShowFailure(const std::string& text, const std::string& reason) override;

  // A run's boxes do not block the other windows: the progress window's Cancel, closing
  // the main window and SIGTERM must reach the program while one waits (the run's
  // commands are off meanwhile). Yes, No, Yes to All and Cancel; Esc and the title
  // bar's close mean No.
  TRenameAnswer AskRename(const std::string& question) override;
  // OK, Ignore All and Cancel; Esc and the title bar's close mean OK.
  TFailureAnswer ShowRunFailure(const std::string& text, const std::string& reason) override;
  // Answers the open run box as Esc would.
  void Dismiss() override;

 private:
  // Shows the box without blocking and waits, in an event loop of its own, for its
  // answer; the escape button's when it is dismissed or goes with its parent.
  QMessageBox::StandardButton WaitForAnswer(QMessageBox* box);

  QPointer<QMessageBox> m_open;
};

}  // namespace qx
