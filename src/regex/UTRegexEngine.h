// SPDX-License-Identifier: GPL-3.0-or-later
// TRegexEngine: a Perl-style regular-expression engine over code points (UTF-8 text,
// a byte that is not UTF-8 counting as one character), with options i r s g m x, group
// captures 0 to kMaxGroup, template substitution and replacement. It is not thread-safe
// per instance and never touches anything outside itself.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qx {

namespace detail {
struct TProgram;
class TMatcher;
class TSubject;
class TParsedTemplate;
struct TTemplatePiece;
}  // namespace detail

// Raised by compile and search failures; what() is the engine's exact error text,
// with " (pos N)" after compile errors (N counted in characters from 0).
class TRegexError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TRegexEngine {
 public:
  // The highest group number: an expression may open this many groups, and $n or
  // MatchPos(n) past it names none.
  static constexpr int kMaxGroup = 14;

  TRegexEngine();
  ~TRegexEngine();
  TRegexEngine(const TRegexEngine&) = delete;
  TRegexEngine& operator=(const TRegexEngine&) = delete;

  // Sets the expression; it is compiled at the next search, which raises its errors.
  void SetExpression(const std::string& expression);
  const std::string& Expression() const { return m_expression; }

  // Searches `input` from its first character for the leftmost match. Raises
  // "TRegexEngine(exec): Not Assigned Expression Property" for an empty expression,
  // "TRegexEngine(exec): No Input String Specified" for an empty input, and compile errors.
  bool Exec(const std::string& input);

  // Searches on from the end of the last match, or one character further when that
  // match was empty. Raises "TRegexEngine(exec): ExecNext Without Exec[Pos]" when no
  // search came before; false once a search has found nothing. Where back-references
  // or counted loops keep states from being remembered, Exec and its ExecNext calls
  // share one step budget, past which "TRegexEngine(exec): Match Too Complex" is raised.
  bool ExecNext();

  // Position (from 1, in characters) and length of a group of the last match;
  // -1 when the group took no part or n is outside 0..kMaxGroup.
  int MatchPos(int group) const;
  int MatchLen(int group) const;
  // The text of a group of the last match; empty when it took no part.
  std::string Match(int group) const;

  // The template with $n, ${n}, $&, ${&} taken from the last match and \ escapes resolved.
  std::string Substitute(const std::string& tmpl) const;

  // Every match of the expression in `input` replaced by `tmpl`, substituted when
  // `substitute` is true. Raises what Exec raises.
  std::string Replace(const std::string& input, const std::string& tmpl, bool substitute);

 private:
  void Compile();
  // Searches `input` (which must outlive the searches on it) from its start.
  bool Start(std::string_view input);
  // `fresh`: Exec's search, which starts the step budget that its ExecNext calls share.
  bool Search(std::size_t from, bool fresh);
  // Start and end (characters) of a group of the last match; nothing when there was no
  // match, the group does not exist or it took no part.
  std::optional<std::pair<uint32_t, uint32_t>> GroupSpan(int group) const;
  // Byte range of a group of the last match within the input; false when it took no part.
  bool GroupBytes(int group, std::size_t& begin, std::size_t& end) const;
  // Appends the template, taken apart into `pieces`, with the last match's groups.
  void AppendSubstituted(std::string& out, const std::string& tmpl,
                         const std::vector<detail::TTemplatePiece>& pieces) const;

  std::string m_expression;
  std::unique_ptr<detail::TProgram> m_program;
  std::unique_ptr<detail::TMatcher> m_matcher;

  std::string m_input;                                     // Exec's copy of its input
  std::unique_ptr<detail::TSubject> m_subject;             // the input being searched
  std::unique_ptr<detail::TParsedTemplate> m_template;     // the template substituted last
  std::array<uint32_t, 2 * (kMaxGroup + 1)> m_captures{};  // of the last match; read only while m_found
  bool m_searched = false;
  bool m_found = false;
};

}  // namespace qx
