// The file explorer list slv: the folders and files of one folder, sorted, in one of
// four view styles (0 large icons, 1 small icons, 2 list, 3 details). It follows
// changes on disk; names can be edited in place, never replacing an existing entry.
#pragma once

#include <QStackedWidget>
#include <QTimer>
#include <string>

class QAbstractItemView;
class QListView;
class QTreeView;

namespace qx {

class TFileListModel;

class TFileList : public QStackedWidget {
  Q_OBJECT

 public:
  explicit TFileList(QWidget* parent = nullptr);

  // Shows the folder at `path` (bytes); "" shows nothing.
  void SetFolder(const std::string& path);
  std::string Folder() const { return m_folder; }
  // Tells FolderOpened of the folder above the shown one; nothing at the root or
  // when no folder is shown.
  void OpenParent();
  // Reads the folder afresh and follows its changes again.
  void Refresh();
  // Lets go of the folder while a run renames in it, so the list does not chase every
  // rename; Refresh shows it again.
  void Release();

  // Any number is kept as it is; one outside 0..3 shows as a list.
  void SetViewStyle(int style);
  int ViewStyle() const { return m_viewStyle; }
  // The view that shows the entries in the current style.
  QAbstractItemView* CurrentView() const;

 signals:
  // A click on a selected entry; its name inside its folder, as the file system gave it.
  void EntryClicked(const std::string& name);
  // A folder opened in the list (double-click or Enter), or the parent by OpenParent.
  void FolderOpened(const std::string& path);
  // An in-place rename refused, and why; the main window shows it.
  void RenameFailed(const std::string& text, const std::string& reason);

 private:
  void Connect(QAbstractItemView* view);

  TFileListModel* m_model;
  std::string m_folder;
  bool m_released = false;
  QTimer m_watch;
  QListView* m_list;
  QTreeView* m_details;
  int m_viewStyle = 2;
};

}  // namespace qx
