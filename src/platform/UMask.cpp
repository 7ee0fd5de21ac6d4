// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UMask.h"

#include "platform/UUnicode.h"
#include "platform/UUtf8.h"

namespace qx {

namespace {

char32_t Next(std::string_view text, std::size_t& pos) {
  std::size_t len;
  const char32_t cp = utf8::Decode(text, pos, len);
  pos += len;
  return cp;
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
  if (mask == "*.*" || mask == "*") return true;
  // Greedy matching that remembers the last '*': on a mismatch the star swallows one
  // more character and matching resumes. Linear in practice, never exponential.
  std::size_t n = 0, m = 0;
  std::size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size()) {
      std::size_t nextM = m;
      const char32_t p = Next(mask, nextM);
      if (p == U'*') {
        starMask = nextM;
        starName = n;
        m = nextM;
        continue;
      }
      std::size_t nextN = n;
      const char32_t c = Next(name, nextN);
      if (p == U'?' || unicode::EqualIgnoringCase(p, c)) {
        n = nextN;
        m = nextM;
        continue;
      }
    }
    if (starMask == std::string_view::npos) return false;
    Next(name, starName);
    n = starName;
    m = starMask;
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace qx
