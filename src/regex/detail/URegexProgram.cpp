// SPDX-License-Identifier: GPL-3.0-or-later
#include "regex/detail/URegexProgram.h"

namespace qx::detail {

TCharSet TProgram::FirstOf(const TInst& inst) const {
  TInst test = inst;
  if (inst.op == TOp::String) test = {.op = TOp::Char, .a = literals[inst.a]};
  if (inst.op == TOp::StringIgnoreCase) {
    test = {.op = TOp::CharIgnoreCase, .a = literals[inst.a], .b = literals[inst.a + inst.b]};
  }
  TCharSet set;
  for (char32_t c = 0; c < 256; ++c) {
    if (TestMatches(test, c)) set.Add(c);
  }
  switch (test.op) {
    case TOp::Char: set.high = test.a >= 256; break;
    case TOp::Class: set.high = classes[test.a].MayMatchHigh(); break;
    default: set.high = true; break;  // other code points may share an upper-case form (U+0131 and 'i')
  }
  return set;
}

}  // namespace qx::detail
