// SPDX-License-Identifier: GPL-3.0-or-later
// quillex: the desktop program. Starts the main window with the command line as it
// came, byte for byte (--help and --version alone aside), and closes it properly on
// log-off and on SIGTERM.
#include <QApplication>
#include <QSessionManager>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "UVersion.h"
#include "app/UTermSignal.h"
#include "platform/UAppPaths.h"
#include "platform/UDirectory.h"
#include "ui/UQtMessages.h"
#include "ui/dialogs/UDialogRunner.h"
#include "ui/main/UfrmMain.h"

namespace {

constexpr const char* kUsage =
    "Usage: quillex [FOLDER | PATH...]\n"
    "Quillex renames many files at once. This is its desktop program; quillex-cli is its\n"
    "command line.\n"
    "\n"
    "Opens the main window on FOLDER; given a file, or several files and folders, shows\n"
    "exactly those entries, which Go then renames (a name that starts with a dash is\n"
    "given as ./NAME).\n"
    "\n"
    "Options:\n"
    "  -h, --help     Print this help and exit\n"
    "  --version      Print the version and exit\n"
    "\n"
    "Qt's own options, such as -platform NAME or -style NAME, are taken too.\n";

// Answered before Qt starts, so that they work without a display (manual pages and
// packaging tools read them). Only as the one argument: anything else is the folder.
bool AnsweredQuery(int argc, char* argv[]) {
  if (argc != 2) return false;
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::cout << kUsage;
  } else if (std::strcmp(argv[1], "--version") == 0) {
    std::cout << "Quillex " << qx::kVersionText << '\n';
  } else {
    return false;
  }
  return true;
}

QtMessageHandler g_qtMessages = nullptr;

// Qt aborts when its window system cannot start, with a core dump and advice to
// reinstall; before the first window, that means no display could be reached.
void StartUpMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) return g_qtMessages(type, context, message);
  std::fputs("quillex: cannot connect to a display; use quillex-cli for the command line\n", stderr);
  std::_Exit(1);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (AnsweredQuery(argc, argv)) return 0;
  // A run over a very deep tree holds one folder handle per level.
  qx::RaiseOpenFileLimit();
  g_qtMessages = qInstallMessageHandler(StartUpMessage);
  QApplication app(argc, argv);
  qInstallMessageHandler(g_qtMessages);
  QApplication::setApplicationName(qx::kApplicationTitle);
  // Ties the windows to the menu entry (and its icon) on Wayland and in task bars.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.quillex.quillex"));

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
