// SPDX-License-Identifier: GPL-3.0-or-later
// A substitution template taken apart once into pieces of its own text and group
// references ($n, ${n}, $&, ${&}; \ makes the next character literal), so that every
// match of a Replace only copies. It does not know any match.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qx::detail {

struct TTemplatePiece {
  static constexpr int kText = -1;
  int group;       // kText, or the group number (past the highest group it names none)
  uint32_t begin;  // kText: where the text lies in the template
  uint32_t length;
};

class TParsedTemplate {
 public:
  // The pieces of `tmpl`, parsed unless it is the template parsed last.
  const std::vector<TTemplatePiece>& PiecesOf(const std::string& tmpl);

 private:
  void Parse();

  std::string m_text;
  bool m_parsed = false;
  std::vector<TTemplatePiece> m_pieces;
};

}  // namespace qx::detail
