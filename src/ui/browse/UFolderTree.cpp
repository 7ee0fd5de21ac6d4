// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/browse/UFolderTree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QScrollBar>

#include "ui/browse/UFolderTreeModel.h"

namespace qx {

namespace {

constexpr int kWatchIntervalMs = 1000;

std::string HomeFolder() {
  const QByteArray home = qgetenv("HOME");
  return home.isEmpty() ? std::string("/") : home.toStdString();
}

}  // namespace

TFolderTree::TFolderTree(QWidget* parent) : QTreeView(parent), m_model(new TFolderTreeModel(this)) {
  setObjectName("stv");
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setModel(m_model);
  // Long names get a scroll bar rather than an ellipsis.
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] { ShowChoice(false); });
  connect(&m_watch, &QTimer::timeout, this, &TFolderTree::Watch);
  m_watch.start(kWatchIntervalMs);
  SelectPath(HomeFolder());
}

bool TFolderTree::SelectPath(const std::string& path) {
  if (!m_choice.Choose(path)) return false;
  ShowChoice(true);
  m_scrollPending = true;
  emit PathSelected(m_choice.Path());
  return true;
}

std::string TFolderTree::SelectedPath() {
  CheckChoice();
  return m_choice.Path();
}

void TFolderTree::CheckChoice() {
  if (m_choice.Path().empty() || m_choice.StillThere()) return;
  m_choice.Clear();
  ShowChoice(false);
  emit PathSelected(std::string());
}

void TFolderTree::ShowChoice(bool reveal) {
  const QScopedValueRollback<bool> notByUser(m_byUser, false);
  const std::string& path = m_choice.Path();
  const QModelIndex row = path.empty() ? QModelIndex() : (reveal ? m_model->Reveal(path) : m_model->Find(path));
  if (!row.isValid()) {
    selectionModel()->clear();
    return;
  }
  if (reveal) {
    for (QModelIndex above = row.parent(); above.isValid(); above = above.parent()) expand(above);
  }
  setCurrentIndex(row);
  if (reveal) ScrollToChoice();
}

void TFolderTree::ScrollToChoice() {
  scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
  // The column is as wide as the longest name; the names start at the left.
  horizontalScrollBar()->setValue(0);
}

void TFolderTree::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTreeView::currentChanged(current, previous);
  if (!m_byUser || !current.isValid()) return;
  if (m_choice.Choose(m_model->PathOf(current))) {
    emit PathSelected(m_choice.Path());
  } else {
    // The folder went before its row did: the mark goes back to the choice.
    QMetaObject::invokeMethod(
        this, [this] { ShowChoice(false); }, Qt::QueuedConnection);
  }
}

bool TFolderTree::viewportEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel: m_scrollPending = false; [[fallthrough]];
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
      const QScopedValueRollback<bool> byUser(m_byUser, true);
      return QTreeView::viewportEvent(event);
    }
    default: return QTreeView::viewportEvent(event);
  }
}

void TFolderTree::keyPressEvent(QKeyEvent* event) {
  m_scrollPending = false;
  const QScopedValueRollback<bool> byUser(m_byUser, true);
  QTreeView::keyPressEvent(event);
}

void TFolderTree::resizeEvent(QResizeEvent* event) {
  QTreeView::resizeEvent(event);
  if (m_scrollPending && currentIndex().isValid()) ScrollToChoice();
}

void TFolderTree::Watch() {
  CheckChoice();
  m_model->Update(false);
}

void TFolderTree::Refresh() {
  CheckChoice();
  m_model->Update(true);
  ShowChoice(false);
  m_watch.start(kWatchIntervalMs);
}

void TFolderTree::StopWatching() { m_watch.stop(); }

}  // namespace qx
