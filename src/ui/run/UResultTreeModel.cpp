// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/UResultTreeModel.h"

#include "ui/UQtText.h"
#include "ui/run/UStateIcons.h"

namespace qx {

TResultTreeModel::TResultTreeModel(std::shared_ptr<const TResultTree> tree, QObject* parent)
    : QAbstractItemModel(parent), m_tree(std::move(tree)) {}

QModelIndex TResultTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0 || row >= rowCount(parent)) return QModelIndex();
  const TNodeId node = parent.isValid() ? m_tree->ChildAt(Node(parent), static_cast<std::size_t>(row)) : m_tree->Root();
  return createIndex(row, 0, static_cast<quintptr>(node));
}

QModelIndex TResultTreeModel::parent(const QModelIndex& child) const {
  if (!child.isValid()) return QModelIndex();
  const TNodeId parent = m_tree->Parent(Node(child));
  if (parent == TResultTree::kNoNode) return QModelIndex();
  return createIndex(static_cast<int>(m_tree->IndexInParent(parent)), 0, static_cast<quintptr>(parent));
}

int TResultTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return m_tree->IsEmpty() ? 0 : 1;
  return static_cast<int>(m_tree->ChildCount(Node(parent)));
}

int TResultTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant TResultTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return QVariant();
  const TNodeId node = Node(index);
  if (role == Qt::DisplayRole) return ToQString(m_tree->Text(node));
  if (role == Qt::DecorationRole) return StateIcon(m_tree->State(node));
  if (role == Qt::ToolTipRole && !m_tree->Reason(node).empty()) return ToQString(m_tree->Reason(node));
  return QVariant();
}

QModelIndex TResultTreeModel::RootIndex() const { return index(0, 0); }

}  // namespace qx
