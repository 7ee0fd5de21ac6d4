// SPDX-License-Identifier: GPL-3.0-or-later
// The progress window of a run: the folder being entered, the gauge and the three
// figures; Cancel while the run goes on, Close afterwards, in one place. It has no
// title-bar buttons, and a close request during a run is ignored: Cancel is the way.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include "rename/URenameRun.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace qx {

class TfrmProgress : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmProgress(QWidget* parent = nullptr);

  void SetCurrentItem(const QString& item);
  // Shows the figures; repaints at most about 30 times a second unless `now`.
  void UpdateProgress(const TRunState& state, bool now = false);
  // Cancel visible while running, Close afterwards.
  void SetRunning(bool running);

 signals:
  void CancelRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* m_lblCurrentItem;
  QProgressBar* m_gauProgress;
  QLabel* m_lblFolders;
  QLabel* m_lblFiles;
  QLabel* m_lblErrors;
  QPushButton* m_btnCancel;
  QPushButton* m_btnClose;
  QElapsedTimer m_sinceRepaint;
  bool m_running = true;
};

}  // namespace qx
