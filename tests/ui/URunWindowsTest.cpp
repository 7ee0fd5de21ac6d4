// SPDX-License-Identifier: GPL-3.0-or-later
// The run's windows driven by real runs over temporary trees: the tree window after a
// simulation, the log across runs, Cancel, how a run ended, the gauge, the run's boxes
// (over the progress window) and what stops a run while one is open, the file list
// during a run, closing during a run, and Undo.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeView>
#include <QWindow>
#include <QtTest>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "UUiTestSupport.h"
#include "platform/UFiles.h"
#include "rename/UUndo.h"
#include "support/UMakeJob.h"
#include "support/URecordingMessages.h"
#include "support/UTempDir.h"
#include "support/UTree.h"
#include "ui/UMainWindowHarness.h"
#include "ui/UQtMessages.h"
#include "ui/browse/UFileList.h"
#include "ui/run/URunController.h"
#include "ui/run/UfrmLog.h"
#include "ui/run/UfrmProgress.h"
#include "ui/run/UfrmTree.h"

using namespace Qt::StringLiterals;

namespace qx {

using Paths = std::vector<std::string>;

// Long enough for any run here, on a loaded machine too; a run that hangs fails.
constexpr int kLongest = 60'000;

class URunWindowsTest : public QObject {
  Q_OBJECT

 private:
  // One controller per test, over a fresh tree.
  struct THarness {
    test::TTempDir dir;
    std::string root = dir.Path() + "root";
    test::TWindowRecording messages;
    TfrmLog log;
    QWidget window;
    std::vector<bool> busy;
    std::vector<bool> holds;
    TRunController controller{window, messages, log, [this](bool on) { busy.push_back(on); },
                              [this](bool hold) { holds.push_back(hold); }};
    TJobList jobs;
    TRunOptions options;

    explicit THarness(const Paths& tree) {
      test::MakeTree(root, tree);
      options.startDirectory = root;
    }
    ~THarness() {
      delete controller.ProgressWindow();
      delete controller.TreeWindow();
    }
  };

  // Go, then the window's events until the run has ended: its figures and how it ended.
  static std::pair<TRunState, TRunEnd> GoAndWait(TRunController& controller, const TJobList& jobs,
                                                 const TRunOptions& options) {
    QSignalSpy finished(&controller, &TRunController::RunFinished);
    controller.Go(jobs, options);
    if (!finished.wait(kLongest)) qFatal("the run does not end");
    return {finished[0][0].value<TRunState>(), finished[0][1].value<TRunEnd>()};
  }
  static std::pair<TRunState, TRunEnd> GoAndWait(THarness& h) { return GoAndWait(h.controller, h.jobs, h.options); }

  static QStringList TreeTexts(QTreeView& view, const QModelIndex& parent = QModelIndex(), int depth = 0) {
    QStringList lines;
    for (int row = 0; row < view.model()->rowCount(parent); ++row) {
      const QModelIndex index = view.model()->index(row, 0, parent);
      lines << QString(2 * depth, ' ') + index.data().toString();
      lines << TreeTexts(view, index, depth + 1);
    }
    return lines;
  }

 private slots:
  void aSimulationFillsTheTreeExpandedOneLevel() {
    THarness h({"xa.txt", "ya.txt", "keep.txt", "sub/deep/f.txt"});
    h.jobs.AddNew(test::MakeJob(TJobKind::jobRemove, 0, 1));
    h.options.simulate = h.options.recurseDirs = h.options.renameDirs = true;
    GoAndWait(h);

    TfrmTree* tree = h.controller.TreeWindow();
    QVERIFY(tree != nullptr);
    auto* view = test::Child<QTreeView>(*tree, "tvSim");
    QCOMPARE(TreeTexts(*view), (QStringList{QString::fromStdString(h.root), "  ub", "    eep", "      .txt",
                                            "  eep.txt", "  a.txt", "  a.txt (was \"ya.txt\")"}));
    const QModelIndex root = view->model()->index(0, 0);
    QVERIFY(view->isExpanded(root));
    QVERIFY(!view->isExpanded(view->model()->index(0, 0, root)));
    QCOMPARE(view->currentIndex(), root);
    QCOMPARE(test::Child<QLabel>(*tree, "lblResult")->text(), QString("3 files and 2 directories have been renamed."));
    QCOMPARE(h.busy, (std::vector<bool>{true, false}));
    // Nothing changed on disk: the explorer keeps its folders and is not read again.
    QCOMPARE(h.holds, std::vector<bool>{});
    QCOMPARE(test::ListTree(h.root), (Paths{"keep.txt", "sub/", "sub/deep/", "sub/deep/f.txt", "xa.txt", "ya.txt"}));

    GoAndWait(h);
    QCOMPARE(h.controller.TreeWindow(), tree);  // a second simulation reuses the window
    // Helper windows never keep the program alive once the main window has closed.
    QVERIFY(!tree->testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(!h.log.testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(!h.controller.ProgressWindow()->testAttribute(Qt::WA_QuitOnClose));
  }

  void theLogGathersRunsUntilClearedAndIndentsByLevel() {
    THarness h({"a.txt", "s/b.txt"});
    h.jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
    h.options.simulate = h.options.recurseDirs = true;
    h.options.log = true;
    GoAndWait(h);
    QVERIFY(h.log.isVisible());
    const QString first = h.log.Text();
    QVERIFY(first.contains("\n   > Changing to s\n"));
    QVERIFY(first.contains("\n   * Renaming file b.txt\n"));
    GoAndWait(h);
    QCOMPARE(h.log.Text().count("Starting Renaming in"), 2);

    test::Child<QPushButton>(h.log, "btnClearLog")->click();
    QCOMPARE(h.log.Text(), QString());
    test::Child<QPushButton>(h.log, "btnOK")->click();
    QVERIFY(!h.log.isVisible());

    h.options.log = false;
    GoAndWait(h);
    QCOMPARE(h.log.Text(), QString());
    QVERIFY(!h.log.isVisible());
  }

  void cancelStopsAtTheNextEntryAndTheWindowSwitchesToClose() {
    THarness h({"a.txt", "b.txt", "s1/c.txt", "s2/d.txt"});
    h.jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
    h.options.recurseDirs = true;
    // Pressed while the run waits at its first question.
    h.options.confirm = true;
    h.messages.whileOpen = [&h] { test::Child<QPushButton>(*h.controller.ProgressWindow(), "btnCancel")->click(); };
    const auto [state, end] = GoAndWait(h);
    QVERIFY(state.Cancelled);
    QCOMPARE(end, TRunEnd::Cancelled);
    // Let go of while the files changed, read again however the run ended.
    QCOMPARE(h.holds, (std::vector<bool>{true, false}));
    QCOMPARE(test::ListTree(h.root), (Paths{"a.txt", "b.txt", "s1/", "s1/c.txt", "s2/", "s2/d.txt"}));
    TfrmProgress* progress = h.controller.ProgressWindow();
    QVERIFY(!test::Child<QPushButton>(*progress, "btnCancel")->isVisibleTo(progress));
    QVERIFY(test::Child<QPushButton>(*progress, "btnClose")->isVisibleTo(progress));
    QCOMPARE(test::Child<QLabel>(*progress, "lblOutcome")->text(), QString("Cancelled"));
    // The window serves the next run, which completes.
    h.messages.whileOpen = nullptr;
    h.options.confirm = false;
    GoAndWait(h);
    QCOMPARE(h.controller.ProgressWindow(), progress);
    QCOMPARE(test::Child<QLabel>(*progress, "lblOutcome")->text(), QString());
  }

  // However a run ends, the finished window keeps its figures, says whether the run
  // was cancelled or stopped, and Enter closes it.
  void theFinishedWindowSaysHowTheRunEnded_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("files");
    QTest::newRow("completed") << QString() << QString() << u"2 of 2"_s;
    QTest::newRow("Cancel in the window") << u"progress Cancel"_s << u"Cancelled"_s << u"1 of 2"_s;
    QTest::newRow("Cancel at a question") << u"question Cancel"_s << u"Cancelled"_s << u"1 of 2"_s;
    QTest::newRow("an undo file refused") << u"undo refused"_s << u"Stopped"_s << u"0 of 0"_s;
  }

  void theFinishedWindowSaysHowTheRunEnded() {
    QFETCH(QString, how);
    QFETCH(QString, outcome);
    QFETCH(QString, files);
    THarness h({"a.txt", "b.txt"});
    h.jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
    if (how == "progress Cancel") {
      // The window's Cancel answers the open question No.
      h.options.confirm = true;
      h.messages.answers = {true};
      h.messages.whileOpen = [&h] {
        if (h.messages.questions.size() == 2) {
          test::Child<QPushButton>(*h.controller.ProgressWindow(), "btnCancel")->click();
        }
      };
    }
    if (how == "question Cancel") {
      h.options.confirm = true;
      h.messages.renameAnswers = {TRenameAnswer::Yes, TRenameAnswer::Cancel};
    }
    if (how == "undo refused") {
      h.options.undo = true;
      std::filesystem::create_directory(h.root + "/_quillex_undo.txt");
    }
    GoAndWait(h);
    TfrmProgress* progress = h.controller.ProgressWindow();
    QCOMPARE(test::Child<QLabel>(*progress, "lblOutcome")->text(), outcome);
    QCOMPARE(test::Child<QLabel>(*progress, "lblFiles")->text(), files);
    QVERIFY(test::Child<QPushButton>(*progress, "btnClose")->isVisibleTo(progress));
    QVERIFY(test::ShowActive(*progress));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(h.controller.ProgressWindow() == nullptr);
  }

  // The user sees the files a run asks about; the list is read again once it has ended,
  // and nobody renames a file in it meanwhile.
  void theFileListKeepsItsRowsWhileARunAsks() {
    test::TMainWindowHarness harness;
    const std::string root = harness.Data() / "root";
    test::MakeTree(root, {"a.txt", "b.txt", "c.txt"});
    harness.WriteDefaultJobList({test::MakeJob(TJobKind::jobUpper, 0)});
    harness.Start({root});
    harness.Control<QCheckBox>("chkConfirm")->setChecked(true);
    const QAbstractItemModel& files = *harness.List().CurrentView()->model();
    QTRY_COMPARE(files.rowCount(), 3);
    QStringList seen;
    harness.messages.answers = {true, true, true};
    harness.messages.whileOpen = [&] {
      QStringList rows;
      for (int row = 0; row < files.rowCount(); ++row) {
        const QModelIndex name = files.index(row, 0);
        rows << name.data().toString() + (files.flags(name) & Qt::ItemIsEditable ? " editable" : "");
      }
      seen << rows.join(", ");
    };
    harness.ClickAndWait("btnGo");
    QCOMPARE(seen, QStringList(3, "a.txt, b.txt, c.txt"));
    QTRY_COMPARE(files.index(0, 0).data().toString(), QString("A.TXT"));
    QVERIFY(files.flags(files.index(0, 0)) & Qt::ItemIsEditable);
  }

  // The run's box on screen, if one is.
  static QMessageBox* OpenBox() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) return box;
    }
    return nullptr;
  }

  // `act` once for each box that comes up while `reader` runs.
  void OnEachNewBox(QTimer& reader, std::function<void(QMessageBox&)> act) {
    connect(&reader, &QTimer::timeout, this, [seen = QPointer<QMessageBox>(), act = std::move(act)]() mutable {
      QMessageBox* box = OpenBox();
      if (box == nullptr || box == seen) return;
      seen = box;
      act(*box);
    });
  }

  // The program's own boxes over a run with "Confirm every change" (or, with `clash`,
  // two failures): at the first box the user acts, every later one is answered with its
  // default button. Each box is read as it comes up.
  void whatStopsTheAskingOrTheRun_data() {
    QTest::addColumn<bool>("clash");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<QStringList>("tree");
    const QStringList all = {"A.TXT", "B.TXT", "C.TXT", "s/", "s/D.TXT"};
    QTest::newRow("Yes") << false << "Yes" << 4 << all;
    QTest::newRow("Yes to All") << false << "Yes to All" << 1 << all;
    QTest::newRow("Cancel") << false << "Cancel" << 1 << QStringList{"a.txt", "b.txt", "c.txt", "s/", "s/d.txt"};
    QTest::newRow("Esc is No") << false << "Esc" << 4 << QStringList{"B.TXT", "C.TXT", "a.txt", "s/", "s/D.TXT"};
    QTest::newRow("the title bar's close is No")
        << false << "close" << 4 << QStringList{"B.TXT", "C.TXT", "a.txt", "s/", "s/D.TXT"};
    QTest::newRow("the progress window's Cancel answers No and stops the run")
        << false << "progress Cancel" << 1 << QStringList{"a.txt", "b.txt", "c.txt", "s/", "s/d.txt"};
    QTest::newRow("a failure: OK") << true << "OK" << 2
                                   << QStringList{"B.TXT", "C.TXT", "b.txt", "c.txt", "s/", "s/D.TXT"};
    QTest::newRow("a failure: Ignore All")
        << true << "Ignore All" << 1 << QStringList{"B.TXT", "C.TXT", "b.txt", "c.txt", "s/", "s/D.TXT"};
    QTest::newRow("a failure: Cancel") << true << "Cancel" << 1
                                       << QStringList{"B.TXT", "C.TXT", "b.txt", "c.txt", "s/", "s/d.txt"};
  }

  void whatStopsTheAskingOrTheRun() {
    QFETCH(bool, clash);
    QFETCH(QString, action);
    QFETCH(int, boxes);
    QFETCH(QStringList, tree);
    THarness h(clash ? Paths{"b.txt", "B.TXT", "c.txt", "C.TXT", "s/d.txt"}
                     : Paths{"a.txt", "b.txt", "c.txt", "s/d.txt"});
    h.jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
    h.options.recurseDirs = true;
    h.options.confirm = !clash;
    TQtMessages real;
    TRunController controller(
        h.window, real, h.log, [](bool) {}, [](bool) {});
    QStringList shown;
    bool progressStayed = true;
    QStringList underProgress;  // the boxes the progress window could cover
    QTimer reader;
    connect(&reader, &QTimer::timeout, this, [&] {
      QMessageBox* box = OpenBox();
      if (box == nullptr) return;
      shown << box->text();
      // A window manager keeps a box above the window it is transient for.
      TfrmProgress* progress = controller.ProgressWindow();
      if (box->windowHandle()->transientParent() != progress->windowHandle()) underProgress << box->text();
      if (shown.size() > 1) return box->defaultButton()->click();
      // While the box is open, the progress window can be neither closed nor blocked.
      progress->close();
      progressStayed = progress->isVisible();
      if (action == "Esc") return QTest::keyClick(box, Qt::Key_Escape);
      if (action == "close") return void(box->close());
      if (action == "progress Cancel") return test::Child<QPushButton>(*progress, "btnCancel")->click();
      for (QAbstractButton* button : box->buttons()) {
        if (button->text().remove('&') == action) return button->click();
      }
      QFAIL(qPrintable("no button " + action));
    });
    reader.start(0);
    GoAndWait(controller, h.jobs, h.options);
    reader.stop();
    delete controller.ProgressWindow();
    QVERIFY(progressStayed);
    QCOMPARE(shown.size(), boxes);
    QCOMPARE(underProgress, QStringList());
    QStringList listed;
    for (const std::string& path : test::ListTree(h.root)) listed << QString::fromStdString(path);
    QCOMPARE(listed, tree);
  }

  // Undo through the program's own boxes, which leave the window's events running: its
  // question, then its report, each answered as it comes up.
  void undoAsksAndReportsInItsOwnBoxes_data() {
    QTest::addColumn<bool>("escape");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<QStringList>("tree");
    QTest::newRow("Yes, then OK") << false << 2 << QStringList{"a.txt"};
    QTest::newRow("Esc is No") << true << 1 << QStringList{"A.TXT", "_quillex_undo.txt"};
  }

  void undoAsksAndReportsInItsOwnBoxes() {
    QFETCH(bool, escape);
    QFETCH(int, boxes);
    QFETCH(QStringList, tree);
    THarness h({"a.txt"});
    h.jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
    h.options.undo = true;
    GoAndWait(h);
    TQtMessages real;
    TRunController controller(
        h.window, real, h.log, [](bool) {}, [](bool) {});
    int shown = 0;
    QTimer reader;
    OnEachNewBox(reader, [&](QMessageBox& box) {
      ++shown;
      escape ? QTest::keyClick(&box, Qt::Key_Escape) : box.defaultButton()->click();
    });
    reader.start(0);
    QSignalSpy undone(&controller, &TRunController::UndoFinished);
    controller.Undo(h.root);
    QVERIFY(undone.wait(kLongest));
    QCOMPARE(shown, boxes);
    QStringList listed;
    for (const std::string& path : test::ListTree(h.root)) listed << QString::fromStdString(path);
    QCOMPARE(listed, tree);
  }

  // Closing the main window, or the session's end, while the run asks: the run stops
  // as Cancel stops it, then the usual closing steps run and the window goes. Asked
  // by a script, or by the program's own box, open while the window's events run.
  void closingDuringARunStopsItThenCloses_data() {
    QTest::addColumn<bool>("bySession");
    QTest::addColumn<bool>("realBoxes");
    QTest::newRow("the main window's close") << false << false;
    QTest::newRow("the session's end (SIGTERM, log-off)") << true << false;
    QTest::newRow("the main window's close, a box open") << false << true;
    QTest::newRow("the session's end, a box open") << true << true;
  }

  void closingDuringARunStopsItThenCloses() {
    QFETCH(bool, bySession);
    QFETCH(bool, realBoxes);
    TQtMessages real;
    test::TMainWindowHarness harness;
    const std::string root = harness.Data() / "root";
    test::MakeTree(root, {"a.txt", "b.txt", "c.txt", "s/d.txt"});
    harness.WriteDefaultJobList({test::MakeJob(TJobKind::jobUpper, 0)});
    TfrmMain& window = harness.Start({root}, realBoxes ? &real : nullptr);
    for (const char* option : {"chkConfirm", "chkUndo", "chkRecurseDirs"}) {
      harness.Control<QCheckBox>(option)->setChecked(true);
    }
    int asked = 0;
    const auto closeAtSecond = [&] {
      if (++asked == 2) bySession ? window.EndSession() : void(window.close());
    };
    harness.messages.renameAnswers = {TRenameAnswer::Yes};
    harness.messages.whileOpen = closeAtSecond;
    // The boxes come up in the window's own event loop, Go having returned: no loop of
    // the run's turns underneath them.
    bool goReturned = false;
    bool boxedInGo = false;
    QTimer reader;
    OnEachNewBox(reader, [&](QMessageBox& box) {
      boxedInGo = boxedInGo || !goReturned;
      closeAtSecond();
      if (asked == 1) box.button(QMessageBox::Yes)->click();
    });
    if (realBoxes) reader.start(0);
    harness.Click("btnGo");
    goReturned = true;
    QTRY_VERIFY(!window.isVisible());
    QVERIFY(!boxedInGo);
    QVERIFY(!window.Runs().IsRunning());
    QCOMPARE(asked, 2);
    QTRY_COMPARE(OpenBox(), nullptr);
    QCOMPARE(test::Child<QLabel>(*window.Runs().ProgressWindow(), "lblOutcome")->text(), QString("Cancelled"));
    QCOMPARE(test::ListTree(root), (Paths{"A.TXT", "_quillex_undo.txt", "b.txt", "c.txt", "s/", "s/d.txt"}));
    // The closing steps ran: the settings and the job list are written.
    QVERIFY(PathExists(harness.IniPath()));
    QVERIFY(ReadWholeFile(harness.DefaultJobListPath()).find("encoding=\"ISO-8859-1\"") != std::string::npos);
    // And the undo file takes the run back completely.
    test::TRecordingMessages undo;
    undo.answers = {true};
    QCOMPARE(UndoDirectory(root, undo).renamed, 1);
    QCOMPARE(test::ListTree(root), (Paths{"a.txt", "b.txt", "c.txt", "s/", "s/d.txt"}));
  }

  // Cancel from another thread while a run of thousands of files goes on: the run ends
  // cancelled at its next entry, the log says so, and one Undo Tree takes it all back.
  void aCancelFromAnotherThreadStopsTheRun() {
    Paths paths;
    for (int folder = 0; folder < 10; ++folder) {
      for (int file = 0; file < 250; ++file) paths.push_back(u"d%1/f%2.txt"_s.arg(folder).arg(file).toStdString());
    }
    THarness h(paths);
    const Paths before = test::ListTree(h.root);
    h.jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
    h.options.recurseDirs = h.options.undo = h.options.log = true;
    // Once the first folder's renames have begun: its undo file comes before them.
    std::thread canceller([&h, undoFile = h.root + "/d0/_quillex_undo.txt"] {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLongest);
      while (!PathExists(undoFile) && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
      h.controller.Cancel();
    });
    const auto [state, end] = GoAndWait(h);
    canceller.join();
    QCOMPARE(end, TRunEnd::Cancelled);
    QVERIFY(state.FilesRenamed < static_cast<int>(paths.size()));
    QVERIFY(h.log.Text().contains("---- Cancelled"));

    h.messages.answers = {true};
    QSignalSpy undone(&h.controller, &TRunController::UndoFinished);
    h.controller.UndoTree(h.root);
    QVERIFY(undone.wait(kLongest));
    QCOMPARE(undone[0][0].value<TUndoOutcome>().errors, 0);
    QCOMPARE(test::ListTree(h.root), before);
  }

  void theProgressWindowIsCentredOnTheMainWindow() {
    THarness h({"a.txt"});
    h.window.setGeometry(100, 120, 800, 500);
    h.window.show();
    h.jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
    GoAndWait(h);
    TfrmProgress* progress = h.controller.ProgressWindow();
    QCOMPARE(progress->windowHandle()->transientParent(), h.window.windowHandle());
    QVERIFY((progress->frameGeometry().center() - h.window.frameGeometry().center()).manhattanLength() <= 4);
  }

  void theGaugeEndsAtOneHundredAndUndoTakesTheRunBack() {
    THarness h({"a.txt", "s/b.txt", "t/"});
    h.jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
    h.options.recurseDirs = h.options.renameDirs = h.options.undo = true;
    GoAndWait(h);
    TfrmProgress* progress = h.controller.ProgressWindow();
    QCOMPARE(test::Child<QProgressBar>(*progress, "gauProgress")->value(), 100);
    QCOMPARE(test::Child<QLabel>(*progress, "lblFolders")->text(), QString("2 of 2"));
    QCOMPARE(test::Child<QLabel>(*progress, "lblFiles")->text(), QString("2 of 2"));
    QCOMPARE(test::Child<QLabel>(*progress, "lblErrors")->text(), QString("0"));

    test::Child<QPushButton>(*progress, "btnClose")->click();
    QTRY_VERIFY(h.controller.ProgressWindow() == nullptr);  // closing destroys it

    h.messages.answers = {true};
    QSignalSpy undone(&h.controller, &TRunController::UndoFinished);
    h.controller.Undo(h.root);
    QVERIFY(undone.wait(kLongest));
    const auto outcome = undone[0][0].value<TUndoOutcome>();
    QCOMPARE(outcome.renamed, 3);
    QCOMPARE(h.messages.messages.back(), std::string("3 files and/or directories have been renamed."));
    // The folders and the file of the top folder are back; inside s/ is s/'s own undo.
    QCOMPARE(test::ListTree(h.root),
             (Paths{"a.txt", "s/", "s/B.TXT", "s/_quillex_undo.txt", "t/", "t/_quillex_undo.txt"}));
  }
};

}  // namespace qx

QTEST_MAIN(qx::URunWindowsTest)
#include "URunWindowsTest.moc"
