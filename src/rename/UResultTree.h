// The predicted result of a simulated run: the starting directory as the root, below
// each directory first its subdirectories and then its files, each with its new name
// and one of six states. Held compactly so a run of a large tree stays cheap.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
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

  void Clear() { m_nodes.clear(); }
  bool IsEmpty() const { return m_nodes.empty(); }
  std::size_t NodeCount() const { return m_nodes.size(); }

  // Replaces the whole tree with one root node in the folder-unchanged state.
  TNodeId AddRoot(std::string text);
  // Adds the next child of `parent`. A parent's children must be added one after the
  // other with no other node in between, as a run's visit of one directory does;
  // throws std::logic_error otherwise.
  TNodeId AddChild(TNodeId parent, std::string text, TNodeState state);

  TNodeId Root() const { return m_nodes.empty() ? kNoNode : 0; }
  const std::string& Text(TNodeId node) const { return m_nodes[node].text; }
  TNodeState State(TNodeId node) const { return m_nodes[node].state; }
  void SetText(TNodeId node, std::string text) { m_nodes[node].text = std::move(text); }
  void SetState(TNodeId node, TNodeState state) { m_nodes[node].state = state; }
  TNodeId Parent(TNodeId node) const { return m_nodes[node].parent; }
  std::size_t ChildCount(TNodeId node) const { return m_nodes[node].childCount; }
  TNodeId ChildAt(TNodeId node, std::size_t index) const {
    return m_nodes[node].firstChild + static_cast<TNodeId>(index);
  }
  // The node's position among its parent's children.
  std::size_t IndexInParent(TNodeId node) const;

 private:
  struct TNode {
    std::string text;
    TNodeId parent;
    TNodeId firstChild;
    TNodeId childCount;
    TNodeState state;
  };
  std::vector<TNode> m_nodes;
};

bool IsFolderState(TNodeState state);

}  // namespace qx
