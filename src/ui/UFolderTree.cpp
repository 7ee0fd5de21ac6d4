#include "ui/UFolderTree.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QScrollBar>

#include "ui/UQtText.h"

namespace qx {

TFolderTree::TFolderTree(QWidget* parent) : QTreeView(parent) {
  setObjectName("stv");
  setHeaderHidden(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  InstallModel();
  SelectPath(ToBytes(QDir::homePath()));
}

void TFolderTree::InstallModel() {
  QFileSystemModel* oldModel = m_model;
  QItemSelectionModel* oldSelection = selectionModel();
  m_model = new QFileSystemModel(this);
  m_model->setIconProvider(&m_icons);
  m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
  m_model->setRootPath(QDir::rootPath());
  setModel(m_model);
  for (int column = 1; column < m_model->columnCount(); ++column) hideColumn(column);
  // Long names get a scroll bar rather than an ellipsis.
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { emit PathSelected(m_model->filePath(current)); });
  // Rows keep arriving and being sorted above the selection while its ancestors load,
  // so the selection is shown again after each change, until the user takes over.
  const auto showAgain = [this] {
    if (m_scrollPending && currentIndex().isValid()) ShowSelection();
  };
  connect(m_model, &QAbstractItemModel::rowsInserted, this, showAgain, Qt::QueuedConnection);
  connect(m_model, &QAbstractItemModel::layoutChanged, this, showAgain, Qt::QueuedConnection);
  delete oldSelection;
  delete oldModel;
}

bool TFolderTree::SelectPath(const std::string& path) {
  const QFileInfo info(ToQString(path));
  if (path.empty() || !info.isDir()) return false;
  const QModelIndex index = m_model->index(info.absoluteFilePath());
  if (!index.isValid()) return false;
  setCurrentIndex(index);
  ShowSelection();
  m_scrollPending = true;
  return true;
}

void TFolderTree::ShowSelection() {
  scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
  // The column is as wide as the longest name; the names start at the left.
  horizontalScrollBar()->setValue(0);
}

void TFolderTree::mousePressEvent(QMouseEvent* event) {
  m_scrollPending = false;
  QTreeView::mousePressEvent(event);
}

void TFolderTree::wheelEvent(QWheelEvent* event) {
  m_scrollPending = false;
  QTreeView::wheelEvent(event);
}

void TFolderTree::keyPressEvent(QKeyEvent* event) {
  m_scrollPending = false;
  QTreeView::keyPressEvent(event);
}

std::string TFolderTree::SelectedPath() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? ToBytes(m_model->filePath(current)) : std::string();
}

void TFolderTree::StopWatching() { m_model->setOption(QFileSystemModel::DontWatchForChanges, true); }

void TFolderTree::Refresh() {
  const std::string selected = SelectedPath();
  InstallModel();
  SelectPath(selected);
}

}  // namespace qx
