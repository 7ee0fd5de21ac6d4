// Times a run through the desktop program itself: the real main window, offscreen,
// opened on a folder with a job list and settings, from the click on Go until the
// result is on screen (the progress window finished, the tree window drawn).
//   quillex-ui-bench CONFIG_DIR TREE_DIR     prints the seconds on stdout
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>
#include <iostream>

#include "ui/UDialogRunner.h"
#include "ui/UfrmMain.h"

namespace {

// A benchmark must never wait for a person: messages go to stderr, questions get No.
class TStderrMessages : public qx::TMessageHost {
 public:
  void ShowMessage(const std::string& text) override { std::cerr << text << '\n'; }
  bool Confirm(const std::string& text) override {
    std::cerr << text << " -> No\n";
    return false;
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::cerr << "usage: quillex-ui-bench CONFIG_DIR TREE_DIR\n";
    return 2;
  }
  TStderrMessages messages;
  qx::TQtDialogRunner dialogs;
  qx::TfrmMain window(messages, dialogs, {argv[1], argv[1], {argv[2]}});
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  QCoreApplication::processEvents();  // the first-show steps: the folder, the job list

  auto* go = window.findChild<QAbstractButton*>("btnGo");
  QElapsedTimer timer;
  timer.start();
  go->click();
  QCoreApplication::processEvents();  // what the run left to draw
  std::printf("%.3f\n", static_cast<double>(timer.nsecsElapsed()) / 1e9);
  return 0;
}
