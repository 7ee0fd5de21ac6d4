// The "XML Character Encoding" dialog: preselection from the setting, and the setting
// taken from the chosen entry.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QtTest>

#include "ui/UUiTestSupport.h"
#include "ui/UfrmXMLEncoding.h"

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
};

void TfrmXMLEncodingTest::startsOnLatin1() {
  TfrmPreferences dialog;
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
  TfrmPreferences dialog;
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
  TfrmPreferences dialog;
  QComboBox* combo = Child<QComboBox>(dialog, "cbXMLEncoding");
  combo->setCurrentIndex(index);
  if (index < 0) combo->setEditText(typed);
  QCOMPARE(QString::fromStdString(dialog.EncodingSetting()), setting);
}

}  // namespace qx

QTEST_MAIN(qx::TfrmXMLEncodingTest)
#include "UfrmXMLEncodingTest.moc"
