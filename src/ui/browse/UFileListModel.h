// SPDX-License-Identifier: GPL-3.0-or-later
// The folders and files of one folder, or the entries of a selection, in the details
// view's columns, each name kept as its bytes, and beside them the New name column: what
// the ticked jobs would make of each. The entries are read off the window's thread; a
// fresh reading replaces the rows that changed. A folder's names can be edited in place:
// the entry is renamed without ever replacing another.
#pragma once

#include <QFutureWatcher>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "jobs/UTJob.h"
#include "platform/UDirectory.h"
#include "platform/UFileStatus.h"
#include "rename/URunOptions.h"
#include "rename/USelection.h"
#include "ui/UWork.h"
#include "ui/browse/UFolderEntries.h"
#include "ui/browse/UListingModel.h"
#include "ui/browse/UNamePreview.h"

namespace qx {

// After the columns of a folder's entries; the file list shows it second.
constexpr int colNewName = kFileColumnCount;
constexpr int kListColumnCount = kFileColumnCount + 1;

class TFileListModel : public TListingModel {
  Q_OBJECT

 public:
  explicit TFileListModel(QObject* parent = nullptr);

  // Shows the folder at `path` as soon as it is read; "" or a folder that cannot be
  // read shows nothing. The same folder again is read afresh, its rows kept meanwhile.
  // Ends a hold.
  void SetFolder(const std::string& path);
  // Shows the selection's entries instead, as SetFolder its common folder's: each named
  // by its path below that folder, those no longer there left out.
  void ShowSelection(const TSelection& selection);
  // "12 selected files in 3 folders", as the rows of a selection count.
  std::string SelectionSummary() const;
  // While a run renames in the folder: the rows stay as they are, no reading starts
  // (one on its way is passed over) and no name can be edited, until SetFolder.
  void Hold();
  const std::string& Folder() const { return m_folder; }
  // Reads the folder again when its status differs from the last reading's, or always.
  void Update(bool always);
  // True while a reading is on its way.
  bool IsListing() const { return m_listing; }

  // The New name column shows what a run of `jobs` with `options` would make of the
  // shown entries, the shown folder taken for the run's start folder, or the selection
  // for its given entries: each file the mask takes (each file of a selection), and each
  // folder when folders are renamed, as the run's simulation names and marks it
  // (renamed, unchanged greyed, refused or clashing red).
  // Nothing shows while no job is ticked. A preview that fails leaves the column empty,
  // with a warning mark and the reason on its heading and in each row's tooltip. The
  // rows take the options' rule for numbers in names.
  void PreviewNames(TJobList jobs, TRunOptions options);
  // Whether the column is on screen; no preview is made while it is not.
  void SetPreviewShown(bool shown);
  // True while the column waits for a reading or a preview.
  bool IsPreviewing() const { return m_preview.IsBusy() || (m_previewShown && m_listing); }

  const std::string& NameAt(const QModelIndex& index) const;
  bool IsFolderAt(const QModelIndex& index) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& index) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Renames the entry to the edited name; false, with RenameFailed, when the name is
  // taken, is one a run would not give (empty, ".", "..", a '/' or a NUL byte, the
  // undo file's) or the rename fails.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

 signals:
  // "Cannot rename "<old>" to "<new>"." and why.
  void RenameFailed(const std::string& text, const std::string& reason);
  // A reading has been taken into the rows.
  void FolderRead();
  // The New name column is complete for the latest inputs and reading.
  void NamesPreviewed();

 private:
  using TEntries = std::vector<TFileEntry>;

  // Opens the folder at `path` and reads it, or the selection's entries.
  void Open(const std::string& path);
  // Starts a reading of the folder; a reading still on its way is passed over.
  void List();
  void TakeReading(TEntries fresh);
  void MoveToItsPlace(int row);
  const TFileEntry& EntryAt(const QModelIndex& index) const;
  int Handle() const { return m_directory ? m_directory->Handle() : -1; }
  // Asks for the preview of the latest inputs, or drops it when none can be made.
  void UpdatePreview();
  QVariant NewNameData(const TFileEntry& entry, int role) const;
  // Why the column is empty, when its preview failed.
  QVariant PreviewFailure() const;

  std::string m_folder;
  std::optional<TSelection> m_selection;  // shown instead of the folder's entries
  std::optional<TDirectory> m_directory;
  std::optional<TFileStatus> m_stamp;  // the folder's status when it was last read
  TEntries m_entries;
  TFileOrder m_order;
  QFutureWatcher<TWorkOutcome<TEntries>> m_watcher;
  bool m_listing = false;
  bool m_held = false;
  std::shared_ptr<std::atomic_bool> m_stopReading;  // the reading on its way's
  struct TPreviewInputs {
    TJobList jobs;
    TRunOptions options;
  };
  std::optional<TPreviewInputs> m_previewInputs;
  bool m_previewShown = false;
  TNamePreview m_preview;
};

}  // namespace qx
