// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's view of the desktop program's settings: quillex.ini is read for
// the defaults of the options that mirror it, and never written.
#pragma once

#include <iosfwd>
#include <string>

#include "rename/URunOptions.h"

namespace qx::cli {

struct TCliDefaults {
  TRunOptions run;             // everything but the starting directory
  std::string defaultJobList;  // quillex_job_config.xml in the settings folder
  std::string settingsFile;    // the quillex.ini read
};

// Reads quillex.ini in `configDir` ("" for the settings folder Quillex uses). A file
// that is missing gives the program's defaults; a value that cannot be read is
// reported on `err` and keeps its default. The folders at once are the desktop's
// setting, kDefaultParallelFolders without one.
TCliDefaults LoadCliDefaults(const std::string& configDir, std::ostream& err);

}  // namespace qx::cli
