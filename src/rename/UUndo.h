// Undo of one directory: the renames recorded in its undo file are taken back, and
// the file is consumed. Never descends; each directory has its own undo file.
#pragma once

#include <cstdint>
#include <string>

#include "platform/UMessages.h"

namespace qx {

struct TUndoOutcome {
  bool ran = false;  // false when it stopped before renaming anything
  std::int32_t renamed = 0;
  std::int32_t errors = 0;
};

// Asks first, renames each recorded pair back (latest first, so chains of renames
// unwind), never replaces an entry, deletes the undo file when all went well (or when
// the user says so after errors) and reports the counts. Every text goes through
// `messages`.
TUndoOutcome UndoDirectory(const std::string& path, TMessageHost& messages);

}  // namespace qx
