// SPDX-License-Identifier: GPL-3.0-or-later
// The file explorer list slv: the folders and files of one folder, or the entries of a
// selection, sorted, in one of four view styles (0 large icons, 1 small icons, 2 list,
// 3 details). It follows changes on disk; a folder's names can be edited in place,
// never replacing an existing entry. The details view shows beside each name the name
// a run would give it.
#pragma once

#include <QStackedWidget>
#include <QTimer>
#include <optional>
#include <set>
#include <string>

#include "jobs/UTJob.h"
#include "rename/URunOptions.h"
#include "rename/USelection.h"

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
  // Shows the selection's entries instead, named by their paths below its common folder,
  // which is then the list's folder.
  void ShowSelection(TSelection selection);
  // The selection shown; null while a folder is.
  const TSelection* Selection() const { return m_selection ? &*m_selection : nullptr; }
  std::string Folder() const { return m_folder; }
  // Tells FolderOpened of the folder above the shown one; nothing at the root or
  // when no folder is shown.
  void OpenParent();
  // Reads the folder, or the selection, afresh and follows its changes again.
  void Refresh();
  // Holds the folder's rows while a run renames in it, so that the user sees the files
  // the run asks about and the list does not chase every rename: nothing is read, edited
  // or opened meanwhile. Refresh reads the folder again.
  void Release();

  // Any number is kept as it is; one outside 0..3 shows as a list.
  void SetViewStyle(int style);
  int ViewStyle() const { return m_viewStyle; }
  // The view that shows the entries in the current style.
  QAbstractItemView* CurrentView() const;

  // The details view's New name column previews a run of `jobs` with `options` over the
  // shown folder (TFileListModel::PreviewNames); call again whenever either changes.
  void PreviewNames(TJobList jobs, TRunOptions options);
  // True until the column is complete for the latest inputs; false in the other views,
  // which show no column and make no preview.
  bool IsPreviewing() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 signals:
  // A click on a selected entry: its folder and its name there, as the file system gave it.
  void EntryClicked(const std::string& folder, const std::string& name);
  // A folder opened in the list (double-click or Enter), or the parent by OpenParent.
  void FolderOpened(const std::string& path);
  // An in-place rename refused, and why; the main window shows it.
  void RenameFailed(const std::string& text, const std::string& reason);
  // The New name column is complete for the latest inputs and the folder's reading.
  void NamesPreviewed();
  // A selection's entries have been read: what the list shows of it, in a line.
  void SelectionRead(const std::string& summary);

 private:
  void Connect(QAbstractItemView* view);
  void SetUpDetails();
  // A name column as wide as its content, up to a share of the view, unless the user
  // has sized it for this folder.
  void FitColumn(int column);
  void FitNameColumns();

  TFileListModel* m_model;
  std::string m_folder;
  std::optional<TSelection> m_selection;
  bool m_released = false;
  QTimer m_watch;
  QListView* m_list;
  QTreeView* m_details;
  int m_viewStyle = 2;
  // The details view's order, kept when the New name header is clicked: the rows are
  // not sorted by a name they do not have yet.
  int m_sortColumn = 0;
  Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
  std::set<int> m_sizedByUser;  // columns
  bool m_fitting = false;
};

}  // namespace qx
