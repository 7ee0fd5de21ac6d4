// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's way of talking to the user: messages on stderr, Yes/No
// questions answered on the terminal. When stderr is marked as a terminal
// (UTerminalText.h), the names in them are shown escaped.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "platform/UMessages.h"

namespace qx::cli {

class TTerminalMessages : public TMessageHost {
 public:
  TTerminalMessages(std::istream& in, std::ostream& err) : m_in(in), m_err(err) {}
  void ShowMessage(const std::string& text) override;
  // Asks "text [y/N] " and reads one line; anything but y or yes is No.
  bool Confirm(const std::string& text) override;
  // Asks "question [y]es, [n]o, [a]ll, [q]uit " and reads one line: y or yes, a or all
  // (Yes to All), q or quit (Cancel, as the desktop's Cancel stops the run); anything
  // else is No. With no more input the run is cancelled rather than asked on in vain.
  TRenameAnswer AskRename(const std::string& question) override;

  // A progress line on the error output, replaced by the next one; cleared before
  // anything else is written there, so a question or a message never runs into it.
  void ShowProgress(const std::string& line);
  void ClearProgress();

 private:
  // Asks "text choices " and reads one line; nothing when the input has ended.
  std::optional<std::string> Ask(const std::string& text, const char* choices);

  std::istream& m_in;
  std::ostream& m_err;
  bool m_progressShown = false;
};

}  // namespace qx::cli
