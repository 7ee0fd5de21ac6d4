// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target over the regex engine: compiling, Exec / ExecNext, Substitute and
// Replace on one input. The data is "expression \0 template \0 input". Besides the
// sanitizers it checks what every match must satisfy and that searches always end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/UUtf8.h"
#include "regex/URegexReplace.h"
#include "regex/UTRegexEngine.h"

namespace {

std::string NextField(const uint8_t*& data, std::size_t& size) {
  std::size_t length = 0;
  while (length < size && data[length] != 0) ++length;
  std::string field(reinterpret_cast<const char*>(data), length);
  const std::size_t used = length < size ? length + 1 : length;
  data += used;
  size -= used;
  return field;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckMatch(const qx::TRegexEngine& engine, int inputChars) {
  const int start = engine.MatchPos(0);
  const int length = engine.MatchLen(0);
  Check(start >= 1 && length >= 0 && start + length - 1 <= inputChars);
  for (int g = 1; g <= qx::TRegexEngine::kMaxGroup; ++g) {
    if (engine.MatchPos(g) < 0) {
      Check(engine.MatchLen(g) < 0);
      continue;
    }
    // Every capture lies within the whole match.
    Check(engine.MatchPos(g) >= start && engine.MatchPos(g) + engine.MatchLen(g) <= start + length);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string expression = NextField(data, size);
  const std::string tmpl = NextField(data, size);
  const std::string input(reinterpret_cast<const char*>(data), size);
  const int inputChars = static_cast<int>(qx::utf8::CountChars(input));

  qx::TRegexEngine engine;
  engine.SetExpression(expression);
  try {
    int matches = 0;
    int lastEnd = 0;
    for (bool found = engine.Exec(input); found; found = engine.ExecNext()) {
      CheckMatch(engine, inputChars);
      // Matches move forward, so a search of n characters ends within n + 1 of them.
      Check(engine.MatchPos(0) >= lastEnd && ++matches <= inputChars + 1);
      lastEnd = engine.MatchPos(0) + engine.MatchLen(0);
      (void)engine.Substitute(tmpl);
    }
    const std::string replaced = engine.Replace(input, tmpl, matches % 2 == 0);
    Check(matches > 0 || replaced == input);
  } catch (const qx::TRegexError&) {
    // Errors are results too; RegexReplace must turn them into text.
  }
  (void)qx::RegexReplace(input, expression, tmpl);
  return 0;
}
