#include "cli/UTerminal.h"

#include <istream>
#include <ostream>
#include <string>

namespace qx::cli {

namespace {

// Messages are written for message boxes with CR LF line breaks; a terminal wants LF.
std::string WithTerminalLineEnds(std::string text) {
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.erase(at, 1);
  return text;
}

}  // namespace

void TTerminalMessages::ShowMessage(const std::string& text) {
  ++m_messageCount;
  m_err << WithTerminalLineEnds(text) << '\n' << std::flush;
}

bool TTerminalMessages::Confirm(const std::string& text) {
  m_err << WithTerminalLineEnds(text) << " [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(m_in, answer)) return false;
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes" || answer == "YES";
}

}  // namespace qx::cli
