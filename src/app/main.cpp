// SPDX-License-Identifier: GPL-3.0-or-later
// quillex: the desktop program. Starts the main window with the command line as it
// came, byte for byte, and closes it properly on log-off and on SIGTERM.
#include <QApplication>
#include <QSessionManager>
#include <string>
#include <vector>

#include "app/UTermSignal.h"
#include "platform/UAppPaths.h"
#include "platform/UDirectory.h"
#include "ui/UQtMessages.h"
#include "ui/dialogs/UDialogRunner.h"
#include "ui/main/UfrmMain.h"

int main(int argc, char* argv[]) {
  // A run over a very deep tree holds one folder handle per level.
  qx::RaiseOpenFileLimit();
  QApplication app(argc, argv);
  QApplication::setApplicationName(qx::kApplicationTitle);

  qx::TQtMessages messages;
  qx::TQtDialogRunner dialogs;
  // QApplication has taken out its own options; what is left is ours.
  std::vector<std::string> arguments(argv + 1, argv + argc);
  qx::TfrmMain window(messages, dialogs, {qx::SettingsDir(), qx::ProgramDir(), std::move(arguments)});

  QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                   [&window] { window.SaveOnExit(qx::TfrmMain::TClosing::bySession); });
  qx::TTermSignal term([&window] { window.EndSession(); });
  window.show();
  return QApplication::exec();
}
