// SPDX-License-Identifier: GPL-3.0-or-later
// The result tree of a simulated run as a Qt model: items are made as the view asks
// for them, so a tree of a hundred thousand entries shows at once.
#pragma once

#include <QAbstractItemModel>
#include <memory>

#include "rename/UResultTree.h"

namespace qx {

class TResultTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit TResultTreeModel(std::shared_ptr<const TResultTree> tree, QObject* parent = nullptr);

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  // The node an index stands for.
  TNodeId Node(const QModelIndex& index) const { return static_cast<TNodeId>(index.internalId()); }
  QModelIndex RootIndex() const;

 private:
  std::shared_ptr<const TResultTree> m_tree;
};

}  // namespace qx
