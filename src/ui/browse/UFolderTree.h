// SPDX-License-Identifier: GPL-3.0-or-later
// The folder tree stv: every folder from the file system root down, hidden ones too
// (a run descends into them), and the starting folder the user chose. The choice is a
// folder, not a row: it changes only by the user's click or key, or SelectPath, and it
// is dropped, never passed to a neighbour, when its path stops naming that folder.
#pragma once

#include <QTimer>
#include <QTreeView>
#include <string>

#include "ui/browse/UChosenFolder.h"

namespace qx {

class TFolderTreeModel;

class TFolderTree : public QTreeView {
  Q_OBJECT

 public:
  // Opens on the home folder.
  explicit TFolderTree(QWidget* parent = nullptr);

  // Chooses the folder, opening the tree down to it; false (and the choice stays) when
  // `path` is no folder. A relative path counts from the working directory; links,
  // "." and ".." are resolved.
  bool SelectPath(const std::string& path);
  // The chosen folder as bytes, without a trailing '/' ("/" for the root); "" when none
  // is chosen. When the path no longer names the folder that was chosen (renamed,
  // deleted, deleted and made anew), the choice is dropped here and PathSelected("")
  // told; a timer makes the same check about once a second.
  std::string SelectedPath();
  // Reads every opened folder afresh; the chosen folder stays chosen while it is there.
  void Refresh();
  // Stops following changes on disk while a run renames, so the tree does not re-read
  // folders thousands of times; Refresh afterwards shows the result and follows again.
  void StopWatching();

 signals:
  // The chosen folder as bytes; "" when the choice was dropped.
  void PathSelected(const std::string& path);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  bool viewportEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Drops the choice when its path no longer names the chosen folder.
  void CheckChoice();
  // Marks the chosen folder's row, or none; opens the tree down to it when `reveal`.
  void ShowChoice(bool reveal);
  void ScrollToChoice();
  void Watch();

  TFolderTreeModel* m_model;
  TChosenFolder m_choice;
  QTimer m_watch;
  // Set while the user's mouse or keys are handled: only then does a new current row
  // choose its folder. The selection model moves it too, when a listing takes it away.
  bool m_byUser = false;
  // The view's size settles after the first selection: it is centred again on each
  // resize until the user takes over.
  bool m_scrollPending = false;
};

}  // namespace qx
