// SPDX-License-Identifier: GPL-3.0-or-later
// The log window's list of lines: plain text rows of one height, so only the rows that
// show are laid out and drawn however long the log grows. It follows the newest line
// unless the user has scrolled up or selected lines. It never writes the log anywhere.
#pragma once

#include <QListView>
#include <QStringList>

namespace qx {

class TLogLineModel;
class TLogLineDelegate;

class TLogView : public QListView {
  Q_OBJECT

 public:
  explicit TLogView(QWidget* parent = nullptr);

  // Adds lines at the end; a text with line breaks in it becomes one row per line.
  void AppendLines(QStringList lines);
  void Clear();
  // Every row, joined with '\n'.
  QString Text() const;
  // Puts the selected rows on the clipboard, in their order, joined with '\n'. With
  // nothing selected the clipboard keeps what it holds.
  void CopySelection();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void MeasureLines(const QStringList& lines);

  TLogLineModel* m_lines;
  TLogLineDelegate* m_delegate;
  int m_widestPrintableAscii = 0;
  int m_widestLine = 0;
  bool m_atBottom = true;
};

}  // namespace qx
