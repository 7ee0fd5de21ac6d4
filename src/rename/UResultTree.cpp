// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UResultTree.h"

#include <algorithm>
#include <stdexcept>

namespace qx {

void TResultTree::Clear() {
  m_nodes.clear();
  m_states.clear();
  m_texts.clear();
  m_reasons.clear();
  m_oldTexts.clear();
}

std::string_view TResultTree::Reason(TNodeId node) const {
  const auto found = m_reasons.find(node);
  return found == m_reasons.end() ? std::string_view() : std::string_view(found->second);
}

namespace {

// Grows by at least half, so reserving folder after folder stays linear.
template <typename T>
void ReserveMore(std::vector<T>& items, std::size_t more) {
  const std::size_t wanted = items.size() + more;
  if (wanted > items.capacity()) items.reserve(std::max(wanted, items.capacity() + items.capacity() / 2));
}

}  // namespace

void TResultTree::Reserve(std::size_t nodes, std::size_t bytes) {
  ReserveMore(m_nodes, nodes);
  ReserveMore(m_states, nodes);
  ReserveMore(m_texts, m_keepsOldNames ? 2 * bytes : bytes);
  if (m_keepsOldNames) ReserveMore(m_oldTexts, nodes);
}

std::uint32_t TResultTree::Store(std::string_view text) {
  if (text.size() > UINT32_MAX - m_texts.size())
    throw std::length_error("the result tree's texts take more than 4 GiB");
  const auto start = static_cast<std::uint32_t>(m_texts.size());
  m_texts.insert(m_texts.end(), text.begin(), text.end());
  return start;
}

TNodeId TResultTree::AddRoot(std::string_view text) {
  Clear();
  m_nodes.push_back({Store(text), static_cast<std::uint32_t>(text.size()), kNoNode, 0, 0});
  m_states.push_back(TNodeState::FolderUnchanged);
  if (m_keepsOldNames) m_oldTexts.push_back({0, 0});
  return 0;
}

TNodeId TResultTree::AddChild(TNodeId parent, std::string_view text, TNodeState state, std::string_view oldText) {
  const auto id = static_cast<TNodeId>(m_nodes.size());
  TNode& owner = m_nodes.at(parent);
  if (owner.childCount == 0) {
    owner.firstChild = id;
  } else if (owner.firstChild + owner.childCount != id) {
    throw std::logic_error("result tree: children of one node must be added together");
  }
  ++owner.childCount;
  const std::uint32_t start = Store(text);
  m_nodes.push_back({start, static_cast<std::uint32_t>(text.size()), parent, 0, 0});
  m_states.push_back(state);
  if (m_keepsOldNames) {
    // A name the run keeps is stored once.
    m_oldTexts.push_back({oldText == text ? start : Store(oldText), static_cast<std::uint32_t>(oldText.size())});
  }
  return id;
}

TNodeId TResultTree::AppendChildrenOf(TNodeId parent, const TResultTree& from) {
  const TNodeId root = from.Root();
  const std::size_t count = root == kNoNode ? 0 : from.ChildCount(root);
  if (count == 0) return kNoNode;
  Reserve(count, from.m_texts.size());
  const TNodeId first = static_cast<TNodeId>(m_nodes.size());
  for (std::size_t i = 0; i < count; ++i) {
    const TNodeId node = from.ChildAt(root, i);
    AddChild(parent, from.Text(node), from.State(node), from.m_keepsOldNames ? from.OldText(node) : from.Text(node));
    if (const std::string_view reason = from.Reason(node); !reason.empty()) {
      SetReason(first + static_cast<TNodeId>(i), std::string(reason));
    }
  }
  return first;
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
