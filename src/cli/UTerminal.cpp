// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/UTerminal.h"

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include "cli/UTerminalText.h"
#include "platform/UValueText.h"

namespace qx::cli {

namespace {

// Messages are written for message boxes with CR LF line breaks; a terminal wants LF.
// The lines between them carry names, so each is shown as a text of its own.
std::string ForTerminal(const std::string& text, std::ostream& err) {
  std::string shown;
  for (std::size_t from = 0;;) {
    const std::size_t at = text.find("\r\n", from);
    shown += ShownOn(err, std::string_view(text).substr(from, at - from));
    if (at == std::string::npos) return shown;
    shown += '\n';
    from = at + 2;
  }
}

// The short or the long word, in any case.
bool IsAnswer(const std::optional<std::string>& answer, std::string_view letter, std::string_view word) {
  return answer && (EqualIgnoringAsciiCase(*answer, letter) || EqualIgnoringAsciiCase(*answer, word));
}

}  // namespace

void TTerminalMessages::ShowMessage(const std::string& text) {
  ClearProgress();
  m_err << ForTerminal(text, m_err) << '\n' << std::flush;
}

void TTerminalMessages::ShowProgress(const std::string& line) {
  m_err << "\r\033[K" << line << std::flush;
  m_progressShown = true;
}

void TTerminalMessages::ClearProgress() {
  if (std::exchange(m_progressShown, false)) m_err << "\r\033[K" << std::flush;
}

std::optional<std::string> TTerminalMessages::Ask(const std::string& text, const char* choices) {
  ClearProgress();
  m_err << ForTerminal(text, m_err) << ' ' << choices << ' ' << std::flush;
  std::string answer;
  if (!std::getline(m_in, answer)) return std::nullopt;
  return answer;
}

bool TTerminalMessages::Confirm(const std::string& text) { return IsAnswer(Ask(text, "[y/N]"), "y", "yes"); }

TRenameAnswer TTerminalMessages::AskRename(const std::string& question) {
  const auto answer = Ask(question, "[y]es, [n]o, [a]ll, [q]uit");
  if (!answer || IsAnswer(answer, "q", "quit")) return TRenameAnswer::Cancel;
  if (IsAnswer(answer, "y", "yes")) return TRenameAnswer::Yes;
  if (IsAnswer(answer, "a", "all")) return TRenameAnswer::YesToAll;
  return TRenameAnswer::No;
}

}  // namespace qx::cli
