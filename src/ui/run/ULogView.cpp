// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/ULogView.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace qx {

class TLogLineModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    return m_lines.at(index.row());
  }

  // One insertion per batch: the view lays its rows out once for all of them.
  void Append(QStringList&& lines) {
    if (lines.isEmpty()) return;
    const int first = static_cast<int>(m_lines.size());
    beginInsertRows({}, first, first + static_cast<int>(lines.size()) - 1);
    m_lines.append(std::move(lines));
    endInsertRows();
  }
  void Clear() {
    beginResetModel();
    m_lines.clear();
    endResetModel();
  }
  const QStringList& Lines() const { return m_lines; }

 private:
  QStringList m_lines;
};

// Every row is as wide as the widest line, so the view scrolls across to that line's end.
class TLogLineDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void SetWidestLine(int width) { m_widestLine = width; }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    // The room the style leaves on each side of an item's text.
    const int margin = option.widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    size.setWidth(std::max(size.width(), m_widestLine + 2 * margin));
    return size;
  }

 private:
  int m_widestLine = 0;
};

namespace {

bool IsPrintableAscii(const QString& line) {
  return std::all_of(line.cbegin(), line.cend(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; });
}

}  // namespace

TLogView::TLogView(QWidget* parent)
    : QListView(parent), m_lines(new TLogLineModel(this)), m_delegate(new TLogLineDelegate(this)) {
  setModel(m_lines);
  setItemDelegate(m_delegate);
  // The view asks one row for the size of all: nothing is laid out for rows out of sight.
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  // Steps of a pixel, so that at the bottom the newest line ends at the view's lower edge.
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setTextElideMode(Qt::ElideNone);
  setAccessibleName(u"Log lines"_s);
  QFont font(u"Courier New"_s, 8);
  font.setStyleHint(QFont::Monospace);
  setFont(font);

  // Copy is an action so that Ctrl+C reaches it: the item view's own Ctrl+C copies just
  // the current row, selected or not.
  auto* copy = new QAction(u"&Copy"_s, this);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetShortcut);
  connect(copy, &QAction::triggered, this, &TLogView::CopySelection);
  auto* selectEveryLine = new QAction(u"Select &All"_s, this);
  selectEveryLine->setShortcut(QKeySequence::SelectAll);
  selectEveryLine->setShortcutContext(Qt::WidgetShortcut);
  connect(selectEveryLine, &QAction::triggered, this, &QListView::selectAll);
  addActions({copy, selectEveryLine});
  setContextMenuPolicy(Qt::ActionsContextMenu);

  // Growing the log moves the view down only while it shows the bottom and nothing is
  // selected: a user reading or copying older lines keeps them in sight.
  QScrollBar* vertical = verticalScrollBar();
  connect(vertical, &QScrollBar::valueChanged, this,
          [this, vertical](int value) { m_atBottom = value == vertical->maximum(); });
  connect(vertical, &QScrollBar::rangeChanged, this, [this, vertical](int, int maximum) {
    if (m_atBottom && !selectionModel()->hasSelection()) vertical->setValue(maximum);
  });
}

void TLogView::AppendLines(QStringList lines) {
  const auto hasBreak = [](const QString& line) { return line.contains(u'\n'); };
  if (std::any_of(lines.cbegin(), lines.cend(), hasBreak)) {
    QStringList rows;
    for (const QString& line : lines) rows << line.split(u'\n');
    lines = std::move(rows);
  }
  MeasureLines(lines);
  m_lines->Append(std::move(lines));
}

void TLogView::Clear() {
  m_lines->Clear();
  m_widestLine = 0;
  m_delegate->SetWidestLine(0);
  m_atBottom = true;
}

QString TLogView::Text() const { return m_lines->Lines().join(u'\n'); }

void TLogView::CopySelection() {
  QModelIndexList rows = selectionModel()->selectedRows();
  if (rows.isEmpty()) return;
  std::sort(rows.begin(), rows.end());
  QStringList lines;
  lines.reserve(rows.size());
  for (const QModelIndex& row : rows) lines << m_lines->Lines().at(row.row());
  QGuiApplication::clipboard()->setText(lines.join(u'\n'));
}

void TLogView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    const QFontMetrics metrics = fontMetrics();
    m_widestPrintableAscii = 0;
    for (char16_t c = 0x20; c < 0x7f; ++c) {
      m_widestPrintableAscii = std::max(m_widestPrintableAscii, metrics.horizontalAdvance(QChar(c)));
    }
    m_widestLine = 0;
    MeasureLines(m_lines->Lines());
  }
  QListView::changeEvent(event);
}

// Measuring every line would cost more than showing it. A line of printable ASCII is no
// wider than its length times the widest such character, so most lines need no measure.
void TLogView::MeasureLines(const QStringList& lines) {
  const QFontMetrics metrics = fontMetrics();
  int widest = m_widestLine;
  for (const QString& line : lines) {
    if (line.size() * m_widestPrintableAscii > widest || !IsPrintableAscii(line)) {
      widest = std::max(widest, metrics.horizontalAdvance(line));
    }
  }
  m_widestLine = widest;
  m_delegate->SetWidestLine(widest);
}

}  // namespace qx
