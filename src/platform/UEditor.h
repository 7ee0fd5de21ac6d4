// SPDX-License-Identifier: GPL-3.0-or-later
// The user's own text editor, for a text Quillex hands over and reads back.
#pragma once

#include <optional>
#include <string>

namespace qx {

// The editor the user chose: $VISUAL, else $EDITOR, else "editor" (the system's choice).
std::string ChosenEditor();

// Writes `text` to a file only the user may read, runs `editor` on it through the shell
// (so that "code --wait" or "vim -u NONE" work), waits for it and returns what the file
// then holds; nothing, with why in `why`, when the editor did not end well (it could not
// be started, was killed, or ended with a status other than 0, as ":cq" does). The file
// is removed either way. Throws TSystemError when it cannot be written or read.
std::optional<std::string> EditInEditor(const std::string& editor, const std::string& text, std::string& why);

}  // namespace qx
