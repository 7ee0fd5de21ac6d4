// SPDX-License-Identifier: GPL-3.0-or-later
// Where Quillex keeps its settings file and default job list, and where it finds
// its help. One place decides, so the desktop program and the command line agree.
#pragma once

#include <string>

namespace qx {

inline constexpr const char* kSettingsFileName = "quillex.ini";
inline constexpr const char* kDefaultJobListFileName = "quillex_job_config.xml";

// The running program's file, absolute; "" when it cannot be told.
std::string ProgramFile();

// The directory of the running program, with its trailing '/'.
std::string ProgramDir();

// The folder of quillex.ini and quillex_job_config.xml, with its trailing '/':
// $XDG_CONFIG_HOME/quillex/ (default ~/.config/quillex/), unless a quillex.ini already
// sits beside the program, which asks for a portable setup. It is not created here.
std::string SettingsDir();
// The same choice for a program in `programDir` (with its trailing '/').
std::string SettingsDirFor(const std::string& programDir);

// An XDG base folder with its trailing '/': the variable's value when it is an absolute
// path, otherwise `belowHome` (e.g. ".config/") below $HOME.
std::string XdgBaseDir(const char* variable, const char* belowHome);

// `dir` with a trailing '/' added when it lacks one ("" stays "").
std::string WithTrailingSlash(std::string dir);

// Creates `dir` and its missing parents, each readable by its owner only, as the XDG
// base folders ask of what a program makes for its own files. Throws TSystemError when
// that fails.
void EnsureDirectory(const std::string& dir);

}  // namespace qx
