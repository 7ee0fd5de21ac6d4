// SPDX-License-Identifier: GPL-3.0-or-later
#include "regex/detail/URegexErrors.h"

#include <string>

#include "regex/UTRegexEngine.h"

namespace qx::detail {

const char* RegexErrorText(TRegexErrorCode code) {
  switch (code) {
    case TRegexErrorCode::TooManyGroups: return "TRegexEngine(comp): ParseReg Too Many ()";
    case TRegexErrorCode::UnmatchedParenthesis: return "TRegexEngine(comp): ParseReg Unmatched ()";
    case TRegexErrorCode::OperandCouldBeEmpty: return "TRegexEngine(comp): *+ Operand Could Be Empty";
    case TRegexErrorCode::NestedRepetition: return "TRegexEngine(comp): Nested *?+";
    case TRegexErrorCode::BadHexDigit: return "TRegexEngine(comp): Bad Hex Digit";
    case TRegexErrorCode::InvalidRange: return "TRegexEngine(comp): Invalid [] Range";
    case TRegexErrorCode::ClassTrailingBackslash: return "TRegexEngine(comp): Parse Atom Trailing \\";
    case TRegexErrorCode::NoHexCode: return "TRegexEngine(comp): No Hex Code After \\x";
    case TRegexErrorCode::HexCodeTooBig: return "TRegexEngine(comp): Hex Code After \\x Is Too Big";
    case TRegexErrorCode::UnmatchedBracket: return "TRegexEngine(comp): Unmatched []";
    case TRegexErrorCode::FollowsNothing: return "TRegexEngine(comp): ?+*{ Follows Nothing";
    case TRegexErrorCode::TrailingBackslash: return "TRegexEngine(comp): Trailing \\";
    case TRegexErrorCode::BracesTooBig: return "TRegexEngine(comp): BRACES Argument Too Big";
    case TRegexErrorCode::BraceMinGreaterThanMax: return "TRegexEngine(comp): BRACE Min Param Greater then Max";
    case TRegexErrorCode::UnclosedComment: return "TRegexEngine(comp): Unclosed (?#Comment)";
    case TRegexErrorCode::UnrecognizedModifier: return "TRegexEngine(comp): Urecognized Modifier";
    case TRegexErrorCode::NotAssignedExpression: return "TRegexEngine(exec): Not Assigned Expression Property";
    case TRegexErrorCode::NoInputString: return "TRegexEngine(exec): No Input String Specified";
    case TRegexErrorCode::LoopStackExceeded: return "TRegexEngine(exec): Loop Stack Exceeded";
    case TRegexErrorCode::ExecNextWithoutExec: return "TRegexEngine(exec): ExecNext Without Exec[Pos]";
    case TRegexErrorCode::MatchTooComplex: return "TRegexEngine(exec): Match Too Complex";
  }
  return "Unknown error";
}

void ThrowCompileError(TRegexErrorCode code, std::size_t pos) {
  throw TRegexError(std::string(RegexErrorText(code)) + " (pos " + std::to_string(pos) + ")");
}

void ThrowExecError(TRegexErrorCode code) { throw TRegexError(RegexErrorText(code)); }

}  // namespace qx::detail
