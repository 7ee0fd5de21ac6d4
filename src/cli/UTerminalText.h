// SPDX-License-Identifier: GPL-3.0-or-later
// Texts from names, job lists and the user, made fit to show on a terminal: control
// characters are shown escaped, so a name cannot retitle, clear or otherwise drive the
// user's terminal. A stream that is no terminal (a pipe, a file) gets every byte as it is.
#pragma once

#include <ios>
#include <string>
#include <string_view>

namespace qx::cli {

// `text` with every control character escaped: \a \b \t \n \v \f \r \e for those, \xNN
// for the other C0 controls and DEL, \u{0080}..\u{009F} for the C1 controls, and \xNN
// for a byte 0x80..0x9F that is not part of a valid UTF-8 sequence (8-bit terminals
// take it for a C1 control). Everything else, invalid UTF-8 included, is kept.
std::string TerminalSafe(std::string_view text);

// `text` with each C0 control character and DEL shown as its Unicode control picture
// (a line feed as U+240A, a tab as U+2409, DEL as U+2421): one line stays one line, and
// the picture cannot be taken for a regular expression's \n.
std::string WithControlPictures(std::string_view text);

// Records on `stream` whether it shows on a terminal; a stream never marked does not.
void MarkTerminal(std::ios_base& stream, bool isTerminal);
bool ShowsOnTerminal(std::ios_base& stream);

// `text` as `stream` should carry it: TerminalSafe(text) on a terminal, else unchanged.
std::string ShownOn(std::ios_base& stream, std::string_view text);

}  // namespace qx::cli
