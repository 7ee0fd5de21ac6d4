// SPDX-License-Identifier: GPL-3.0-or-later
// The parsed form of an expression: a tree of nodes in one pool, with the classes it
// uses. Produced by the parser, consumed by the compiler; it does not match anything.
#pragma once

#include <cstdint>
#include <vector>

#include "regex/detail/URegexCharClass.h"

namespace qx::detail {

enum class TNodeKind : uint8_t { Empty, Char, Any, Class, Assert, BackRef, Group, Concat, Alternate, Repeat };

enum class TAssertKind : uint8_t {
  LineStart,
  MultiLineStart,
  LineEnd,
  MultiLineEnd,
  TextStart,
  TextEnd,
  WordBoundary,
  NotWordBoundary,
};

// An open upper bound of a counted repetition.
constexpr uint32_t kUnbounded = 2147483646;

struct TNode {
  TNodeKind kind = TNodeKind::Empty;
  bool ignoreCase = false;  // Char, BackRef
  bool dotAll = false;      // Any
  bool lazy = false;        // Repeat
  bool counted = false;     // Repeat written with braces: takes a place on the loop stack
  bool nullable = true;     // can match the empty text
  TAssertKind assertKind = TAssertKind::LineStart;
  char32_t ch = 0;        // Char
  uint32_t index = 0;     // Class: index into classes; Group, BackRef: group number
  uint32_t min = 0;       // Repeat
  uint32_t max = 0;       // Repeat; kUnbounded for an open bound
  std::vector<int> kids;  // Group, Repeat: one; Concat, Alternate: any number
};

struct TAst {
  std::vector<TNode> nodes;
  std::vector<TCharClass> classes;
  int root = -1;
  int groupCount = 0;
  bool hasBackRefs = false;
};

}  // namespace qx::detail
