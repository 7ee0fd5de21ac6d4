// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/browse/UFolderTreeModel.h"

#include <fcntl.h>

#include <QFileIconProvider>
#include <algorithm>

#include "platform/UDirectory.h"
#include "platform/USystemError.h"

namespace qx {

struct TFolderTreeModel::TNode {
  TNode(std::string nodeName, TNode* nodeParent) : name(std::move(nodeName)), key(NameKey(name)), parent(nodeParent) {}

  std::string name;
  std::string key;
  TNode* parent;
  mutable int row = 0;  // a hint: rows move as the parent is listed again
  TNodes children;
  bool listed = false;
  bool readable = true;
  std::optional<TFileStatus> stamp;  // the folder's status when it was last listed
};

namespace {

std::vector<std::string> StepsOf(const std::string& path) {
  std::vector<std::string> steps;
  for (std::size_t start = 0; start < path.size();) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    if (end > start) steps.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return steps;
}

}  // namespace

TFolderTreeModel::TFolderTreeModel(QObject* parent)
    : TListingModel(parent), m_invisibleRoot(std::make_unique<TNode>("", nullptr)) {
  m_invisibleRoot->children.push_back(std::make_unique<TNode>("/", m_invisibleRoot.get()));
  m_invisibleRoot->listed = true;
}

TFolderTreeModel::~TFolderTreeModel() = default;

TFolderTreeModel::TNode* TFolderTreeModel::NodeOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<TNode*>(index.internalPointer()) : m_invisibleRoot.get();
}

QModelIndex TFolderTreeModel::IndexOf(const TNode& node) const {
  if (!node.parent) return {};
  const TNodes& siblings = node.parent->children;
  if (node.row >= static_cast<int>(siblings.size()) || siblings[static_cast<std::size_t>(node.row)].get() != &node) {
    const auto place =
        std::find_if(siblings.begin(), siblings.end(), [&](const auto& child) { return child.get() == &node; });
    node.row = static_cast<int>(place - siblings.begin());
  }
  return createIndex(node.row, 0, &node);
}

std::string TFolderTreeModel::PathOf(const TNode& node) const {
  std::vector<const std::string*> names;
  for (const TNode* step = &node; step->parent && step->parent->parent; step = step->parent)
    names.push_back(&step->name);
  std::string path;
  for (auto name = names.rbegin(); name != names.rend(); ++name) path += "/" + **name;
  return path.empty() ? "/" : path;
}

std::string TFolderTreeModel::PathOf(const QModelIndex& index) const {
  return index.isValid() ? PathOf(*NodeOf(index)) : std::string();
}

TFolderTreeModel::TNode* TFolderTreeModel::ChildNamed(const TNode& node, const std::string& name) {
  for (const auto& child : node.children) {
    if (child->name == name) return child.get();
  }
  return nullptr;
}

QModelIndex TFolderTreeModel::Find(const std::string& path) const {
  if (path.empty() || path.front() != '/') return {};
  const TNode* node = m_invisibleRoot->children.front().get();
  for (const std::string& step : StepsOf(path)) {
    node = ChildNamed(*node, step);
    if (!node) return {};
  }
  return IndexOf(*node);
}

QModelIndex TFolderTreeModel::Reveal(const std::string& path) {
  if (path.empty() || path.front() != '/') return {};
  TNode* node = m_invisibleRoot->children.front().get();
  for (const std::string& step : StepsOf(path)) {
    if (!node->listed) List(*node);
    TNode* child = ChildNamed(*node, step);
    if (!child && !node->readable) child = &AddTrusted(*node, step);
    if (!child) return {};
    node = child;
  }
  return IndexOf(*node);
}

TFolderTreeModel::TNode& TFolderTreeModel::AddTrusted(TNode& node, const std::string& name) {
  auto child = std::make_unique<TNode>(name, &node);
  const auto place =
      std::lower_bound(node.children.begin(), node.children.end(), child,
                       [](const auto& a, const auto& b) { return CompareNames(a->key, a->name, b->key, b->name) < 0; });
  const int row = static_cast<int>(place - node.children.begin());
  beginInsertRows(IndexOf(node), row, row);
  TNode& added = **node.children.insert(place, std::move(child));
  endInsertRows();
  return added;
}

void TFolderTreeModel::List(TNode& node) {
  const std::string path = PathOf(node);
  node.stamp = StatusOf(AT_FDCWD, path);
  node.listed = true;
  TNodes fresh;
  try {
    for (const TDirEntry& entry : TDirectory::Open(path).List()) {
      if (entry.isDirectory) fresh.push_back(std::make_unique<TNode>(entry.name, &node));
    }
    node.readable = true;
  } catch (const TSystemError&) {
    // Unreadable or gone: what is shown stays until the parent's listing says more.
    node.readable = false;
    return;
  }
  std::sort(fresh.begin(), fresh.end(),
            [](const auto& a, const auto& b) { return CompareNames(a->key, a->name, b->key, b->name) < 0; });
  SyncRows(IndexOf(node), node.children, std::move(fresh),
           [](const auto& child) -> std::string_view { return child->name; });
}

void TFolderTreeModel::Update(bool always) {
  // Parents first: a folder that went is taken out with its parent's listing before
  // anything below it is looked at.
  std::vector<TNode*> pending{m_invisibleRoot->children.front().get()};
  while (!pending.empty()) {
    TNode* node = pending.back();
    pending.pop_back();
    if (!node->listed) continue;
    if (always || StatusOf(AT_FDCWD, PathOf(*node)) != node->stamp) List(*node);
    for (const auto& child : node->children) pending.push_back(child.get());
  }
}

QModelIndex TFolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
  const TNode* node = NodeOf(parent);
  if (column != 0 || row < 0 || row >= static_cast<int>(node->children.size())) return {};
  TNode* child = node->children[static_cast<std::size_t>(row)].get();
  child->row = row;
  return createIndex(row, 0, child);
}

QModelIndex TFolderTreeModel::parent(const QModelIndex& index) const {
  return index.isValid() ? IndexOf(*NodeOf(index)->parent) : QModelIndex();
}

int TFolderTreeModel::rowCount(const QModelIndex& parent) const {
  return static_cast<int>(NodeOf(parent)->children.size());
}

int TFolderTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant TFolderTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) return ShownName(NodeOf(index)->name);
  if (role == Qt::DecorationRole) {
    static const QIcon folder = QFileIconProvider().icon(QAbstractFileIconProvider::Folder);
    return folder;
  }
  return {};
}

bool TFolderTreeModel::hasChildren(const QModelIndex& parent) const {
  const TNode* node = NodeOf(parent);
  // Not listed yet: offered as openable, as a folder usually holds folders.
  return !node->listed || !node->children.empty();
}

bool TFolderTreeModel::canFetchMore(const QModelIndex& parent) const { return !NodeOf(parent)->listed; }

void TFolderTreeModel::fetchMore(const QModelIndex& parent) {
  TNode* node = NodeOf(parent);
  if (!node->listed) List(*node);
}

}  // namespace qx
