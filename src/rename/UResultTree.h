// SPDX-License-Identifier: GPL-3.0-or-later
// The predicted result of a simulated run: the starting directory as the root, below
// each directory first its subdirectories and then its files, each with its new name
// and one of six states. Held compactly so a run of a large tree stays cheap.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qx {

// The order is that of the state icons: unchanged, renamed, error, folder before file.
enum class TNodeState : std::uint8_t {
  FolderUnchanged,
  FileUnchanged,
  FolderRenamed,
  FileRenamed,
  FolderError,
  FileError,
};

using TNodeId = std::uint32_t;

class TResultTree {
 public:
  static constexpr TNodeId kNoNode = UINT32_MAX;

  // Empties the tree; whether it keeps old names stays.
  void Clear();
  // From now on each node also holds the name its entry had before the run, for a
  // caller that finds entries by their present names. Off by default: a large run's
  // tree need not hold every name twice.
  void KeepOldNames() { m_keepsOldNames = true; }
  bool KeepsOldNames() const { return m_keepsOldNames; }
  // Room for `nodes` more nodes whose texts take about `bytes`, so a large folder's nodes
  // are not copied again and again as the tree grows.
  void Reserve(std::size_t nodes, std::size_t bytes);
  bool IsEmpty() const { return m_nodes.empty(); }
  std::size_t NodeCount() const { return m_nodes.size(); }

  // Replaces the whole tree with one root node in the folder-unchanged state.
  TNodeId AddRoot(std::string_view text);
  // Adds the next child of `parent`, its entry named `oldText` before the run. A
  // parent's children must be added one after the other with no other node in between,
  // as a run's visit of one directory does; throws std::logic_error otherwise.
  TNodeId AddChild(TNodeId parent, std::string_view text, TNodeState state, std::string_view oldText);

  // Adds the children of `from`'s root as the next children of `parent`, in order, with
  // their texts, states and reasons: the nodes of a visit made apart from the tree. The
  // first one's id, or kNoNode when there are none.
  TNodeId AppendChildrenOf(TNodeId parent, const TResultTree& from);

  TNodeId Root() const { return m_nodes.empty() ? kNoNode : 0; }
  // Valid until the next node is added or text set.
  std::string_view Text(TNodeId node) const {
    return {m_texts.data() + m_nodes[node].textStart, m_nodes[node].textLength};
  }
  // The name the node's entry had before the run, in a tree that keeps old names.
  std::string_view OldText(TNodeId node) const {
    return {m_texts.data() + m_oldTexts[node].start, m_oldTexts[node].length};
  }
  TNodeState State(TNodeId node) const { return m_states[node]; }
  // The old text stays in the block unused: a node's text changes only when it fails.
  void SetText(TNodeId node, std::string_view text);
  void SetState(TNodeId node, TNodeState state) { m_states[node] = state; }
  // Why a failed node fails, as the log says it; empty for any other node.
  void SetReason(TNodeId node, std::string reason) { m_reasons[node] = std::move(reason); }
  std::string_view Reason(TNodeId node) const;
  TNodeId Parent(TNodeId node) const { return m_nodes[node].parent; }
  std::size_t ChildCount(TNodeId node) const { return m_nodes[node].childCount; }
  TNodeId ChildAt(TNodeId node, std::size_t index) const {
    return m_nodes[node].firstChild + static_cast<TNodeId>(index);
  }
  // The node's position among its parent's children.
  std::size_t IndexInParent(TNodeId node) const;

 private:
  struct TNode {
    std::uint32_t textStart;
    std::uint32_t textLength;
    TNodeId parent;
    TNodeId firstChild;
    TNodeId childCount;
  };
  struct TText {
    std::uint32_t start;
    std::uint32_t length;
  };
  // Appends `text` to the block and returns where it starts. Throws std::length_error
  // past 4 GiB of texts.
  std::uint32_t Store(std::string_view text);

  std::vector<TNode> m_nodes;
  std::vector<TNodeState> m_states;  // apart from the nodes, which it would pad by seven bytes
  std::vector<char> m_texts;
  std::unordered_map<TNodeId, std::string> m_reasons;  // only the failed nodes have one
  bool m_keepsOldNames = false;
  std::vector<TText> m_oldTexts;  // by node, when old names are kept; the root has none
};

bool IsFolderState(TNodeState state);

}  // namespace qx
