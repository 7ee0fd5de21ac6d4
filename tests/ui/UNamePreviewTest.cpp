// SPDX-License-Identifier: GPL-3.0-or-later
// The file list's New name column against quillex-cli run --simulate over the same
// folder, jobs and options: every entry the run takes a turn for shows the name and the
// mark the simulation gives it (renamed, unchanged greyed, refused or clashing red),
// numbered in the run's order; newer inputs supersede a preview on its way; and the main
// window's inputs reach the column.
#include <QComboBox>
#include <QSpinBox>
#include <QtTest/QtTest>
#include <fstream>
#include <sstream>

#include "cli/UCliApp.h"
#include "jobio/UJobIO.h"
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

}  // namespace

class TNamePreviewTest : public QObject {
  Q_OBJECT

 private slots:
  void theColumnShowsWhatTheSimulationPredicts_data();
  void theColumnShowsWhatTheSimulationPredicts();
  void newerInputsSupersedeAPreviewOnItsWay();
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
