// SPDX-License-Identifier: GPL-3.0-or-later
// The "XML Character Encoding" dialog: preselection from the setting, the setting
// taken from the chosen entry, and OK only for an encoding job lists read back in.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QtTest>

#include "support/URecordingMessages.h"
#include "ui/UUiTestSupport.h"
#include "ui/dialogs/UfrmXMLEncoding.h"

namespace qx {

using test::Child;

class TfrmXMLEncodingTest : public QObject {
  Q_OBJECT

 private slots:
  void startsOnLatin1();
  void selectEncodingPicksTheFirstEntryThatBeginsWithTheName_data();
  void selectEncodingPicksTheFirstEntryThatBeginsWithTheName();
  void theSettingIsTheTextUpToTheFirstBlank_data();
  void theSettingIsTheTextUpToTheFirstBlank();
  void okAcceptsOnlyAnEncodingThatReadsBack_data();
  void okAcceptsOnlyAnEncodingThatReadsBack();
};

void TfrmXMLEncodingTest::startsOnLatin1() {
  test::TRecordingMessages messages;
  TfrmPreferences dialog(messages);
  QCOMPARE(dialog.windowTitle(), QString("XML Character Encoding"));
  QComboBox* combo = Child<QComboBox>(dialog, "cbXMLEncoding");
  QVERIFY(combo->isEditable());
  QCOMPARE(combo->count(), 12);
  QCOMPARE(combo->currentText(), QString("ISO-8859-1 (Latin-1 West European Languages)"));
  QCOMPARE(combo->itemText(11), QString("EUC-KR (Korean)"));
  QVERIFY(Child<QPushButton>(dialog, "btnOk")->isDefault());
  QCOMPARE(Child<QPushButton>(dialog, "btnCancel")->text(), QString("Cancel"));
}

void TfrmXMLEncodingTest::selectEncodingPicksTheFirstEntryThatBeginsWithTheName_data() {
  QTest::addColumn<QString>("encoding");
  QTest::addColumn<int>("index");
  QTest::addColumn<QString>("text");
  QTest::newRow("ISO-8859-10") << "ISO-8859-10" << 9 << "ISO-8859-10 (Latin-6 Inuit, Nordic)";
  QTest::newRow("ISO-8859-1 is the first, not the tenth")
      << "ISO-8859-1" << 0 << "ISO-8859-1 (Latin-1 West European Languages)";
  QTest::newRow("letter case ignored") << "euc-kr" << 11 << "EUC-KR (Korean)";
  QTest::newRow("utf-8 is no entry") << "utf-8" << -1 << "utf-8";
  QTest::newRow("empty matches none") << "" << -1 << "";
}

void TfrmXMLEncodingTest::selectEncodingPicksTheFirstEntryThatBeginsWithTheName() {
  QFETCH(QString, encoding);
  QFETCH(int, index);
  QFETCH(QString, text);
  test::TRecordingMessages messages;
  TfrmPreferences dialog(messages);
  dialog.SelectEncoding(encoding.toStdString());
  QComboBox* combo = Child<QComboBox>(dialog, "cbXMLEncoding");
  QCOMPARE(combo->currentIndex(), index);
  QCOMPARE(combo->currentText(), text);
}

void TfrmXMLEncodingTest::theSettingIsTheTextUpToTheFirstBlank_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("setting");
  QTest::newRow("Japanese") << 10 << ""
                            << "ISO-2022-JP";
  QTest::newRow("Cyrillic") << 4 << ""
                            << "ISO-8859-5";
  QTest::newRow("typed without a blank") << -1 << "windows-1252"
                                         << "windows-1252";
  QTest::newRow("typed with blanks") << -1 << "UTF-8 please"
                                     << "UTF-8";
  QTest::newRow("typed empty") << -1 << ""
                               << "";
}

void TfrmXMLEncodingTest::theSettingIsTheTextUpToTheFirstBlank() {
  QFETCH(int, index);
  QFETCH(QString, typed);
  QFETCH(QString, setting);
  test::TRecordingMessages messages;
  TfrmPreferences dialog(messages);
  QComboBox* combo = Child<QComboBox>(dialog, "cbXMLEncoding");
  combo->setCurrentIndex(index);
  if (index < 0) combo->setEditText(typed);
  QCOMPARE(QString::fromStdString(dialog.EncodingSetting()), setting);
}

void TfrmXMLEncodingTest::okAcceptsOnlyAnEncodingThatReadsBack_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<bool>("accepted");
  for (int n = 0; n < 12; ++n) QTest::newRow(qPrintable(QString("entry %1").arg(n))) << QString() << true;
  QTest::newRow("empty is UTF-8") << "" << true;
  QTest::newRow("windows-1252") << "windows-1252" << true;
  QTest::newRow("unknown") << "NO-SUCH-ENCODING" << false;
  QTest::newRow("UTF-32 does not load again") << "UTF-32" << false;
  QTest::newRow("Shift_JIS changes the backslash") << "Shift_JIS" << false;
}

void TfrmXMLEncodingTest::okAcceptsOnlyAnEncodingThatReadsBack() {
  QFETCH(QString, typed);
  QFETCH(bool, accepted);
  test::TRecordingMessages messages;
  TfrmPreferences dialog(messages);
  QComboBox* combo = Child<QComboBox>(dialog, "cbXMLEncoding");
  const QString row = QTest::currentDataTag();
  if (row.startsWith("entry ")) {
    combo->setCurrentIndex(row.mid(6).toInt());
  } else {
    combo->setCurrentIndex(-1);
    combo->setEditText(typed);
  }
  dialog.open();
  Child<QPushButton>(dialog, "btnOk")->click();
  QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
  QCOMPARE(dialog.isVisible(), !accepted);
  QCOMPARE(messages.messages.size(), std::size_t{accepted ? 0u : 1u});
  if (!accepted) {
    const std::string name = typed.toStdString();
    QVERIFY2(messages.messages[0].starts_with("The job list cannot be saved in encoding " + name + ": "),
             messages.messages[0].c_str());
  }
}

}  // namespace qx

QTEST_MAIN(qx::TfrmXMLEncodingTest)
#include "UfrmXMLEncodingTest.moc"
