// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's place in the file managers' "Open With": a desktop entry in the
// user's applications folder. Writes that one file; registers no default application.
#pragma once

#include <string>

namespace qx {

inline constexpr const char* kShortcutFileName = "Quillex.desktop";
inline constexpr const char* kShortcutDescription = "Quillex";

// $XDG_DATA_HOME/applications/ (only an absolute XDG_DATA_HOME counts), otherwise
// $HOME/.local/share/applications/, always with a trailing '/'. The folder is created
// when missing; if that fails the path is still returned and CreateShortcut reports it.
std::string SendToFolder();

// The desktop entry that starts `target` with the chosen files and folders: Name is
// `description`, Exec the quoted target followed by %F. It names no file type, so that
// no desktop takes Quillex for what opens folders or files by default.
std::string DesktopEntry(const std::string& target, const std::string& description);

// Writes DesktopEntry(target, description) to `linkFile`, replacing it atomically.
// Zero on success, otherwise the errno of the failure.
int CreateShortcut(const std::string& target, const std::string& linkFile, const std::string& description);

}  // namespace qx
