// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <stdexcept>

#include "rename/UResultTree.h"

namespace qx {
namespace {

TEST(UResultTreeTest, ChildrenAreFoundByPositionAndMustBeAddedTogether) {
  TResultTree tree;
  const TNodeId root = tree.AddRoot("/start");
  const TNodeId a = tree.AddChild(root, "a", TNodeState::FolderRenamed, "A");
  const TNodeId b = tree.AddChild(root, "b", TNodeState::FileError, "b");
  EXPECT_EQ(tree.ChildCount(root), 2u);
  EXPECT_EQ(tree.ChildAt(root, 1), b);
  EXPECT_EQ(tree.IndexInParent(b), 1u);
  EXPECT_EQ(tree.Parent(a), root);
  tree.AddChild(a, "a1", TNodeState::FileUnchanged, "a1");
  EXPECT_THROW(tree.AddChild(root, "late", TNodeState::FileUnchanged, "late"), std::logic_error);
  EXPECT_TRUE(IsFolderState(tree.State(a)));
  EXPECT_FALSE(IsFolderState(tree.State(b)));
}

}  // namespace
}  // namespace qx
