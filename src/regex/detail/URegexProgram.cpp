#include "regex/detail/URegexProgram.h"

#include "platform/UUnicode.h"

namespace qx::detail {

bool TProgram::TestMatches(const TInst& test, char32_t c) const {
  switch (test.op) {
    case TOp::Char: return c == test.a;
    case TOp::CharIgnoreCase: return c == test.a || unicode::SimpleUpper(c) == test.b;
    case TOp::Any: return true;
    case TOp::AnyButLineBreak: return !IsLineSeparator(c);
    case TOp::Class: return classes[test.a].Matches(c);
    default: return false;
  }
}

}  // namespace qx::detail
