#include "rename/UResultTree.h"

#include <stdexcept>

namespace qx {

TNodeId TResultTree::AddRoot(std::string text) {
  m_nodes.clear();
  m_nodes.push_back({std::move(text), kNoNode, 0, 0, TNodeState::FolderUnchanged});
  return 0;
}

TNodeId TResultTree::AddChild(TNodeId parent, std::string text, TNodeState state) {
  const auto id = static_cast<TNodeId>(m_nodes.size());
  TNode& owner = m_nodes.at(parent);
  if (owner.childCount == 0) {
    owner.firstChild = id;
  } else if (owner.firstChild + owner.childCount != id) {
    throw std::logic_error("result tree: children of one node must be added together");
  }
  ++owner.childCount;
  m_nodes.push_back({std::move(text), parent, 0, 0, state});
  return id;
}

std::size_t TResultTree::IndexInParent(TNodeId node) const {
  const TNodeId parent = m_nodes[node].parent;
  return parent == kNoNode ? 0 : node - m_nodes[parent].firstChild;
}

bool IsFolderState(TNodeState state) {
  return state == TNodeState::FolderUnchanged || state == TNodeState::FolderRenamed || state == TNodeState::FolderError;
}

}  // namespace qx
