#include "ui/UFileList.h"

#include <QDir>
#include <QFileSystemModel>
#include <QListView>
#include <QTreeView>

#include "ui/UQtText.h"

namespace qx {

TFileList::TFileList(QWidget* parent) : QStackedWidget(parent) {
  setObjectName("slv");
  m_list = new QListView(this);
  m_details = new QTreeView(this);
  m_details->setRootIsDecorated(false);
  m_details->setItemsExpandable(false);
  m_details->setSortingEnabled(true);
  m_details->sortByColumn(0, Qt::AscendingOrder);
  for (QAbstractItemView* view :
       {static_cast<QAbstractItemView*>(m_list), static_cast<QAbstractItemView*>(m_details)}) {
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    Connect(view);
    addWidget(view);
  }
  InstallModel();
  SetViewStyle(m_viewStyle);
}

void TFileList::InstallModel() {
  auto* model = new QFileSystemModel(this);
  model->setIconProvider(&m_icons);
  // Hidden files are never renamed by a run, so they are not offered either.
  model->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
  // In-place renaming goes through QFile::rename, which refuses an existing name.
  model->setReadOnly(false);
  model->sort(0, Qt::AscendingOrder);
  m_list->setModel(model);
  m_details->setModel(model);
  delete m_model;
  m_model = model;
}

void TFileList::Release() {
  m_released = Folder();
  m_list->setModel(nullptr);
  m_details->setModel(nullptr);
  delete m_model;
  m_model = nullptr;
}

void TFileList::Refresh() {
  const QString folder = m_model ? Folder() : m_released;
  InstallModel();
  SetFolder(folder);
}

void TFileList::Connect(QAbstractItemView* view) {
  connect(view, &QAbstractItemView::clicked, this, [this, view](const QModelIndex& index) {
    if (view->selectionModel()->isSelected(index)) emit EntryClicked(ToBytes(m_model->fileName(index)));
  });
  connect(view, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
    if (m_model->isDir(index)) emit FolderOpened(m_model->filePath(index));
  });
}

void TFileList::SetFolder(const QString& path) {
  if (!m_model) {
    m_released = path;
    return;
  }
  const QModelIndex root = m_model->setRootPath(path);
  m_list->setRootIndex(root);
  m_details->setRootIndex(root);
}

QString TFileList::Folder() const { return m_model ? m_model->rootPath() : m_released; }

void TFileList::SetViewStyle(int style) {
  m_viewStyle = style;
  if (style == 3) {
    setCurrentWidget(m_details);
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

QAbstractItemView* TFileList::CurrentView() const { return qobject_cast<QAbstractItemView*>(currentWidget()); }

}  // namespace qx
