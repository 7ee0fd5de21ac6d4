// SPDX-License-Identifier: GPL-3.0-or-later
// The file list's New name column against quillex-cli run --simulate over the same
// folder, jobs and options: every entry the run takes a turn for shows the name and the
// mark the simulation gives it (renamed, unchanged greyed, refused or clashing red),
// numbered in the run's order; newer inputs supersede a preview on its way, also while
// the folder is being read; a preview that fails says why; and the main window's inputs
// reach the column.
#include <QComboBox>
#include <QSpinBox>
#include <QtTest/QtTest>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <sstream>

#include "cli/UCliApp.h"
#include "jobio/UJobIO.h"
#include "platform/USysCalls.h"
#include "support/UFaultySysCalls.h"
#include "support/UMakeJob.h"
#include "support/UTempDir.h"
#include "support/UTree.h"
#include "ui/UMainWindowHarness.h"
#include "ui/UPaletteColours.h"
#include "ui/browse/UFileList.h"
#include "ui/browse/UFileListModel.h"

using namespace Qt::StringLiterals;

namespace qx {
namespace {

using test::MakeJob;

constexpr long kNewest = 1'600'000'000;

const char* SortName(const TRunOptions& options) {
  if (!options.sort) return "none";
  switch (options.sortOrder) {
    case TSortOrder::NameAsc: return "name-asc";
    case TSortOrder::NameDesc: return "name-desc";
    case TSortOrder::DateAsc: return "date-asc";
    case TSortOrder::DateDesc: return "date-desc";
    case TSortOrder::ListingOrder: return "none";
  }
  return "none";
}

std::string Switch(bool on, const std::string& name) { return (on ? "--" : "--no-") + name; }

// "old -> tag text" for each entry of the folder the run takes a turn for, sorted: the
// tree's lines (root first, then a line per entry in the run's order) paired with the
// log's turns, which name the entries in that order. Folders count only when renamed.
QStringList Simulated(const TJobList& jobs, const TRunOptions& options) {
  const test::TTempDir work;
  const std::string jobsFile = work / "jobs.xml";
  SaveJobListToXML(jobsFile, jobs.Jobs(), "UTF-8");
  const std::vector<std::string> args = {"--config-dir",
                                         work.Path(),
                                         "run",
                                         "--jobs",
                                         jobsFile,
                                         "--simulate",
                                         "--format",
                                         "tree",
                                         "--log=" + (work / "log.txt"),
                                         "--no-recurse",
                                         Switch(options.renameDirs, "rename-dirs"),
                                         Switch(options.resetCounter, "reset-counter"),
                                         Switch(options.undo, "undo"),
                                         "--mask",
                                         options.fileMask,
                                         "--sort",
                                         SortName(options),
                                         "--counter-start",
                                         std::to_string(options.counterStart),
                                         options.startDirectory};
  std::istringstream in;
  std::ostringstream out, err;
  cli::RunQuillexCli(args, in, out, err, cli::TStreams{});

  // A turn's kind and the entry's name, e.g. "Fa.txt".
  std::vector<std::string> turns;
  constexpr std::string_view kFileTurn = "* Renaming file ", kFolderTurn = "* Renaming directory ";
  std::ifstream log(work / "log.txt");
  for (std::string line; std::getline(log, line);) {
    if (line.starts_with(kFileTurn)) turns.push_back("F" + line.substr(kFileTurn.size()));
    if (line.starts_with(kFolderTurn)) turns.push_back("D" + line.substr(kFolderTurn.size()));
  }
  std::istringstream tree(out.str());
  std::vector<std::string> nodes;
  for (std::string line; std::getline(tree, line);) {
    if (line.starts_with("  ")) nodes.push_back(line.substr(2));
  }
  if (turns.size() != nodes.size()) return {u"the log and the tree name different entries"_s};
  QStringList entries;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (turns[i].front() == 'D' && !options.renameDirs) continue;
    entries << QString::fromStdString(turns[i].substr(1) + " -> " + nodes[i]);
  }
  entries.sort();
  return entries;
}

// The mark a row's colour stands for: '+' the list's own colour, '=' greyed, '!' red;
// '?' for a colour that is none of them or cannot be read on the list's background.
char Mark(const QVariant& foreground) {
  if (!foreground.isValid()) return '+';
  const QColor colour = foreground.value<QColor>();
  if (ContrastRatio(colour, QGuiApplication::palette().color(QPalette::Base)) < kReadableContrast) return '?';
  if (colour.hslSaturation() < 40) return '=';
  const int hue = colour.hslHue();
  return hue <= 15 || hue >= 345 ? '!' : '?';
}

// The same pairs as the New name column shows them.
QStringList Shown(const TFileList& list) {
  const auto& model = *qobject_cast<const TFileListModel*>(list.CurrentView()->model());
  QStringList entries;
  for (int row = 0; row < model.rowCount(); ++row) {
    const QModelIndex name = model.index(row, colName), newName = model.index(row, colNewName);
    const QString text = newName.data().toString();
    if (text.isEmpty()) continue;
    const QChar kind = model.IsFolderAt(name) ? u'D' : u'F';
    entries << name.data().toString() + u" -> "_s + kind + QLatin1Char(Mark(newName.data(Qt::ForegroundRole))) + u' ' +
                   text;
  }
  entries.sort();
  return entries;
}

struct TCase {
  const char* name;
  // Created in this order, each a hundred seconds older than the one before; a trailing
  // '/' makes a folder.
  std::vector<std::string> entries;
  std::vector<TJob> jobs;
  std::string mask = "*.*";
  TSortOrder order = TSortOrder::NameAsc;
  std::int32_t counterStart = 0;
  bool renameDirs = false;
};

const TJob kCounter = MakeJob(TJobKind::jobCounter, posEnd, 2);
const std::vector<std::string> kMixed = {"b.txt", "c.txt", "a.txt", "d.txt"};

const TCase kCases[] = {
    {"name ascending, counter from 1", kMixed, {kCounter}, "*.*", TSortOrder::NameAsc, 1},
    {"name descending, counter from 7", kMixed, {kCounter}, "*.*", TSortOrder::NameDesc, 7},
    {"date ascending", kMixed, {kCounter}, "*.*", TSortOrder::DateAsc},
    {"date descending", kMixed, {kCounter}, "*.*", TSortOrder::DateDesc},
    {"listing order", kMixed, {kCounter}, "*.*", TSortOrder::ListingOrder},
    {"the mask leaves files out", {"a.jpg", "b.txt", "c.JPG"}, {kCounter}, "*.jpg"},
    {"clashes, a refused name and names that stay",
     {"a.txt", "b.txt", "x.txt", "keep.txt", "c.txt", "d.txt", "e.txt"},
     {MakeJob(TJobKind::jobReplace, replaceRegex, 1, 0, "^[ab]\\.txt$", "x.txt"),
      MakeJob(TJobKind::jobReplace, replaceRegex, 1, 0, "^[cd]\\.txt$", "y.txt"),
      MakeJob(TJobKind::jobReplace, replaceRegex, 1, 0, "^e\\.txt$", "")}},
    {"a shift that waits for its names",
     {"file3", "file1", "file2"},
     {MakeJob(TJobKind::jobRemove, posEnd, 1), MakeJob(TJobKind::jobCounter, posEnd, 1)},
     "*.*",
     TSortOrder::NameAsc,
     2},
    {"folders renamed first", {"d2/", "b.txt", "d1/", "a.txt"}, {kCounter}, "*.*", TSortOrder::NameAsc, 1, true},
    {"folders kept", {"d2/", "b.txt", "d1/", "a.txt"}, {kCounter}, "*.*", TSortOrder::NameAsc, 1, false},
    {"no job ticked", kMixed, {MakeJob(TJobKind::jobCounter, posEnd, 2, 0, "", "", false)}},
};

void MakeEntries(const test::TTempDir& folder, const std::vector<std::string>& entries) {
  test::MakeTree(folder.Path(), entries);
  long age = 0;
  for (const std::string& entry : entries) test::SetModifiedTime(folder / entry, kNewest - 100 * age++);
}

// Until the column is complete and every worker has let go of its work, so that nothing
// on its way can change the column after the test has read it.
bool Settled(const TFileList& list) {
  if (!QTest::qWaitFor([&] { return !list.IsPreviewing(); })) return false;
  QThreadPool::globalInstance()->waitForDone();
  QCoreApplication::sendPostedEvents();
  return !list.IsPreviewing();
}

// A listing that throws what `thrown` throws.
class TThrowingSysCalls : public sys::TSysCalls {
 public:
  explicit TThrowingSysCalls(std::function<void()> thrown) : m_thrown(std::move(thrown)) {}
  struct dirent* ReadDir(DIR*) override {
    m_thrown();
    return nullptr;
  }

 private:
  std::function<void()> m_thrown;
};

// Holds the first listing back until released, so that the column's preview, which lists
// the folder itself, can be in before the rows of the reading held.
class TFirstListingHeld : public sys::TSysCalls {
 public:
  struct dirent* ReadDir(DIR* dir) override {
    std::unique_lock lock(m_mutex);
    if (m_first == nullptr) {
      m_first = dir;
      m_changed.notify_all();
    }
    if (dir == m_first) m_changed.wait_for(lock, std::chrono::seconds(10), [this] { return m_release; });
    lock.unlock();
    return sys::TSysCalls::ReadDir(dir);
  }
  // Until a listing is held; false after 10 s.
  bool WaitUntilHeld() {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(10), [this] { return m_first != nullptr; });
  }
  void Release() {
    const std::lock_guard lock(m_mutex);
    m_release = true;
    m_changed.notify_all();
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  DIR* m_first = nullptr;
  bool m_release = false;
};

}  // namespace

class TNamePreviewTest : public QObject {
  Q_OBJECT

 private slots:
  void theColumnShowsWhatTheSimulationPredicts_data();
  void theColumnShowsWhatTheSimulationPredicts();
  void newerInputsSupersedeAPreviewOnItsWay();
  void aPreviewInBeforeTheRowsCompletesTheColumnWithThem();
  void inputsArriveWhileAReadingAndAPreviewAreOnTheirWay_data();
  void inputsArriveWhileAReadingAndAPreviewAreOnTheirWay();
  void aPreviewThatFailsSaysWhy_data();
  void aPreviewThatFailsSaysWhy();
  void theMainWindowsInputsReachTheColumn();
};

void TNamePreviewTest::theColumnShowsWhatTheSimulationPredicts_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<bool>("dark");  // the marks read on a dark theme's list as on a light one's
  for (int row = 0; row < static_cast<int>(std::size(kCases)); ++row) {
    QTest::addRow("%s", kCases[row].name) << row << false;
    QTest::addRow("%s, dark", kCases[row].name) << row << true;
  }
}

void TNamePreviewTest::theColumnShowsWhatTheSimulationPredicts() {
  QFETCH(int, row);
  QFETCH(bool, dark);
  const TCase& test = kCases[row];
  const QPalette light = QGuiApplication::palette();
  if (dark) {
    QPalette palette = light;
    palette.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    palette.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    palette.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x60, 0x60, 0x60));
    QApplication::setPalette(palette);
  }
  const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
  const test::TTempDir folder;
  MakeEntries(folder, test.entries);
  TJobList jobs;
  for (const TJob& job : test.jobs) jobs.AddLoaded(job);
  TRunOptions options;
  options.startDirectory = folder.Path();
  options.fileMask = test.mask;
  options.sort = test.order != TSortOrder::ListingOrder;
  options.sortOrder = test.order;
  options.counterStart = test.counterStart;
  options.renameDirs = test.renameDirs;

  TFileList list;
  list.SetViewStyle(3);
  QSignalSpy previewed(&list, &TFileList::NamesPreviewed);
  list.SetFolder(folder.Path());
  list.PreviewNames(jobs, options);
  QVERIFY(previewed.wait());
  QCOMPARE(Shown(list), Simulated(jobs, options));
}

// The first preview has started when the second inputs arrive; it ends while they wait,
// and only the second shows.
void TNamePreviewTest::newerInputsSupersedeAPreviewOnItsWay() {
  const test::TTempDir folder;
  MakeEntries(folder, kMixed);
  TFileList list;
  list.SetViewStyle(3);
  list.SetFolder(folder.Path());
  QTRY_COMPARE(list.CurrentView()->model()->rowCount(), static_cast<int>(kMixed.size()));
  TJobList jobs;
  jobs.AddLoaded(kCounter);
  TRunOptions options;
  options.startDirectory = folder.Path();
  QSignalSpy previewed(&list, &TFileList::NamesPreviewed);
  list.PreviewNames(jobs, options);
  QCoreApplication::processEvents();
  QVERIFY(list.IsPreviewing());
  options.counterStart = 50;
  list.PreviewNames(jobs, options);
  QVERIFY(previewed.wait());
  QCOMPARE(Shown(list), Simulated(jobs, options));
  QCOMPARE(previewed.count(), 1);
}

void TNamePreviewTest::aPreviewInBeforeTheRowsCompletesTheColumnWithThem() {
  const test::TTempDir folder;
  MakeEntries(folder, kMixed);
  TJobList jobs;
  jobs.AddLoaded(kCounter);
  TRunOptions options;
  options.startDirectory = folder.Path();
  TFileList list;
  list.SetViewStyle(3);
  QSignalSpy previewed(&list, &TFileList::NamesPreviewed);
  {
    TFirstListingHeld held;
    const sys::TScopedSysCalls seam(held);
    // Whatever fails, no reading is left waiting on what goes out of scope.
    const auto done = qScopeGuard([&] {
      held.Release();
      QThreadPool::globalInstance()->waitForDone();
    });
    list.SetFolder(folder.Path());
    // The preview starts once the reading is held: it cannot be the one held.
    QVERIFY(held.WaitUntilHeld());
    list.PreviewNames(jobs, options);
    // The column's heading is told of the preview's arrival, the first it hears of.
    QSignalSpy arrived(list.CurrentView()->model(), &QAbstractItemModel::headerDataChanged);
    QVERIFY(arrived.wait());
    QCOMPARE(previewed.count(), 0);
    held.Release();
    QVERIFY(previewed.wait());
    QVERIFY(Settled(list));
  }
  QCOMPARE(Shown(list), Simulated(jobs, options));
  QCOMPARE(previewed.count(), 1);
}

void TNamePreviewTest::inputsArriveWhileAReadingAndAPreviewAreOnTheirWay_data() {
  // "inputs": a new counter start; "pass": one pass of the event loop, which starts the
  // preview asked for; "read": the folder read afresh; "sort": the list sorted by size;
  // "release" and "refresh": a run lets go of the folder and reads it again afterwards.
  QTest::addColumn<QStringList>("steps");
  QTest::newRow("inputs while a preview is on its way") << QStringList{"inputs", "pass", "inputs"};
  QTest::newRow("inputs while the folder is read") << QStringList{"read", "inputs", "pass", "inputs"};
  QTest::newRow("a reading, then inputs, while a preview is on its way")
      << QStringList{"inputs", "pass", "read", "inputs"};
  QTest::newRow("inputs, then a reading, while a preview is on its way")
      << QStringList{"inputs", "pass", "inputs", "read"};
  QTest::newRow("a sort while both are on their way") << QStringList{"inputs", "pass", "read", "sort", "inputs"};
  QTest::newRow("a run lets go of the folder meanwhile")
      << QStringList{"inputs", "pass", "release", "inputs", "pass", "refresh"};
}

// The column ends complete for the latest inputs, and stays so.
void TNamePreviewTest::inputsArriveWhileAReadingAndAPreviewAreOnTheirWay() {
  QFETCH(QStringList, steps);
  const test::TTempDir folder;
  std::vector<std::string> names;
  for (int n = 1; n <= 22; ++n) names.push_back("file " + std::to_string(n) + ".txt");
  MakeEntries(folder, names);
  TFileList list;
  list.SetViewStyle(3);
  list.SetFolder(folder.Path());
  TJobList jobs;
  jobs.AddLoaded(kCounter);
  TRunOptions options;
  options.startDirectory = folder.Path();
  list.PreviewNames(jobs, options);
  QVERIFY(Settled(list));
  for (const QString& step : steps) {
    if (step == "inputs") {
      ++options.counterStart;
      list.PreviewNames(jobs, options);
    }
    if (step == "pass") QCoreApplication::processEvents();
    if (step == "read") list.SetFolder(folder.Path());
    if (step == "sort") list.CurrentView()->model()->sort(colSize);
    if (step == "release") list.Release();
    if (step == "refresh") list.Refresh();
  }
  QVERIFY(Settled(list));
  QCOMPARE(Shown(list).size(), static_cast<int>(names.size()));
  QCOMPARE(Shown(list), Simulated(jobs, options));
}

void TNamePreviewTest::aPreviewThatFailsSaysWhy_data() {
  QTest::addColumn<std::function<void()>>("thrown");
  QTest::addColumn<bool>("whileListed");  // the list has its rows before the failure
  QTest::addColumn<QString>("reason");
  const std::function<void()> unreadable = [] { errno = EIO; };
  QTest::newRow("an unreadable folder") << unreadable << true << "Input/output error";
  QTest::newRow("more names than a run can sort")
      << std::function<void()>([] { throw std::length_error("the names of one folder take more than 4 GiB"); }) << true
      << "Value too large";
  QTest::newRow("no memory") << std::function<void()>([] { throw std::bad_alloc(); }) << true << "not enough memory";
  QTest::newRow("a runtime error") << std::function<void()>([] { throw std::runtime_error("gone"); }) << true << "gone";
  QTest::newRow("no std::exception") << std::function<void()>([] { throw 7; }) << true << "an unknown error";
  QTest::newRow("the list's own reading throws too")
      << std::function<void()>([] { throw std::bad_alloc(); }) << false << "not enough memory";
}

// The column stays empty, with the reason on its heading and in each row's tooltip,
// and the program goes on; the next inputs after the cause has gone show the names.
void TNamePreviewTest::aPreviewThatFailsSaysWhy() {
  QFETCH(std::function<void()>, thrown);
  QFETCH(bool, whileListed);
  QFETCH(QString, reason);
  const test::TTempDir folder;
  MakeEntries(folder, kMixed);
  TFileList list;
  list.SetViewStyle(3);
  TJobList jobs;
  jobs.AddLoaded(kCounter);
  TRunOptions options;
  options.startDirectory = folder.Path();
  if (whileListed) {
    list.SetFolder(folder.Path());
    QTRY_COMPARE(list.CurrentView()->model()->rowCount(), static_cast<int>(kMixed.size()));
  }
  const QAbstractItemModel& model = *list.CurrentView()->model();
  {
    TThrowingSysCalls failing(thrown);
    const sys::TScopedSysCalls seam(failing);
    if (!whileListed) list.SetFolder(folder.Path());
    list.PreviewNames(jobs, options);
    QVERIFY(Settled(list));
  }
  QCOMPARE(Shown(list), QStringList());
  const QString heading = model.headerData(colNewName, Qt::Horizontal, Qt::ToolTipRole).toString();
  QVERIFY2(heading.startsWith("The new names cannot be shown: ") && heading.contains(reason), qPrintable(heading));
  QVERIFY(!model.headerData(colNewName, Qt::Horizontal, Qt::DecorationRole).value<QIcon>().isNull());
  for (int row = 0; row < model.rowCount(); ++row) {
    QCOMPARE(model.index(row, colNewName).data(Qt::ToolTipRole).toString(), heading);
  }

  list.Refresh();
  options.counterStart = 3;
  list.PreviewNames(jobs, options);
  QVERIFY(Settled(list));
  QCOMPARE(Shown(list), Simulated(jobs, options));
  QCOMPARE(model.headerData(colNewName, Qt::Horizontal, Qt::ToolTipRole), QVariant());
}

// Each step changes one input of the run's names; the column then matches a simulation
// with the window's options over the shown folder.
void TNamePreviewTest::theMainWindowsInputsReachTheColumn() {
  const test::TTempDir folder;
  MakeEntries(folder, {"b.txt", "sub/", "a.jpg", "c.txt"});
  test::TMainWindowHarness harness;
  harness.WriteDefaultJobList({kCounter, MakeJob(TJobKind::jobUpper, caseWholeName)});
  harness.Start({folder.Path()});
  const std::vector<std::pair<const char*, std::function<void()>>> steps = {
      {"details view", [&] { harness.Click("btnDetails"); }},
      {"counter start", [&] { harness.Control<QSpinBox>("edtCounter")->setValue(41); }},
      {"order", [&] { harness.Click("rbDateASC"); }},
      {"mask", [&] { harness.Control<QComboBox>("cmbFileMask")->setEditText(u"*.txt"_s); }},
      {"folders renamed", [&] { harness.Click("chkRenameDirs"); }},
      {"a job unticked",
       [&] {
         QAbstractItemModel& jobs = *harness.JobList()->model();
         jobs.setData(jobs.index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
       }},
      {"every job unticked",
       [&] {
         QAbstractItemModel& jobs = *harness.JobList()->model();
         jobs.setData(jobs.index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
       }},
  };
  for (const auto& [step, change] : steps) {
    QSignalSpy previewed(&harness.List(), &TFileList::NamesPreviewed);
    change();
    QVERIFY2(previewed.wait(), step);
    TRunOptions options = harness.Window().RunOptions();
    options.startDirectory = folder.Path();
    // The step's name leads both lists, so a failure names it.
    const QStringList named = {QString::fromUtf8(step)};
    QCOMPARE(named + Shown(harness.List()), named + Simulated(harness.Window().Jobs(), options));
  }
}

}  // namespace qx

QTEST_MAIN(qx::TNamePreviewTest)
#include "UNamePreviewTest.moc"
