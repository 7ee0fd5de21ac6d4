// SPDX-License-Identifier: GPL-3.0-or-later
// The folders of the file system, from the root down, hidden ones too (a run walks
// them), each name kept as its bytes. A folder is listed when it is first opened and
// again when its times show a change; a symbolic link is no folder here.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/UFileStatus.h"
#include "ui/browse/UListingModel.h"

namespace qx {

class TFolderTreeModel : public TListingModel {
  Q_OBJECT

 public:
  explicit TFolderTreeModel(QObject* parent = nullptr);
  ~TFolderTreeModel() override;

  // The row of the folder at `path` (absolute, without links, "." or ".."), listing
  // the folders above it as needed; invalid when a step is not among its parent's
  // folders. Below a folder that cannot be listed the step is taken on trust.
  QModelIndex Reveal(const std::string& path);
  // The row of `path` among the folders listed so far; invalid when it is not there.
  QModelIndex Find(const std::string& path) const;
  // The folder's path, "/" for the root.
  std::string PathOf(const QModelIndex& index) const;
  // Lists again every listed folder whose status differs from its listing's; every
  // listed folder when `always`.
  void Update(bool always);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& index) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 private:
  struct TNode;
  using TNodes = std::vector<std::unique_ptr<TNode>>;

  TNode* NodeOf(const QModelIndex& index) const;
  QModelIndex IndexOf(const TNode& node) const;
  std::string PathOf(const TNode& node) const;
  // The child named `name` of a listed `node`; null when it has none.
  static TNode* ChildNamed(const TNode& node, const std::string& name);
  // Reads the node's folders and brings its rows to them.
  void List(TNode& node);
  // Adds a child the listing could not show (its parent is not readable).
  TNode& AddTrusted(TNode& node, const std::string& name);
  // Walks the path's steps from the root, listing when `list`; null when one is missing.
  TNode* Walk(const std::string& path, bool list);

  std::unique_ptr<TNode> m_invisibleRoot;  // its one child is "/"
};

}  // namespace qx
