// SPDX-License-Identifier: GPL-3.0-or-later
// Where the Help menu leads: the local help file and the maker's web pages, each
// address in this one place. Opens nothing itself.
#pragma once

#include <QUrl>
#include <string>

#include "UVersion.h"

namespace qx {

inline constexpr QLatin1StringView kHomePageAddress("https://www.ostrelsoftware.com/");
inline constexpr QLatin1StringView kRegexSyntaxAddress("https://www.ostrelsoftware.com/quillex/regex.html");

// The home page followed by utils_3.asp?version=<kVersionText>.
QUrl UpdateCheckUrl();

// help/index.html beside the program when it is there, otherwise in `dataDir`, the
// installed data folder (both with their trailing '/'). Missing from both, the installed
// path: the browser says it is missing.
std::string QuickHelpFile(const std::string& programDir, const std::string& dataDir);

// The installed data folder with its trailing '/'.
std::string InstalledDataDir();

}  // namespace qx
