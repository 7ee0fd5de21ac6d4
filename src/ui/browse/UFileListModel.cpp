// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/browse/UFileListModel.h"

#include <QApplication>
#include <QDateTime>
#include <QFileIconProvider>
#include <QGuiApplication>
#include <QLocale>
#include <QPalette>
#include <QStyle>
#include <algorithm>
#include <limits>
#include <memory>
#include <unordered_set>

#include "platform/UAppPaths.h"
#include "platform/USystemError.h"
#include "rename/UEntryName.h"
#include "ui/UPaletteColours.h"
#include "ui/UQtText.h"
#include "ui/run/UStateIcons.h"

using namespace Qt::StringLiterals;

namespace qx {

namespace {

const QIcon& KindIcon(bool isFolder) {
  static const QFileIconProvider provider;
  static const QIcon folder = provider.icon(QAbstractFileIconProvider::Folder);
  static const QIcon file = provider.icon(QAbstractFileIconProvider::File);
  return isFolder ? folder : file;
}

bool IsRenamed(TNodeState state) { return state == TNodeState::FileRenamed || state == TNodeState::FolderRenamed; }

bool IsFailure(TNodeState state) { return state == TNodeState::FileError || state == TNodeState::FolderError; }

// A new name in the list's own colour; a name that stays greyed, a failure red, both
// readable on the list's background in a light theme and a dark one.
QVariant MarkColour(TNodeState state) {
  if (IsRenamed(state)) return {};
  const QPalette palette = QGuiApplication::palette();
  const QColor background = palette.color(QPalette::Base);
  return IsFailure(state) ? Readable(WarningText(palette), background)
                          : Readable(palette.color(QPalette::Disabled, QPalette::Text), background);
}

QVariant MarkHint(const TFolderPreview::TOutcome& outcome) {
  if (IsRenamed(outcome.state)) return {};
  if (!IsFailure(outcome.state)) return u"The ticked jobs leave this name as it is."_s;
  return u"A run would leave this entry as it is: "_s + ToQString(outcome.reason);
}

}  // namespace

TFileListModel::TFileListModel(QObject* parent) : TListingModel(parent) {
  connect(&m_watcher, &QFutureWatcherBase::finished, this, [this] {
    // Only the end of the reading on its way counts. One that failed (an unreadable
    // folder, too little memory) shows the folder empty.
    const auto reading = FinishedWork(m_watcher);
    if (m_listing && reading) TakeReading(reading->value ? std::move(*reading->value) : TEntries());
  });
  connect(&m_preview, &TNamePreview::Changed, this, [this] {
    emit headerDataChanged(Qt::Horizontal, colNewName, colNewName);
    if (!m_entries.empty()) emit dataChanged(index(0, colNewName), index(rowCount() - 1, colNewName));
  });
  connect(&m_preview, &TNamePreview::Finished, this, [this] {
    // With a reading on its way, the column is complete once its rows are in.
    if (!m_listing) emit NamesPreviewed();
  });
}

void TFileListModel::SetFolder(const std::string& path) {
  m_selection.reset();
  Open(path);
}

void TFileListModel::ShowSelection(const TSelection& selection) {
  m_selection = selection;
  Open(selection.CommonFolder());
}

std::string TFileListModel::SelectionSummary() const {
  const auto folders = static_cast<std::size_t>(
      std::count_if(m_entries.begin(), m_entries.end(), [](const TFileEntry& entry) { return entry.isFolder; }));
  std::unordered_set<std::string_view> places;
  for (const TFileEntry& entry : m_entries) {
    const std::size_t slash = entry.name.rfind('/');
    places.insert(std::string_view(entry.name).substr(0, slash == std::string::npos ? 0 : slash));
  }
  return qx::SelectionSummary(m_entries.size() - folders, folders, places.size());
}

void TFileListModel::Open(const std::string& path) {
  if (path != m_folder) {
    beginResetModel();
    m_entries.clear();
    endResetModel();
  }
  m_folder = path;
  m_held = false;
  m_directory.reset();
  try {
    if (!path.empty()) m_directory = TDirectory::Open(path);
  } catch (const TSystemError&) {
    // Shown empty: the folder tree tells the user which folder is chosen.
  }
  List();
}

void TFileListModel::Hold() {
  m_held = true;
  if (m_listing) m_stopReading->store(true);
  m_listing = false;
}

void TFileListModel::Update(bool always) {
  if (!m_directory || m_held) return;
  if (always || (!IsListing() && StatusOfHandle(m_directory->Handle()) != m_stamp)) List();
}

void TFileListModel::List() {
  // The column's preview lists the folder itself, so it is made beside the reading, on
  // the other core; its names are looked up by the rows' names once these are in.
  UpdatePreview();
  m_stamp = m_directory ? StatusOfHandle(m_directory->Handle()) : std::nullopt;
  // A reading still on its way is passed over; it stops before sorting.
  if (m_listing) m_stopReading->store(true);
  std::shared_ptr<const TDirectory> own;
  try {
    // A handle of its own: a listing moves the read position of the handle it uses.
    if (m_directory) own = std::make_shared<const TDirectory>(m_directory->OpenChild("."));
  } catch (const TSystemError&) {
  }
  if (!own) return TakeReading({});
  m_stopReading = std::make_shared<std::atomic_bool>(false);
  m_listing = true;
  std::optional<std::vector<std::string>> selected;
  if (m_selection) selected = m_selection->PathsBelow();
  StartWork(m_watcher, [own, selected = std::move(selected), order = m_order, stop = m_stopReading] {
    auto entries = std::make_shared<TEntries>(selected ? ReadSelected(*own, *selected) : ReadEntries(*own));
    // Sorting is the larger part of a large folder's reading; a reading no longer
    // wanted (another folder, a run started) stops before it.
    if (!stop->load()) SortEntries(*entries, order, own->Handle());
    return entries;
  });
}

void TFileListModel::TakeReading(TEntries fresh) {
  m_listing = false;
  std::vector<bool> isFolder;
  for (const TFileEntry& entry : fresh) isFolder.push_back(entry.isFolder);
  SyncRows(QModelIndex(), m_entries, std::move(fresh),
           [](const TFileEntry& entry) -> std::string_view { return entry.name; });
  for (std::size_t row = 0; row < m_entries.size(); ++row) {
    TFileEntry& entry = m_entries[row];
    // A row that stayed may have changed its size or time, or even its kind.
    entry.details.reset();
    if (entry.isFolder != isFolder[row]) {
      entry.isFolder = isFolder[row];
      emit dataChanged(index(static_cast<int>(row), colName), index(static_cast<int>(row), colName));
    }
  }
  if (!m_entries.empty()) emit dataChanged(index(0, colSize), index(rowCount() - 1, kFileColumnCount - 1));
  emit FolderRead();
  // A preview that came in before the rows could not say so then.
  if (m_preview.IsDone()) emit NamesPreviewed();
}

void TFileListModel::PreviewNames(TJobList jobs, TRunOptions options) {
  if (options.numbersByValue != m_order.numbersByValue) {
    m_order.numbersByValue = options.numbersByValue;
    sort(m_order.column, m_order.direction);
  }
  m_previewInputs = TPreviewInputs{std::move(jobs), std::move(options)};
  UpdatePreview();
}

void TFileListModel::SetPreviewShown(bool shown) {
  if (shown == m_previewShown) return;
  m_previewShown = shown;
  UpdatePreview();
}

void TFileListModel::UpdatePreview() {
  if (!m_previewShown || !m_previewInputs || !m_directory) return m_preview.Clear();
  TRunOptions options = m_previewInputs->options;
  options.startDirectory = m_folder;
  options.given = m_selection ? std::optional(m_selection->Given()) : std::nullopt;
  m_preview.Request(m_previewInputs->jobs, std::move(options));
}

const TFileEntry& TFileListModel::EntryAt(const QModelIndex& index) const {
  return m_entries.at(static_cast<std::size_t>(index.row()));
}

const std::string& TFileListModel::NameAt(const QModelIndex& index) const { return EntryAt(index).name; }

bool TFileListModel::IsFolderAt(const QModelIndex& index) const { return EntryAt(index).isFolder; }

QModelIndex TFileListModel::index(int row, int column, const QModelIndex& parent) const {
  if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= kListColumnCount) return {};
  return createIndex(row, column);
}

QModelIndex TFileListModel::parent(const QModelIndex&) const { return {}; }

int TFileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int TFileListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kListColumnCount; }

bool TFileListModel::hasChildren(const QModelIndex& parent) const { return !parent.isValid() && !m_entries.empty(); }

QVariant TFileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const TFileEntry& entry = EntryAt(index);
  switch (index.column()) {
    case colName:
      if (role == Qt::DisplayRole) return ShownName(entry.name);
      // Edited as ToQString gives it, so the bytes of an unchanged part come back whole.
      if (role == Qt::EditRole) return ToQString(entry.name);
      // By kind only: a look-up per name would make a large folder slow to show.
      if (role == Qt::DecorationRole) return KindIcon(entry.isFolder);
      return {};
    case colSize: {
      if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      if (role != Qt::DisplayRole || entry.isFolder) return {};
      const auto& status = entry.Details(Handle()).status;
      return status ? QLocale().formattedDataSize(static_cast<qint64>(status->size)) : QVariant();
    }
    case colType: return role == Qt::DisplayRole ? entry.Type(Handle()) : QVariant();
    case colModified: {
      if (role != Qt::DisplayRole) return {};
      const auto& status = entry.Details(Handle()).status;
      return status ? QLocale().toString(QDateTime::fromSecsSinceEpoch(status->modifiedSeconds), QLocale::ShortFormat)
                    : QVariant();
    }
    case colNewName: return NewNameData(entry, role);
    default: return {};
  }
}

QVariant TFileListModel::NewNameData(const TFileEntry& entry, int role) const {
  const TFolderPreview* preview = m_preview.Result();
  const auto outcome = preview ? preview->Outcome(WithTrailingSlash(m_folder) + entry.name) : std::nullopt;
  if (!outcome) return role == Qt::ToolTipRole ? PreviewFailure() : QVariant();
  switch (role) {
    case Qt::DisplayRole: return ShownName(outcome->text);
    case Qt::DecorationRole: return StateIcon(outcome->state);
    case Qt::ForegroundRole: return MarkColour(outcome->state);
    case Qt::ToolTipRole: return MarkHint(*outcome);
    default: return {};
  }
}

QVariant TFileListModel::PreviewFailure() const {
  if (m_preview.Failure().empty()) return {};
  return u"The new names cannot be shown: "_s + ToQString(m_preview.Failure());
}

QVariant TFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  static const char* const kTitles[kListColumnCount] = {"Name", "Size", "Type", "Date Modified", "New name"};
  if (orientation != Qt::Horizontal || section < 0 || section >= kListColumnCount) return {};
  if (role == Qt::DisplayRole) return QString::fromUtf8(kTitles[section]);
  // A failed preview leaves the column empty; its heading says why, so that nobody reads
  // the empty column as "no file would change".
  if (section != colNewName || m_preview.Failure().empty()) return {};
  if (role == Qt::DecorationRole) return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
  return role == Qt::ToolTipRole ? PreviewFailure() : QVariant();
}

Qt::ItemFlags TFileListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
  // A selection's row is named by a path, which is no name to edit.
  return index.column() == colName && !m_held && !m_selection ? flags | Qt::ItemIsEditable : flags;
}

bool TFileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!(flags(index) & Qt::ItemIsEditable) || role != Qt::EditRole || !m_directory) return false;
  TFileEntry& entry = m_entries[static_cast<std::size_t>(index.row())];
  const std::string name = ToBytes(value.toString());
  if (name == entry.name) return false;
  const std::string text = "Cannot rename \"" + entry.name + "\" to \"" + name + "\".";
  // The names a run may give; the file system itself says when one is too long.
  if (const auto problem = EntryNameProblem(name, std::numeric_limits<std::size_t>::max(), false)) {
    emit RenameFailed(text, *problem);
    return false;
  }
  try {
    m_directory->RenameNoReplace(entry.name, name);
  } catch (const TSystemError& error) {
    emit RenameFailed(text, error.Reason());
    return false;
  }
  entry.name = name;
  entry.details.reset();
  emit dataChanged(index.siblingAtColumn(colName), index.siblingAtColumn(kFileColumnCount - 1));
  MoveToItsPlace(index.row());
  return true;
}

void TFileListModel::MoveToItsPlace(int row) {
  const int place = static_cast<int>(PlaceOf(m_entries, static_cast<std::size_t>(row), m_order, Handle()));
  if (place == row) return;
  beginMoveRows(QModelIndex(), row, row, QModelIndex(), place > row ? place + 1 : place);
  TFileEntry moved = std::move(m_entries[static_cast<std::size_t>(row)]);
  m_entries.erase(m_entries.begin() + row);
  m_entries.insert(m_entries.begin() + place, std::move(moved));
  endMoveRows();
}

void TFileListModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= kFileColumnCount) return;
  m_order.column = column;
  m_order.direction = order;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const std::vector<std::size_t> sortedRows = SortedRows(m_entries, m_order, Handle());
  std::vector<int> newRowOf(m_entries.size());
  TEntries sorted;
  sorted.reserve(m_entries.size());
  for (std::size_t i = 0; i < sortedRows.size(); ++i) {
    newRowOf[sortedRows[i]] = static_cast<int>(i);
    sorted.push_back(std::move(m_entries[sortedRows[i]]));
  }
  m_entries = std::move(sorted);
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  for (const QModelIndex& index : before) {
    after << createIndex(newRowOf[static_cast<std::size_t>(index.row())], index.column());
  }
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
  // A reading on its way comes in the old order.
  if (IsListing()) List();
}

}  // namespace qx
