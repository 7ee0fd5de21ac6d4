#include "rename/UResultTree.h"

#include <stdexcept>

namespace qx {

void TResultTree::Clear() {
  m_nodes.clear();
  m_states.clear();
  m_texts.clear();
}

std::uint64_t TResultTree::Store(std::string_view text) {
  if (text.size() > UINT32_MAX) throw std::length_error("result tree: a text longer than 4 GiB");
  const std::uint64_t start = m_texts.size();
  m_texts.insert(m_texts.end(), text.begin(), text.end());
  return start;
}

TNodeId TResultTree::AddRoot(std::string_view text) {
  Clear();
  m_nodes.push_back({Store(text), static_cast<std::uint32_t>(text.size()), kNoNode, 0, 0});
  m_states.push_back(TNodeState::FolderUnchanged);
  return 0;
}

TNodeId TResultTree::AddChild(TNodeId parent, std::string_view text, TNodeState state) {
  const auto id = static_cast<TNodeId>(m_nodes.size());
  TNode& owner = m_nodes.at(parent);
  if (owner.childCount == 0) {
    owner.firstChild = id;
  } else if (owner.firstChild + owner.childCount != id) {
    throw std::logic_error("result tree: children of one node must be added together");
  }
  ++owner.childCount;
  m_nodes.push_back({Store(text), static_cast<std::uint32_t>(text.size()), parent, 0, 0});
  m_states.push_back(state);
  return id;
}

void TResultTree::SetText(TNodeId node, std::string_view text) {
  m_nodes[node].textStart = Store(text);
  m_nodes[node].textLength = static_cast<std::uint32_t>(text.size());
}

std::size_t TResultTree::IndexInParent(TNodeId node) const {
  const TNodeId parent = m_nodes[node].parent;
  return parent == kNoNode ? 0 : node - m_nodes[parent].firstChild;
}

bool IsFolderState(TNodeState state) {
  return state == TNodeState::FolderUnchanged || state == TNodeState::FolderRenamed || state == TNodeState::FolderError;
}

}  // namespace qx
