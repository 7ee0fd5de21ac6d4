// Times a run through the desktop program itself: the real main window, offscreen,
// opened on a folder with a job list and settings, from the click on Go until the
// result is on screen (the progress window finished, the tree window drawn), and from
// there until the window has nothing left to do: no event, timer or reading pending.
//   quillex-ui-bench CONFIG_DIR TREE_DIR     prints "GO_SECONDS IDLE_SECONDS" on stdout
#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThreadPool>
#include <cstdio>
#include <iostream>

#include "ui/dialogs/UDialogRunner.h"
#include "ui/main/UfrmMain.h"

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

// Idle: a pass of the event loop that finds nothing to do while no reading runs on
// another thread. Several such passes in a row, since a finished reading posts its
// result and a batched layout re-arms a zero timer.
void WaitUntilIdle() {
  constexpr int kQuietPasses = 3;
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  for (int quiet = 0; quiet < kQuietPasses;) {
    const bool worked = dispatcher->processEvents(QEventLoop::AllEvents);
    const bool reading = QThreadPool::globalInstance()->activeThreadCount() > 0;
    quiet = worked || reading ? 0 : quiet + 1;
    if (reading) QThreadPool::globalInstance()->waitForDone(1);
  }
}

double Seconds(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e9; }

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
  // The first-show steps (the folder, the job list) and the first reading of the folder.
  WaitUntilIdle();

  auto* go = window.findChild<QAbstractButton*>("btnGo");
  QElapsedTimer timer;
  timer.start();
  go->click();
  QCoreApplication::processEvents();  // what the run left to draw
  const double toResult = Seconds(timer);
  timer.restart();
  WaitUntilIdle();
  std::printf("%.3f %.3f\n", toResult, Seconds(timer));
  return 0;
}
