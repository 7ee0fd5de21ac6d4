// The run's windows driven by real runs over temporary trees: the tree window after a
// simulation, the log across runs, Cancel, the gauge, failure boxes, and Undo.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <filesystem>

#include "UUiTestSupport.h"
#include "support/UMakeJob.h"
#include "support/URecordingMessages.h"
#include "support/UTempDir.h"
#include "support/UTree.h"
#include "ui/UQtMessages.h"
#include "ui/URunController.h"
#include "ui/UfrmLog.h"
#include "ui/UfrmProgress.h"
#include "ui/UfrmTree.h"

namespace qx {

using Paths = std::vector<std::string>;

class URunWindowsTest : public QObject {
  Q_OBJECT

 private:
  // One controller per test, over a fresh tree.
  struct THarness {
    test::TTempDir dir;
    std::string root = dir.Path() + "root";
    test::TRecordingMessages messages;
    TfrmLog log;
    std::vector<bool> busy;
    int refreshes = 0;
    TRunController controller{messages, log, [this](bool on) { busy.push_back(on); }, [this] { ++refreshes; }};
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
    h.controller.Go(h.jobs, h.options);

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
    QCOMPARE(h.refreshes, 1);
    QCOMPARE(test::ListTree(h.root), (Paths{"keep.txt", "sub/", "sub/deep/", "sub/deep/f.txt", "xa.txt", "ya.txt"}));

    h.controller.Go(h.jobs, h.options);
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
    h.controller.Go(h.jobs, h.options);
    QVERIFY(h.log.isVisible());
    const QString first = h.log.Text();
    QVERIFY(first.contains("\n   > Changing to s\n"));
    QVERIFY(first.contains("\n   * Renaming file b.txt\n"));
    h.controller.Go(h.jobs, h.options);
    QCOMPARE(h.log.Text().count("Starting Renaming in"), 2);

    test::Child<QPushButton>(h.log, "btnClearLog")->click();
    QCOMPARE(h.log.Text(), QString());
    test::Child<QPushButton>(h.log, "btnOK")->click();
    QVERIFY(!h.log.isVisible());

    h.options.log = false;
    h.controller.Go(h.jobs, h.options);
    QCOMPARE(h.log.Text(), QString());
    QVERIFY(!h.log.isVisible());
  }

  void cancelStopsFurtherFoldersAndTheWindowSwitchesToClose() {
    THarness h({"a.txt", "b.txt", "s1/c.txt", "s2/d.txt"});
    h.jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
    h.options.recurseDirs = true;
    // Pressed as soon as the run first lets window events in, while in the first folder.
    QTimer::singleShot(0, this,
                       [&h] { test::Child<QPushButton>(*h.controller.ProgressWindow(), "btnCancel")->click(); });
    const TRunState state = h.controller.Go(h.jobs, h.options);
    QVERIFY(state.Cancelled);
    QCOMPARE(test::ListTree(h.root), (Paths{"A.TXT", "B.TXT", "s1/", "s1/c.txt", "s2/", "s2/d.txt"}));
    TfrmProgress* progress = h.controller.ProgressWindow();
    QVERIFY(!test::Child<QPushButton>(*progress, "btnCancel")->isVisibleTo(progress));
    QVERIFY(test::Child<QPushButton>(*progress, "btnClose")->isVisibleTo(progress));
  }

  void aFailureShowsItsReasonOnASecondLineOfTheBox() {
    THarness h({"a.txt", "A.TXT"});
    h.jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
    // The program's own boxes, each read and closed with OK as it comes up.
    TQtMessages boxes;
    TRunController controller(
        boxes, h.log, [](bool) {}, [] {});
    QStringList shown;
    QTimer reader;
    connect(&reader, &QTimer::timeout, this, [&shown] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown << box->windowTitle() + ": " + box->text();
        box->button(QMessageBox::Ok)->click();
      }
    });
    reader.start(0);
    controller.Go(h.jobs, h.options);
    reader.stop();
    delete controller.ProgressWindow();
    QCOMPARE(shown, QStringList{"Quillex: Cannot rename A.TXT. Operation will continue\nFile exists"});
  }

  void theGaugeEndsAtOneHundredAndUndoTakesTheRunBack() {
    THarness h({"a.txt", "s/b.txt", "t/"});
    h.jobs.AddNew(test::MakeJob(TJobKind::jobUpper, 0));
    h.options.recurseDirs = h.options.renameDirs = h.options.undo = true;
    h.controller.Go(h.jobs, h.options);
    TfrmProgress* progress = h.controller.ProgressWindow();
    QCOMPARE(test::Child<QProgressBar>(*progress, "gauProgress")->value(), 100);
    QCOMPARE(test::Child<QLabel>(*progress, "lblFolders")->text(), QString("2 of 2"));
    QCOMPARE(test::Child<QLabel>(*progress, "lblFiles")->text(), QString("2 of 2"));
    QCOMPARE(test::Child<QLabel>(*progress, "lblErrors")->text(), QString("0"));

    test::Child<QPushButton>(*progress, "btnClose")->click();
    QTRY_VERIFY(h.controller.ProgressWindow() == nullptr);  // closing destroys it

    h.messages.answers = {true};
    const TUndoOutcome outcome = h.controller.Undo(h.root);
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
