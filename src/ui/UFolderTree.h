// The folder tree stv: every folder from the file system root down, hidden ones too
// (a run descends into them), one of them selected as the starting directory.
#pragma once

#include <QFileIconProvider>
#include <QTreeView>
#include <string>

class QFileSystemModel;

namespace qx {

class TFolderTree : public QTreeView {
  Q_OBJECT

 public:
  // Opens on the home folder.
  explicit TFolderTree(QWidget* parent = nullptr);

  // Selects the folder, opening the tree down to it; false (and the selection stays)
  // when `path` is no folder. A relative path counts from the working directory.
  bool SelectPath(const std::string& path);
  // The selected folder without a trailing '/' ("/" for the root); "" when none is.
  std::string SelectedPath() const;
  // Reads the folder tree afresh; the selected folder stays selected.
  void Refresh();
  // Stops following changes on disk while a run renames, so the tree does not re-read
  // folders thousands of times; Refresh afterwards shows the result.
  void StopWatching();

 signals:
  void PathSelected(const QString& path);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void InstallModel();
  void ShowSelection();

  QFileIconProvider m_icons;
  QFileSystemModel* m_model = nullptr;
  // The folders load in the background: the selection is shown again as they do.
  bool m_scrollPending = false;
};

}  // namespace qx
