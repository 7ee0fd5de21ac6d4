// SPDX-License-Identifier: GPL-3.0-or-later
// The progress window of a run: the folder being entered, the gauge and the three
// figures; Cancel while the run goes on, Close afterwards, in one place, with how the
// run ended beside the figures. It has no title-bar buttons, and a close request during
// a run is ignored: Cancel is the way. Once the run has ended, Enter closes it.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include "rename/URenameRun.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace qx {

// How a run ended: all the way, cancelled by the user, or stopped by a failure (an undo
// file that could not be written).
enum class TRunEnd { Completed, Cancelled, Stopped };

class TfrmProgress : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmProgress(QWidget* parent = nullptr);

  void SetCurrentItem(const QString& item);
  // Shows the figures; repaints at most about 30 times a second unless `now`.
  void UpdateProgress(const TRunState& state, bool now = false);
  // A run begins: Cancel shows.
  void Start();
  // The run has ended: Close shows, and beside the figures "Cancelled" or "Stopped"
  // unless it completed.
  void Finish(TRunEnd end);

 signals:
  void CancelRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Cancel while running, Close afterwards.
  void ShowRunning(bool running);

  QLabel* m_lblCurrentItem;
  QProgressBar* m_gauProgress;
  QLabel* m_lblFolders;
  QLabel* m_lblFiles;
  QLabel* m_lblErrors;
  QLabel* m_lblOutcome;
  QPushButton* m_btnCancel;
  QPushButton* m_btnClose;
  QElapsedTimer m_sinceRepaint;
  bool m_running = true;
};

}  // namespace qx
