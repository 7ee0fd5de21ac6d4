// SPDX-License-Identifier: GPL-3.0-or-later
// The log window's lines: copying gives the selected lines in the log's order, a
// selection or a view scrolled up stays put while lines arrive, the newest line is
// followed otherwise, the view scrolls across to the widest line, and Clear Log forgets
// lines, selection and width.
#include <QAction>
#include <QClipboard>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest/QtTest>

#include "ui/UUiTestSupport.h"
#include "ui/run/UfrmLog.h"

using namespace Qt::StringLiterals;

namespace qx {
namespace {

QListView& View(const TfrmLog& log) { return *test::Child<QListView>(log, "memLog"); }

QAction& Action(const QListView& view, const QString& text) {
  for (QAction* action : view.actions()) {
    if (action->text() == text) return *action;
  }
  qFatal("no action %s", qPrintable(text));
}

// "click N", "shift N" or "ctrl N": a click on row N with that key held; "key K": the
// keys K typed; "ctrl+A" or "menu Select All": every row.
void Select(QListView& view, const QString& step) {
  const QString how = step.section(u' ', 0, 0);
  if (how == u"key"_s) return QTest::keySequence(&view, QKeySequence(step.section(u' ', 1)));
  if (how == u"ctrl+A"_s) return QTest::keySequence(&view, QKeySequence::SelectAll);
  if (step == u"menu Select All"_s) return Action(view, u"Select &All"_s).trigger();
  const QModelIndex row = view.model()->index(step.section(u' ', 1).toInt(), 0);
  const Qt::KeyboardModifiers modifiers = how == u"shift"_s  ? Qt::ShiftModifier
                                          : how == u"ctrl"_s ? Qt::ControlModifier
                                                             : Qt::NoModifier;
  QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, view.visualRect(row).center());
}

void AddLines(TfrmLog& log, int count, const QString& prefix) {
  for (int n = 0; n < count; ++n) {
    log.AddLogLine(prefix + QString::number(n));
    log.Flush();
    QCoreApplication::processEvents();
  }
}

QList<int> SelectedRows(const QListView& view) {
  QList<int> rows;
  for (const QModelIndex& index : view.selectionModel()->selectedRows()) rows << index.row();
  std::sort(rows.begin(), rows.end());
  return rows;
}

bool ShowsNewestAtTheBottom(const QListView& view) {
  const QScrollBar* vertical = view.verticalScrollBar();
  const QModelIndex lowest = view.indexAt(QPoint(0, view.viewport()->height() - 2));
  return vertical->value() == vertical->maximum() && lowest.row() == view.model()->rowCount() - 1;
}

}  // namespace

class TLogViewTest : public QObject {
  Q_OBJECT

 private slots:
  void copyGivesTheSelectedLinesInTheLogsOrder_data();
  void copyGivesTheSelectedLinesInTheLogsOrder();
  void arrivingLinesLeaveTheUsersPlaceAlone_data();
  void arrivingLinesLeaveTheUsersPlaceAlone();
  void clearLogForgetsLinesSelectionAndWidth();
};

void TLogViewTest::copyGivesTheSelectedLinesInTheLogsOrder_data() {
  QTest::addColumn<QStringList>("steps");
  QTest::addColumn<QString>("copied");
  QTest::newRow("one line") << QStringList{u"click 1"_s} << u"one"_s;
  QTest::newRow("shift-click down") << QStringList{u"click 1"_s, u"shift 3"_s} << u"one\ntwo\nthree"_s;
  QTest::newRow("shift-click up") << QStringList{u"click 4"_s, u"shift 2"_s} << u"two\nthree\nfour"_s;
  QTest::newRow("ctrl-clicks out of order")
      << QStringList{u"click 5"_s, u"ctrl 0"_s, u"ctrl 3"_s} << u"zero\nthree\nfive"_s;
  QTest::newRow("ctrl-click takes a line out")
      << QStringList{u"click 1"_s, u"shift 3"_s, u"ctrl 2"_s} << u"one\nthree"_s;
  QTest::newRow("arrow keys") << QStringList{u"click 5"_s, u"key Up"_s, u"key Shift+Up"_s, u"key Shift+Up"_s}
                              << u"two\nthree\nfour"_s;
  QTest::newRow("Ctrl+A") << QStringList{u"click 2"_s, u"ctrl+A"_s} << u"zero\none\ntwo\nthree\nfour\nfive"_s;
  QTest::newRow("the menu's Select All") << QStringList{u"menu Select All"_s} << u"zero\none\ntwo\nthree\nfour\nfive"_s;
  QTest::newRow("nothing selected keeps the clipboard") << QStringList{} << u"kept"_s;
}

void TLogViewTest::copyGivesTheSelectedLinesInTheLogsOrder() {
  QFETCH(QStringList, steps);
  QFETCH(QString, copied);
  TfrmLog log;
  // A logged text with a line break shows as two lines.
  for (const QString& line : {u"zero"_s, u"one"_s, u"two\nthree"_s, u"four"_s, u"five"_s}) log.AddLogLine(line);
  log.ShowLog();
  QVERIFY(test::ShowActive(log));
  QListView& view = View(log);
  QCOMPARE(view.model()->rowCount(), 6);
  view.setFocus();
  for (const QString& step : steps) Select(view, step);

  QCOMPARE(view.contextMenuPolicy(), Qt::ActionsContextMenu);
  for (const QString& way : {u"Ctrl+C"_s, u"the menu's Copy"_s}) {
    QGuiApplication::clipboard()->setText(u"kept"_s);
    if (way == u"Ctrl+C"_s) {
      QTest::keySequence(&view, QKeySequence::Copy);
    } else {
      Action(view, u"&Copy"_s).trigger();
    }
    QCOMPARE(way + u": "_s + QGuiApplication::clipboard()->text(), way + u": "_s + copied);
  }
}

void TLogViewTest::arrivingLinesLeaveTheUsersPlaceAlone_data() {
  QTest::addColumn<QString>("user");
  QTest::newRow("nobody: the newest line is followed") << QString();
  QTest::newRow("a line selected") << u"select"_s;
  QTest::newRow("scrolled up") << u"scroll up"_s;
  QTest::newRow("scrolled up a little, then back down") << u"scroll up and down"_s;
}

void TLogViewTest::arrivingLinesLeaveTheUsersPlaceAlone() {
  QFETCH(QString, user);
  TfrmLog log;
  QVERIFY(test::ShowActive(log));
  QListView& view = View(log);
  QScrollBar* vertical = view.verticalScrollBar();
  AddLines(log, 200, u"before "_s);
  QVERIFY(ShowsNewestAtTheBottom(view));

  if (user == u"select"_s) {
    Select(view, u"click %1"_s.arg(view.indexAt(view.viewport()->rect().center()).row()));
  } else if (user.startsWith(u"scroll up"_s)) {
    vertical->triggerAction(QAbstractSlider::SliderPageStepSub);
    if (user.endsWith(u"down"_s)) vertical->triggerAction(QAbstractSlider::SliderToMaximum);
  }
  const QList<int> selected = SelectedRows(view);
  const int position = vertical->value();
  AddLines(log, 200, u"after "_s);

  QCOMPARE(SelectedRows(view), selected);
  const bool followed = user.isEmpty() || user.endsWith(u"down"_s);
  QCOMPARE(ShowsNewestAtTheBottom(view), followed);
  if (!followed) QCOMPARE(vertical->value(), position);
}

void TLogViewTest::clearLogForgetsLinesSelectionAndWidth() {
  TfrmLog log;
  QVERIFY(test::ShowActive(log));
  QListView& view = View(log);
  // The widest lines come first and in the middle; tabs and wide characters make a line
  // wider than its length says.
  const QStringList lines{u"x"_s.repeated(300), u"short"_s, u"\u6F22"_s.repeated(200), u"\t"_s.repeated(60) + u"!"_s,
                          u"end"_s};
  for (const QString& line : lines) log.AddLogLine(line);
  log.Flush();
  AddLines(log, 100, u"line "_s);
  int widest = 0;
  for (const QString& line : lines) widest = std::max(widest, view.fontMetrics().horizontalAdvance(line));
  const QScrollBar* horizontal = view.horizontalScrollBar();
  QVERIFY(horizontal->maximum() + view.viewport()->width() >= widest);
  Select(view, u"ctrl+A"_s);
  view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);

  test::Child<QPushButton>(log, "btnClearLog")->click();
  QCOMPARE(log.Text(), QString());
  QCOMPARE(view.model()->rowCount(), 0);
  QVERIFY(!view.selectionModel()->hasSelection());
  AddLines(log, 100, u"new "_s);
  QCOMPARE(horizontal->maximum(), 0);
  QVERIFY(ShowsNewestAtTheBottom(view));
  QCOMPARE(log.Text().section(u'\n', 0, 0), u"new 0"_s);
}

}  // namespace qx

QTEST_MAIN(qx::TLogViewTest)
#include "ULogViewTest.moc"
