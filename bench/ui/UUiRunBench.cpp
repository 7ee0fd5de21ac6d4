// SPDX-License-Identifier: GPL-3.0-or-later
// Times the desktop program itself: the real main window, offscreen, opened on a folder
// with a job list and settings.
//   quillex-ui-bench CONFIG_DIR TREE_DIR     a run: from the click on Go until the result
//       is on screen (the progress window finished, the tree window drawn), and from there
//       until the window has nothing left to do: no event, timer or reading pending; and
//       the longest the window's event loop went without a pass until the result was on
//       screen. Prints "GO_SECONDS IDLE_SECONDS STALL_SECONDS".
//   quillex-ui-bench preview CONFIG_DIR TREE_DIR     the details view's New name column:
//       from a change of the counter start until the column is complete for it, and the
//       longest the window's event loop went without a pass meanwhile (a 1 ms timer's
//       longest wait, up to a moment after the column is drawn). Prints
//       "COMPLETE_SECONDS STALL_SECONDS".
//   quillex-ui-bench rows CONFIG_DIR TREE_DIR     the window opened on TREE_DIR's parent,
//       then TREE_DIR chosen in the folder tree as a click does: until the file list's rows
//       are in, until the New name column is complete, the longest the window's event loop
//       went without a pass meanwhile, and the peak resident memory above the window's
//       before the click, in bytes. Prints "ROWS_SECONDS COLUMN_SECONDS STALL_SECONDS BYTES".
//   quillex-ui-bench startup CONFIG_DIR TREE_DIR     from the start of main (before Qt
//       starts) until the window is exposed, and until it is idle with the folder read.
//       Prints "SHOWN_SECONDS IDLE_SECONDS".
#include <sys/resource.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QThreadPool>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "ui/UWindowMessages.h"
#include "ui/browse/UFileList.h"
#include "ui/browse/UFileListModel.h"
#include "ui/browse/UFolderTree.h"
#include "ui/dialogs/UDialogRunner.h"
#include "ui/main/UfrmMain.h"
#include "ui/run/URunController.h"

namespace {

// A benchmark must never wait for a person: messages go to stderr, questions get No.
class TStderrMessages : public qx::TWindowMessages {
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

constexpr int kLimitMs = 60'000;

// QTest's wait sleeps 10 ms between its looks, too coarse for timing a start.
bool WaitUntilExposed(const QWidget& window) {
  QElapsedTimer waited;
  waited.start();
  while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
    if (waited.elapsed() > kLimitMs) return false;
    QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents);
  }
  return true;
}

double Seconds(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e9; }

// The longest time between two passes of the event loop while it lives: a timer due every
// millisecond, and the longest wait between its calls.
class TStallWatch {
 public:
  TStallWatch() {
    m_tick.setTimerType(Qt::PreciseTimer);
    m_tick.setInterval(1);
    QObject::connect(&m_tick, &QTimer::timeout, [this] {
      m_longest = std::max(m_longest, m_since.nsecsElapsed());
      m_since.restart();
    });
    m_since.start();
    m_tick.start();
  }
  double LongestSeconds() const { return static_cast<double>(m_longest) / 1e9; }

 private:
  QTimer m_tick;
  QElapsedTimer m_since;
  qint64 m_longest = 0;  // ns
};

int Run(qx::TfrmMain& window) {
  auto* go = window.findChild<QAbstractButton*>("btnGo");
  QSignalSpy finished(&window.Runs(), &qx::TRunController::RunFinished);
  QElapsedTimer timer;
  double stall = 0;
  {
    // Only while the run lasts: its ticks would keep the window from ever being idle.
    const TStallWatch stalls;
    timer.start();
    go->click();
    if (!finished.wait(kLimitMs)) return 1;
    QCoreApplication::processEvents();  // what the run left to draw
    stall = stalls.LongestSeconds();
  }
  const double toResult = Seconds(timer);
  timer.restart();
  WaitUntilIdle();
  std::printf("%.3f %.3f %.3f\n", toResult, Seconds(timer), stall);
  return 0;
}

int Preview(qx::TfrmMain& window) {
  auto* list = window.findChild<qx::TFileList*>();
  auto* counter = window.findChild<QSpinBox*>("edtCounter");
  // The settings show the details view, so its first column was made while the window
  // came up.
  if (list->ViewStyle() != 3) {
    std::cerr << "quillex-ui-bench: the settings must show the details view (viewStyle=3)\n";
    return 2;
  }
  QSignalSpy previewed(list, &qx::TFileList::NamesPreviewed);
  const TStallWatch stalls;
  QElapsedTimer timer;
  timer.start();
  counter->setValue(counter->value() + 1);
  if (!previewed.wait(kLimitMs)) return 1;
  const double complete = Seconds(timer);
  // The column drawn, and whatever its arrival set going; in an event loop of its own,
  // since QTest::qWait sleeps between its passes.
  QEventLoop settle;
  QTimer::singleShot(200, &settle, &QEventLoop::quit);
  settle.exec();
  std::printf("%.3f %.3f\n", complete, stalls.LongestSeconds());
  return 0;
}

// Resident memory now, and the most it has been, in bytes.
long ResidentBytes() {
  long pages = 0;
  long resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * sysconf(_SC_PAGESIZE);
}
long PeakResidentBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024;
}

int Rows(qx::TfrmMain& window, const char* tree) {
  auto* folders = window.findChild<qx::TFolderTree*>();
  auto* model = window.findChild<qx::TFileListModel*>();
  QSignalSpy read(model, &qx::TFileListModel::FolderRead);
  QSignalSpy previewed(model, &qx::TFileListModel::NamesPreviewed);
  const long before = ResidentBytes();
  const TStallWatch stalls;
  QElapsedTimer timer;
  timer.start();
  if (!folders->SelectPath(tree)) return 1;
  if (!read.wait(kLimitMs)) return 1;
  QCoreApplication::processEvents();  // the rows drawn
  const double rows = Seconds(timer);
  if (previewed.isEmpty() && !previewed.wait(kLimitMs)) return 1;
  const double column = Seconds(timer);
  QEventLoop settle;  // the column drawn, as Preview waits for it
  QTimer::singleShot(200, &settle, &QEventLoop::quit);
  settle.exec();
  std::printf("%.3f %.3f %.3f %ld\n", rows, column, stalls.LongestSeconds(), PeakResidentBytes() - before);
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  QElapsedTimer sinceMain;
  sinceMain.start();
  QApplication app(argc, argv);
  const std::string_view mode = argc == 4 ? argv[1] : "run";
  if (argc != 3 && !(argc == 4 && (mode == "preview" || mode == "rows" || mode == "startup"))) {
    std::cerr << "usage: quillex-ui-bench [preview|rows|startup] CONFIG_DIR TREE_DIR\n";
    return 2;
  }
  const char* config = argv[argc - 2];
  const char* tree = argv[argc - 1];
  TStderrMessages messages;
  qx::TQtDialogRunner dialogs;
  // The rows' window opens on the folder above the tree, which it is to choose.
  const std::string opened = mode == "rows" ? std::filesystem::path(tree).parent_path().string() : tree;
  qx::TfrmMain window(messages, dialogs, {config, config, {opened}});
  window.show();
  if (!WaitUntilExposed(window)) return 1;
  const double shown = Seconds(sinceMain);
  // The first-show steps (the folder, the job list) and the first reading of the folder.
  WaitUntilIdle();
  if (mode == "startup") {
    std::printf("%.3f %.3f\n", shown, Seconds(sinceMain));
    return 0;
  }
  if (mode == "rows") return Rows(window, tree);
  return mode == "preview" ? Preview(window) : Run(window);
}
