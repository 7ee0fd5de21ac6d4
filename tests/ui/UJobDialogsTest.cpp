// SPDX-License-Identifier: GPL-3.0-or-later
// The five job dialogs: loading, storing, which user actions pick an option, the replace
// dialog's tester, captions, tab order, number fields and RunJobDialog.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest/QtTest>
#include <memory>

#include "regex/URegexReplace.h"
#include "support/UMakeJob.h"
#include "ui/UQtText.h"
#include "ui/UScriptedDialogs.h"
#include "ui/UUiTestSupport.h"
#include "ui/dialogs/URunJobDialog.h"
#include "ui/dialogs/UfrmAddDetails.h"
#include "ui/dialogs/UfrmCaseDetails.h"
#include "ui/dialogs/UfrmCounterDetails.h"
#include "ui/dialogs/UfrmDateDetails.h"
#include "ui/dialogs/UfrmRemoveDetails.h"
#include "ui/dialogs/UfrmReplaceDetails.h"
#include "ui/dialogs/UfrmShiftDetails.h"
#include "ui/dialogs/UfrmSimplifyDetails.h"

Q_DECLARE_METATYPE(qx::TJob)

namespace qx {
namespace {

using test::Child;
using test::MakeJob;
using test::ShowActive;

const char* const kPositionRadios[] = {"rbBegin", "rbEnd", "rbAfterChar", "rbBeforeString", "rbAfterString"};

// "" when none is ticked.
QString TickedPosition(QWidget& dialog) {
  QString ticked;
  for (const char* name : kPositionRadios) {
    if (Child<QRadioButton>(dialog, name)->isChecked()) ticked += name;
  }
  return ticked;
}

std::unique_ptr<TJobDialog> PositionDialog(const QString& which) {
  if (which == "add") return std::make_unique<TfrmAddDetails>();
  if (which == "remove") return std::make_unique<TfrmRemoveDetails>();
  return std::make_unique<TfrmCounterDetails>();
}

TJobKind PositionKind(const QString& which) {
  if (which == "add") return TJobKind::jobInsert;
  if (which == "remove") return TJobKind::jobRemove;
  return TJobKind::jobCounter;
}

// The focus chain from the first control on. Qt lets Tab enter a group of radio
// buttons once and the arrows move inside it, so focusable is enough.
QStringList TabOrder(QWidget& dialog) {
  QStringList names;
  QWidget* first = nullptr;
  for (QWidget* widget = dialog.nextInFocusChain(); widget != &dialog; widget = widget->nextInFocusChain()) {
    if (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(&dialog)) continue;
    if (widget->objectName().startsWith("qt_")) continue;
    if (widget == first) break;
    if (!first) first = widget;
    names << widget->objectName();
  }
  return names;
}

}  // namespace

class TJobDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void caseDialogLoadsCaptionPromptAndOption_data();
  void caseDialogLoadsCaptionPromptAndOption();
  void caseDialogStoresTheFirstTickedOption_data();
  void caseDialogStoresTheFirstTickedOption();
  void simplifyDialogLoadsAndStoresHowAndWhere_data();
  void simplifyDialogLoadsAndStoresHowAndWhere();
  void shiftDialogLoadsAndStores();
  void theEveryAlphabetBoxSaysWhichLettersChange_data();
  void theEveryAlphabetBoxSaysWhichLettersChange();
  void positionDialogsLoad_data();
  void positionDialogsLoad();
  void positionDialogsStore_data();
  void positionDialogsStore();
  void clickingOrTypingPicksAnOptionAndClickingCarriesTheSearchText_data();
  void clickingOrTypingPicksAnOptionAndClickingCarriesTheSearchText();
  void tabbingThroughADialogAndBackLeavesTheJobAsItWas_data();
  void tabbingThroughADialogAndBackLeavesTheJobAsItWas();
  void numberFieldsTakeAnyNumberAndClampItWhenLeft_data();
  void numberFieldsTakeAnyNumberAndClampItWhenLeft();
  void replaceDialogLoadsAndStores_data();
  void replaceDialogLoadsAndStores();
  void testerAlwaysReplacesByRegexMatchingCase_data();
  void testerAlwaysReplacesByRegexMatchingCase();
  void testerShowsTheEngineErrorForABadExpression();
  void testerFollowsItsInputOnly();
  void reopeningShowsTheLastTesterInputWithoutOutput();
  void testerHeightFollowsUseRegularExpressions();
  void textsAreStoredByteForByte_data();
  void textsAreStoredByteForByte();
  void captions_data();
  void captions();
  void tabOrder_data();
  void tabOrder();
  void okIsEnterAndCancelIsEsc_data();
  void okIsEnterAndCancelIsEsc();
  void runJobDialogOpensTheDialogOfTheKind_data();
  void runJobDialogOpensTheDialogOfTheKind();
  void runJobDialogStoresOnlyAfterOk();
  void dateDialogLoadsStoresAndRefusesASlash_data();
  void dateDialogLoadsStoresAndRefusesASlash();
};

void TJobDialogsTest::caseDialogLoadsCaptionPromptAndOption_data() {
  QTest::addColumn<TJob>("job");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("prompt");
  QTest::addColumn<QString>("ticked");
  QTest::newRow("lower, all") << MakeJob(TJobKind::jobLower, 0) << "Conversion to lower case"
                              << "Convert to lower case..."
                              << "rbAll";
  QTest::newRow("upper, filename") << MakeJob(TJobKind::jobUpper, 1) << "Conversion to UPPER case"
                                   << "Convert to UPPER case..."
                                   << "rbFilename";
  QTest::newRow("normal, extension") << MakeJob(TJobKind::jobNormal, 2) << "Case Normalisation"
                                     << "Normalise case of..."
                                     << "rbExtension";
  QTest::newRow("modifier out of range ticks nothing") << MakeJob(TJobKind::jobLower, 3) << "Conversion to lower case"
                                                       << "Convert to lower case..."
                                                       << "";
}

void TJobDialogsTest::caseDialogLoadsCaptionPromptAndOption() {
  QFETCH(TJob, job);
  QFETCH(QString, caption);
  QFETCH(QString, prompt);
  QFETCH(QString, ticked);
  TfrmCaseDetails dialog;
  dialog.LoadJobIntoDialog(job);
  QCOMPARE(dialog.windowTitle(), caption);
  QCOMPARE(Child<QLabel>(dialog, "lblPrompt")->text(), prompt);
  QString actual;
  for (const char* name : {"rbAll", "rbFilename", "rbExtension"}) {
    if (Child<QRadioButton>(dialog, name)->isChecked()) actual += name;
  }
  QCOMPARE(actual, ticked);
}

void TJobDialogsTest::caseDialogStoresTheFirstTickedOption_data() {
  QTest::addColumn<int>("loadedModifier");
  QTest::addColumn<QString>("click");
  QTest::addColumn<int>("storedModifier");
  QTest::newRow("all") << 2 << "rbAll" << 0;
  QTest::newRow("filename") << 0 << "rbFilename" << 1;
  QTest::newRow("extension") << 0 << "rbExtension" << 2;
  QTest::newRow("as loaded") << 1 << "" << 1;
  QTest::newRow("nothing ticked keeps the modifier") << 7 << "" << 7;
}

void TJobDialogsTest::caseDialogStoresTheFirstTickedOption() {
  QFETCH(int, loadedModifier);
  QFETCH(QString, click);
  QFETCH(int, storedModifier);
  TfrmCaseDetails dialog;
  TJob job = MakeJob(TJobKind::jobUpper, loadedModifier, 4, 5, "s1", "s2");
  dialog.LoadJobIntoDialog(job);
  if (!click.isEmpty()) Child<QRadioButton>(dialog, qPrintable(click))->click();
  dialog.StoreDialogIntoJob(job);
  QCOMPARE(job, MakeJob(TJobKind::jobUpper, storedModifier, 4, 5, "s1", "s2"));
}

void TJobDialogsTest::simplifyDialogLoadsAndStoresHowAndWhere_data() {
  QTest::addColumn<TJob>("job");
  QTest::addColumn<QString>("ticked");  // as loaded
  QTest::addColumn<QStringList>("click");
  QTest::addColumn<TJob>("stored");
  const TJob marksInName = MakeJob(TJobKind::jobSimplify, caseNamePart, simplifyMarks);
  QTest::newRow("as loaded") << marksInName << "rbRemoveMarksrbFilename" << QStringList() << marksInName;
  QTest::newRow("to ASCII, everywhere") << marksInName << "rbRemoveMarksrbFilename" << QStringList{"rbAscii", "rbAll"}
                                        << MakeJob(TJobKind::jobSimplify, caseWholeName, simplifyAscii);
  QTest::newRow("values no choice knows are kept")
      << MakeJob(TJobKind::jobSimplify, 5, 7) << "" << QStringList() << MakeJob(TJobKind::jobSimplify, 5, 7);
}

void TJobDialogsTest::simplifyDialogLoadsAndStoresHowAndWhere() {
  QFETCH(TJob, job);
  QFETCH(QString, ticked);
  QFETCH(QStringList, click);
  QFETCH(TJob, stored);
  TfrmSimplifyDetails dialog;
  dialog.LoadJobIntoDialog(job);
  QString actual;
  for (QRadioButton* button : dialog.findChildren<QRadioButton*>()) {
    if (button->isChecked()) actual += button->objectName();
  }
  QCOMPARE(actual, ticked);
  for (const QString& name : click) Child<QRadioButton>(dialog, qPrintable(name))->click();
  dialog.StoreDialogIntoJob(job);
  QCOMPARE(job, stored);
}

void TJobDialogsTest::shiftDialogLoadsAndStores() {
  TfrmShiftDetails dialog;
  TJob job = MakeJob(TJobKind::jobShift, shiftLast, -15, 1);
  dialog.LoadJobIntoDialog(job);
  QCOMPARE(Child<QSpinBox>(dialog, "edtAmount")->value(), -15);
  QVERIFY(Child<QRadioButton>(dialog, "rbLastNumber")->isChecked());
  QVERIFY(Child<QCheckBox>(dialog, "chkBelowZero")->isChecked());
  Child<QSpinBox>(dialog, "edtAmount")->setValue(100);
  Child<QRadioButton>(dialog, "rbEveryNumber")->click();
  Child<QCheckBox>(dialog, "chkBelowZero")->click();
  dialog.StoreDialogIntoJob(job);
  QCOMPARE(job, MakeJob(TJobKind::jobShift, shiftEvery, 100, 0));
}

void TJobDialogsTest::theEveryAlphabetBoxSaysWhichLettersChange_data() {
  QTest::addColumn<int>("loaded");  // int1, the rule
  QTest::addColumn<bool>("toggle");
  QTest::addColumn<int>("stored");
  QTest::newRow("A-Z, ticked") << int(caseAsciiLetters) << true << int(caseEveryAlphabet);
  QTest::newRow("every alphabet, unticked") << int(caseEveryAlphabet) << true << int(caseAsciiLetters);
  QTest::newRow("every alphabet, kept") << int(caseEveryAlphabet) << false << int(caseEveryAlphabet);
  QTest::newRow("a value no rule knows, kept") << 4 << false << 4;
  QTest::newRow("a value no rule knows, ticked") << 4 << true << int(caseEveryAlphabet);
}

void TJobDialogsTest::theEveryAlphabetBoxSaysWhichLettersChange() {
  QFETCH(int, loaded);
  QFETCH(bool, toggle);
  QFETCH(int, stored);
  TfrmCaseDetails dialog;
  TJob job = MakeJob(TJobKind::jobLower, caseWholeName, loaded);
  dialog.LoadJobIntoDialog(job);
  auto* box = Child<QCheckBox>(dialog, "chkEveryAlphabet");
  QCOMPARE(box->isChecked(), loaded == caseEveryAlphabet);
  if (toggle) box->click();
  dialog.StoreDialogIntoJob(job);
  QCOMPARE(job.int1, stored);
}

void TJobDialogsTest::positionDialogsLoad_data() {
  QTest::addColumn<QString>("dialog");
  QTest::addColumn<TJob>("job");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("count");
  QTest::addColumn<QString>("ticked");
  QTest::addColumn<int>("number");
  QTest::addColumn<QString>("before");
  QTest::addColumn<QString>("after");
  // Insert: str1 text, int1 position, str2 search.
  QTest::newRow("insert, new job") << "add" << TJob(TJobKind::jobInsert) << "" << 0 << "rbBegin" << 1 << ""
                                   << "";
  QTest::newRow("insert, at the end") << "add" << MakeJob(TJobKind::jobInsert, 1, 0, 0, "_x") << "_x" << 0 << "rbEnd"
                                      << 1 << ""
                                      << "";
  QTest::newRow("insert after the 4th character")
      << "add" << MakeJob(TJobKind::jobInsert, 2, 4, 9, "_x") << "_x" << 0 << "rbAfterChar" << 4 << ""
      << "";
  QTest::newRow("insert before a string")
      << "add" << MakeJob(TJobKind::jobInsert, 3, 4, 0, "_x", "abc") << "_x" << 0 << "rbBeforeString" << 1 << "abc"
      << "";
  QTest::newRow("insert after a string") << "add" << MakeJob(TJobKind::jobInsert, 4, 4, 0, "_x", "abc") << "_x" << 0
                                         << "rbAfterString" << 1 << ""
                                         << "abc";
  QTest::newRow("insert, modifier out of range")
      << "add" << MakeJob(TJobKind::jobInsert, 5, 4, 0, "_x", "abc") << "_x" << 0 << "" << 1 << ""
      << "";
  QTest::newRow("insert dialog, remove job")
      << "add" << MakeJob(TJobKind::jobRemove, 1, 3, 2, "s1", "s2") << "" << 0 << "" << 1 << ""
      << "";
  // Remove and counter: int1 count, int2 position, str1 search.
  QTest::newRow("remove, new job") << "remove" << TJob(TJobKind::jobRemove) << "" << 1 << "rbBegin" << 1 << ""
                                   << "";
  QTest::newRow("remove after the 4th character")
      << "remove" << MakeJob(TJobKind::jobRemove, 2, 3, 4) << "" << 3 << "rbAfterChar" << 4 << ""
      << "";
  QTest::newRow("remove before a string")
      << "remove" << MakeJob(TJobKind::jobRemove, 3, 3, 4, "abc") << "" << 3 << "rbBeforeString" << 1 << "abc"
      << "";
  QTest::newRow("remove, count above the range")
      << "remove" << MakeJob(TJobKind::jobRemove, 1, 70000) << "" << 65535 << "rbEnd" << 1 << ""
      << "";
  QTest::newRow("remove, negative count")
      << "remove" << MakeJob(TJobKind::jobRemove, 0, -3) << "" << 1 << "rbBegin" << 1 << ""
      << "";
  QTest::newRow("remove dialog, counter job")
      << "remove" << MakeJob(TJobKind::jobCounter, 4, 3, 4, "abc") << "" << 1 << "" << 1 << ""
      << "";
  QTest::newRow("counter, new job") << "counter" << TJob(TJobKind::jobCounter) << "" << 1 << "rbBegin" << 1 << ""
                                    << "";
  QTest::newRow("counter after a string")
      << "counter" << MakeJob(TJobKind::jobCounter, 4, 3, 4, "abc") << "" << 3 << "rbAfterString" << 1 << ""
      << "abc";
  QTest::newRow("counter, position above the range")
      << "counter" << MakeJob(TJobKind::jobCounter, 2, 3, 100000) << "" << 3 << "rbAfterChar" << 65535 << ""
      << "";
}

void TJobDialogsTest::positionDialogsLoad() {
  QFETCH(QString, dialog);
  QFETCH(TJob, job);
  QFETCH(QString, text);
  QFETCH(int, count);
  QFETCH(QString, ticked);
  QFETCH(int, number);
  QFETCH(QString, before);
  QFETCH(QString, after);
  const auto window = PositionDialog(dialog);
  window->LoadJobIntoDialog(job);
  if (dialog == "add") {
    QCOMPARE(Child<QLineEdit>(*window, "edtString")->text(), text);
  } else {
    QCOMPARE(Child<QSpinBox>(*window, "edtCharacterCount")->value(), count);
  }
  QCOMPARE(TickedPosition(*window), ticked);
  QCOMPARE(Child<QSpinBox>(*window, "edtCharacterNumber")->value(), number);
  QCOMPARE(Child<QLineEdit>(*window, "edtBefore")->text(), before);
  QCOMPARE(Child<QLineEdit>(*window, "edtAfter")->text(), after);
}

void TJobDialogsTest::positionDialogsStore_data() {
  QTest::addColumn<QString>("dialog");
  QTest::addColumn<TJob>("job");
  QTest::addColumn<QString>("tick");    // "" leaves the options as loaded
  QTest::addColumn<int>("number");      // edtCharacterNumber, or 0 to leave it
  QTest::addColumn<QString>("before");  // null leaves it
  QTest::addColumn<QString>("after");
  QTest::addColumn<TJob>("stored");
  const QString keep;
  QTest::newRow("new remove job accepted at once") << "remove" << TJob(TJobKind::jobRemove) << "" << 0 << keep << keep
                                                   << MakeJob(TJobKind::jobRemove, 0, 1, 0, "", "", false);
  QTest::newRow("new insert job accepted empty") << "add" << TJob(TJobKind::jobInsert) << "" << 0 << keep << keep
                                                 << MakeJob(TJobKind::jobInsert, 0, 0, 0, "", "", false);
  QTest::newRow("insert: the end keeps the old search string")
      << "add" << MakeJob(TJobKind::jobInsert, 3, 0, 0, "_x", "abc") << "rbEnd" << 0 << keep << keep
      << MakeJob(TJobKind::jobInsert, 1, 0, 0, "_x", "abc");
  QTest::newRow("insert after the 7th character")
      << "add" << MakeJob(TJobKind::jobInsert, 0, 0, 5, "_x", "abc") << "rbAfterChar" << 7 << keep << keep
      << MakeJob(TJobKind::jobInsert, 2, 7, 5, "_x", "abc");
  QTest::newRow("insert after a string") << "add" << MakeJob(TJobKind::jobInsert, 0, 3, 0, "_x") << "rbAfterString" << 0
                                         << keep << "." << MakeJob(TJobKind::jobInsert, 4, 3, 0, "_x", ".");
  QTest::newRow("insert, nothing ticked keeps the modifier")
      << "add" << MakeJob(TJobKind::jobInsert, 9, 3, 0, "_x", "abc") << "" << 0 << keep << keep
      << MakeJob(TJobKind::jobInsert, 9, 3, 0, "_x", "abc");
  QTest::newRow("remove after the 7th character")
      << "remove" << MakeJob(TJobKind::jobRemove, 0, 2, 0, "abc", "s2") << "rbAfterChar" << 7 << keep << keep
      << MakeJob(TJobKind::jobRemove, 2, 2, 7, "abc", "s2");
  QTest::newRow("remove before a string") << "remove" << MakeJob(TJobKind::jobRemove, 0, 2, 6) << "rbBeforeString" << 0
                                          << "-" << keep << MakeJob(TJobKind::jobRemove, 3, 2, 6, "-");
  QTest::newRow("counter at the end keeps position and search")
      << "counter" << MakeJob(TJobKind::jobCounter, 2, 3, 6, "abc") << "rbEnd" << 0 << keep << keep
      << MakeJob(TJobKind::jobCounter, 1, 3, 6, "abc");
  QTest::newRow("counter after a string") << "counter" << MakeJob(TJobKind::jobCounter, 0, 3) << "rbAfterString" << 0
                                          << keep << "_" << MakeJob(TJobKind::jobCounter, 4, 3, 0, "_");
}

void TJobDialogsTest::positionDialogsStore() {
  QFETCH(QString, dialog);
  QFETCH(TJob, job);
  QFETCH(QString, tick);
  QFETCH(int, number);
  QFETCH(QString, before);
  QFETCH(QString, after);
  QFETCH(TJob, stored);
  const auto window = PositionDialog(dialog);
  window->LoadJobIntoDialog(job);
  if (!tick.isEmpty()) Child<QRadioButton>(*window, qPrintable(tick))->setChecked(true);
  if (number != 0) Child<QSpinBox>(*window, "edtCharacterNumber")->setValue(number);
  if (!before.isNull()) Child<QLineEdit>(*window, "edtBefore")->setText(before);
  if (!after.isNull()) Child<QLineEdit>(*window, "edtAfter")->setText(after);
  window->StoreDialogIntoJob(job);
  QCOMPARE(job, stored);
}

void TJobDialogsTest::clickingOrTypingPicksAnOptionAndClickingCarriesTheSearchText_data() {
  QTest::addColumn<QString>("dialog");
  QTest::addColumn<int>("modifier");
  QTest::addColumn<QString>("typedBefore");  // set after loading
  QTest::addColumn<QString>("action");       // "click", "step" (arrow up) or "type " and the text
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("ticked");
  QTest::addColumn<QString>("before");
  QTest::addColumn<QString>("after");
  for (const char* dialog : {"add", "remove", "counter"}) {
    const auto row = [dialog](const char* name) -> QTestData& {
      return QTest::addRow("%s: %s", dialog, name) << QString(dialog);
    };
    row("before, click the field after") << 3 << "abc"
                                         << "click"
                                         << "edtAfter"
                                         << "rbAfterString"
                                         << "abc"
                                         << "abc";
    row("before, click the option after") << 3 << "abc"
                                          << "click"
                                          << "rbAfterString"
                                          << "rbAfterString"
                                          << "abc"
                                          << "abc";
    row("after, click the field before") << 4 << ""
                                         << "click"
                                         << "edtBefore"
                                         << "rbBeforeString"
                                         << "abc"
                                         << "abc";
    row("after, click the option before") << 4 << ""
                                          << "click"
                                          << "rbBeforeString"
                                          << "rbBeforeString"
                                          << "abc"
                                          << "abc";
    row("from the beginning nothing is carried") << 0 << "zzz"
                                                 << "click"
                                                 << "edtAfter"
                                                 << "rbAfterString"
                                                 << "zzz"
                                                 << "";
    row("click the number") << 0 << ""
                            << "click"
                            << "edtCharacterNumber"
                            << "rbAfterChar"
                            << ""
                            << "";
    // The typed text is the new one: nothing is carried over it.
    row("before, type into the field after") << 3 << "abc"
                                             << "type x"
                                             << "edtAfter"
                                             << "rbAfterString"
                                             << "abc"
                                             << "x";
    row("after, type into the field before") << 4 << ""
                                             << "type x"
                                             << "edtBefore"
                                             << "rbBeforeString"
                                             << "x"
                                             << "abc";
    row("type a number") << 1 << ""
                         << "type 7"
                         << "edtCharacterNumber"
                         << "rbAfterChar"
                         << ""
                         << "";
    row("step the number up") << 0 << ""
                              << "step"
                              << "edtCharacterNumber"
                              << "rbAfterChar"
                              << ""
                              << "";
  }
}

void TJobDialogsTest::clickingOrTypingPicksAnOptionAndClickingCarriesTheSearchText() {
  QFETCH(QString, dialog);
  QFETCH(int, modifier);
  QFETCH(QString, typedBefore);
  QFETCH(QString, action);
  QFETCH(QString, control);
  QFETCH(QString, ticked);
  QFETCH(QString, before);
  QFETCH(QString, after);
  const auto window = PositionDialog(dialog);
  TJob job(PositionKind(dialog));
  job.modifier = modifier;
  (dialog == "add" ? job.str2 : job.str1) = "abc";
  window->LoadJobIntoDialog(job);
  QVERIFY(ShowActive(*window));
  if (!typedBefore.isEmpty()) Child<QLineEdit>(*window, "edtBefore")->setText(typedBefore);
  QWidget* target = Child<QWidget>(*window, qPrintable(control));
  if (action == "click") {
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(8, target->height() / 2));
  } else {
    // Reached by Tab first, which alone picks nothing.
    target->setFocus(Qt::TabFocusReason);
    QCOMPARE(TickedPosition(*window), QString(kPositionRadios[modifier]));
    if (action == "step") {
      QTest::keyClick(target, Qt::Key_Up);
    } else {
      QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(target, action.mid(5));
    }
  }
  QCOMPARE(TickedPosition(*window), ticked);
  QCOMPARE(Child<QLineEdit>(*window, "edtBefore")->text(), before);
  QCOMPARE(Child<QLineEdit>(*window, "edtAfter")->text(), after);
}

void TJobDialogsTest::tabbingThroughADialogAndBackLeavesTheJobAsItWas_data() {
  QTest::addColumn<TJob>("job");
  for (TJobKind kind : {TJobKind::jobLower, TJobKind::jobUpper, TJobKind::jobNormal}) {
    for (int modifier = 0; modifier <= 2; ++modifier) {
      QTest::addRow("%s %d", JobKindName(kind), modifier) << MakeJob(kind, modifier, 3, 4, "abc", "def");
    }
  }
  for (int modifier = 0; modifier <= 4; ++modifier) {
    QTest::addRow("insert %d", modifier) << MakeJob(TJobKind::jobInsert, modifier, 4, 0, "abc", "def");
    QTest::addRow("remove %d", modifier) << MakeJob(TJobKind::jobRemove, modifier, 3, 4, "abc", "def");
    QTest::addRow("counter %d", modifier) << MakeJob(TJobKind::jobCounter, modifier, 3, 4, "abc", "def");
  }
  for (int modifier = 0; modifier <= 1; ++modifier) {
    for (int matchCase = 0; matchCase <= 1; ++matchCase) {
      QTest::addRow("replace %d, match case %d", modifier, matchCase)
          << MakeJob(TJobKind::jobReplace, modifier, matchCase, 0, "abc", "def");
    }
  }
}

void TJobDialogsTest::tabbingThroughADialogAndBackLeavesTheJobAsItWas() {
  QFETCH(TJob, job);
  const std::unique_ptr<TJobDialog> dialog = CreateJobDialog(job.type, nullptr);
  dialog->LoadJobIntoDialog(job);
  QVERIFY(ShowActive(*dialog));
  QWidget* first = QApplication::focusWidget();
  QWidget* ok = Child<QPushButton>(*dialog, "btnOk");
  QStringList visited{first->objectName()};
  const auto press = [&](Qt::Key key, QWidget* until) {
    for (int step = 0; step < 30 && QApplication::focusWidget() != until; ++step) {
      QTest::keyClick(QApplication::focusWidget(), key);
      visited << QApplication::focusWidget()->objectName();
    }
    return QApplication::focusWidget() == until;
  };
  QVERIFY2(press(Qt::Key_Tab, ok), qPrintable(visited.join(' ')));
  QVERIFY2(press(Qt::Key_Backtab, first), qPrintable(visited.join(' ')));
  QTest::mouseClick(ok, Qt::LeftButton);
  QCOMPARE(dialog->result(), int(QDialog::Accepted));
  TJob stored = job;
  dialog->StoreDialogIntoJob(stored);
  QCOMPARE(stored, job);
}

void TJobDialogsTest::numberFieldsTakeAnyNumberAndClampItWhenLeft_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<bool>("leaveByEnter");  // else by Tab
  QTest::addColumn<TJob>("stored");
  const int insert = int(TJobKind::jobInsert);
  const int remove = int(TJobKind::jobRemove);
  const int counter = int(TJobKind::jobCounter);
  // Loaded as MakeJob(kind, 1, 5, 6, "", "").
  QTest::newRow("in range") << insert << "edtCharacterNumber"
                            << "123" << false << MakeJob(TJobKind::jobInsert, 2, 123, 6);
  QTest::newRow("one digit too many") << insert << "edtCharacterNumber"
                                      << "99999" << false << MakeJob(TJobKind::jobInsert, 2, 65535, 6);
  QTest::newRow("far too large") << remove << "edtCharacterNumber"
                                 << "123456789012345678901234567890" << false
                                 << MakeJob(TJobKind::jobRemove, 2, 5, 65535);
  QTest::newRow("zero") << counter << "edtCharacterNumber"
                        << "0" << false << MakeJob(TJobKind::jobCounter, 2, 5, 1);
  QTest::newRow("negative") << remove << "edtCharacterCount"
                            << "-40" << false << MakeJob(TJobKind::jobRemove, 1, 1, 6);
  QTest::newRow("count too large, Enter") << counter << "edtCharacterCount"
                                          << "70000" << true << MakeJob(TJobKind::jobCounter, 1, 65535, 6);
  QTest::newRow("position too large, Enter") << insert << "edtCharacterNumber"
                                             << "65536" << true << MakeJob(TJobKind::jobInsert, 2, 65535, 6);
  // No number at all: the field keeps what it had.
  QTest::newRow("emptied") << remove << "edtCharacterCount"
                           << "" << false << MakeJob(TJobKind::jobRemove, 1, 5, 6);
  QTest::newRow("letters are not taken") << remove << "edtCharacterCount"
                                         << "x" << false << MakeJob(TJobKind::jobRemove, 1, 5, 6);
}

void TJobDialogsTest::numberFieldsTakeAnyNumberAndClampItWhenLeft() {
  QFETCH(int, kind);
  QFETCH(QString, field);
  QFETCH(QString, typed);
  QFETCH(bool, leaveByEnter);
  QFETCH(TJob, stored);
  const std::unique_ptr<TJobDialog> dialog = CreateJobDialog(static_cast<TJobKind>(kind), nullptr);
  const TJob loaded = MakeJob(static_cast<TJobKind>(kind), 1, 5, 6);
  dialog->LoadJobIntoDialog(loaded);
  QVERIFY(ShowActive(*dialog));
  auto* number = Child<QSpinBox>(*dialog, qPrintable(field));
  number->setFocus(Qt::TabFocusReason);
  QTest::keyClick(number, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(number, Qt::Key_Delete);
  QTest::keyClicks(number, typed);
  QTest::keyClick(number, leaveByEnter ? Qt::Key_Return : Qt::Key_Tab);
  QCOMPARE(dialog->result(), leaveByEnter ? int(QDialog::Accepted) : 0);
  QCOMPARE(number->text(), QString::number(number->value()));
  TJob job = loaded;
  dialog->StoreDialogIntoJob(job);
  QCOMPARE(job, stored);
}

void TJobDialogsTest::replaceDialogLoadsAndStores_data() {
  QTest::addColumn<TJob>("job");
  QTest::addColumn<bool>("regex");
  QTest::addColumn<bool>("matchCase");
  QTest::addColumn<TJob>("stored");
  QTest::newRow("new job") << TJob(TJobKind::jobReplace) << false << false
                           << MakeJob(TJobKind::jobReplace, 0, 0, 0, "", "", false);
  QTest::newRow("plain, match case") << MakeJob(TJobKind::jobReplace, 0, 1, 7, "a", "b") << false << true
                                     << MakeJob(TJobKind::jobReplace, 0, 1, 7, "a", "b");
  QTest::newRow("regex, ignore case") << MakeJob(TJobKind::jobReplace, 1, 0, 0, "(\\d+)", "#$1") << true << false
                                      << MakeJob(TJobKind::jobReplace, 1, 0, 0, "(\\d+)", "#$1");
  QTest::newRow("int1 2 is ignore case and stores 0") << MakeJob(TJobKind::jobReplace, 1, 2, 0, "a", "b") << true
                                                      << false << MakeJob(TJobKind::jobReplace, 1, 0, 0, "a", "b");
  QTest::newRow("modifier 5 leaves regex unticked and stores 0")
      << MakeJob(TJobKind::jobReplace, 5, 1, 0, "a", "b") << false << true
      << MakeJob(TJobKind::jobReplace, 0, 1, 0, "a", "b");
  QTest::newRow("another kind loads nothing") << MakeJob(TJobKind::jobInsert, 1, 1, 0, "a", "b") << false << false
                                              << MakeJob(TJobKind::jobInsert, 0, 0, 0, "", "");
}

void TJobDialogsTest::replaceDialogLoadsAndStores() {
  QFETCH(TJob, job);
  QFETCH(bool, regex);
  QFETCH(bool, matchCase);
  QFETCH(TJob, stored);
  TfrmReplaceDetails dialog;
  dialog.LoadJobIntoDialog(job);
  QCOMPARE(Child<QLineEdit>(dialog, "edtString1")->text(), ToQString(stored.str1));
  QCOMPARE(Child<QLineEdit>(dialog, "edtString2")->text(), ToQString(stored.str2));
  QCOMPARE(Child<QCheckBox>(dialog, "chkRegex")->isChecked(), regex);
  QCOMPARE(Child<QCheckBox>(dialog, "chkMatchCase")->isChecked(), matchCase);
  dialog.StoreDialogIntoJob(job);
  QCOMPARE(job, stored);
}

void TJobDialogsTest::testerAlwaysReplacesByRegexMatchingCase_data() {
  QTest::addColumn<QString>("expression");
  QTest::addColumn<QString>("replacement");
  QTest::addColumn<QString>("input");
  QTest::addColumn<QString>("output");
  QTest::newRow("a group") << "(\\d+)"
                           << "<$1>"
                           << "a12"
                           << "a<12>";
  QTest::newRow("case counts though Match case is clear") << "A"
                                                          << "x"
                                                          << "aA"
                                                          << "ax";
  QTest::newRow("a regex though Use Regular Expressions is clear") << "."
                                                                   << "-"
                                                                   << "ab"
                                                                   << "--";
}

void TJobDialogsTest::testerAlwaysReplacesByRegexMatchingCase() {
  QFETCH(QString, expression);
  QFETCH(QString, replacement);
  QFETCH(QString, input);
  QFETCH(QString, output);
  TfrmReplaceDetails dialog;
  Child<QLineEdit>(dialog, "edtString1")->setText(expression);
  Child<QLineEdit>(dialog, "edtString2")->setText(replacement);
  QLineEdit* edtInput = Child<QLineEdit>(dialog, "edtInput");
  edtInput->clear();
  QTest::keyClicks(edtInput, input);
  QCOMPARE(Child<QLabel>(dialog, "lblOutput")->text(), output);
}

void TJobDialogsTest::testerShowsTheEngineErrorForABadExpression() {
  TfrmReplaceDetails dialog;
  Child<QLineEdit>(dialog, "edtString1")->setText("(");
  Child<QLineEdit>(dialog, "edtString2")->setText("<$1>");
  QLineEdit* edtInput = Child<QLineEdit>(dialog, "edtInput");
  edtInput->setText("a12");
  const QString output = Child<QLabel>(dialog, "lblOutput")->text();
  QCOMPARE(output, ToQString(RegexReplace("a12", "(", "<$1>")));
  QVERIFY(output != "a12");
  QVERIFY(!output.isEmpty());
}

void TJobDialogsTest::testerFollowsItsInputOnly() {
  TfrmReplaceDetails dialog;
  Child<QLineEdit>(dialog, "edtString1")->setText("b");
  Child<QLineEdit>(dialog, "edtString2")->setText("B");
  Child<QLineEdit>(dialog, "edtInput")->setText("abc");
  QCOMPARE(Child<QLabel>(dialog, "lblOutput")->text(), QString("aBc"));
  Child<QLineEdit>(dialog, "edtString1")->setText("c");
  Child<QCheckBox>(dialog, "chkRegex")->click();
  QCOMPARE(Child<QLabel>(dialog, "lblOutput")->text(), QString("aBc"));
}

void TJobDialogsTest::reopeningShowsTheLastTesterInputWithoutOutput() {
  {
    TfrmReplaceDetails first;
    QLineEdit* edtInput = Child<QLineEdit>(first, "edtInput");
    edtInput->clear();
    QTest::keyClicks(edtInput, "hello");
  }
  TfrmReplaceDetails second;
  QCOMPARE(Child<QLineEdit>(second, "edtInput")->text(), QString("hello"));
  QCOMPARE(Child<QLabel>(second, "lblOutput")->text(), QString("..."));
  Child<QLineEdit>(second, "edtString1")->setText("l");
  QCOMPARE(Child<QLabel>(second, "lblOutput")->text(), QString("..."));
  Child<QLineEdit>(second, "edtString2")->setText("L");
  QTest::keyClicks(Child<QLineEdit>(second, "edtInput"), "!");
  QCOMPARE(Child<QLabel>(second, "lblOutput")->text(), QString("heLLo!"));
}

void TJobDialogsTest::testerHeightFollowsUseRegularExpressions() {
  TfrmReplaceDetails plain;
  QVERIFY(ShowActive(plain));
  QCOMPARE(plain.height(), 156);
  QVERIFY(!Child<QLineEdit>(plain, "edtInput")->isVisible());
  QCheckBox* chkRegex = Child<QCheckBox>(plain, "chkRegex");
  QTest::mouseClick(chkRegex, Qt::LeftButton);
  QCOMPARE(plain.height(), 220);
  QVERIFY(Child<QLineEdit>(plain, "edtInput")->isVisible());
  QTest::mouseClick(chkRegex, Qt::LeftButton);
  QCOMPARE(plain.height(), 156);
  QVERIFY(!Child<QLineEdit>(plain, "edtInput")->isVisible());
  // The button bar stays inside the window.
  QPushButton* ok = Child<QPushButton>(plain, "btnOk");
  QVERIFY(ok->geometry().bottom() < plain.height());

  TfrmReplaceDetails regex;
  regex.LoadJobIntoDialog(MakeJob(TJobKind::jobReplace, 1));
  QVERIFY(ShowActive(regex));
  QCOMPARE(regex.height(), 220);
  QVERIFY(Child<QLineEdit>(regex, "edtInput")->isVisible());
}

void TJobDialogsTest::textsAreStoredByteForByte_data() {
  QTest::addColumn<TJob>("job");
  const std::string odd = "caf\xe9 \xe6\x97\xa5\xe6\x9c\xac \x80\xff \xf0\x9f\x98\x80";
  QTest::newRow("insert before") << MakeJob(TJobKind::jobInsert, 3, 1, 0, odd, odd + "2");
  QTest::newRow("insert after") << MakeJob(TJobKind::jobInsert, 4, 1, 0, odd, odd + "2");
  QTest::newRow("remove before") << MakeJob(TJobKind::jobRemove, 3, 1, 0, odd);
  QTest::newRow("counter after") << MakeJob(TJobKind::jobCounter, 4, 1, 0, odd);
  QTest::newRow("replace") << MakeJob(TJobKind::jobReplace, 1, 1, 0, odd, odd + "2");
}

void TJobDialogsTest::textsAreStoredByteForByte() {
  QFETCH(TJob, job);
  const std::unique_ptr<TJobDialog> dialog = CreateJobDialog(job.type, nullptr);
  dialog->LoadJobIntoDialog(job);
  TJob stored = job;
  stored.str1 = stored.str2 = "overwritten";
  if (job.type != TJobKind::jobInsert && job.type != TJobKind::jobReplace) stored.str2 = job.str2;
  dialog->StoreDialogIntoJob(stored);
  QCOMPARE(stored, job);
}

void TJobDialogsTest::captions_data() {
  QTest::addColumn<QString>("dialog");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QStringList>("controls");  // name=text pairs
  QTest::newRow("insert") << "add"
                          << "Insert a string"
                          << QStringList{"lblPrompt=Insert this string : ",
                                         "rbBegin=at the beggining of filenames",
                                         "rbEnd=at the end of filenames",
                                         "rbAfterChar=after character #",
                                         "rbBeforeString=before this string",
                                         "rbAfterString=after this string",
                                         "btnOk=OK",
                                         "btnCancel=Cancel"};
  QTest::newRow("remove") << "remove"
                          << "Remove a number of characters"
                          << QStringList{"lblPrompt=Remove...",
                                         "Label1=...characters...",
                                         "rbBegin=from the beggining of filenames",
                                         "rbEnd=from the end of filenames",
                                         "rbAfterChar=after character #",
                                         "rbBeforeString=before this string",
                                         "rbAfterString=after this string"};
  QTest::newRow("counter") << "counter"
                           << "File Counter"
                           << QStringList{"lblPrompt=Insert a numeric string of...", "Label1=...characters...",
                                          "rbBegin=at the beggining of filenames", "rbEnd=at the end of filenames"};
  QTest::newRow("replace") << "replace"
                           << "String Replacement"
                           << QStringList{"lblPrompt=Find this string:",
                                          "Label1=And replace it with:",
                                          "chkMatchCase=Match case (case sensitive)",
                                          "chkRegex=Use Regular Expressions",
                                          "Label2=Regular Expression Tester:",
                                          "Label3=Input",
                                          "Label4=Output",
                                          "lblOutput=...",
                                          "btnRegExHelp=Regular Expression Help"};
  QTest::newRow("case") << "case"
                        << ""
                        << QStringList{"rbAll=all characters (filename and extension)", "rbFilename=filename only",
                                       "rbExtension=extension only"};
}

void TJobDialogsTest::captions() {
  QFETCH(QString, dialog);
  QFETCH(QString, caption);
  QFETCH(QStringList, controls);
  std::unique_ptr<QDialog> window;
  if (dialog == "replace") {
    window = std::make_unique<TfrmReplaceDetails>();
  } else if (dialog == "case") {
    window = std::make_unique<TfrmCaseDetails>();
  } else {
    window = PositionDialog(dialog);
  }
  QCOMPARE(window->windowTitle(), caption);
  for (const QString& control : controls) {
    const QString name = control.section('=', 0, 0);
    const QString text = control.section('=', 1);
    QWidget* widget = Child<QWidget>(*window, qPrintable(name));
    const QString actual = qobject_cast<QLabel*>(widget) ? qobject_cast<QLabel*>(widget)->text()
                                                         : qobject_cast<QAbstractButton*>(widget)->text();
    QCOMPARE(actual, text);
  }
  // Fixed size, no title-bar buttons.
  QVERIFY(ShowActive(*window));
  QCOMPARE(window->minimumSize(), window->maximumSize());
  QVERIFY(!(window->windowFlags() & Qt::WindowCloseButtonHint));
  QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
}

void TJobDialogsTest::tabOrder_data() {
  QTest::addColumn<QString>("dialog");
  QTest::addColumn<QStringList>("order");
  const QStringList position = {"rbBegin",   "rbEnd",         "rbAfterChar", "edtCharacterNumber", "rbBeforeString",
                                "edtBefore", "rbAfterString", "edtAfter",    "btnCancel",          "btnOk"};
  QTest::newRow("insert") << "add" << QStringList{"edtString"} + position;
  QTest::newRow("remove") << "remove" << QStringList{"edtCharacterCount"} + position;
  QTest::newRow("counter") << "counter" << QStringList{"edtCharacterCount"} + position;
  QTest::newRow("case") << "case"
                        << QStringList{"rbAll", "rbFilename", "rbExtension", "chkEveryAlphabet", "btnCancel", "btnOk"};
  QTest::newRow("replace") << "replace" << QStringList{"edtString1",   "edtString2", "chkMatchCase", "chkRegex",
                                                       "btnRegExHelp", "btnCancel",  "btnOk"};
}

void TJobDialogsTest::tabOrder() {
  QFETCH(QString, dialog);
  QFETCH(QStringList, order);
  std::unique_ptr<QDialog> window;
  if (dialog == "replace") {
    window = std::make_unique<TfrmReplaceDetails>();
  } else if (dialog == "case") {
    window = std::make_unique<TfrmCaseDetails>();
  } else {
    window = PositionDialog(dialog);
  }
  QVERIFY(ShowActive(*window));
  QCOMPARE(TabOrder(*window), order);
  QCOMPARE(QApplication::focusWidget()->objectName(), order.first());
}

void TJobDialogsTest::okIsEnterAndCancelIsEsc_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("result");
  for (TJobKind kind :
       {TJobKind::jobLower, TJobKind::jobInsert, TJobKind::jobRemove, TJobKind::jobReplace, TJobKind::jobCounter}) {
    QTest::addRow("%s, Enter", JobKindName(kind))
        << static_cast<int>(kind) << int(Qt::Key_Return) << int(QDialog::Accepted);
    QTest::addRow("%s, Esc", JobKindName(kind))
        << static_cast<int>(kind) << int(Qt::Key_Escape) << int(QDialog::Rejected);
  }
}

void TJobDialogsTest::okIsEnterAndCancelIsEsc() {
  QFETCH(int, kind);
  QFETCH(int, key);
  QFETCH(int, result);
  const std::unique_ptr<TJobDialog> dialog = CreateJobDialog(static_cast<TJobKind>(kind), nullptr);
  dialog->setResult(-1);
  dialog->open();
  QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
  QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
  QCOMPARE(dialog->result(), result);
  QVERIFY(!dialog->isVisible());
}

void TJobDialogsTest::runJobDialogOpensTheDialogOfTheKind_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("dialog");
  QTest::newRow("lower") << int(TJobKind::jobLower) << "qx::TfrmCaseDetails";
  QTest::newRow("upper") << int(TJobKind::jobUpper) << "qx::TfrmCaseDetails";
  QTest::newRow("normal") << int(TJobKind::jobNormal) << "qx::TfrmCaseDetails";
  QTest::newRow("insert") << int(TJobKind::jobInsert) << "qx::TfrmAddDetails";
  QTest::newRow("remove") << int(TJobKind::jobRemove) << "qx::TfrmRemoveDetails";
  QTest::newRow("replace") << int(TJobKind::jobReplace) << "qx::TfrmReplaceDetails";
  QTest::newRow("counter") << int(TJobKind::jobCounter) << "qx::TfrmCounterDetails";
  QTest::newRow("date") << int(TJobKind::jobDate) << "qx::TfrmDateDetails";
  QTest::newRow("none opens nothing") << int(TJobKind::jobNone) << "";
}

void TJobDialogsTest::runJobDialogOpensTheDialogOfTheKind() {
  QFETCH(int, kind);
  QFETCH(QString, dialog);
  test::TScriptedDialogs dialogs;
  dialogs.steps.push_back(test::PressOk());
  TJob job(static_cast<TJobKind>(kind));
  QCOMPARE(RunJobDialog(job, nullptr, dialogs, nullptr), !dialog.isEmpty());
  QCOMPARE(dialogs.shownDialogs.empty() ? QString() : QString::fromStdString(dialogs.shownDialogs.front()), dialog);
}

void TJobDialogsTest::runJobDialogStoresOnlyAfterOk() {
  const TJob original = MakeJob(TJobKind::jobInsert, 0, 0, 0, "old");
  test::TScriptedDialogs dialogs;
  const auto typeNew = [](QDialog& dialog) {
    Child<QLineEdit>(dialog, "edtString")->setText("new");
    Child<QRadioButton>(dialog, "rbEnd")->setChecked(true);
  };
  dialogs.steps.push_back([&](QDialog& dialog) {
    typeNew(dialog);
    return false;
  });
  dialogs.steps.push_back([&](QDialog& dialog) {
    typeNew(dialog);
    return true;
  });
  TJob job = original;
  QVERIFY(!RunJobDialog(job, nullptr, dialogs, nullptr));
  QCOMPARE(job, original);
  QVERIFY(RunJobDialog(job, nullptr, dialogs, nullptr));
  QCOMPARE(job, MakeJob(TJobKind::jobInsert, 1, 0, 0, "new"));
}

void TJobDialogsTest::dateDialogLoadsStoresAndRefusesASlash_data() {
  QTest::addColumn<TJob>("job");
  QTest::addColumn<QString>("format");  // typed over the loaded one; empty: left as loaded
  QTest::addColumn<bool>("accepted");
  QTest::addColumn<TJob>("stored");
  const TJob taken = MakeJob(TJobKind::jobDate, 3, dateTaken, 0, ".", "yyyymmdd");
  const TJob modified = MakeJob(TJobKind::jobDate, 2, dateModified, 4, "", "hhnn");
  TJob retyped = taken;
  retyped.str2 = "dd.mm.yyyy";
  QTest::newRow("a new job: the date taken in the default format")
      << NewJob(TJobKind::jobDate) << "" << true
      << MakeJob(TJobKind::jobDate, 0, dateTaken, 0, "", "yyyy-mm-dd", false);
  QTest::newRow("date taken, before a string") << taken << "" << true << taken;
  QTest::newRow("modified, after 4 characters") << modified << "" << true << modified;
  QTest::newRow("a new format") << taken << "dd.mm.yyyy" << true << retyped;
  QTest::newRow("a slash is refused") << taken << "dd/mm/yyyy" << false << taken;
}

void TJobDialogsTest::dateDialogLoadsStoresAndRefusesASlash() {
  QFETCH(TJob, job);
  QFETCH(QString, format);
  QFETCH(bool, accepted);
  QFETCH(TJob, stored);
  TfrmDateDetails dialog;
  dialog.LoadJobIntoDialog(job);
  if (!format.isEmpty()) test::Child<QLineEdit>(dialog, "edtFormat")->setText(format);
  QCOMPARE(test::Child<QPushButton>(dialog, "btnOk")->isEnabled(), accepted);
  TJob result = job;
  if (accepted) dialog.StoreDialogIntoJob(result);
  QCOMPARE(result, stored);
}

}  // namespace qx

QTEST_MAIN(qx::TJobDialogsTest)
#include "UJobDialogsTest.moc"
