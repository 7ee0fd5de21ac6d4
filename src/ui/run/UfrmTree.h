// SPDX-License-Identifier: GPL-3.0-or-later
// The tree window: the predicted result of the last simulated run, its legend and the
// line that counts the renames.
#pragma once

#include <QWidget>
#include <memory>

#include "rename/UResultTree.h"

class QLabel;
class QTreeView;

namespace qx {

class TResultTreeModel;

class TfrmTree : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmTree(QWidget* parent = nullptr);

  // Shows `tree` in tvSim and "N files and M directories have been renamed.".
  void ShowResult(std::shared_ptr<const TResultTree> tree, int filesRenamed, int dirsRenamed);
  // Empties tvSim, as a new simulated run does first.
  void Clear();
  // "Expand First Level": everything collapsed, the root open one level and selected.
  void ExpandFirstLevel();
  void ExpandAll();

 private:
  QTreeView* m_tvSim;
  QLabel* m_lblResult;
  TResultTreeModel* m_model = nullptr;
};

}  // namespace qx
