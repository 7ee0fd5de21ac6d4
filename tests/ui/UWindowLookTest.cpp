// SPDX-License-Identifier: GPL-3.0-or-later
// What the windows show matches what is so: the log follows its newest line from the
// lines' beginnings, an option that is off looks off, the mask history keeps no stale
// entries, a saved placement comes back onto the screen, never minimised, and the counter
// start takes any number typed, brought into its range.
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QImage>
#include <QListView>
#include <QMainWindow>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QWindow>
#include <QtTest/QtTest>
#include <limits>

#include "platform/UFiles.h"
#include "ui/UMainWindowHarness.h"
#include "ui/UUiTestSupport.h"
#include "ui/main/UJobPanel.h"
#include "ui/run/UfrmLog.h"

namespace qx {
namespace {

using THarness = test::TMainWindowHarness;

// The colours of the caption's pixels (#aarrggbb), drawn without anti-aliasing and
// without the background, so that every pixel drawn has the pen's colour.
QStringList CaptionColours(QAbstractButton& button) {
  QFont font = button.font();
  font.setStyleStrategy(QFont::NoAntialias);
  button.setFont(font);
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = button.text();
  const bool radio = qobject_cast<QRadioButton*>(&button);
  const QRect caption = button.style()->subElementRect(
      radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, &button);
  QImage image(button.size(), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  button.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  QSet<QString> colours;
  for (int y = caption.top(); y <= caption.bottom(); ++y) {
    for (int x = caption.left(); x <= caption.right(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      if (pixel.alpha() != 0) colours.insert(pixel.name(QColor::HexArgb));
    }
  }
  QStringList sorted(colours.begin(), colours.end());
  sorted.sort();
  return sorted;
}

// The frame the platform puts around a main window.
QMargins PlatformFrame() {
  QMainWindow window;
  window.winId();
  return window.windowHandle()->frameMargins();
}

QStringList Items(const QComboBox& box) {
  QStringList items;
  for (int n = 0; n < box.count(); ++n) items << box.itemText(n);
  return items;
}

}  // namespace

class TWindowLookTest : public QObject {
  Q_OBJECT

 private slots:
  void logFollowsTheNewestLineFromItsBeginning_data();
  void logFollowsTheNewestLineFromItsBeginning();
  void anOptionThatIsOffLooksOff_data();
  void anOptionThatIsOffLooksOff();
  void theMaskHistoryKeepsNoStaleEntries_data();
  void theMaskHistoryKeepsNoStaleEntries();
  void thePlacementComesBackOntoTheScreen_data();
  void thePlacementComesBackOntoTheScreen();
  void theCounterStartTakesAnyNumberIntoItsRange_data();
  void theCounterStartTakesAnyNumberIntoItsRange();
};

void TWindowLookTest::logFollowsTheNewestLineFromItsBeginning_data() {
  QTest::addColumn<int>("linesWhileHidden");
  QTest::addColumn<int>("linesWhileShown");
  QTest::newRow("a run logged while the window is hidden") << 300 << 0;
  QTest::newRow("lines added while it shows") << 0 << 300;
  QTest::newRow("both") << 150 << 150;
}

void TWindowLookTest::logFollowsTheNewestLineFromItsBeginning() {
  QFETCH(int, linesWhileHidden);
  QFETCH(int, linesWhileShown);
  TfrmLog log;
  auto* memLog = test::Child<QListView>(log, "memLog");
  int number = 0;
  // Wider than the window, so that the view could be anywhere across them.
  const auto addLine = [&] { log.AddLogLine(QString("%1 ").arg(++number) + QString(400, 'x') + " end"); };
  for (int n = 0; n < linesWhileHidden; ++n) addLine();
  log.ShowLog();
  QVERIFY(QTest::qWaitForWindowExposed(&log));
  for (int n = 0; n < linesWhileShown; ++n) {
    addLine();
    log.Flush();
  }
  // A run ends with the window shown.
  log.ShowLog();
  QCoreApplication::processEvents();

  const QScrollBar* vertical = memLog->verticalScrollBar();
  QVERIFY(vertical->maximum() > 0);
  QCOMPARE(vertical->value(), vertical->maximum());
  const QModelIndex lowest = memLog->indexAt(QPoint(0, memLog->viewport()->height() - 2));
  QCOMPARE(lowest.data().toString().section(' ', 0, 0), QString::number(number));
  const QScrollBar* horizontal = memLog->horizontalScrollBar();
  QVERIFY(horizontal->maximum() > 0);
  QCOMPARE(horizontal->value(), horizontal->minimum());
}

void TWindowLookTest::anOptionThatIsOffLooksOff_data() {
  QTest::addColumn<QString>("how");
  QTest::addColumn<QStringList>("options");
  QTest::newRow("simulation mode") << "chkSimulation" << QStringList{"chkConfirm", "chkUndo"};
  QTest::newRow("no sorting") << "chkSort" << QStringList{"rbNameASC", "rbNameDESC", "rbDateASC", "rbDateDESC"};
  // A run greys out the whole job panel.
  QTest::newRow("a run") << "pnlMain"
                         << QStringList{"chkRecurseDirs", "chkRenameDirs", "chkResetCounter", "chkSort",
                                        "chkConfirm",     "chkUndo",       "chkLog",          "chkSimulation"};
}

void TWindowLookTest::anOptionThatIsOffLooksOff() {
  QFETCH(QString, how);
  QFETCH(QStringList, options);
  THarness harness;
  harness.Start();
  if (how == "pnlMain") {
    harness.Control<QWidget>("pnlMain")->setEnabled(false);
  } else {
    harness.Click(qPrintable(how));
  }
  const QString disabled =
      QApplication::palette().color(QPalette::Disabled, QPalette::WindowText).name(QColor::HexArgb);
  for (const QString& name : options) {
    auto* option = harness.Control<QAbstractButton>(qPrintable(name));
    QVERIFY2(!option->isEnabled(), qPrintable(name));
    QCOMPARE(name + ": " + CaptionColours(*option).join(' '), name + ": " + disabled);
  }
}

void TWindowLookTest::theMaskHistoryKeepsNoStaleEntries_data() {
  QTest::addColumn<QString>("saved");  // the [Strings] lines of quillex.ini
  QTest::addColumn<QString>("typed");  // a mask used before closing, or null
  QTest::addColumn<QStringList>("history");
  QTest::newRow("a gap before the last entry") << "filemask0=\nfilemask1=a*\n" << QString() << QStringList{"a*"};
  QTest::newRow("gaps in between") << "filemask1=a*\nfilemask3=b*\nfilemask9=c*\n"
                                   << QString() << QStringList{"a*", "b*", "c*"};
  QTest::newRow("an entry twice") << "filemask0=a*\nfilemask1=b*\nfilemask2=a*\n"
                                  << QString() << QStringList{"a*", "b*"};
  QTest::newRow("a used mask moves up") << "filemask0=\nfilemask1=a*\nfilemask2=b*\n"
                                        << "b*" << QStringList{"b*", "a*"};
  QTest::newRow("a new mask") << "filemask5=a*\n"
                              << "c*" << QStringList{"c*", "a*"};
}

void TWindowLookTest::theMaskHistoryKeepsNoStaleEntries() {
  QFETCH(QString, saved);
  QFETCH(QString, typed);
  QFETCH(QStringList, history);
  THarness harness;
  const std::string untouched = "; kept as it is\n[Other]\nkey=value\n";
  harness.WriteIni(untouched + "[Strings]\n" + saved.toStdString());
  harness.Start();
  if (!typed.isNull()) {
    harness.Control<QComboBox>("cmbFileMask")->setEditText(typed);
    harness.Window().JobPanel().UpdateMaskHistory();
  }
  // Restarts never bring an entry back.
  for (int start = 0; start < 3; ++start) {
    harness.Close();
    harness.Start();
    QCOMPARE(Items(*harness.Control<QComboBox>("cmbFileMask")), history);
  }
  harness.Close();
  ToxRegVal ini = harness.Saved();
  for (int n = 0; n < 10; ++n) {
    const std::string key = "filemask" + std::to_string(n);
    QCOMPARE(QString::fromStdString(ini.GetString(key)), history.value(n));
  }
  QVERIFY(ReadWholeFile(harness.IniPath()).starts_with(untouched));
}

void TWindowLookTest::thePlacementComesBackOntoTheScreen_data() {
  QTest::addColumn<QString>("saved");   // the [frmMain] lines of quillex.ini
  QTest::addColumn<QRect>("restored");  // the normal geometry, the frame inside the area
  QTest::addColumn<bool>("maximised");
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const QMargins frame = PlatformFrame();
  const auto placement = [](int left, int top, int width, int height, int state) {
    return QString("Left=%1\nTop=%2\nWidth=%3\nHeight=%4\nWinState=%5\n")
        .arg(left)
        .arg(top)
        .arg(width)
        .arg(height)
        .arg(state);
  };
  const QRect lowerRight(area.right() - frame.right() - 599, area.bottom() - frame.bottom() - 499, 600, 500);
  const QRect upperLeft(area.left() + frame.left(), area.top() + frame.top(), 600, 500);
  QTest::newRow("on the screen, as it was") << placement(10, 20, 600, 500, 0) << QRect(10, 20, 600, 500) << false;
  QTest::newRow("far right and below") << placement(area.right() + 5000, area.bottom() + 5000, 600, 500, 0)
                                       << lowerRight << false;
  QTest::newRow("far left and above") << placement(area.left() - 5000, area.top() - 5000, 600, 500, 0) << upperLeft
                                      << false;
  QTest::newRow("half off the lower right")
      << placement(area.right() - 100, area.bottom() - 100, 600, 500, 0) << lowerRight << false;
  QTest::newRow("in the frame's width of the corner")
      << placement(area.left(), area.top(), 600, 500, 0) << upperLeft << false;
  QTest::newRow("larger than the screen")
      << placement(100, 100, area.width() + 1000, area.height() + 1000, 0) << area.marginsRemoved(frame) << false;
  QTest::newRow("at the end of int's range")
      << placement(2147483000, 2147483000, 2147483000, 2147483000, 0) << area.marginsRemoved(frame) << false;
  QTest::newRow("saved while minimised opens normal")
      << placement(10, 20, 600, 500, 1) << QRect(10, 20, 600, 500) << false;
  QTest::newRow("maximised, its normal size fitted")
      << placement(-9000, 20, area.width(), 500, 2)
      << QRect(area.left() + frame.left(), 20, area.width() - frame.left() - frame.right(), 500) << true;
}

void TWindowLookTest::thePlacementComesBackOntoTheScreen() {
  QFETCH(QString, saved);
  QFETCH(QRect, restored);
  QFETCH(bool, maximised);
  THarness harness;
  harness.WriteIni("[frmMain]\n" + saved.toStdString());
  const TfrmMain& window = harness.Start();
  QVERIFY(!window.isMinimized());
  QCOMPARE(window.isMaximized(), maximised);
  QCOMPARE(window.normalGeometry(), restored);
  if (!maximised) QCOMPARE(window.geometry(), restored);
}

void TWindowLookTest::theCounterStartTakesAnyNumberIntoItsRange_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("value");
  QTest::newRow("in range") << "-17" << -17;
  QTest::newRow("above") << "99999999999" << std::numeric_limits<int>::max();
  QTest::newRow("below") << "-99999999999" << std::numeric_limits<int>::min();
  QTest::newRow("no number keeps the value") << "-" << 5;
}

void TWindowLookTest::theCounterStartTakesAnyNumberIntoItsRange() {
  QFETCH(QString, typed);
  QFETCH(int, value);
  THarness harness;
  harness.WriteIni("[Integers]\ncounterStart=5\n");
  harness.Start();
  auto* counter = harness.Control<QSpinBox>("edtCounter");
  counter->setFocus(Qt::TabFocusReason);
  QTest::keyClick(counter, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(counter, typed);
  QTest::keyClick(counter, Qt::Key_Tab);
  QCOMPARE(counter->value(), value);
  QCOMPARE(counter->text(), QString::number(value));
  harness.Close();
  QCOMPARE(harness.Saved().GetInteger("counterStart"), value);
}

}  // namespace qx

QTEST_MAIN(qx::TWindowLookTest)
#include "UWindowLookTest.moc"
