// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program as a Linux desktop shows it: every caption whole at any scale and
// with a large font, the first start on the screen, every coloured text readable on a
// light and a dark theme, one Alt letter per control, the keys a user expects, a name for
// every control, and a regular-expression tester that shows all of its output.
// Run at QT_SCALE_FACTOR 1, 1.5 and 2 on a 1920x1200 screen, and the window's place on
// smaller screens at 2 (see CMakeLists.txt).
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QToolButton>
#include <QTreeView>
#include <QtTest/QtTest>
#include <functional>
#include <memory>

#include "ui/UMainWindowHarness.h"
#include "ui/UPaletteColours.h"
#include "ui/UUiTestSupport.h"
#include "ui/dialogs/UfrmAbout.h"
#include "ui/dialogs/UfrmAddDetails.h"
#include "ui/dialogs/UfrmCaseDetails.h"
#include "ui/dialogs/UfrmCounterDetails.h"
#include "ui/dialogs/UfrmDateDetails.h"
#include "ui/dialogs/UfrmRegExHelp.h"
#include "ui/dialogs/UfrmRemoveDetails.h"
#include "ui/dialogs/UfrmReplaceDetails.h"
#include "ui/dialogs/UfrmXMLEncoding.h"
#include "ui/main/UTitleBar.h"
#include "ui/run/UfrmLog.h"
#include "ui/run/UfrmProgress.h"
#include "ui/run/UfrmTree.h"

using namespace Qt::StringLiterals;

namespace qx {
namespace {

using THarness = test::TMainWindowHarness;

// Every window the program opens besides the main window, made afresh.
using TWindowMaker = std::function<std::unique_ptr<QWidget>(TMessageHost&)>;
QList<QPair<QString, TWindowMaker>> OtherWindows() {
  return {
      {"case", [](TMessageHost&) { return std::make_unique<TfrmCaseDetails>(); }},
      {"insert", [](TMessageHost&) { return std::make_unique<TfrmAddDetails>(); }},
      {"remove", [](TMessageHost&) { return std::make_unique<TfrmRemoveDetails>(); }},
      {"replace", [](TMessageHost&) { return std::make_unique<TfrmReplaceDetails>(); }},
      {"counter", [](TMessageHost&) { return std::make_unique<TfrmCounterDetails>(); }},
      {"date", [](TMessageHost&) { return std::make_unique<TfrmDateDetails>(); }},
      {"encoding", [](TMessageHost& messages) { return std::make_unique<TfrmPreferences>(messages); }},
      {"about", [](TMessageHost&) { return std::make_unique<TfrmAbout>(); }},
      {"progress", [](TMessageHost&) { return std::make_unique<TfrmProgress>(); }},
      {"log", [](TMessageHost&) { return std::make_unique<TfrmLog>(); }},
      {"tree", [](TMessageHost&) { return std::make_unique<TfrmTree>(); }},
      {"regex help", [](TMessageHost&) { return std::make_unique<TfrmRegExHelp>([](const QUrl&) {}); }},
  };
}

QString Plain(QString text) { return text.remove(QRegularExpression(u"&(?!&)"_s)); }

// Why the widget's caption does not show whole, or nothing when it does.
QString CutCaption(QWidget& widget) {
  if (!widget.isVisible()) return {};
  if (auto* title = qobject_cast<TTitleBar*>(&widget)) return title->IsElided() ? title->text() : QString();
  if (auto* label = qobject_cast<QLabel*>(&widget)) {
    if (label->text().isEmpty() || label->wordWrap()) return {};
    return label->width() < label->sizeHint().width() ? label->text() : QString();
  }
  if (qobject_cast<QCheckBox*>(&widget) || qobject_cast<QRadioButton*>(&widget)) {
    auto& button = static_cast<QAbstractButton&>(widget);
    return button.width() < button.sizeHint().width() ? button.text() : QString();
  }
  if (auto* button = qobject_cast<QPushButton*>(&widget)) {
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return button->fontMetrics().horizontalAdvance(Plain(button->text())) > room.width() ? button->text() : QString();
  }
  if (auto* box = qobject_cast<QGroupBox*>(&widget)) {
    return box->fontMetrics().horizontalAdvance(Plain(box->title())) > box->width() ? box->title() : QString();
  }
  return {};
}

QStringList CutCaptions(QWidget& window) {
  QStringList cut;
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    if (const QString text = CutCaption(*widget); !text.isEmpty()) cut << widget->objectName() + ": " + text;
  }
  return cut;
}

// The Alt letters of one scope, and the captions that share one.
QStringList SharedMnemonics(const QStringList& captions) {
  QMap<QKeySequence, QStringList> byKey;
  for (const QString& caption : captions) {
    if (const QKeySequence key = QKeySequence::mnemonic(caption); !key.isEmpty()) byKey[key] << caption;
  }
  QStringList shared;
  for (const QStringList& same : byKey) {
    if (same.size() > 1) shared << same.join(" = ");
  }
  return shared;
}

// A menu's own scope and each of its submenus'.
QStringList SharedMnemonicsIn(const QMenu& menu) {
  QStringList items;
  QStringList shared;
  for (QAction* item : menu.actions()) {
    items << item->text();
    if (item->menu()) shared << SharedMnemonicsIn(*item->menu());
  }
  return shared << SharedMnemonics(items);
}

// The window's own scope (buttons, labels, group boxes, the menu bar) and each menu's.
QStringList SharedMnemonicsIn(QWidget& window) {
  QStringList captions;
  for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) captions << button->text();
  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (label->buddy()) captions << label->text();
  }
  for (QGroupBox* box : window.findChildren<QGroupBox*>()) captions << box->title();
  QStringList shared;
  if (QMenuBar* bar = window.findChild<QMenuBar*>()) {
    for (QAction* menu : bar->actions()) {
      captions << menu->text();
      shared << SharedMnemonicsIn(*menu->menu());
    }
  }
  return shared << SharedMnemonics(captions);
}

// The controls of `window` a user works, each once: a combo box's or a spin box's own
// line edit, a combo box's list (a window of its own), a view's header and the »
// buttons belong to their owners.
QList<QWidget*> Controls(QWidget& window) {
  QList<QWidget*> controls;
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                         qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
                         qobject_cast<QAbstractItemView*>(widget);
    if (control && widget->window() == &window && !qobject_cast<QComboBox*>(widget->parentWidget()) &&
        !qobject_cast<QAbstractSpinBox*>(widget->parentWidget()) && !qobject_cast<QHeaderView*>(widget) &&
        !widget->objectName().startsWith(u"qt_"_s)) {
      controls << widget;
    }
  }
  return controls;
}

// The controls that a user cannot bring whole onto the screen, scrolling to them.
QStringList OutOfReach(QWidget& window) {
  const QRect area = window.screen()->availableGeometry();
  // The layout settles as it does on screen, its scroll bars too.
  QCoreApplication::processEvents();
  QStringList out;
  for (QWidget* control : Controls(window)) {
    if (!control->isVisible()) continue;
    for (QWidget* up = control->parentWidget(); up; up = up->parentWidget()) {
      auto* scroller = qobject_cast<QScrollArea*>(up);
      if (!scroller) continue;
      const QPoint centre = control->mapTo(scroller->widget(), control->rect().center());
      scroller->ensureVisible(centre.x(), centre.y(), control->width() / 2 + 1, control->height() / 2 + 1);
    }
    const QRect onScreen(control->mapToGlobal(QPoint()), control->size());
    if (!area.contains(onScreen) || control->visibleRegion().boundingRect() != control->rect()) {
      out << control->metaObject()->className() + QString(u" "_s) + control->objectName();
    }
  }
  return out;
}

// The controls a user works that have no name for a screen reader.
QStringList Unnamed(QWidget& window) {
  QStringList unnamed;
  for (QWidget* widget : Controls(window)) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty()) {
      unnamed << widget->metaObject()->className() + QString(u" "_s) + widget->objectName();
    }
  }
  return unnamed;
}

QPalette DarkPalette() {
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
  dark.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
  dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
  dark.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
  dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
  dark.setColor(QPalette::ButtonText, QColor(0xe6, 0xe6, 0xe6));
  dark.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
  dark.setColor(QPalette::HighlightedText, QColor(0xfc, 0xfc, 0xfc));
  return dark;
}

QPalette LightPalette() {
  QPalette light;
  light.setColor(QPalette::Window, QColor(0xef, 0xf0, 0xf1));
  light.setColor(QPalette::WindowText, QColor(0x23, 0x26, 0x29));
  light.setColor(QPalette::Base, Qt::white);
  light.setColor(QPalette::Text, QColor(0x23, 0x26, 0x29));
  light.setColor(QPalette::Button, QColor(0xfc, 0xfc, 0xfc));
  light.setColor(QPalette::ButtonText, QColor(0x23, 0x26, 0x29));
  light.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
  light.setColor(QPalette::HighlightedText, Qt::white);
  return light;
}

}  // namespace

class TDesktopLookTest : public QObject {
  Q_OBJECT

 private slots:
  void everyCaptionShowsWhole_data();
  void everyCaptionShowsWhole();
  void theWindowIsOnTheScreen_data();
  void theWindowIsOnTheScreen();
  void everyColouredTextIsReadable_data();
  void everyColouredTextIsReadable();
  void noTwoControlsShareAnAltLetter();
  void theKeysReachTheirCommands_data();
  void theKeysReachTheirCommands();
  void everyControlHasAName();
  void theTesterShowsItsWholeOutput();
};

void TDesktopLookTest::everyCaptionShowsWhole_data() {
  QTest::addColumn<qreal>("points");  // 0: the system's font
  QTest::newRow("system font") << 0.0;
  QTest::newRow("11 points") << 11.0;
}

void TDesktopLookTest::everyCaptionShowsWhole() {
  QFETCH(qreal, points);
  const QFont system = QApplication::font();
  QFont font = system;
  if (points > 0) font.setPointSizeF(points);
  QApplication::setFont(font);
  {
    THarness harness;
    harness.Start();
    QCOMPARE(CutCaptions(harness.Window()), QStringList());
    QVERIFY(harness.Control<QWidget>("pnlMain")->width() >= 334);
    test::TRecordingMessages messages;
    for (const auto& [name, make] : OtherWindows()) {
      std::unique_ptr<QWidget> window = make(messages);
      window->show();
      QVERIFY(QTest::qWaitForWindowExposed(window.get()));
      QCOMPARE(name + ": " + CutCaptions(*window).join(", "), name + ": ");
    }
  }
  QApplication::setFont(system);
}

void TDesktopLookTest::theWindowIsOnTheScreen_data() {
  QTest::addColumn<QString>("saved");  // the [frmMain] lines of quillex.ini
  QTest::newRow("the first start") << QString();
  QTest::newRow("a placement larger than the screen") << u"Left=0\nTop=0\nWidth=4000\nHeight=3000\nWinState=0\n"_s;
}

// Also on a screen smaller than the window would like to be: the whole window, and every
// control in reach.
void TDesktopLookTest::theWindowIsOnTheScreen() {
  QFETCH(QString, saved);
  THarness harness;
  if (!saved.isEmpty()) harness.WriteIni("[frmMain]\n" + saved.toStdString());
  QWidget& window = harness.Start();
  const QRect area = window.screen()->availableGeometry();
  QVERIFY2(
      area.contains(window.frameGeometry()),
      qPrintable(QString(u"%1 outside %2"_s).arg(QDebug::toString(window.frameGeometry()), QDebug::toString(area))));
  QCOMPARE(OutOfReach(window).join(", "), QString());
}

void TDesktopLookTest::everyColouredTextIsReadable_data() {
  QTest::addColumn<QPalette>("opened");    // the desktop's palette when the windows open
  QTest::addColumn<QPalette>("switched");  // and after the desktop switches
  QTest::newRow("light") << LightPalette() << LightPalette();
  QTest::newRow("dark") << DarkPalette() << DarkPalette();
  QTest::newRow("light to dark") << LightPalette() << DarkPalette();
  QTest::newRow("dark to light") << DarkPalette() << LightPalette();
}

void TDesktopLookTest::everyColouredTextIsReadable() {
  QFETCH(QPalette, opened);
  QFETCH(QPalette, switched);
  const QPalette before = QApplication::palette();
  QApplication::setPalette(opened);
  THarness harness;
  harness.Start();
  TfrmAbout about;
  QStringList checked;
  for (QWidget* window : {static_cast<QWidget*>(&harness.Window()), static_cast<QWidget*>(&about)}) {
    // What the application passes on to its windows when the desktop switches (it does
    // so only once its event loop runs, which a test's does not).
    window->setPalette(switched);
    for (QWidget* widget : window->findChildren<QWidget*>()) {
      if (!widget->property(kColouredProperty).toBool()) continue;
      const QColor text = widget->palette().color(QPalette::WindowText);
      const QColor background = widget->palette().color(QPalette::Window);
      const double contrast = ContrastRatio(text, background);
      QVERIFY2(contrast >= kReadableContrast,
               qPrintable(widget->objectName() + u": "_s + QString::number(contrast, 'f', 2)));
      checked << widget->objectName();
    }
  }
  QApplication::setPalette(before);
  // The banner, the two pane titles, the four captions of how a run goes, two lines of About.
  QCOMPARE(checked.size(), 9);
}

void TDesktopLookTest::noTwoControlsShareAnAltLetter() {
  THarness harness;
  harness.Start();
  QCOMPARE(SharedMnemonicsIn(harness.Window()), QStringList());
  harness.Click("chkSimulation");  // Go becomes Simulate
  QCOMPARE(SharedMnemonicsIn(harness.Window()), QStringList());
  test::TRecordingMessages messages;
  for (const auto& [name, make] : OtherWindows()) {
    std::unique_ptr<QWidget> window = make(messages);
    QCOMPARE(name + ": " + SharedMnemonicsIn(*window).join(", "), name + ": ");
  }
}

void TDesktopLookTest::theKeysReachTheirCommands_data() {
  QTest::addColumn<QString>("focus");  // the control that has the focus
  QTest::addColumn<QKeySequence>("key");
  QTest::addColumn<QString>("command");  // a menu command that runs, or what the job list does
  QTest::newRow("Ctrl+O") << "lbJobs" << QKeySequence(u"Ctrl+O"_s) << "cmOpenJobList";
  QTest::newRow("Ctrl+S") << "cmbFileMask" << QKeySequence(u"Ctrl+S"_s) << "cmSaveJobList";
  QTest::newRow("Ctrl+Q") << "lbJobs" << QKeySequence(u"Ctrl+Q"_s) << "cmExit";
  QTest::newRow("F1") << "edtExample" << QKeySequence(u"F1"_s) << "cmQuickHelp";
  QTest::newRow("F5") << "lbJobs" << QKeySequence(u"F5"_s) << "cmRefresh";
  QTest::newRow("Delete") << "lbJobs" << QKeySequence(u"Del"_s) << "delete";
  QTest::newRow("Ctrl+Up") << "lbJobs" << QKeySequence(u"Ctrl+Up"_s) << "up";
  QTest::newRow("Ctrl+Down") << "lbJobs" << QKeySequence(u"Ctrl+Down"_s) << "down";
  QTest::newRow("Delete elsewhere") << "edtExample" << QKeySequence(u"Del"_s) << "nothing";
  QTest::newRow("Enter in the sample") << "edtExample" << QKeySequence(u"Return"_s) << "sample";
}

void TDesktopLookTest::theKeysReachTheirCommands() {
  QFETCH(QString, focus);
  QFETCH(QKeySequence, key);
  QFETCH(QString, command);
  THarness harness;
  std::vector<TJob> jobs;
  for (const char* text : {"a", "b", "c"}) {
    TJob job(TJobKind::jobInsert);
    job.str1 = text;
    job.enabled = true;
    jobs.push_back(job);
  }
  harness.WriteDefaultJobList(jobs);
  TfrmMain& window = harness.Start();
  QVERIFY(test::ShowActive(window));
  harness.SelectRow(1);
  const QStringList before = harness.Descriptions();
  QAction* menuCommand = harness.Command(qPrintable(command));
  // The commands' own effects open dialogs; the key only has to reach them.
  if (menuCommand) menuCommand->disconnect(&window);
  QSignalSpy triggered(menuCommand ? menuCommand : new QAction(&window), &QAction::triggered);
  auto* edit = harness.Control<QLineEdit>("edtExample");
  edit->setText(u"name"_s);
  QWidget* target = harness.Control<QWidget>(qPrintable(focus));
  target->setFocus();
  QTest::keySequence(target, key);
  if (menuCommand) {
    QCOMPARE(triggered.size(), 1);
    return;
  }
  const QStringList after = harness.Descriptions();
  if (command == "delete") QCOMPARE(after, (QStringList{before[0], before[2]}));
  if (command == "up") QCOMPARE(after, (QStringList{before[1], before[0], before[2]}));
  if (command == "down") QCOMPARE(after, (QStringList{before[0], before[2], before[1]}));
  if (command == "nothing") QCOMPARE(after, before);
  if (command == "sample") QCOMPARE(edit->text(), u"cbaname"_s);
}

void TDesktopLookTest::everyControlHasAName() {
  THarness harness;
  harness.Start();
  QCOMPARE(Unnamed(harness.Window()).join(", "), QString());
  test::TRecordingMessages messages;
  for (const auto& [name, make] : OtherWindows()) {
    std::unique_ptr<QWidget> window = make(messages);
    QCOMPARE(name + ": " + Unnamed(*window).join(", "), name + ": ");
  }
}

void TDesktopLookTest::theTesterShowsItsWholeOutput() {
  TfrmReplaceDetails dialog;
  test::Child<QCheckBox>(dialog, "chkRegex")->click();
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  auto* label = test::Child<QLabel>(dialog, "Label4");
  const int labelWidth = label->width();
  // An expression that does not compile: the engine's message is long.
  test::Child<QLineEdit>(dialog, "edtString1")->setText(QString(u"("_s).repeated(20) + u"unclosed"_s);
  test::Child<QLineEdit>(dialog, "edtInput")->setText(u"some input that is long enough to wrap"_s);
  auto* output = test::Child<QLabel>(dialog, "lblOutput");
  QTRY_VERIFY(output->height() >= output->heightForWidth(output->width()));
  QVERIFY(output->geometry().bottom() < dialog.height());
  QCOMPARE(label->width(), labelWidth);
}

}  // namespace qx

QTEST_MAIN(qx::TDesktopLookTest)
#include "UDesktopLookTest.moc"
