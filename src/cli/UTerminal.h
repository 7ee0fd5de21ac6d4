// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's way of talking to the user: messages on stderr, Yes/No
// questions answered on the terminal. When stderr is marked as a terminal
// (UTerminalText.h), the names in them are shown escaped.
#pragma once

#include <iosfwd>

#include "platform/UMessages.h"

namespace qx::cli {

class TTerminalMessages : public TMessageHost {
 public:
  TTerminalMessages(std::istream& in, std::ostream& err) : m_in(in), m_err(err) {}
  void ShowMessage(const std::string& text) override;
  // Asks "text [y/N] " and reads one line; anything but y or yes is No.
  bool Confirm(const std::string& text) override;

 private:
  std::istream& m_in;
  std::ostream& m_err;
};

}  // namespace qx::cli
