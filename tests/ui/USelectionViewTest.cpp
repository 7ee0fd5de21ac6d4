// SPDX-License-Identifier: GPL-3.0-or-later
// The main window on a selection: started with paths, or given them by a drop, its file
// list shows exactly those entries with their new names, a line says what it shows, Go
// and Undo act on them and the selection follows; the folder view comes back.
#include <QLabel>
#include <QMimeData>
#include <QtTest/QtTest>
#include <functional>

#include "support/UMakeJob.h"
#include "support/UTempDir.h"
#include "support/UTree.h"
#include "ui/UMainWindowHarness.h"
#include "ui/UQtText.h"
#include "ui/browse/UFileList.h"
#include "ui/browse/UFileListModel.h"
#include "ui/browse/UFolderTree.h"

namespace qx {
namespace {

using THarness = test::TMainWindowHarness;
using Strings = std::vector<std::string>;

// Each row's name and, beside it, its new name, in the list's order.
QStringList NamesAndNewNames(const THarness& harness) {
  const QAbstractItemModel& model = *harness.List().CurrentView()->model();
  QStringList rows;
  for (int row = 0; row < model.rowCount(); ++row) {
    rows << model.index(row, colName).data().toString() + " -> " + model.index(row, colNewName).data().toString();
  }
  return rows;
}

// The selection's paths below `root`; empty while the list shows a folder.
QStringList SelectedBelow(const THarness& harness, const test::TTempDir& root) {
  QStringList below;
  if (const TSelection* selection = harness.List().Selection()) {
    for (const std::string& path : selection->Paths()) below << ToQString(path.substr(root.Path().size()));
  }
  return below;
}

QString Line(const THarness& harness) { return harness.Control<QLabel>("lblSelection")->text(); }

void Drop(const THarness& harness, const QList<QUrl>& urls) {
  QMimeData mime;
  mime.setUrls(urls);
  const QPoint at = harness.Window().rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&harness.Window(), &enter);
  QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&harness.Window(), &drop);
  // The drop is taken once it has ended.
  QCoreApplication::processEvents();
}

}  // namespace

class TSelectionViewTest : public QObject {
  Q_OBJECT

 private slots:
  void twelveFilesInThreeFoldersAreRenamedAsOneSeriesAndTakenBack();
  void theListLeavesAndTakesASelection();
};

void TSelectionViewTest::twelveFilesInThreeFoldersAreRenamedAsOneSeriesAndTakenBack() {
  const test::TTempDir root;
  // By name across the folders: a.txt in c first, l.txt in b last.
  const Strings selected = {"a/d.txt", "a/g.txt", "a/j.txt", "a/k.txt", "b/b.txt", "b/e.txt",
                            "b/h.txt", "b/l.txt", "c/a.txt", "c/c.txt", "c/f.txt", "c/i.txt"};
  Strings tree = selected;
  for (const char* other : {"a/x.txt", "b/y.txt", "c/z.txt", "top.txt"}) tree.push_back(other);
  test::MakeTree(root.Path(), tree);
  const Strings before = test::ListTree(root.Path());
  THarness harness;
  harness.WriteDefaultJobList({test::MakeJob(TJobKind::jobCounter, 0, 2)});
  harness.WriteIni("[Booleans]\nundo=1\n[Integers]\nviewStyle=3\ncounterStart=1\n");
  Strings arguments;
  for (const std::string& path : selected) arguments.push_back(root / path);
  harness.Start(arguments);

  QTRY_VERIFY(!harness.List().IsPreviewing());
  QCOMPARE(NamesAndNewNames(harness),
           (QStringList{"a/d.txt -> 04d.txt", "a/g.txt -> 07g.txt", "a/j.txt -> 10j.txt", "a/k.txt -> 11k.txt",
                        "b/b.txt -> 02b.txt", "b/e.txt -> 05e.txt", "b/h.txt -> 08h.txt", "b/l.txt -> 12l.txt",
                        "c/a.txt -> 01a.txt", "c/c.txt -> 03c.txt", "c/f.txt -> 06f.txt", "c/i.txt -> 09i.txt"}));
  QCOMPARE(Line(harness), "12 selected files in 3 folders");
  QVERIFY(harness.Control<QWidget>("pnlSelection")->isVisible());

  harness.ClickAndWait("btnGo");
  const Strings renamed = {"a/04d.txt", "a/07g.txt", "a/10j.txt", "a/11k.txt", "b/02b.txt", "b/05e.txt",
                           "b/08h.txt", "b/12l.txt", "c/01a.txt", "c/03c.txt", "c/06f.txt", "c/09i.txt"};
  Strings after = renamed;
  for (const char* other : {"a/", "a/_quillex_undo.txt", "a/x.txt", "b/", "b/_quillex_undo.txt", "b/y.txt", "c/",
                            "c/_quillex_undo.txt", "c/z.txt", "top.txt"}) {
    after.push_back(other);
  }
  std::sort(after.begin(), after.end());
  QCOMPARE(test::ListTree(root.Path()), after);
  // The selection has followed its entries: Go and Undo act on them again.
  QStringList followed;
  for (const std::string& path : renamed) followed << ToQString(path);
  QCOMPARE(SelectedBelow(harness, root), followed);
  // And the New name column shows what a second Go would make of them.
  QStringList again;
  for (const std::string& path : renamed) {
    const std::string name = path.substr(2);
    again << ToQString(path + " -> " + name.substr(0, 2) + name);
  }
  QTRY_COMPARE(NamesAndNewNames(harness), again);
  QCOMPARE(Line(harness), "12 selected files in 3 folders");

  harness.messages.answers = {true, true, true};
  harness.ClickAndWait("btnUndo");
  QCOMPARE(harness.messages.questions.size(), std::size_t{3});
  QCOMPARE(test::ListTree(root.Path()), before);
  QStringList original;
  for (const std::string& path : selected) original << ToQString(path);
  QCOMPARE(SelectedBelow(harness, root), original);
}

void TSelectionViewTest::theListLeavesAndTakesASelection() {
  struct Row {
    const char* what;
    Strings arguments;  // below the root
    std::function<void(const THarness&, const test::TTempDir&)> act;
    QStringList selected;  // below the root; empty for the folder view
    QString line;
    Strings messages;
  };
  const std::string notUtf8 = "\xff.txt";
  const Row rows[] = {
      {"Show the Folder shows the folder",
       {"a/1.txt", "b/2.txt"},
       [](const THarness& h, const test::TTempDir&) { h.Click("btnShowFolder"); },
       {},
       {},
       {}},
      {"another folder chosen in the tree shows it",
       {"a/1.txt", "b/2.txt"},
       [](const THarness& h, const test::TTempDir& root) { h.Tree().SelectPath(root / "a"); },
       {},
       {},
       {}},
      {"a drop of two files, one named in bytes that are not UTF-8",
       {"a"},
       [&](const THarness& h, const test::TTempDir& root) {
         Drop(h, {QUrl::fromLocalFile(ToQString(root / "a/1.txt")),
                  QUrl::fromEncoded(QByteArray::fromStdString("file://" + root.Path()) +
                                    QByteArray::fromStdString("b/" + notUtf8).toPercentEncoding("/"))});
       },
       {"a/1.txt", ToQString("b/" + notUtf8)},
       "2 selected files in 2 folders",
       {}},
      {"a drop from another computer is refused whole",
       {"a/1.txt", "b"},
       [](const THarness& h, const test::TTempDir& root) {
         Drop(h, {QUrl::fromLocalFile(ToQString(root / "b/2.txt")),
                  QUrl(QStringLiteral("sftp://example.org/home/x.txt"))});
       },
       {"a/1.txt", "b"},
       "1 selected file and 1 folder in 2 folders",
       {"Quillex renames files and folders of this computer only, not sftp://example.org/home/x.txt. The drop is left "
        "as it is."}},
      {"a path that names nothing is said and left out",
       {"a/1.txt", "a/gone.txt"},
       [](const THarness&, const test::TTempDir&) {},
       {"a/1.txt"},
       "1 selected file",
       {"Error setting path: \"a/gone.txt\""}},
  };
  for (const Row& row : rows) {
    const test::TTempDir root;
    test::MakeTree(root.Path(), {"a/1.txt", "b/2.txt", "b/" + notUtf8});
    THarness harness;
    Strings arguments;
    for (const std::string& path : row.arguments) arguments.push_back(root / path);
    harness.Start(arguments);
    row.act(harness, root);
    QVERIFY2(SelectedBelow(harness, root) == row.selected, row.what);
    QVERIFY2(harness.Control<QWidget>("pnlSelection")->isVisible() == !row.selected.isEmpty(), row.what);
    if (!row.selected.isEmpty()) QTRY_COMPARE(Line(harness), row.line);
    // The root left out of what the messages say.
    Strings messages = harness.messages.messages;
    for (std::string& text : messages) {
      for (std::size_t at; (at = text.find(root.Path())) != std::string::npos;)
        text.replace(at, root.Path().size(), "");
    }
    QVERIFY2(messages == row.messages, row.what);
  }
}

}  // namespace qx

QTEST_MAIN(qx::TSelectionViewTest)
#include "USelectionViewTest.moc"
