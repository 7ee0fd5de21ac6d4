// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: job list commands, ticks, the sample test and file clicks, the mask
// history, option dependencies, settings at start-up and close, the job list file
// commands and the command line.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QToolButton>
#include <QTreeView>
#include <QtTest/QtTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "jobio/UJobIO.h"
#include "platform/UFiles.h"
#include "settings/UAppSettings.h"
#include "support/UHostileFiles.h"
#include "support/UMakeJob.h"
#include "support/URecordingMessages.h"
#include "support/UTempDir.h"
#include "support/UTree.h"
#include "ui/UMainWindowHarness.h"
#include "ui/UQtText.h"
#include "ui/UScriptedDialogs.h"
#include "ui/UUiTestSupport.h"
#include "ui/browse/UFileList.h"
#include "ui/dialogs/UfrmXMLEncoding.h"
#include "ui/main/UJobPanel.h"
#include "ui/main/UfrmMain.h"
#include "ui/run/UfrmLog.h"

Q_DECLARE_METATYPE(std::vector<qx::TJob>)

namespace qx {
namespace {

using test::MakeJob;

const char* const kSelectFirst = "Please select a job first.";
const char* const kNothingToDo = "Nothing to do! Create some jobs or enable them first.";

using THarness = test::TMainWindowHarness;

std::vector<TJob> ThreeJobs() {
  return {MakeJob(TJobKind::jobLower, 0), MakeJob(TJobKind::jobInsert, 1, 0, 0, "_b"), MakeJob(TJobKind::jobUpper, 2)};
}

QStringList DescriptionsOf(const std::vector<TJob>& jobs, std::initializer_list<int> order) {
  QStringList texts;
  for (int index : order) texts << ToQString(JobDescription(jobs[static_cast<std::size_t>(index)]));
  return texts;
}

std::vector<std::string> Strings(std::initializer_list<const char*> texts) { return {texts.begin(), texts.end()}; }

std::string Canonical(const std::string& path) { return std::filesystem::canonical(path).string(); }

}  // namespace

class TfrmMainTest : public QObject {
  Q_OBJECT

 private slots:
  void goRunsWithTheOptionsShownAndKeepsTheWindowStillMeanwhile();
  void undoTreeTakesBackARecursiveRunInOneStep();
  void menuCaptionsInOrder();
  void controlsCarryTheirHints_data();
  void controlsCarryTheirHints();
  void jobFileDialogs_data();
  void jobFileDialogs();

  void jobButtonsAddAJobOfTheirKind_data();
  void jobButtonsAddAJobOfTheirKind();
  void cancellingANewJobDiscardsIt();
  void addingLeavesTheSelectionAlone();
  void editReplacesTheJobKeepingTickPlaceAndSelection();
  void doubleClickEditsTheJob();
  void commandsWithoutASelectionAsk_data();
  void commandsWithoutASelectionAsk();
  void deleteMovesTheSelection_data();
  void deleteMovesTheSelection();
  void upAndDownExchangeAndFollow_data();
  void upAndDownExchangeAndFollow();
  void ticksAreTheEnabledFlags();
  void anAddedJobComesBackTickedAfterARestart();
  void goRefusesWithoutATickedJob_data();
  void goRefusesWithoutATickedJob();

  void sampleTest_data();
  void sampleTest();
  void fileClicksContinueTheCounter();
  void aClickedNameIsTakenByteForByte();
  void openingAFolderInTheListSelectsItInTheTree();
  void backShowsTheParentFolder();
  void viewStyleButtons();

  void maskHistoryAtTheWindow();
  void elevenMasksLeaveTenKeys();
  void reusingAMaskMovesItToTheTop();
  void anEmptyMaskIsDroppedAtTheNextStart();
  void optionDependencies();
  void optionDependenciesFromSavedSettings();

  void firstStartShowsTheDefaults();
  void settingsRoundTrip();
  void aNarrowTreeWidthBecomesFifty();
  void historyGapsCloseUp();
  void anUnknownSortOrderKeepsNameAscending();
  void aStoredFoldersAtOnceShowsInTheMenuAndReachesTheRuns_data();
  void aStoredFoldersAtOnceShowsInTheMenuAndReachesTheRuns();
  void aDeletedOpenFolderFallsBackToTheProgramFolder();
  void aDeletedPathIsIgnoredSilently();
  void anUnreadableBooleanCostsOnlyItsOwnKey();
  void windowPlacementRoundTrip();
  void closingSurvivesAnUnwritableSettingsFile();
  void hostileSettingsAndJobListFilesNeitherHoldUpNorGetReplaced_data();
  void hostileSettingsAndJobListFilesNeitherHoldUpNorGetReplaced();
  void aStoredEncodingThatCannotBeSavedInIsReplaced();
  void aJobListThatCannotBeWrittenAsksBeforeClosing_data();
  void aJobListThatCannotBeWrittenAsksBeforeClosing();
  void theSessionsEndShowsNothingAndReportsAtTheNextStart();
  void anUnreadableDefaultJobListIsNotOverwritten();

  void openReplacesTheJobsAndMovesTheOpenFolder();
  void openThatFailsKeepsTheJobsButMovesTheOpenFolder();
  void cancelledOpenChangesNothing();
  void saveWithoutJobsSaysSo();
  void saveWritesDisabledJobsToo();
  void saveAsksBeforeOverwriting_data();
  void saveAsksBeforeOverwriting();
  void encodingCommand_data();
  void encodingCommand();

  void commandLineSelectsTheFolder_data();
  void commandLineSelectsTheFolder();
  void aBadArgumentIsReportedAndTheJobsStillLoad();
};

void TfrmMainTest::menuCaptionsInOrder() {
  THarness harness;
  harness.Start();
  QStringList captions;
  for (QAction* menu : harness.Window().menuBar()->actions()) {
    captions << menu->text();
    for (QAction* item : menu->menu()->actions()) captions << (item->isSeparator() ? "-" : item->text());
  }
  QCOMPARE(captions, (QStringList{"&File",
                                  "&Open Job List",
                                  "&Save Job List",
                                  "-",
                                  "&Place Quillex in Send To...",
                                  "-",
                                  "E&xit",
                                  "S&ettings",
                                  "&Character Encoding for XML job files...",
                                  "&Font for Directory and File Lists...",
                                  "Folders at &Once",
                                  "&Numbers in names by value",
                                  "Number new names that are &taken",
                                  "&View",
                                  "&Log Window",
                                  "&Refresh Folders",
                                  "&Help",
                                  "&Quick Help (HTML)",
                                  "&Regular Expression Quick Help",
                                  "&Ostrel Software homepage...",
                                  "&Check for Updates...",
                                  "-",
                                  "&About"}));
  // The design-time size, narrowed where the screen is smaller (the test's is 800 wide).
  const QRect area = harness.Window().screen()->availableGeometry();
  QCOMPARE(harness.Window().height(), 440);
  QVERIFY(harness.Window().width() == 867 || harness.Window().frameGeometry().width() == area.width());
  // The two Undo buttons share a row; at the default size neither caption is cut.
  for (const char* name : {"btnUndo", "btnUndoTree"}) {
    const auto* button = harness.Control<QPushButton>(name);
    QVERIFY2(button->width() >= button->sizeHint().width(), name);
  }
  QVERIFY(!(harness.Window().windowFlags() & Qt::WindowMaximizeButtonHint));
}

void TfrmMainTest::controlsCarryTheirHints_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("hint");
  const char* const rows[][2] = {
      {"btnLower", "Convert to Lower Case"},
      {"btnUpper", "Convert to Upper Case"},
      {"btnNormal", "Normalize Case (First Letter Upper)"},
      {"btnInsert", "Insert Characters"},
      {"btnRemoveChars", "Remove Characters"},
      {"btnReplace", "Replace Characters"},
      {"btnCounter", "Add a numeric Counter ('XXX')"},
      {"btnEdit", "Edit Job"},
      {"btnRemove", "Delete Job from List"},
      {"btnUp", "Move job up"},
      {"btnDown", "Move job down"},
      {"btnUndo", "Undo Renaming in Current Dir"},
      {"btnUndoTree", "Undo in Folder and Subfolders"},
      {"btnExample", "Check the result on the example string"},
      {"btnBack", "Back to Parent Folder"},
      {"btnLargeIcons", "Large Icons"},
      {"btnSmallIcons", "Small Icons"},
      {"btnList", "List"},
      {"btnDetails", "Details"},
      {"imgRefresh", "Click to Refresh Directories"},
  };
  for (const auto& row : rows) QTest::newRow(row[0]) << row[0] << row[1];
}

void TfrmMainTest::controlsCarryTheirHints() {
  QFETCH(QString, control);
  QFETCH(QString, hint);
  THarness harness;
  harness.Start();
  QCOMPARE(harness.Control<QWidget>(qPrintable(control))->toolTip(), hint);
}

void TfrmMainTest::jobFileDialogs_data() {
  QTest::addColumn<int>("which");
  QTest::addColumn<QString>("title");
  QTest::addColumn<int>("fileMode");
  QTest::addColumn<bool>("dontConfirmOverwrite");
  QTest::newRow("open") << int(TJobListFileDialog::dlgOpen) << "Load Job List from XML file"
                        << int(QFileDialog::ExistingFile) << false;
  // The command asks itself, through the message interface.
  QTest::newRow("save") << int(TJobListFileDialog::dlgSave) << "Save Job List as XML file" << int(QFileDialog::AnyFile)
                        << true;
}

void TfrmMainTest::jobFileDialogs() {
  QFETCH(int, which);
  QFETCH(QString, title);
  QFETCH(int, fileMode);
  QFETCH(bool, dontConfirmOverwrite);
  test::TTempDir folder;
  const auto dialog = CreateJobListFileDialog(static_cast<TJobListFileDialog>(which), nullptr, folder.Path());
  QCOMPARE(dialog->windowTitle(), title);
  QCOMPARE(dialog->nameFilters(), (QStringList{"XML files (*.xml)", "All Files (*)"}));
  QCOMPARE(dialog->defaultSuffix(), QString("xml"));
  QCOMPARE(int(dialog->fileMode()), fileMode);
  QCOMPARE(dialog->testOption(QFileDialog::DontConfirmOverwrite), dontConfirmOverwrite);
  QCOMPARE(dialog->directory().absolutePath() + "/", ToQString(folder.Path()));
}

void TfrmMainTest::jobButtonsAddAJobOfTheirKind_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("dialog");
  QTest::addColumn<QString>("description");
  QTest::newRow("lower") << "btnLower"
                         << "qx::TfrmCaseDetails"
                         << "Convert all characters to lower case in every alphabet";
  QTest::newRow("upper") << "btnUpper"
                         << "qx::TfrmCaseDetails"
                         << "Convert all characters to upper case in every alphabet";
  QTest::newRow("normal") << "btnNormal"
                          << "qx::TfrmCaseDetails"
                          << "Normalize case of all characters in every alphabet";
  QTest::newRow("insert") << "btnInsert"
                          << "qx::TfrmAddDetails"
                          << "Insert \"\" at the beginning";
  QTest::newRow("remove") << "btnRemoveChars"
                          << "qx::TfrmRemoveDetails"
                          << "Remove 1 character from the beginning";
  QTest::newRow("replace") << "btnReplace"
                           << "qx::TfrmReplaceDetails"
                           << "Replace \"\" with \"\" (ignore case)";
  QTest::newRow("counter") << "btnCounter"
                           << "qx::TfrmCounterDetails"
                           << "Add a counter of 1 character at the beginning";
}

void TfrmMainTest::jobButtonsAddAJobOfTheirKind() {
  QFETCH(QString, button);
  QFETCH(QString, dialog);
  QFETCH(QString, description);
  THarness harness;
  harness.Start();
  harness.dialogs.steps.push_back(test::PressOk());
  harness.Click(qPrintable(button));
  QCOMPARE(QString::fromStdString(harness.dialogs.shownDialogs.at(0)), dialog);
  QCOMPARE(harness.Descriptions(), QStringList{description});
  QCOMPARE(harness.Ticks(), QList<bool>{true});
  QVERIFY(harness.Window().Jobs()[0].enabled);
  QCOMPARE(harness.SelectedRow(), -1);
}

void TfrmMainTest::cancellingANewJobDiscardsIt() {
  THarness harness;
  harness.WriteDefaultJobList(ThreeJobs());
  harness.Start();
  harness.dialogs.steps.push_back(test::PressCancel());
  harness.Click("btnInsert");
  QCOMPARE(harness.dialogs.shownDialogs.size(), std::size_t{1});
  QCOMPARE(harness.Window().Jobs().Jobs(), ThreeJobs());
}

void TfrmMainTest::addingLeavesTheSelectionAlone() {
  THarness harness;
  harness.WriteDefaultJobList(ThreeJobs());
  harness.Start();
  harness.SelectRow(1);
  harness.dialogs.steps.push_back(test::PressOk());
  harness.Click("btnLower");
  QCOMPARE(harness.Descriptions().size(), 4);
  QCOMPARE(harness.SelectedRow(), 1);
}

void TfrmMainTest::editReplacesTheJobKeepingTickPlaceAndSelection() {
  THarness harness;
  std::vector<TJob> jobs = ThreeJobs();
  jobs[1].enabled = false;
  harness.WriteDefaultJobList(jobs);
  harness.Start();
  harness.SelectRow(1);
  harness.dialogs.steps.push_back([](QDialog& dialog) {
    test::Child<QLineEdit>(dialog, "edtString")->setText("_new");
    return true;
  });
  harness.Click("btnEdit");
  QCOMPARE(harness.dialogs.shownDialogs, Strings({"qx::TfrmAddDetails"}));
  jobs[1].str1 = "_new";
  QCOMPARE(harness.Window().Jobs().Jobs(), jobs);
  QCOMPARE(harness.Descriptions(), DescriptionsOf(jobs, {0, 1, 2}));
  QCOMPARE(harness.Ticks(), (QList<bool>{true, false, true}));
  QCOMPARE(harness.SelectedRow(), 1);

  harness.dialogs.steps.push_back([](QDialog& dialog) {
    test::Child<QLineEdit>(dialog, "edtString")->setText("_cancelled");
    return false;
  });
  harness.Click("btnEdit");
  QCOMPARE(harness.Window().Jobs().Jobs(), jobs);
}

void TfrmMainTest::doubleClickEditsTheJob() {
  THarness harness;
  harness.WriteDefaultJobList(ThreeJobs());
  harness.Start();
  QListView* list = harness.JobList();
  const QRect item = list->visualRect(list->model()->index(2, 0));
  harness.dialogs.steps.push_back([](QDialog& dialog) {
    test::Child<QRadioButton>(dialog, "rbFilename")->setChecked(true);
    return true;
  });
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
  QCOMPARE(harness.dialogs.shownDialogs, Strings({"qx::TfrmCaseDetails"}));
  QCOMPARE(harness.Descriptions().at(2), QString("Convert filename to upper case"));
}

void TfrmMainTest::commandsWithoutASelectionAsk_data() {
  QTest::addColumn<QString>("command");
  QTest::addColumn<bool>("withJobs");
  for (const char* command : {"btnEdit", "btnRemove", "btnUp", "btnDown", "double-click"}) {
    QTest::addRow("%s, empty list", command) << command << false;
    QTest::addRow("%s, nothing selected", command) << command << true;
  }
}

void TfrmMainTest::commandsWithoutASelectionAsk() {
  QFETCH(QString, command);
  QFETCH(bool, withJobs);
  THarness harness;
  if (withJobs) harness.WriteDefaultJobList(ThreeJobs());
  harness.Start();
  harness.dialogs.steps.push_back(test::PressOk());
  if (command == "double-click") {
    QListView* list = harness.JobList();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->viewport()->rect().bottomRight() - QPoint(2, 2));
  } else {
    harness.Click(qPrintable(command));
  }
  QCOMPARE(harness.messages.messages, Strings({kSelectFirst}));
  QVERIFY(harness.dialogs.shownDialogs.empty());
  QCOMPARE(harness.Window().Jobs().Count(), withJobs ? std::size_t{3} : std::size_t{0});
}

void TfrmMainTest::deleteMovesTheSelection_data() {
  QTest::addColumn<int>("count");
  QTest::addColumn<int>("selected");
  QTest::addColumn<QList<int>>("remaining");
  QTest::addColumn<int>("selectedAfter");
  QTest::newRow("first") << 3 << 0 << QList<int>{1, 2} << 0;
  QTest::newRow("middle") << 3 << 1 << QList<int>{0, 2} << 1;
  QTest::newRow("last selects the new last") << 3 << 2 << QList<int>{0, 1} << 1;
  QTest::newRow("the only one") << 1 << 0 << QList<int>{} << -1;
}

void TfrmMainTest::deleteMovesTheSelection() {
  QFETCH(int, count);
  QFETCH(int, selected);
  QFETCH(QList<int>, remaining);
  QFETCH(int, selectedAfter);
  std::vector<TJob> jobs = ThreeJobs();
  jobs.resize(static_cast<std::size_t>(count));
  THarness harness;
  harness.WriteDefaultJobList(jobs);
  harness.Start();
  harness.SelectRow(selected);
  harness.Click("btnRemove");
  std::vector<TJob> expected;
  for (int index : remaining) expected.push_back(jobs[static_cast<std::size_t>(index)]);
  QCOMPARE(harness.Window().Jobs().Jobs(), expected);
  QCOMPARE(harness.SelectedRow(), selectedAfter);
  QVERIFY(harness.messages.messages.empty());
}

void TfrmMainTest::upAndDownExchangeAndFollow_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<int>("selected");
  QTest::addColumn<QList<int>>("order");
  QTest::addColumn<int>("selectedAfter");
  QTest::newRow("up from the middle") << "btnUp" << 1 << QList<int>{1, 0, 2} << 0;
  QTest::newRow("up at the top") << "btnUp" << 0 << QList<int>{0, 1, 2} << 0;
  QTest::newRow("down from the middle") << "btnDown" << 1 << QList<int>{0, 2, 1} << 2;
  QTest::newRow("down at the bottom") << "btnDown" << 2 << QList<int>{0, 1, 2} << 2;
}

void TfrmMainTest::upAndDownExchangeAndFollow() {
  QFETCH(QString, button);
  QFETCH(int, selected);
  QFETCH(QList<int>, order);
  QFETCH(int, selectedAfter);
  std::vector<TJob> jobs = ThreeJobs();
  jobs[1].enabled = false;
  THarness harness;
  harness.WriteDefaultJobList(jobs);
  harness.Start();
  harness.SelectRow(selected);
  harness.Click(qPrintable(button));
  std::vector<TJob> expected;
  QList<bool> ticks;
  for (int index : order) {
    expected.push_back(jobs[static_cast<std::size_t>(index)]);
    ticks << jobs[static_cast<std::size_t>(index)].enabled;
  }
  QCOMPARE(harness.Window().Jobs().Jobs(), expected);
  QCOMPARE(harness.Ticks(), ticks);
  QCOMPARE(harness.SelectedRow(), selectedAfter);
  QVERIFY(harness.messages.messages.empty());
}

void TfrmMainTest::ticksAreTheEnabledFlags() {
  THarness harness;
  harness.WriteDefaultJobList(ThreeJobs());
  harness.Start();
  QListView* list = harness.JobList();
  list->setFocus();
  harness.SelectRow(1);
  QTest::keyClick(list, Qt::Key_Space);
  QCOMPARE(harness.Ticks(), (QList<bool>{true, false, true}));
  QVERIFY(!harness.Window().Jobs()[1].enabled);
  QVERIFY(!harness.Window().NoJobChecked());
  for (int row : {0, 2}) {
    harness.SelectRow(row);
    QTest::keyClick(list, Qt::Key_Space);
  }
  QVERIFY(harness.Window().NoJobChecked());
  harness.Close();
  // The file holds the flags, and the next start shows them as ticks.
  const auto saved = LoadJobListFromXML(harness.DefaultJobListPath(), harness.messages);
  QVERIFY(saved.has_value());
  QCOMPARE(saved->size(), std::size_t{3});
  for (const TJob& job : *saved) QVERIFY(!job.enabled);
  harness.Start();
  QCOMPARE(harness.Ticks(), (QList<bool>{false, false, false}));
}

void TfrmMainTest::anAddedJobComesBackTickedAfterARestart() {
  THarness harness;
  harness.Start();
  harness.dialogs.steps.push_back(test::PressOk());
  harness.Click("btnUpper");
  harness.Close();
  harness.Start();
  QCOMPARE(harness.Descriptions(), QStringList{"Convert all characters to upper case in every alphabet"});
  QCOMPARE(harness.Ticks(), QList<bool>{true});
}

void TfrmMainTest::goRefusesWithoutATickedJob_data() {
  QTest::addColumn<std::vector<TJob>>("jobs");
  QTest::addColumn<bool>("refused");
  QTest::newRow("no jobs") << std::vector<TJob>{} << true;
  QTest::newRow("every job unticked") << std::vector<TJob>{MakeJob(TJobKind::jobLower, 0, 0, 0, "", "", false)} << true;
  QTest::newRow("one ticked job") << std::vector<TJob>{MakeJob(TJobKind::jobLower, 0)} << false;
}

void TfrmMainTest::goRefusesWithoutATickedJob() {
  QFETCH(std::vector<TJob>, jobs);
  QFETCH(bool, refused);
  THarness harness;
  harness.WriteDefaultJobList(jobs);
  harness.Start();
  harness.ClickAndWait("btnGo");
  QCOMPARE(harness.messages.messages, refused ? Strings({kNothingToDo}) : Strings({}));
  QCOMPARE(harness.Window().Jobs().Jobs(), jobs);
}

void TfrmMainTest::goRunsWithTheOptionsShownAndKeepsTheWindowStillMeanwhile() {
  THarness harness;
  test::TTempDir tree;
  test::MakeTree(tree.Path(), {"a.txt", "B.TXT", "s/c.txt", "notes.doc"});
  harness.WriteDefaultJobList({MakeJob(TJobKind::jobUpper, 1)});
  harness.WriteIni("[Booleans]\nrecurseDirs=1\nundo=1\nlog=1\n[Integers]\ncounterStart=3\n[Strings]\nfilemask=*.txt\n");
  harness.Start({tree.Path()});
  QCOMPARE(harness.Window().RunOptions().startDirectory + "/", Canonical(tree.Path()) + "/");

  // Go returns while the run goes on; its end comes through the event loop.
  const auto enabled = [&] {
    return QList<bool>{harness.Control<QPushButton>("btnGo")->isEnabled(),
                       harness.Control<QPushButton>("btnUndo")->isEnabled(),
                       harness.Control<QPushButton>("btnUndoTree")->isEnabled(),
                       harness.JobList()->isEnabled(),
                       harness.Command("cmOpenJobList")->isEnabled(),
                       harness.Control<QTreeView>("stv")->isEnabled()};
  };
  harness.Click("btnGo");
  QCOMPARE(enabled(), QList<bool>(6, false));
  harness.WaitForRuns();
  QCOMPARE(enabled(), QList<bool>(6, true));
  QCOMPARE(test::ListTree(tree.Path()),
           Strings({"A.txt", "B.TXT", "_quillex_undo.txt", "notes.doc", "s/", "s/C.txt", "s/_quillex_undo.txt"}));
  QVERIFY(harness.Window().LogWindow().isVisible());
  // The mask history and the settings were written before the run.
  QCOMPARE(harness.Saved().GetString("filemask0"), std::string("*.txt"));

  harness.messages.answers = {true};
  harness.ClickAndWait("btnUndo");
  QCOMPARE(harness.messages.messages.back(), std::string("1 files and/or directories have been renamed."));
  QCOMPARE(test::ListTree(tree.Path()),
           Strings({"B.TXT", "a.txt", "notes.doc", "s/", "s/C.txt", "s/_quillex_undo.txt"}));
}

void TfrmMainTest::undoTreeTakesBackARecursiveRunInOneStep() {
  THarness harness;
  test::TTempDir tree;
  test::MakeTree(tree.Path(), {"a.txt", "s/b.txt", "s/t/c.txt", "u/"});
  const std::vector<std::string> original = test::ListTree(tree.Path());
  harness.WriteDefaultJobList({MakeJob(TJobKind::jobUpper, 0)});
  harness.WriteIni("[Booleans]\nrecurseDirs=1\nrenameDirs=1\nundo=1\n[Strings]\nfilemask=*.*\n");
  harness.Start({tree.Path()});
  harness.ClickAndWait("btnGo");
  QCOMPARE(test::ListTree(tree.Path()),
           Strings({"A.TXT", "S/", "S/B.TXT", "S/T/", "S/T/C.TXT", "S/T/_quillex_undo.txt", "S/_quillex_undo.txt", "U/",
                    "U/_quillex_undo.txt", "_quillex_undo.txt"}));

  harness.messages.answers = {true};
  harness.ClickAndWait("btnUndoTree");
  QCOMPARE(harness.messages.questions,
           Strings({"Operation will undo renaming in this directory and its subdirectories (6 renames in 4 undo "
                    "files).\r\nThen it will remove _quillex_undo.txt from these directories. Continue?"}));
  QCOMPARE(harness.messages.messages, Strings({"6 files and/or directories have been renamed."}));
  QCOMPARE(test::ListTree(tree.Path()), original);
}

void TfrmMainTest::sampleTest_data() {
  QTest::addColumn<std::vector<TJob>>("jobs");
  QTest::addColumn<int>("counterStart");
  QTest::addColumn<int>("presses");
  QTest::addColumn<QString>("result");
  QTest::newRow("no jobs") << std::vector<TJob>{} << 0 << 1 << "filename.ext";
  QTest::newRow("an insert job twice inserts twice")
      << std::vector<TJob>{MakeJob(TJobKind::jobInsert, 0, 0, 0, "X")} << 0 << 2 << "XXfilename.ext";
  QTest::newRow("a counter restarts at every press")
      << std::vector<TJob>{MakeJob(TJobKind::jobCounter, 0, 3)} << 5 << 2 << "005005filename.ext";
  QTest::newRow("two counters in one press count on")
      << std::vector<TJob>{MakeJob(TJobKind::jobCounter, 0, 1), MakeJob(TJobKind::jobCounter, 1, 1)} << 7 << 1
      << "7filename.ext8";
  QTest::newRow("an unticked job is skipped") << std::vector<TJob>{MakeJob(TJobKind::jobUpper, 0, 0, 0, "", "", false),
                                                                   MakeJob(TJobKind::jobInsert, 1, 0, 0, "_1")}
                                              << 0 << 1 << "filename.ext_1";
}

void TfrmMainTest::sampleTest() {
  QFETCH(std::vector<TJob>, jobs);
  QFETCH(int, counterStart);
  QFETCH(int, presses);
  QFETCH(QString, result);
  THarness harness;
  harness.WriteDefaultJobList(jobs);
  harness.Start();
  harness.Control<QSpinBox>("edtCounter")->setValue(counterStart);
  for (int n = 0; n < presses; ++n) harness.Click("btnExample");
  QCOMPARE(harness.Control<QLineEdit>("edtExample")->text(), result);
}

namespace {

// Waits until the file list shows `names`, and returns their items.
QList<QModelIndex> WaitForEntries(const THarness& harness, const QStringList& names) {
  QAbstractItemView* view = harness.Control<TFileList>("slv")->CurrentView();
  QList<QModelIndex> items;
  for (int attempt = 0; attempt < 100 && items.size() != names.size(); ++attempt) {
    QTest::qWait(50);
    items.clear();
    for (const QString& name : names) {
      const QModelIndexList found = view->model()->match(view->model()->index(0, 0, view->rootIndex()), Qt::DisplayRole,
                                                         name, 1, Qt::MatchExactly);
      if (!found.isEmpty()) items << found.first();
    }
  }
  return items;
}

void ClickEntry(const THarness& harness, const QModelIndex& item) {
  QAbstractItemView* view = harness.Control<TFileList>("slv")->CurrentView();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
}

}  // namespace

void TfrmMainTest::fileClicksContinueTheCounter() {
  test::TTempDir folder;
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) folder.WriteFile(name, "");
  THarness harness;
  harness.WriteDefaultJobList({MakeJob(TJobKind::jobCounter, 0, 2)});
  harness.Start({folder.Path()});
  const QList<QModelIndex> items = WaitForEntries(harness, {"a.txt", "b.txt", "c.txt"});
  QCOMPARE(items.size(), 3);
  QStringList shown;
  for (const QModelIndex& item : items) {
    ClickEntry(harness, item);
    shown << harness.Control<QLineEdit>("edtExample")->text();
  }
  QCOMPARE(shown, (QStringList{"00a.txt", "01b.txt", "02c.txt"}));
}

void TfrmMainTest::aClickedNameIsTakenByteForByte() {
  const std::string name = "\xc3\x9cn\xc3\xaf \xe6\x97\xa5\xe6\x9c\xac.txt";
  test::TTempDir folder;
  folder.WriteFile(name, "");
  THarness harness;
  harness.WriteDefaultJobList({MakeJob(TJobKind::jobUpper, 0)});
  harness.Start({folder.Path()});
  const QList<QModelIndex> items = WaitForEntries(harness, {ToQString(name)});
  QCOMPARE(items.size(), 1);
  ClickEntry(harness, items.first());
  QCOMPARE(ToBytes(harness.Control<QLineEdit>("edtExample")->text()),
           std::string("\xc3\x9cN\xc3\xaf \xe6\x97\xa5\xe6\x9c\xac.TXT"));
}

void TfrmMainTest::openingAFolderInTheListSelectsItInTheTree() {
  test::TTempDir folder;
  std::filesystem::create_directory(folder / "inner");
  THarness harness;
  harness.Start({folder.Path()});
  const QList<QModelIndex> items = WaitForEntries(harness, {"inner"});
  QCOMPARE(items.size(), 1);
  QAbstractItemView* view = harness.Control<TFileList>("slv")->CurrentView();
  // A double-click follows a click, as it does for a user.
  ClickEntry(harness, items.first());
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(items.first()).center());
  QCOMPARE(harness.Window().StartingDirectory(), Canonical(folder / "inner"));
  QCOMPARE(harness.Control<TFileList>("slv")->Folder(), Canonical(folder / "inner"));
}

void TfrmMainTest::backShowsTheParentFolder() {
  test::TTempDir folder;
  std::filesystem::create_directory(folder / "inner");
  THarness harness;
  harness.Start({folder / "inner"});
  harness.Click("btnBack");
  QCOMPARE(harness.Window().StartingDirectory(), Canonical(folder.Path()));
  QCOMPARE(harness.Control<TFileList>("slv")->Folder(), Canonical(folder.Path()));
}

void TfrmMainTest::viewStyleButtons() {
  THarness harness;
  harness.Start();
  auto* list = harness.Control<TFileList>("slv");
  QCOMPARE(list->ViewStyle(), 2);
  const std::pair<const char*, int> buttons[] = {
      {"btnLargeIcons", 0}, {"btnSmallIcons", 1}, {"btnDetails", 3}, {"btnList", 2}, {"btnDetails", 3}};
  for (const auto& [button, style] : buttons) {
    harness.Click(button);
    QCOMPARE(list->ViewStyle(), style);
    QCOMPARE(qobject_cast<QTreeView*>(list->CurrentView()) != nullptr, style == 3);
  }
  harness.Close();
  QCOMPARE(harness.Saved().GetInteger("viewStyle"), 3);
  harness.WriteIni("[Integers]\nviewStyle=0\n");
  harness.Start();
  auto* icons = qobject_cast<QListView*>(harness.Control<TFileList>("slv")->CurrentView());
  QVERIFY(icons);
  QCOMPARE(icons->viewMode(), QListView::IconMode);
}

void TfrmMainTest::maskHistoryAtTheWindow() {
  THarness harness;
  harness.Start();
  QComboBox* mask = harness.Control<QComboBox>("cmbFileMask");
  for (const char* text : {"A", "B", "A"}) {
    mask->setEditText(text);
    harness.Window().JobPanel().UpdateMaskHistory();
  }
  QStringList entries;
  for (int i = 0; i < mask->count(); ++i) entries << mask->itemText(i);
  QCOMPARE(entries, (QStringList{"A", "B"}));
  QCOMPARE(mask->currentText(), QString("A"));
}

void TfrmMainTest::elevenMasksLeaveTenKeys() {
  THarness harness;
  harness.Start();
  QComboBox* mask = harness.Control<QComboBox>("cmbFileMask");
  for (int n = 0; n <= 10; ++n) {
    mask->setEditText(QString("*.%1").arg(n));
    harness.Window().JobPanel().UpdateMaskHistory();
  }
  harness.Close();
  ToxRegVal saved = harness.Saved();
  QCOMPARE(saved.GetString("filemask"), std::string("*.10"));
  for (int n = 0; n < 10; ++n) {
    QCOMPARE(saved.GetString("filemask" + std::to_string(n)), "*." + std::to_string(10 - n));
  }
}

void TfrmMainTest::reusingAMaskMovesItToTheTop() {
  THarness harness;
  harness.WriteIni(
      "[Strings]\nfilemask=*.x\nfilemask0=*.0\nfilemask1=*.1\nfilemask2=*.2\nfilemask3=*.3\n"
      "filemask4=*.4\n");
  harness.Start();
  QComboBox* mask = harness.Control<QComboBox>("cmbFileMask");
  QCOMPARE(mask->currentText(), QString("*.x"));
  mask->setEditText("*.3");
  harness.Window().JobPanel().UpdateMaskHistory();
  harness.Close();
  ToxRegVal saved = harness.Saved();
  const char* const expected[] = {"*.3", "*.0", "*.1", "*.2", "*.4", ""};
  for (int n = 0; n < 6; ++n) QCOMPARE(saved.GetString("filemask" + std::to_string(n)), std::string(expected[n]));
}

void TfrmMainTest::anEmptyMaskIsDroppedAtTheNextStart() {
  THarness harness;
  harness.WriteIni("[Strings]\nfilemask0=*.a\nfilemask1=*.b\n");
  harness.Start();
  harness.Control<QComboBox>("cmbFileMask")->setEditText("");
  harness.Window().JobPanel().UpdateMaskHistory();
  harness.Close();
  QCOMPARE(harness.Saved().GetString("filemask0"), std::string());
  QCOMPARE(harness.Saved().GetString("filemask1"), std::string("*.a"));
  harness.Start();
  QComboBox* mask = harness.Control<QComboBox>("cmbFileMask");
  QCOMPARE(mask->count(), 2);
  QCOMPARE(mask->itemText(0), QString("*.a"));
  QCOMPARE(mask->itemText(1), QString("*.b"));
}

void TfrmMainTest::optionDependencies() {
  THarness harness;
  harness.Start();
  auto* confirm = harness.Control<QCheckBox>("chkConfirm");
  auto* undo = harness.Control<QCheckBox>("chkUndo");
  auto* go = harness.Control<QPushButton>("btnGo");
  confirm->setChecked(true);
  QCOMPARE(go->text(), QString("&Go"));
  harness.Control<QCheckBox>("chkSimulation")->click();
  QCOMPARE(go->text(), QString("&Simulate"));
  QVERIFY(!confirm->isEnabled() && !undo->isEnabled());
  QVERIFY(confirm->isChecked());
  harness.Control<QCheckBox>("chkSimulation")->click();
  QCOMPARE(go->text(), QString("&Go"));
  QVERIFY(confirm->isEnabled() && undo->isEnabled());

  auto* dateDesc = harness.Control<QRadioButton>("rbDateDESC");
  dateDesc->setChecked(true);
  harness.Control<QCheckBox>("chkSort")->click();
  for (const char* name : {"rbNameASC", "rbNameDESC", "rbDateASC", "rbDateDESC"}) {
    QVERIFY(!harness.Control<QRadioButton>(name)->isEnabled());
  }
  QVERIFY(dateDesc->isChecked());
  harness.Control<QCheckBox>("chkSort")->click();
  QVERIFY(dateDesc->isEnabled());
}

void TfrmMainTest::optionDependenciesFromSavedSettings() {
  THarness harness;
  harness.WriteIni("[Booleans]\nsort=0\nconfirm=1\nsimulation=1\n[Integers]\nsortOrder=2\n");
  harness.Start();
  QCOMPARE(harness.Control<QPushButton>("btnGo")->text(), QString("&Simulate"));
  QVERIFY(!harness.Control<QCheckBox>("chkUndo")->isEnabled());
  QVERIFY(!harness.Control<QCheckBox>("chkConfirm")->isEnabled());
  QVERIFY(harness.Control<QCheckBox>("chkConfirm")->isChecked());
  QVERIFY(!harness.Control<QRadioButton>("rbDateASC")->isEnabled());
  QVERIFY(harness.Control<QRadioButton>("rbDateASC")->isChecked());
}

void TfrmMainTest::firstStartShowsTheDefaults() {
  THarness harness;
  harness.Start();
  QCOMPARE(harness.Control<QComboBox>("cmbFileMask")->currentText(), QString("*.*"));
  QCOMPARE(harness.Control<QComboBox>("cmbFileMask")->count(), 0);
  QCOMPARE(harness.Control<QLineEdit>("edtExample")->text(), QString("filename.ext"));
  QCOMPARE(harness.Control<QSpinBox>("edtCounter")->value(), 0);
  QCOMPARE(harness.Control<TFileList>("slv")->ViewStyle(), 2);
  QCOMPARE(harness.Control<QWidget>("pnlDir")->width(), 200);
  QVERIFY(harness.Control<QCheckBox>("chkSort")->isChecked());
  QVERIFY(harness.Control<QRadioButton>("rbNameASC")->isChecked());
  for (const char* name :
       {"chkRecurseDirs", "chkRenameDirs", "chkResetCounter", "chkConfirm", "chkUndo", "chkLog", "chkSimulation"}) {
    QVERIFY2(!harness.Control<QCheckBox>(name)->isChecked(), name);
  }
  QCOMPARE(harness.Descriptions(), QStringList{});
  harness.Command("cmOpenJobList")->trigger();
  QCOMPARE(harness.dialogs.fileRequests.at(0).second, harness.ProgramDir());
  harness.Close();

  const std::string ini = ReadWholeFile(harness.IniPath());
  for (const char* section : {"[Booleans]", "[Integers]", "[Strings]", "[frmMain]"}) {
    QVERIFY2(ini.find(section) != std::string::npos, section);
  }
  QCOMPARE(harness.Saved().GetString("saveDir"), harness.ProgramDir());
  // Created although the list is empty.
  QCOMPARE(ReadWholeFile(harness.DefaultJobListPath()), ComposeJobListFile({}, "ISO-8859-1"));
  QVERIFY(harness.messages.messages.empty());
}

void TfrmMainTest::settingsRoundTrip() {
  test::TTempDir openDir;
  test::TTempDir saveDir;
  test::TTempDir path;
  THarness harness;
  harness.Start();
  for (const char* name :
       {"chkRecurseDirs", "chkRenameDirs", "chkResetCounter", "chkSort", "chkConfirm", "chkUndo", "chkLog"}) {
    harness.Click(name);
  }
  harness.Control<QComboBox>("cmbFileMask")->setEditText("*.jpg");
  harness.Control<QLineEdit>("edtExample")->setText("caf\xc3\xa9.JPG");
  harness.Control<QSpinBox>("edtCounter")->setValue(7);
  harness.Control<QRadioButton>("rbDateDESC")->setChecked(true);
  harness.Click("btnDetails");
  harness.Trigger("cmParallelFolders16");
  QCOMPARE(harness.Window().RunOptions().parallel, 16);
  QVERIFY(harness.Window().RunOptions().numbersByValue);
  harness.Trigger("cmNumbersByValue");
  QVERIFY(!harness.Window().RunOptions().numbersByValue);
  QCOMPARE(harness.Window().RunOptions().takenSuffix, std::string());
  harness.Trigger("cmNumberTakenNames");
  QCOMPARE(harness.Window().RunOptions().takenSuffix, std::string(" (%d)"));
  harness.Close();
  {
    ToxRegVal saved = harness.Saved();
    QCOMPARE(saved.GetInteger("parallelFolders"), 16);
    QVERIFY(!saved.GetBoolean("numbersByValue"));
    QCOMPARE(saved.GetString("takenSuffix"), std::string(" (%d)"));
    QCOMPARE(saved.GetString("filemask"), std::string("*.jpg"));
    QCOMPARE(saved.GetString("example"), std::string("caf\xc3\xa9.JPG"));
    QCOMPARE(saved.GetInteger("counterStart"), 7);
    QCOMPARE(saved.GetInteger("sortOrder"), 3);
    QCOMPARE(saved.GetInteger("viewStyle"), 3);
    QVERIFY(!saved.GetBoolean("sort"));
    QVERIFY(saved.GetBoolean("log"));
  }
  // Folders that exist come back as they were.
  ToxRegVal edit = harness.Saved();
  edit.SetString("openDir", openDir.Path());
  edit.SetString("saveDir", saveDir.Path());
  edit.SetString("path", Canonical(path.Path()));
  edit.SetString("takenSuffix", "_%d");  // the user's own format
  edit.Save();

  harness.Start();
  for (const char* name : {"chkRecurseDirs", "chkRenameDirs", "chkResetCounter", "chkConfirm", "chkUndo", "chkLog"}) {
    QVERIFY2(harness.Control<QCheckBox>(name)->isChecked(), name);
  }
  QVERIFY(!harness.Control<QCheckBox>("chkSort")->isChecked());
  QVERIFY(!harness.Control<QCheckBox>("chkSimulation")->isChecked());
  QCOMPARE(harness.Control<QComboBox>("cmbFileMask")->currentText(), QString("*.jpg"));
  QCOMPARE(ToBytes(harness.Control<QLineEdit>("edtExample")->text()), std::string("caf\xc3\xa9.JPG"));
  QCOMPARE(harness.Control<QSpinBox>("edtCounter")->value(), 7);
  QVERIFY(harness.Control<QRadioButton>("rbDateDESC")->isChecked());
  QCOMPARE(harness.Control<TFileList>("slv")->ViewStyle(), 3);
  QVERIFY(harness.Command("cmParallelFolders16")->isChecked());
  QCOMPARE(harness.Window().RunOptions().parallel, 16);
  QVERIFY(!harness.Command("cmNumbersByValue")->isChecked());
  QVERIFY(!harness.Window().RunOptions().numbersByValue);
  QVERIFY(harness.Command("cmNumberTakenNames")->isChecked());
  QCOMPARE(harness.Window().RunOptions().takenSuffix, std::string("_%d"));
  QCOMPARE(harness.Window().StartingDirectory(), Canonical(path.Path()));
  harness.Command("cmOpenJobList")->trigger();
  QCOMPARE(harness.dialogs.fileRequests.at(0).second, openDir.Path());
  harness.Close();
  QCOMPARE(harness.Saved().GetString("saveDir"), saveDir.Path());
  QCOMPARE(harness.Saved().GetString("path"), Canonical(path.Path()));
}

void TfrmMainTest::aNarrowTreeWidthBecomesFifty() {
  THarness harness;
  harness.WriteIni("[Integers]\nstvWidth=20\n");
  harness.Start();
  QCOMPARE(harness.Control<QWidget>("pnlDir")->width(), 50);
  harness.Close();
  QCOMPARE(harness.Saved().GetInteger("stvWidth"), 50);
}

void TfrmMainTest::historyGapsCloseUp() {
  THarness harness;
  harness.WriteIni("[Strings]\nfilemask0=\nfilemask1=*.txt\n");
  harness.Start();
  QComboBox* mask = harness.Control<QComboBox>("cmbFileMask");
  QCOMPARE(mask->count(), 1);
  QCOMPARE(mask->itemText(0), QString("*.txt"));
  QCOMPARE(mask->currentText(), QString("*.*"));
}

void TfrmMainTest::anUnknownSortOrderKeepsNameAscending() {
  THarness harness;
  harness.WriteIni("[Integers]\nsortOrder=7\n");
  harness.Start();
  QVERIFY(harness.Control<QRadioButton>("rbNameASC")->isChecked());
  harness.Close();
  QCOMPARE(harness.Saved().GetInteger("sortOrder"), 0);
}

void TfrmMainTest::aStoredFoldersAtOnceShowsInTheMenuAndReachesTheRuns_data() {
  QTest::addColumn<QString>("ini");
  QTest::addColumn<int>("folders");      // checked, in the runs' options and saved
  QTest::addColumn<QString>("choices");  // the menu's, in its order
  QTest::addColumn<QString>("message");
  const QString offered = "0 1 2 4 8 16 32 64";
  QTest::newRow("none stored") << QString() << kAutomaticFolders << offered << QString();
  QTest::newRow("offered") << QString("[Integers]\nparallelFolders=32\n") << 32 << offered << QString();
  QTest::newRow("not offered") << QString("[Integers]\nparallelFolders=12\n") << 12 << QString("0 1 2 4 8 12 16 32 64")
                               << QString();
  QTest::newRow("above every choice") << QString("[Integers]\nparallelFolders=65\n") << kAutomaticFolders << offered
                                      << QString(
                                             "Error reading Integer value \"Integers\\parallelFolders\". Value = "
                                             "\"65\", not 0 (automatic) or 1 to 64. Value set to 0 (automatic)");
}

void TfrmMainTest::aStoredFoldersAtOnceShowsInTheMenuAndReachesTheRuns() {
  QFETCH(QString, ini);
  QFETCH(int, folders);
  QFETCH(QString, choices);
  QFETCH(QString, message);
  THarness harness;
  if (!ini.isEmpty()) harness.WriteIni(ini.toStdString());
  harness.Start();
  QStringList shown;
  QStringList checked;
  for (QAction* choice : harness.Window().findChild<QMenu*>("mnuParallelFolders")->actions()) {
    shown << choice->data().toString();
    if (choice->isChecked()) checked << choice->data().toString();
  }
  QCOMPARE(shown.join(' '), choices);
  QCOMPARE(checked, QStringList{QString::number(folders)});
  QCOMPARE(harness.Window().RunOptions().parallel, folders);
  QCOMPARE(harness.messages.messages, message.isEmpty() ? Strings({}) : std::vector{message.toStdString()});
  harness.Close();
  QCOMPARE(harness.Saved().GetInteger("parallelFolders"), folders);
}

void TfrmMainTest::aDeletedOpenFolderFallsBackToTheProgramFolder() {
  THarness harness;
  harness.WriteIni("[Strings]\nopenDir=/no/such/folder/\nsaveDir=\n");
  harness.Start();
  harness.Command("cmOpenJobList")->trigger();
  QCOMPARE(harness.dialogs.fileRequests.at(0).second, harness.ProgramDir());
  harness.Close();
  QCOMPARE(harness.Saved().GetString("openDir"), harness.ProgramDir());
  QCOMPARE(harness.Saved().GetString("saveDir"), harness.ProgramDir());
  QVERIFY(harness.messages.messages.empty());
}

void TfrmMainTest::aDeletedPathIsIgnoredSilently() {
  THarness harness;
  harness.WriteIni("[Strings]\npath=/no/such/folder\n");
  harness.Start();
  QCOMPARE(harness.Window().StartingDirectory(), ToBytes(QDir::homePath()));
  QVERIFY(harness.messages.messages.empty());
  harness.Close();
  test::TTempDir folder;
  harness.Start({folder.Path()});
  QCOMPARE(harness.Window().StartingDirectory(), Canonical(folder.Path()));
}

void TfrmMainTest::anUnreadableBooleanCostsOnlyItsOwnKey() {
  THarness harness;
  harness.WriteIni("[Booleans]\nsimulation=maybe\nundo=1\n[Integers]\ncounterStart=9\n[Strings]\nfilemask=*.jpg\n");
  harness.Start();
  QCOMPARE(harness.messages.messages, Strings({"'maybe' is not a valid boolean value"}));
  QCOMPARE(harness.Control<QSpinBox>("edtCounter")->value(), 9);
  QVERIFY(harness.Control<QCheckBox>("chkUndo")->isChecked());
  QCOMPARE(harness.Control<QComboBox>("cmbFileMask")->currentText(), QString("*.jpg"));
  QCOMPARE(harness.Control<QPushButton>("btnGo")->text(), QString("&Go"));
  harness.Close();
  QVERIFY(!harness.Saved().GetBoolean("simulation"));
  QVERIFY(harness.Saved().GetBoolean("undo"));
  QCOMPARE(harness.Saved().GetInteger("counterStart"), 9);
}

void TfrmMainTest::windowPlacementRoundTrip() {
  THarness harness;
  harness.WriteIni("[frmMain]\nLeft=10\nTop=20\nWidth=700\nHeight=500\nWinState=0\n");
  harness.Start();
  QCOMPARE(harness.Window().geometry(), QRect(10, 20, 700, 500));
  harness.Window().setGeometry(30, 40, 750, 520);
  harness.Close();
  const std::string ini = ReadWholeFile(harness.IniPath());
  QVERIFY(ini.find("[frmMain]\nLeft=30\nTop=40\nWidth=750\nHeight=520\nWinState=0\n") != std::string::npos);
}

void TfrmMainTest::closingSurvivesAnUnwritableSettingsFile() {
  THarness harness;
  std::filesystem::create_directory(harness.IniPath());
  harness.Start();
  harness.dialogs.steps.push_back(test::PressOk());
  harness.Click("btnLower");
  TfrmMain& window = harness.Window();
  window.close();
  QVERIFY(!window.isVisible());
  QCOMPARE(harness.messages.messages.size(), std::size_t{2});
  QCOMPARE(harness.messages.messages[0],
           "Cannot read " + harness.IniPath() + ": Is a directory; the default settings are used");
  QVERIFY(harness.messages.messages[1].starts_with("Unable to write to " + harness.IniPath()));
  const auto saved = LoadJobListFromXML(harness.DefaultJobListPath(), harness.messages);
  QVERIFY(saved.has_value());
  QCOMPARE(saved->size(), std::size_t{1});
}

void TfrmMainTest::hostileSettingsAndJobListFilesNeitherHoldUpNorGetReplaced_data() {
  QTest::addColumn<int>("hostile");
  QTest::addColumn<bool>("isSettings");
  for (std::size_t n = 0; n < test::HostileFiles().size(); ++n) {
    for (const bool isSettings : {true, false}) {
      const std::string name = std::string(isSettings ? "quillex.ini: " : "job list: ") + test::HostileFiles()[n].what;
      QTest::newRow(name.c_str()) << static_cast<int>(n) << isSettings;
    }
  }
}

void TfrmMainTest::hostileSettingsAndJobListFilesNeitherHoldUpNorGetReplaced() {
  QFETCH(int, hostile);
  QFETCH(bool, isSettings);
  const test::THostileFile& file = test::HostileFiles()[static_cast<std::size_t>(hostile)];
  THarness harness;
  const std::string path = isSettings ? harness.IniPath() : harness.DefaultJobListPath();
  file.make(path);
  const auto kind = std::filesystem::symlink_status(path).type();
  harness.Start();
  QVERIFY(harness.Window().isVisible());
  if (*file.reason) {
    QVERIFY(!harness.messages.messages.empty());
    QVERIFY2(harness.messages.messages[0].find(file.reason) != std::string::npos, harness.messages.messages[0].c_str());
  }
  harness.Close();
  // What could not be read is not replaced by what the window holds.
  QCOMPARE(std::filesystem::symlink_status(path).type(), kind);
  if (!isSettings) QVERIFY(!PathExists(path + ".unsaved"));
}

void TfrmMainTest::aStoredEncodingThatCannotBeSavedInIsReplaced() {
  THarness harness;
  harness.WriteIni("[Strings]\nencoding=NO-SUCH-ENCODING\n");
  harness.Start();
  QCOMPARE(harness.messages.messages,
           std::vector<std::string>{"The job list cannot be saved in encoding NO-SUCH-ENCODING: Quillex does not know "
                                    "this encoding\nThe job lists are saved in ISO-8859-1 instead."});
  harness.Close();
  QCOMPARE(harness.Saved().GetString("encoding"), std::string("ISO-8859-1"));
  QVERIFY(ReadWholeFile(harness.DefaultJobListPath()).find("encoding=\"ISO-8859-1\"") != std::string::npos);
}

// The default job list's place taken by a folder once the window is open.
void BlockDefaultJobList(THarness& harness) {
  harness.dialogs.steps.push_back(test::PressOk());
  harness.Click("btnLower");
  std::filesystem::create_directory(harness.DefaultJobListPath());
}

void TfrmMainTest::aJobListThatCannotBeWrittenAsksBeforeClosing_data() {
  QTest::addColumn<bool>("closeAnyway");
  QTest::newRow("No keeps the window open") << false;
  QTest::newRow("Yes closes it") << true;
}

void TfrmMainTest::aJobListThatCannotBeWrittenAsksBeforeClosing() {
  QFETCH(bool, closeAnyway);
  THarness harness;
  harness.Start();
  BlockDefaultJobList(harness);
  harness.messages.answers = {closeAnyway};
  TfrmMain& window = harness.Window();
  window.close();
  QCOMPARE(window.isVisible(), !closeAnyway);
  const std::string unsaved = harness.DefaultJobListPath() + ".unsaved";
  QCOMPARE(harness.messages.questions,
           std::vector<std::string>{"Unable to write to " + harness.DefaultJobListPath() + " (Is a directory)\n" +
                                    "The job list was written to " + unsaved + " instead.\n\nClose Quillex anyway?"});
  QVERIFY(harness.messages.messages.empty());
  const auto kept = LoadJobListFromXML(unsaved, harness.messages);
  QVERIFY(kept.has_value());
  QCOMPARE(*kept, window.Jobs().Jobs());
  // The settings are written only by a close that goes ahead.
  QCOMPARE(PathExists(harness.IniPath()), closeAnyway);
}

void TfrmMainTest::theSessionsEndShowsNothingAndReportsAtTheNextStart() {
  THarness harness;
  std::filesystem::create_directory(harness.IniPath());
  harness.Start();
  harness.messages.messages.clear();
  BlockDefaultJobList(harness);
  TfrmMain& window = harness.Window();
  window.EndSession();
  QVERIFY(!window.isVisible());
  QVERIFY(harness.messages.messages.empty());
  QVERIFY(harness.messages.questions.empty());
  QVERIFY(LoadJobListFromXML(harness.DefaultJobListPath() + ".unsaved", harness.messages).has_value());

  std::filesystem::remove(harness.DefaultJobListPath());
  std::filesystem::remove(harness.IniPath());
  harness.Start();
  QCOMPARE(harness.messages.messages.size(), std::size_t{1});
  const std::string& shown = harness.messages.messages[0];
  QVERIFY2(shown.starts_with("When Quillex was closed last time, with the session:\n\nUnable to write to " +
                             harness.DefaultJobListPath() + " (Is a directory)\nThe job list was written to "),
           shown.c_str());
  QVERIFY2(shown.find("\nUnable to write to " + harness.IniPath()) != std::string::npos, shown.c_str());
  harness.Close();
  harness.messages.messages.clear();
  harness.Start();
  QVERIFY(harness.messages.messages.empty());
}

void TfrmMainTest::anUnreadableDefaultJobListIsNotOverwritten() {
  THarness harness;
  const std::string garbage = "<quillex><jobs>";
  std::ofstream(harness.DefaultJobListPath(), std::ios::binary) << garbage;
  harness.Start();
  QCOMPARE(harness.messages.messages.size(), std::size_t{2});
  QVERIFY(harness.messages.messages[0].starts_with("XML error: "));
  QCOMPARE(harness.messages.messages[1], LoadFailureMessage(harness.DefaultJobListPath()));
  QCOMPARE(harness.Descriptions(), QStringList{});
  harness.Close();
  QCOMPARE(ReadWholeFile(harness.DefaultJobListPath()), garbage);
  // Once the list has been changed, it is the list to keep.
  harness.Start();
  harness.dialogs.steps.push_back(test::PressOk());
  harness.Click("btnLower");
  harness.Close();
  const auto saved = LoadJobListFromXML(harness.DefaultJobListPath(), harness.messages);
  QVERIFY(saved.has_value());
  QCOMPARE(saved->size(), std::size_t{1});
}

void TfrmMainTest::openReplacesTheJobsAndMovesTheOpenFolder() {
  test::TTempDir folder;
  const std::vector<TJob> loaded = {MakeJob(TJobKind::jobReplace, 1, 1, 0, "(\\d+)", "#$1"),
                                    MakeJob(TJobKind::jobCounter, 4, 3, 0, "_", "", false)};
  SaveJobListToXML(folder / "list.xml", loaded, "ISO-8859-1");
  THarness harness;
  harness.WriteDefaultJobList(ThreeJobs());
  harness.Start();
  harness.dialogs.files.push_back(folder / "list.xml");
  harness.Command("cmOpenJobList")->trigger();
  QCOMPARE(harness.Window().Jobs().Jobs(), loaded);
  QCOMPARE(harness.Ticks(), (QList<bool>{true, false}));
  QCOMPARE(harness.Descriptions(), DescriptionsOf(loaded, {0, 1}));
  harness.Command("cmOpenJobList")->trigger();
  QCOMPARE(harness.dialogs.fileRequests.at(1).second, folder.Path());
  QVERIFY(harness.messages.messages.empty());
}

void TfrmMainTest::openThatFailsKeepsTheJobsButMovesTheOpenFolder() {
  test::TTempDir folder;
  const std::string file = folder.WriteFile("other.xml", "<?xml version=\"1.0\"?>\r\n<Quillex><jobs/></Quillex>\r\n");
  THarness harness;
  harness.WriteDefaultJobList(ThreeJobs());
  harness.Start();
  harness.dialogs.files.push_back(file);
  harness.Command("cmOpenJobList")->trigger();
  const std::vector<std::string> expected = {"Root node element is not recognised. Loading aborted!",
                                             LoadFailureMessage(file)};
  QCOMPARE(harness.messages.messages, expected);
  QCOMPARE(harness.Window().Jobs().Jobs(), ThreeJobs());
  harness.Close();
  QCOMPARE(harness.Saved().GetString("openDir"), folder.Path());
}

void TfrmMainTest::cancelledOpenChangesNothing() {
  test::TTempDir folder;
  THarness harness;
  harness.WriteIni("[Strings]\nopenDir=" + folder.Path() + "\n");
  harness.WriteDefaultJobList(ThreeJobs());
  harness.Start();
  harness.Command("cmOpenJobList")->trigger();
  QCOMPARE(harness.dialogs.fileRequests.size(), std::size_t{1});
  QCOMPARE(harness.Window().Jobs().Jobs(), ThreeJobs());
  harness.Close();
  QCOMPARE(harness.Saved().GetString("openDir"), folder.Path());
}

void TfrmMainTest::saveWithoutJobsSaysSo() {
  THarness harness;
  harness.Start();
  harness.Command("cmSaveJobList")->trigger();
  QCOMPARE(harness.messages.messages, Strings({"No jobs have been defined yet. Nothing to save"}));
  QVERIFY(harness.dialogs.fileRequests.empty());
}

void TfrmMainTest::saveWritesDisabledJobsToo() {
  test::TTempDir folder;
  std::vector<TJob> jobs = ThreeJobs();
  for (TJob& job : jobs) job.enabled = false;
  THarness harness;
  harness.WriteDefaultJobList(jobs);
  harness.Start();
  harness.dialogs.files.push_back(folder / "saved.xml");
  harness.Command("cmSaveJobList")->trigger();
  QCOMPARE(harness.dialogs.fileRequests.at(0).second, harness.ProgramDir());
  QCOMPARE(ReadWholeFile(folder / "saved.xml"), ComposeJobListFile(jobs, "ISO-8859-1"));
  QVERIFY(harness.messages.questions.empty());
  harness.Command("cmSaveJobList")->trigger();
  QCOMPARE(harness.dialogs.fileRequests.at(1).second, folder.Path());
}

void TfrmMainTest::saveAsksBeforeOverwriting_data() {
  QTest::addColumn<bool>("answer");
  QTest::newRow("No keeps the file") << false;
  QTest::newRow("Yes replaces it") << true;
}

void TfrmMainTest::saveAsksBeforeOverwriting() {
  QFETCH(bool, answer);
  test::TTempDir folder;
  const std::string file = folder.WriteFile("saved.xml", "old");
  THarness harness;
  harness.WriteDefaultJobList(ThreeJobs());
  harness.Start();
  harness.messages.answers.push_back(answer);
  harness.dialogs.files.push_back(file);
  harness.Command("cmSaveJobList")->trigger();
  QCOMPARE(harness.messages.questions, Strings({"File exists. Overwrite?"}));
  QCOMPARE(ReadWholeFile(file), answer ? ComposeJobListFile(ThreeJobs(), "ISO-8859-1") : std::string("old"));
  harness.Close();
  QCOMPARE(harness.Saved().GetString("saveDir"), answer ? folder.Path() : harness.ProgramDir());
}

void TfrmMainTest::encodingCommand_data() {
  QTest::addColumn<QString>("stored");
  QTest::addColumn<int>("preselected");
  QTest::addColumn<int>("choose");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<QString>("saved");
  QTest::newRow("Japanese chosen") << "ISO-8859-1" << 0 << 10 << true << "ISO-2022-JP";
  QTest::newRow("cancelled") << "ISO-8859-10" << 9 << 10 << false << "ISO-8859-10";
  QTest::newRow("utf-8 kept as typed") << "utf-8" << -1 << -1 << true << "utf-8";
}

void TfrmMainTest::encodingCommand() {
  QFETCH(QString, stored);
  QFETCH(int, preselected);
  QFETCH(int, choose);
  QFETCH(bool, ok);
  QFETCH(QString, saved);
  THarness harness;
  harness.WriteIni("[Strings]\nencoding=" + stored.toStdString() + "\n");
  harness.Start();
  harness.Control<QLineEdit>("edtExample")->setText("typed");
  int shownIndex = -2;
  harness.dialogs.steps.push_back([&](QDialog& dialog) {
    auto* combo = test::Child<QComboBox>(dialog, "cbXMLEncoding");
    shownIndex = combo->currentIndex();
    if (choose >= 0) combo->setCurrentIndex(choose);
    return ok;
  });
  harness.Command("cmCharacterEncoding")->trigger();
  QCOMPARE(shownIndex, preselected);
  // Written at once, with the other settings of the moment; no close needed.
  QCOMPARE(QString::fromStdString(harness.Saved().GetString("encoding")), saved);
  QCOMPARE(harness.Saved().GetString("example"), std::string(ok ? "typed" : "filename.ext"));
}

void TfrmMainTest::commandLineSelectsTheFolder_data() {
  QTest::addColumn<QString>("argument");  // relative to a fresh folder, "" for none
  QTest::addColumn<QString>("selected");
  QTest::newRow("a file is shown in its folder") << "sub/photo.jpg"
                                                 << "sub";
  QTest::newRow("a folder opens itself") << "sub"
                                         << "sub";
  QTest::newRow("a folder with a trailing slash") << "sub/"
                                                  << "sub";
}

void TfrmMainTest::commandLineSelectsTheFolder() {
  QFETCH(QString, argument);
  QFETCH(QString, selected);
  test::TTempDir folder;
  std::filesystem::create_directory(folder / "sub");
  folder.WriteFile("sub/photo.jpg", "");
  test::TTempDir saved;
  THarness harness;
  harness.WriteIni("[Strings]\npath=" + saved.Path() + "\n");
  harness.Start({folder / argument.toStdString()});
  QCOMPARE(harness.Window().StartingDirectory(), Canonical(folder / selected.toStdString()));
  QVERIFY(harness.messages.messages.empty());
}

void TfrmMainTest::aBadArgumentIsReportedAndTheJobsStillLoad() {
  THarness harness;
  harness.WriteDefaultJobList(ThreeJobs());
  harness.Start({"/no/such/folder"});
  QCOMPARE(harness.messages.messages, Strings({"Error setting path: \"/no/such/folder\""}));
  QVERIFY(harness.Window().isVisible());
  QCOMPARE(harness.Window().Jobs().Jobs(), ThreeJobs());
}

}  // namespace qx

QTEST_MAIN(qx::TfrmMainTest)
#include "UfrmMainTest.moc"
