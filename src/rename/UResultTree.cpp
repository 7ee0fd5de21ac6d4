#include "rename/UResultTree.h"

#include <stdexcept>

#include "platform/UUtf8.h"

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

namespace {

// The Greek letters that fold, from U+0386 on, to the capital each becomes (0 keeps it):
// capitals with tonos, small letters with tonos, alpha..omega with both sigmas,
// iota and upsilon with dialytika.
char32_t FoldGreek(char32_t cp) {
  switch (cp) {
    case U'\u0386':
    case U'\u03AC': return U'\u0391';  // Ά ά -> Α
    case U'\u0388':
    case U'\u03AD': return U'\u0395';  // Έ έ -> Ε
    case U'\u0389':
    case U'\u03AE': return U'\u0397';  // Ή ή -> Η
    case U'\u038A':
    case U'\u03AF':
    case U'\u03CA': return U'\u0399';  // Ί ί ϊ -> Ι
    case U'\u038C':
    case U'\u03CC': return U'\u039F';  // Ό ό -> Ο
    case U'\u038E':
    case U'\u03CD':
    case U'\u03CB': return U'\u03A5';  // Ύ ύ ϋ -> Υ
    case U'\u038F':
    case U'\u03CE': return U'\u03A9';  // Ώ ώ -> Ω
    case U'\u03C2': return U'\u03A3';  // final sigma -> Σ
    default: break;
  }
  if (cp >= U'\u03B1' && cp <= U'\u03C9') return cp - 0x20;  // α..ω (σ included) -> Α..Ω
  return cp;
}

}  // namespace

std::string FoldForCompare(std::string_view name) {
  std::string folded;
  folded.reserve(name.size());
  for (std::size_t pos = 0, len = 0; pos < name.size(); pos += len) {
    const auto byte = static_cast<unsigned char>(name[pos]);
    if (byte < 0x80) {
      len = 1;
      folded += (byte >= 'a' && byte <= 'z') ? static_cast<char>(byte - 32) : static_cast<char>(byte);
      continue;
    }
    utf8::Append(folded, FoldGreek(utf8::Decode(name, pos, len)));
  }
  return folded;
}

}  // namespace qx
