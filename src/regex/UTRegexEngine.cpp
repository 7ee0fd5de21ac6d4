// SPDX-License-Identifier: GPL-3.0-or-later
#include "regex/UTRegexEngine.h"

#include "platform/UUtf8.h"
#include "regex/detail/URegexCompiler.h"
#include "regex/detail/URegexErrors.h"
#include "regex/detail/URegexMatcher.h"
#include "regex/detail/URegexParser.h"
#include "regex/detail/URegexSubject.h"
#include "regex/detail/URegexTemplate.h"

namespace qx {

using detail::kUnset;
using detail::TRegexErrorCode;

TRegexEngine::TRegexEngine()
    : m_matcher(std::make_unique<detail::TMatcher>()),
      m_subject(std::make_unique<detail::TSubject>()),
      m_template(std::make_unique<detail::TParsedTemplate>()) {}

TRegexEngine::~TRegexEngine() = default;

void TRegexEngine::SetExpression(const std::string& expression) {
  if (m_program && expression == m_expression) return;
  m_expression = expression;
  m_program.reset();
  m_searched = false;
  m_found = false;
}

void TRegexEngine::Compile() {
  if (m_program) return;
  if (m_expression.empty()) detail::ThrowExecError(TRegexErrorCode::NotAssignedExpression);
  const std::u32string expression = utf8::ToCodePoints(m_expression);
  m_program = std::make_unique<detail::TProgram>(detail::CompileExpression(detail::ParseExpression(expression)));
}

bool TRegexEngine::Exec(const std::string& input) {
  m_input = input;
  return Start(m_input);
}

bool TRegexEngine::Start(std::string_view input) {
  // Whatever is raised below, no earlier match may survive to be read.
  m_found = false;
  Compile();
  if (input.empty()) detail::ThrowExecError(TRegexErrorCode::NoInputString);
  m_subject->Reset(input);
  return Search(0, true);
}

bool TRegexEngine::ExecNext() {
  if (!m_searched) detail::ThrowExecError(TRegexErrorCode::ExecNextWithoutExec);
  if (!m_found) return false;
  const uint32_t start = m_captures[0];
  const uint32_t end = m_captures[1];
  return Search(end == start ? end + 1 : end, false);
}

bool TRegexEngine::Search(std::size_t from, bool fresh) {
  m_searched = true;
  m_found = false;  // stays so when the search raises
  m_found = m_matcher->Search(*m_program, *m_subject, from, fresh, m_captures);
  return m_found;
}

std::optional<std::pair<uint32_t, uint32_t>> TRegexEngine::GroupSpan(int group) const {
  if (!m_found || group < 0 || group > kMaxGroup) return std::nullopt;
  const std::size_t at = 2 * static_cast<std::size_t>(group);
  const uint32_t start = m_captures[at];
  const uint32_t end = m_captures[at + 1];
  if (start == kUnset || end == kUnset) return std::nullopt;
  return std::pair{start, end};
}

int TRegexEngine::MatchPos(int group) const {
  const auto span = GroupSpan(group);
  return span ? static_cast<int>(span->first) + 1 : -1;
}

int TRegexEngine::MatchLen(int group) const {
  const auto span = GroupSpan(group);
  return span ? static_cast<int>(span->second - span->first) : -1;
}

bool TRegexEngine::GroupBytes(int group, std::size_t& begin, std::size_t& end) const {
  const auto span = GroupSpan(group);
  if (!span) return false;
  begin = m_subject->ByteOffset(span->first);
  end = m_subject->ByteOffset(span->second);
  return true;
}

std::string TRegexEngine::Match(int group) const {
  std::size_t begin = 0;
  std::size_t end = 0;
  return GroupBytes(group, begin, end) ? std::string(m_subject->Bytes().substr(begin, end - begin)) : std::string();
}

std::string TRegexEngine::Replace(const std::string& input, const std::string& tmpl, bool substitute) {
  // Searches the caller's text in place: when this returns, no match is recorded, so
  // nothing reads the view after the text has gone.
  std::string out;
  out.reserve(input.size() + tmpl.size());
  std::size_t copyFrom = 0;
  const std::vector<detail::TTemplatePiece>* pieces = nullptr;
  for (bool found = Start(input); found; found = ExecNext()) {
    const std::size_t matchBegin = m_subject->ByteOffset(m_captures[0]);
    out.append(input, copyFrom, matchBegin - copyFrom);
    if (substitute) {
      if (!pieces) pieces = &m_template->PiecesOf(tmpl);
      AppendSubstituted(out, tmpl, *pieces);
    } else {
      out += tmpl;
    }
    copyFrom = m_subject->ByteOffset(m_captures[1]);
  }
  out.append(input, copyFrom, std::string::npos);
  return out;
}

}  // namespace qx
