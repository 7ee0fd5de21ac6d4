// SPDX-License-Identifier: GPL-3.0-or-later
// The log window: created at start-up, hidden until asked for, kept until the program
// ends, so its text gathers the lines of every logged run until "Clear Log".
#pragma once

#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>

namespace qx {

class TLogView;

class TfrmLog : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmLog(QWidget* parent = nullptr);

  // Appends one line; lines are handed to the view in batches so a long run is not
  // slowed down by it. Flush shows every line now.
  void AddLogLine(const QString& line);
  void Flush();
  // Shows the window if hidden and brings it to the front.
  void ShowLog();
  // The whole log, lines joined with '\n'.
  QString Text();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TLogView* m_memLog;
  QStringList m_pending;
  QElapsedTimer m_sinceFlush;
};

}  // namespace qx
