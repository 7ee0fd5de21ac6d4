// The file explorer list slv: the folders and files of one folder, sorted, in one of
// four view styles (0 large icons, 1 small icons, 2 list, 3 details). Names can be
// edited in place; renaming there never replaces an existing entry.
#pragma once

#include <QFileIconProvider>
#include <QStackedWidget>
#include <string>

class QAbstractItemView;
class QFileSystemModel;
class QListView;
class QTreeView;

namespace qx {

class TFileList : public QStackedWidget {
  Q_OBJECT

 public:
  explicit TFileList(QWidget* parent = nullptr);

  void SetFolder(const QString& path);
  QString Folder() const;
  // Re-reads the folder from the file system.
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
  // A folder opened (double-click or Enter) in the list.
  void FolderOpened(const QString& path);

 private:
  void Connect(QAbstractItemView* view);
  void InstallModel();

  QFileIconProvider m_icons;
  QFileSystemModel* m_model = nullptr;
  QString m_released;  // the folder while the list has let go of it
  QListView* m_list;
  QTreeView* m_details;
  int m_viewStyle = 2;
};

}  // namespace qx
