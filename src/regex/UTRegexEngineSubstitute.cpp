// SPDX-License-Identifier: GPL-3.0-or-later
// Template substitution of TRegexEngine: $n, ${n}, $&, ${&} and \ escapes.
#include "regex/UTRegexEngine.h"
#include "regex/detail/URegexSubject.h"
#include "regex/detail/URegexTemplate.h"

namespace qx {

std::string TRegexEngine::Substitute(const std::string& tmpl) const {
  std::string out;
  // The parsed template is a cache: taking it apart again would give the same pieces.
  AppendSubstituted(out, tmpl, m_template->PiecesOf(tmpl));
  return out;
}

void TRegexEngine::AppendSubstituted(std::string& out, const std::string& tmpl,
                                     const std::vector<detail::TTemplatePiece>& pieces) const {
  for (const detail::TTemplatePiece& piece : pieces) {
    if (piece.group == detail::TTemplatePiece::kText) {
      out.append(tmpl, piece.begin, piece.length);
      continue;
    }
    std::size_t begin = 0;
    std::size_t end = 0;
    if (piece.group <= kMaxGroup && GroupBytes(piece.group, begin, end)) {
      out.append(m_subject->Bytes().substr(begin, end - begin));
    }
  }
}

}  // namespace qx
