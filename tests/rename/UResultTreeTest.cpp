#include <gtest/gtest.h>

#include <stdexcept>

#include "rename/UResultTree.h"

namespace qx {
namespace {

TEST(UResultTreeTest, FoldForCompareFoldsLatinAndGreekToPlainCapitals) {
  const std::pair<const char*, const char*> rows[] = {
      {"abc-XYZ.txt", "ABC-XYZ.TXT"},
      {"éa", "éA"},  // only the table's letters fold
      {"αβγδεζηθικλμνξοπρ", "ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡ"},
      {"σς", "ΣΣ"},
      {"τυφχψω", "ΤΥΦΧΨΩ"},
      {"άέήίόύώ", "ΑΕΗΙΟΥΩ"},
      {"ΆΈΉΊΌΎΏ", "ΑΕΗΙΟΥΩ"},
      {"ϊϋ", "ΙΥ"},
      {"ΐΰ", "ΐΰ"},  // not in the table
      {"bad \xFF byte", "BAD \xFF BYTE"},
  };
  for (const auto& [in, out] : rows) EXPECT_EQ(FoldForCompare(in), out) << in;
  EXPECT_EQ(FoldForCompare("Φωτό.jpg"), FoldForCompare("ΦΩΤΟ.JPG"));
}

TEST(UResultTreeTest, ChildrenAreFoundByPositionAndMustBeAddedTogether) {
  TResultTree tree;
  const TNodeId root = tree.AddRoot("/start");
  const TNodeId a = tree.AddChild(root, "a", TNodeState::FolderRenamed);
  const TNodeId b = tree.AddChild(root, "b", TNodeState::FileError);
  EXPECT_EQ(tree.ChildCount(root), 2u);
  EXPECT_EQ(tree.ChildAt(root, 1), b);
  EXPECT_EQ(tree.IndexInParent(b), 1u);
  EXPECT_EQ(tree.Parent(a), root);
  tree.AddChild(a, "a1", TNodeState::FileUnchanged);
  EXPECT_THROW(tree.AddChild(root, "late", TNodeState::FileUnchanged), std::logic_error);
  EXPECT_TRUE(IsFolderState(tree.State(a)));
  EXPECT_FALSE(IsFolderState(tree.State(b)));
}

}  // namespace
}  // namespace qx
