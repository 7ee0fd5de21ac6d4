// SPDX-License-Identifier: GPL-3.0-or-later
// The folder tree and the file list over real temporary folders: the starting folder is
// the folder the user chose and nothing else, names in any bytes are listed and used as
// they are, in-place renaming never replaces, and changes on disk show by themselves.
#include <QtTest/QtTest>
#include <algorithm>
#include <filesystem>
#include <random>

#include "jobs/UTJob.h"
#include "platform/UUndoFile.h"
#include "support/UMakeJob.h"
#include "support/UTempDir.h"
#include "support/UTree.h"
#include "ui/UMainWindowHarness.h"
#include "ui/UQtText.h"
#include "ui/browse/UFileList.h"
#include "ui/browse/UFileListModel.h"
#include "ui/browse/UFolderTree.h"
#include "ui/browse/UFolderTreeModel.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using THarness = test::TMainWindowHarness;

const QString kReplacement(QChar::ReplacementCharacter);

std::string Canonical(const std::string& path) { return fs::canonical(path).native(); }

TFolderTreeModel& TreeModel(const THarness& harness) {
  return *qobject_cast<TFolderTreeModel*>(harness.Tree().model());
}

// The names the tree shows below `path`, which it has opened.
QStringList TreeRows(const THarness& harness, const std::string& path) {
  const TFolderTreeModel& model = TreeModel(harness);
  const QModelIndex folder = model.Find(path);
  QStringList names;
  for (int row = 0; row < model.rowCount(folder); ++row) names << model.index(row, 0, folder).data().toString();
  return names;
}

void OpenInTree(const THarness& harness, const std::string& path) {
  harness.Tree().expand(TreeModel(harness).Find(path));
}

QAbstractItemView& ListView(const THarness& harness) { return *harness.List().CurrentView(); }

QStringList ListRows(const THarness& harness) {
  const QAbstractItemModel& model = *ListView(harness).model();
  QStringList names;
  for (int row = 0; row < model.rowCount(); ++row) names << model.index(row, 0).data().toString();
  return names;
}

QModelIndex ListRow(const THarness& harness, const QString& shown) {
  const QAbstractItemModel& model = *ListView(harness).model();
  const QModelIndexList found = model.match(model.index(0, 0), Qt::DisplayRole, shown, 1, Qt::MatchExactly);
  return found.value(0);
}

// Near the start of the row: a column as wide as the longest name reaches past the view.
QPoint PointOn(QAbstractItemView& view, const QModelIndex& row) {
  view.scrollTo(row);
  const QRect rect = view.visualRect(row);
  return {rect.left() + std::min(8, rect.width() / 2), rect.center().y()};
}

void Click(QAbstractItemView& view, const QModelIndex& row) {
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, PointOn(view, row));
}

void DoubleClick(QAbstractItemView& view, const QModelIndex& row) {
  // A double-click follows a click, as it does for a user.
  Click(view, row);
  QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, PointOn(view, row));
}

enum class TChange { rename, renameAfterSibling, remove, removeAndMakeAnew, siblingTakesItsName, linkToSibling };

void Apply(TChange change, const std::string& sel) {
  const std::string chosen = sel + "/alpha";
  switch (change) {
    case TChange::rename: fs::rename(chosen, sel + "/alpha-renamed"); break;
    case TChange::renameAfterSibling: fs::rename(chosen, sel + "/zulu"); break;
    case TChange::remove: fs::remove_all(chosen); break;
    case TChange::removeAndMakeAnew:
      fs::remove_all(chosen);
      fs::create_directory(chosen);
      break;
    case TChange::siblingTakesItsName:
      fs::remove_all(chosen);
      fs::rename(sel + "/beta", chosen);
      break;
    case TChange::linkToSibling:
      fs::remove_all(chosen);
      fs::create_directory_symlink("beta", chosen);
      break;
  }
}

// Some of the names n0 .. n<pool - 1>, in that order.
std::vector<std::string> Names(std::mt19937& random, int pool) {
  std::vector<std::string> names;
  for (int n = 0; n < pool; ++n) {
    if (random() % 2) names.push_back("n" + std::to_string(n));
  }
  return names;
}

}  // namespace

class TFolderTreeTest : public QObject {
  Q_OBJECT

 private slots:
  void aChosenFolderThatIsNoLongerAtItsPathIsDropped_data();
  void aChosenFolderThatIsNoLongerAtItsPathIsDropped();
  void theChoiceIsCheckedAtEveryCall();
  void aRunThatRenamesSubfoldersKeepsTheChoiceAndShowsTheNewNames();
  void changesOnDiskShowByThemselves();
  void namesInAnyBytesAreListedAndUsedAsTheyAre_data();
  void namesInAnyBytesAreListedAndUsedAsTheyAre();
  void renamingInPlaceNeverReplaces_data();
  void renamingInPlaceNeverReplaces();
  void theListOrdersNamesAsPeopleReadThem_data();
  void theListOrdersNamesAsPeopleReadThem();
  void aFreshListingKeepsTheRowsThatStay();
};

void TFolderTreeTest::aChosenFolderThatIsNoLongerAtItsPathIsDropped_data() {
  QTest::addColumn<int>("change");
  QTest::addColumn<QStringList>("rowsAfter");  // the folders of sel the tree shows then
  QTest::newRow("renamed") << int(TChange::rename) << QStringList{"aardvark", "alpha-renamed", "beta"};
  QTest::newRow("renamed past its sibling")
      << int(TChange::renameAfterSibling) << QStringList{"aardvark", "beta", "zulu"};
  QTest::newRow("deleted") << int(TChange::remove) << QStringList{"aardvark", "beta"};
  // On ext4 the new folder usually gets the old one's inode number.
  QTest::newRow("deleted and made anew") << int(TChange::removeAndMakeAnew) << QStringList{"aardvark", "alpha", "beta"};
  QTest::newRow("its sibling renamed to its name")
      << int(TChange::siblingTakesItsName) << QStringList{"aardvark", "alpha"};
  QTest::newRow("a link to its sibling in its place") << int(TChange::linkToSibling) << QStringList{"aardvark", "beta"};
}

void TFolderTreeTest::aChosenFolderThatIsNoLongerAtItsPathIsDropped() {
  QFETCH(int, change);
  QFETCH(QStringList, rowsAfter);
  test::TTempDir top;
  test::MakeTree(top.Path(), {"sel/aardvark/", "sel/alpha/a.txt", "sel/beta/b.txt"});
  const std::string sel = Canonical(top / "sel");
  THarness harness;
  harness.Start({sel + "/alpha"});
  QCOMPARE(harness.Tree().SelectedPath(), sel + "/alpha");
  QTRY_COMPARE(ListRows(harness), QStringList{"a.txt"});
  std::vector<std::string> told;
  QObject::connect(&harness.Tree(), &TFolderTree::PathSelected, [&](const std::string& path) { told.push_back(path); });

  Apply(static_cast<TChange>(change), sel);
  // Nobody asks: the tree's own check clears the list, and its listing catches up.
  QTRY_VERIFY(harness.List().Folder().empty());
  QTRY_COMPARE(TreeRows(harness, sel), rowsAfter);
  QCOMPARE(ListRows(harness), QStringList{});
  QVERIFY(!harness.Tree().currentIndex().isValid());
  QCOMPARE(told, std::vector<std::string>{""});
  QCOMPARE(harness.Window().StartingDirectory(), std::string());
  QCOMPARE(harness.Tree().SelectedPath(), std::string());
  // Go and Undo say so and rename nothing anywhere.
  const auto before = test::ListTree(top.Path());
  harness.dialogs.steps.push_back(test::PressOk());
  harness.Click("btnUpper");
  for (const char* button : {"btnGo", "btnUndo", "btnUndoTree"}) harness.Click(button);
  QCOMPARE(harness.messages.messages,
           std::vector<std::string>(3, "No folder is chosen. Choose the folder to work in from the folder tree."));
  QCOMPARE(test::ListTree(top.Path()), before);
}

void TFolderTreeTest::theChoiceIsCheckedAtEveryCall() {
  // A tree on its own: no file list holds the folder open. Empty, the folder made anew
  // usually gets the deleted one's inode number on ext4.
  test::TTempDir top;
  test::MakeTree(top.Path(), {"alpha/", "beta/"});
  TFolderTree tree;
  QVERIFY(tree.SelectPath(top / "alpha"));
  tree.StopWatching();
  std::vector<std::string> told;
  QObject::connect(&tree, &TFolderTree::PathSelected, [&](const std::string& path) { told.push_back(path); });
  fs::remove(top / "alpha");
  fs::create_directory(top / "alpha");
  QCOMPARE(tree.SelectedPath(), std::string());
  QCOMPARE(told, std::vector<std::string>{""});
}

void TFolderTreeTest::aRunThatRenamesSubfoldersKeepsTheChoiceAndShowsTheNewNames() {
  test::TTempDir top;
  test::MakeTree(top.Path(), {"sel/a.txt", "sel/sub/b.txt"});
  const std::string sel = Canonical(top / "sel");
  THarness harness;
  harness.WriteDefaultJobList({test::MakeJob(TJobKind::jobUpper, 0)});
  harness.WriteIni("[Booleans]\nrecurseDirs=1\nrenameDirs=1\n[Strings]\nfilemask=*.*\n");
  harness.Start({sel});
  OpenInTree(harness, sel);
  QCOMPARE(TreeRows(harness, sel), QStringList{"sub"});
  harness.ClickAndWait("btnGo");
  QCOMPARE(test::ListTree(sel), (std::vector<std::string>{"A.TXT", "SUB/", "SUB/B.TXT"}));
  QCOMPARE(harness.Window().StartingDirectory(), sel);
  QCOMPARE(TreeRows(harness, sel), QStringList{"SUB"});
  QTRY_COMPARE(ListRows(harness), (QStringList{"SUB", "A.TXT"}));
}

void TFolderTreeTest::changesOnDiskShowByThemselves() {
  test::TTempDir top;
  test::MakeTree(top.Path(), {"sel/a.txt", "sel/sub/"});
  const std::string sel = Canonical(top / "sel");
  THarness harness;
  harness.Start({sel});
  OpenInTree(harness, sel);
  test::MakeTree(sel, {"new/", ".hidden/", ".hidden.txt", "b.txt"});
  fs::remove_all(sel + "/sub");
  // Hidden folders are walked by a run, so the tree shows them; hidden files are not.
  QTRY_COMPARE(TreeRows(harness, sel), (QStringList{".hidden", "new"}));
  QTRY_COMPARE(ListRows(harness), (QStringList{"new", "a.txt", "b.txt"}));
  QCOMPARE(harness.Window().StartingDirectory(), sel);
}

void TFolderTreeTest::namesInAnyBytesAreListedAndUsedAsTheyAre_data() {
  QTest::addColumn<QString>("how");
  for (const char* how : {"SelectPath", "a click in the tree", "the command line", "the path setting",
                          "a double-click in the file list"}) {
    QTest::newRow(how) << how;
  }
}

void TFolderTreeTest::namesInAnyBytesAreListedAndUsedAsTheyAre() {
  QFETCH(QString, how);
  const std::string folderName = "caf\xE9", fileName = "r\xE9sum\xE9.txt";
  test::TTempDir top;
  test::MakeTree(top.Path(), {folderName + "/" + fileName, "other/"});
  const std::string parent = Canonical(top.Path());
  const std::string chosen = parent + "/" + folderName;
  const QString shownFolder = "caf" + kReplacement;
  THarness harness;
  if (how == "SelectPath") {
    harness.Start();
    QVERIFY(harness.Tree().SelectPath(chosen));
  } else if (how == "a click in the tree") {
    harness.Start({parent});
    OpenInTree(harness, parent);
    QCOMPARE(TreeRows(harness, parent), (QStringList{shownFolder, "other"}));
    Click(harness.Tree(), TreeModel(harness).Find(chosen));
  } else if (how == "the command line") {
    harness.Start({chosen});
  } else if (how == "the path setting") {
    harness.WriteIni("[Strings]\npath=" + chosen + "\n");
    harness.Start();
  } else {
    harness.Start({parent});
    QTRY_COMPARE(ListRows(harness), (QStringList{shownFolder, "other"}));
    DoubleClick(ListView(harness), ListRow(harness, shownFolder));
  }
  QCOMPARE(harness.Window().StartingDirectory(), chosen);
  QCOMPARE(harness.List().Folder(), chosen);
  QCOMPARE(TreeModel(harness).Find(chosen).data().toString(), shownFolder);
  QCOMPARE(harness.Tree().currentIndex(), TreeModel(harness).Find(chosen));

  const QString shownFile = "r" + kReplacement + "sum" + kReplacement + ".txt";
  QTRY_COMPARE(ListRows(harness), QStringList{shownFile});
  std::vector<std::string> clicked;
  QObject::connect(&harness.List(), &TFileList::EntryClicked,
                   [&](const std::string&, const std::string& name) { clicked.push_back(name); });
  Click(ListView(harness), ListRow(harness, shownFile));
  QCOMPARE(clicked, std::vector<std::string>{fileName});
  harness.Close();
  QCOMPARE(harness.Saved().GetString("path"), chosen);
}

void TFolderTreeTest::renamingInPlaceNeverReplaces_data() {
  QTest::addColumn<QByteArray>("from");
  QTest::addColumn<QByteArray>("to");
  QTest::addColumn<QString>("refusal");  // "" when the rename is made
  QTest::newRow("a free name") << QByteArray("a.txt") << QByteArray("c.txt") << "";
  QTest::newRow("bytes that are not UTF-8 stay") << QByteArray("caf\xE9.txt") << QByteArray("caf\xE9 2.txt") << "";
  QTest::newRow("a taken file") << QByteArray("a.txt") << QByteArray("b.txt") << "File exists";
  QTest::newRow("a taken folder") << QByteArray("a.txt") << QByteArray("sub") << "File exists";
  QTest::newRow("a folder onto a file") << QByteArray("sub") << QByteArray("b.txt") << "File exists";
  // The names a run refuses, for the same reasons.
  QTest::newRow("empty") << QByteArray("a.txt") << QByteArray() << "the name is empty";
  QTest::newRow("a path") << QByteArray("a.txt") << QByteArray("sub/a.txt") << "the name would leave its folder";
  QTest::newRow("dot dot") << QByteArray("a.txt") << QByteArray("..") << "the name would leave its folder";
  QTest::newRow("a NUL character") << QByteArray("a.txt") << QByteArray("b.txt\0x", 7) << "the name holds a NUL byte";
  QTest::newRow("the undo file's") << QByteArray("a.txt") << QByteArray(kUndoFileName)
                                   << "the name is the undo file's own";
}

void TFolderTreeTest::renamingInPlaceNeverReplaces() {
  QFETCH(QByteArray, from);
  QFETCH(QByteArray, to);
  QFETCH(QString, refusal);
  test::TTempDir folder;
  folder.WriteFile("a.txt", "a");
  folder.WriteFile("b.txt", "b");
  folder.WriteFile("caf\xE9.txt", "c");
  test::MakeTree(folder.Path(), {"sub/inner.txt"});
  const std::vector<std::string> before = test::SnapshotTree(folder.Path());
  TFileListModel model;
  model.SetFolder(folder.Path());
  QTRY_VERIFY(!model.IsListing());
  std::vector<std::string> reasons;
  QObject::connect(&model, &TFileListModel::RenameFailed,
                   [&](const std::string&, const std::string& reason) { reasons.push_back(reason); });
  const QModelIndexList rows =
      model.match(model.index(0, 0), Qt::EditRole, ToQString(from.toStdString()), 1, Qt::MatchExactly);
  QCOMPARE(rows.size(), 1);

  const bool renamed = model.setData(rows.first(), ToQString(to.toStdString()));
  QCOMPARE(renamed, refusal.isEmpty());
  if (renamed) {
    QVERIFY(reasons.empty());
    QVERIFY(!fs::exists(folder / from.toStdString()));
    QVERIFY(fs::exists(folder / to.toStdString()));
  } else {
    QCOMPARE(reasons, std::vector<std::string>{refusal.toStdString()});
    QCOMPARE(test::SnapshotTree(folder.Path()), before);
  }
  // The list shows what the folder holds, each row by its bytes.
  std::vector<std::string> listed, onDisk;
  for (int row = 0; row < model.rowCount(); ++row) listed.push_back(model.NameAt(model.index(row, 0)));
  for (const auto& entry : fs::directory_iterator(folder.Path())) onDisk.push_back(entry.path().filename().native());
  std::sort(listed.begin(), listed.end());
  std::sort(onDisk.begin(), onDisk.end());
  QCOMPARE(listed, onDisk);
}

void TFolderTreeTest::theListOrdersNamesAsPeopleReadThem_data() {
  QTest::addColumn<int>("column");
  QTest::addColumn<Qt::SortOrder>("order");
  QTest::addColumn<QStringList>("shown");
  QTest::addColumn<QStringList>("afterRename");  // once f1.txt is renamed f20.txt
  QTest::addColumn<bool>("byValue");             // the run options' rule for numbers
  QTest::newRow("by name") << int(colName) << Qt::AscendingOrder
                           << QStringList{"album 2", "Album 10", "f1.txt", "F2.txt", "f10.txt"}
                           << QStringList{"album 2", "Album 10", "F2.txt", "f10.txt", "f20.txt"} << true;
  QTest::newRow("by name, digits as text")
      << int(colName) << Qt::AscendingOrder << QStringList{"Album 10", "album 2", "f1.txt", "f10.txt", "F2.txt"}
      << QStringList{"Album 10", "album 2", "f10.txt", "F2.txt", "f20.txt"} << false;
  QTest::newRow("by name, descending: folders still first")
      << int(colName) << Qt::DescendingOrder << QStringList{"Album 10", "album 2", "f10.txt", "F2.txt", "f1.txt"}
      << QStringList{"Album 10", "album 2", "f20.txt", "f10.txt", "F2.txt"} << true;
  QTest::newRow("by size, then by name") << int(colSize) << Qt::AscendingOrder
                                         << QStringList{"album 2", "Album 10", "F2.txt", "f1.txt", "f10.txt"}
                                         << QStringList{"album 2", "Album 10", "F2.txt", "f20.txt", "f10.txt"} << true;
}

// Numbers by value, case ignored, folders first; a name edited in place moves to its place.
void TFolderTreeTest::theListOrdersNamesAsPeopleReadThem() {
  QFETCH(int, column);
  QFETCH(Qt::SortOrder, order);
  QFETCH(QStringList, shown);
  QFETCH(QStringList, afterRename);
  QFETCH(bool, byValue);
  test::TTempDir folder;
  test::MakeTree(folder.Path(), {"Album 10/", "album 2/"});
  folder.WriteFile("f10.txt", "333");
  folder.WriteFile("F2.txt", "1");
  folder.WriteFile("f1.txt", "22");
  TFileListModel model;
  model.sort(column, order);
  TRunOptions options;
  options.numbersByValue = byValue;
  model.PreviewNames(TJobList(), options);
  model.SetFolder(folder.Path());
  QTRY_VERIFY(!model.IsListing());
  const auto rows = [&model] {
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row) names << model.index(row, colName).data().toString();
    return names;
  };
  QCOMPARE(rows(), shown);
  QVERIFY(model.setData(model.index(static_cast<int>(shown.indexOf("f1.txt")), colName), QStringLiteral("f20.txt")));
  QCOMPARE(rows(), afterRename);
}

void TFolderTreeTest::aFreshListingKeepsTheRowsThatStay() {
  std::mt19937 random(20261207);
  for (int trial = 0; trial < 2000; ++trial) {
    const std::vector<std::string> before = Names(random, 12);
    std::vector<std::string> after = Names(random, 12);
    // Half the time the names come in another order, as a list sorted by size may.
    const bool reordered = trial % 2;
    if (reordered) std::shuffle(after.begin(), after.end(), random);
    const std::vector<std::string_view> beforeViews(before.begin(), before.end());
    const std::vector<std::string_view> afterViews(after.begin(), after.end());
    const TRowPlan plan = PlanRows(beforeViews, afterViews);

    std::vector<std::string> rows = before;
    std::size_t removed = 0, inserted = 0;
    for (const TRowRun& run : plan.removals) {
      QVERIFY(run.first <= run.last && run.last < static_cast<int>(rows.size()));
      rows.erase(rows.begin() + run.first, rows.begin() + run.last + 1);
      removed += static_cast<std::size_t>(run.last - run.first + 1);
    }
    for (const TRowRun& run : plan.insertions) {
      QVERIFY(run.first <= run.last && run.first <= static_cast<int>(rows.size()));
      rows.insert(rows.begin() + run.first, after.begin() + run.first, after.begin() + run.last + 1);
      inserted += static_cast<std::size_t>(run.last - run.first + 1);
    }
    QCOMPARE(rows, after);
    if (!reordered) {
      const auto missingFrom = [](const std::vector<std::string>& names, const std::vector<std::string>& other) {
        return static_cast<std::size_t>(std::count_if(names.begin(), names.end(), [&](const std::string& name) {
          return std::find(other.begin(), other.end(), name) == other.end();
        }));
      };
      QCOMPARE(removed, missingFrom(before, after));
      QCOMPARE(inserted, missingFrom(after, before));
    }
  }
}

}  // namespace qx

QTEST_MAIN(qx::TFolderTreeTest)
#include "UFolderTreeTest.moc"
