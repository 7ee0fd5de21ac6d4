// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's error texts and the helpers that raise them. Compile errors carry the
// parser's position; search errors do not.
#pragma once

#include <cstddef>

namespace qx::detail {

enum class TRegexErrorCode {
  TooManyGroups,
  UnmatchedParenthesis,
  OperandCouldBeEmpty,
  NestedRepetition,
  BadHexDigit,
  InvalidRange,
  ClassTrailingBackslash,
  NoHexCode,
  HexCodeTooBig,
  UnmatchedBracket,
  FollowsNothing,
  TrailingBackslash,
  BracesTooBig,
  BraceMinGreaterThanMax,
  UnclosedComment,
  UnrecognizedModifier,
  NotAssignedExpression,
  NoInputString,
  LoopStackExceeded,
  ExecNextWithoutExec,
  MatchTooComplex,
};

const char* RegexErrorText(TRegexErrorCode code);

// Throws TRegexError with the text and " (pos N)".
[[noreturn]] void ThrowCompileError(TRegexErrorCode code, std::size_t pos);

// Throws TRegexError with the bare text.
[[noreturn]] void ThrowExecError(TRegexErrorCode code);

}  // namespace qx::detail
