// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/UTerminal.h"

#include <istream>
#include <ostream>
#include <string>

#include "cli/UTerminalText.h"

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

}  // namespace

void TTerminalMessages::ShowMessage(const std::string& text) {
  m_err << ForTerminal(text, m_err) << '\n' << std::flush;
}

bool TTerminalMessages::Confirm(const std::string& text) {
  m_err << ForTerminal(text, m_err) << " [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(m_in, answer)) return false;
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes" || answer == "YES";
}

}  // namespace qx::cli
