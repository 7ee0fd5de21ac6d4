// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/browse/UFileList.h"

#include <QHeaderView>
#include <QListView>
#include <QSignalBlocker>
#include <QTreeView>

#include "platform/UAppPaths.h"
#include "platform/UFiles.h"
#include "ui/browse/UFileListModel.h"

namespace qx {

namespace {

constexpr int kWatchIntervalMs = 1000;
// The share of the view each name column may take.
constexpr double kFittedShare = 0.4;

}  // namespace

TFileList::TFileList(QWidget* parent)
    : QStackedWidget(parent),
      m_model(new TFileListModel(this)),
      m_list(new QListView(this)),
      m_details(new QTreeView(this)) {
  setObjectName("slv");
  SetUpDetails();
  m_list->setModel(m_model);
  // Laid out a batch at a time, so a folder of 100,000 files shows at once and fills in.
  m_list->setLayoutMode(QListView::Batched);
  for (QAbstractItemView* view :
       {static_cast<QAbstractItemView*>(m_list), static_cast<QAbstractItemView*>(m_details)}) {
    view->setAccessibleName(QStringLiteral("Files"));
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    Connect(view);
    addWidget(view);
  }
  // After the edit has closed, so the box does not open inside the editor's commit.
  connect(m_model, &TFileListModel::RenameFailed, this, &TFileList::RenameFailed, Qt::QueuedConnection);
  connect(m_model, &TFileListModel::FolderRead, this, [this] {
    FitColumn(colName);
    if (m_selection) emit SelectionRead(m_model->SelectionSummary());
  });
  connect(m_model, &TFileListModel::NamesPreviewed, this, [this] {
    FitColumn(colNewName);
    emit NamesPreviewed();
  });
  connect(&m_watch, &QTimer::timeout, m_model, [this] { m_model->Update(false); });
  m_watch.start(kWatchIntervalMs);
  SetViewStyle(m_viewStyle);
}

void TFileList::SetUpDetails() {
  m_details->setRootIsDecorated(false);
  m_details->setItemsExpandable(false);
  m_details->setUniformRowHeights(true);
  m_details->setModel(m_model);
  m_details->setSortingEnabled(true);
  m_details->sortByColumn(colName, Qt::AscendingOrder);
  QHeaderView* header = m_details->header();
  // The new name beside the old one.
  header->moveSection(header->visualIndex(colNewName), 1);
  connect(header, &QHeaderView::sortIndicatorChanged, this, [this, header](int column, Qt::SortOrder order) {
    if (column != colNewName) {
      m_sortColumn = column;
      m_sortOrder = order;
      return;
    }
    // The model has not sorted; the mark goes back to the order the rows are in.
    const QSignalBlocker blocker(header);
    header->setSortIndicator(m_sortColumn, m_sortOrder);
  });
  connect(header, &QHeaderView::sectionResized, this, [this](int column) {
    if (!m_fitting) m_sizedByUser.insert(column);
  });
}

void TFileList::FitColumn(int column) {
  if (currentWidget() != m_details || m_sizedByUser.count(column) != 0) return;
  m_fitting = true;
  // The content's width is measured over the rows near the top only (the header's
  // precision), so a folder of 100,000 names fits at once.
  m_details->resizeColumnToContents(column);
  const int most = static_cast<int>(kFittedShare * m_details->width());
  if (m_details->columnWidth(column) > most) m_details->setColumnWidth(column, most);
  m_fitting = false;
}

void TFileList::FitNameColumns() {
  FitColumn(colName);
  FitColumn(colNewName);
}

void TFileList::Connect(QAbstractItemView* view) {
  connect(view, &QAbstractItemView::clicked, this, [this, view](const QModelIndex& index) {
    if (!view->selectionModel()->isSelected(index)) return;
    // A selection's entry is named by its path below the list's folder.
    const std::string path = WithTrailingSlash(m_folder) + m_model->NameAt(index);
    const std::string folder = DirectoryOf(path);
    emit EntryClicked(folder, path.substr(folder.size()));
  });
  connect(view, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
    if (!m_released && m_model->IsFolderAt(index))
      emit FolderOpened(WithTrailingSlash(m_folder) + m_model->NameAt(index));
  });
}

void TFileList::SetFolder(const std::string& path) {
  // Another folder's names want other widths.
  if (path != m_folder || m_selection) m_sizedByUser.clear();
  m_folder = path;
  m_selection.reset();
  if (!m_released) m_model->SetFolder(path);
}

void TFileList::ShowSelection(TSelection selection) {
  m_sizedByUser.clear();
  m_folder = selection.CommonFolder();
  m_selection = std::move(selection);
  if (!m_released) m_model->ShowSelection(*m_selection);
}

void TFileList::OpenParent() {
  const std::size_t slash = m_folder.find_last_of('/');
  if (m_folder.size() <= 1 || slash == std::string::npos) return;
  emit FolderOpened(slash == 0 ? std::string("/") : m_folder.substr(0, slash));
}

void TFileList::Release() {
  m_released = true;
  m_watch.stop();
  m_model->Hold();
}

void TFileList::Refresh() {
  m_released = false;
  if (m_selection) {
    m_model->ShowSelection(*m_selection);
  } else {
    m_model->SetFolder(m_folder);
  }
  m_watch.start(kWatchIntervalMs);
}

void TFileList::SetViewStyle(int style) {
  m_viewStyle = style;
  m_model->SetPreviewShown(style == 3);
  if (style == 3) {
    setCurrentWidget(m_details);
    FitNameColumns();
    return;
  }
  const bool largeIcons = style == 0;
  m_list->setViewMode(largeIcons ? QListView::IconMode : QListView::ListMode);
  m_list->setFlow(style == 0 || style == 1 ? QListView::LeftToRight : QListView::TopToBottom);
  m_list->setIconSize(largeIcons ? QSize(32, 32) : QSize(16, 16));
  m_list->setGridSize(largeIcons ? QSize(96, 64) : QSize());
  m_list->setWrapping(true);
  m_list->setResizeMode(QListView::Adjust);
  m_list->setMovement(QListView::Static);
  m_list->setWordWrap(largeIcons);
  setCurrentWidget(m_list);
}

void TFileList::resizeEvent(QResizeEvent* event) {
  QStackedWidget::resizeEvent(event);
  // The share a column may take follows the view's width.
  FitNameColumns();
}

QAbstractItemView* TFileList::CurrentView() const { return qobject_cast<QAbstractItemView*>(currentWidget()); }

void TFileList::PreviewNames(TJobList jobs, TRunOptions options) {
  m_model->PreviewNames(std::move(jobs), std::move(options));
}

bool TFileList::IsPreviewing() const { return m_model->IsPreviewing(); }

}  // namespace qx
