// TRegexEngine: a Perl-style regular-expression engine over code points (UTF-8 text,
// a byte that is not UTF-8 counting as one character), with options i r s g m x, group
// captures 0 to 14, template substitution and replacement. It is not thread-safe per
// instance and never touches anything outside itself.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

namespace detail {
struct TProgram;
class TMatcher;
}  // namespace detail

// Raised by compile and search failures; what() is the engine's exact error text,
// with " (pos N)" after compile errors (N counted in characters from 0).
class TRegexError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TRegexEngine {
 public:
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
  // -1 when the group took no part or n is outside 0..14.
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
  // Decodes `input` (which must outlive the searches on it) and searches from its start.
  bool Start(std::string_view input);
  // `fresh`: Exec's search, which starts the step budget that its ExecNext calls share.
  bool Search(std::size_t from, bool fresh);
  // Byte range of a group of the last match within the input; false when it took no part.
  bool GroupBytes(int group, std::size_t& begin, std::size_t& end) const;
  void AppendSubstituted(std::string& out, const std::string& tmpl) const;

  std::string m_expression;
  std::unique_ptr<detail::TProgram> m_program;
  std::unique_ptr<detail::TMatcher> m_matcher;

  std::string m_input;           // Exec's copy of its input
  std::string_view m_inputView;  // the input being searched
  std::vector<char32_t> m_textBuffer;
  std::u32string_view m_text;           // the input as code points, in m_textBuffer
  std::vector<uint32_t> m_byteOffsets;  // byte offset of every character, and of the end
  std::array<uint32_t, 2 * (kMaxGroup + 1)> m_captures{};
  bool m_searched = false;
  bool m_found = false;
};

}  // namespace qx
