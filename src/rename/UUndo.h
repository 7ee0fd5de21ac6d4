// SPDX-License-Identifier: GPL-3.0-or-later
// Undo: the renames recorded in undo files are taken back, latest first, and the files
// are consumed. One folder, or a whole tree in one step.
#pragma once

#include <cstdint>
#include <string>

#include "platform/UMessages.h"

namespace qx {

class TRenameRecorder;

struct TUndoOutcome {
  bool ran = false;  // false when it stopped before renaming anything
  std::int32_t renamed = 0;
  // Everything that failed: pairs, folders, an undo file that could not be used; a stop
  // for want of a folder or an undo file counts too. A declined question is no error.
  std::int32_t errors = 0;
};

// Undo of one folder: asks first (with the number of renames), renames each recorded
// pair back (latest first, so chains of renames unwind), never replaces an entry and
// never takes a pair that names something other than an entry of this folder, removes
// the undo file when all went well (or when the user says so after errors) if it is
// still the file that was read, and reports the counts. Every text goes through
// `messages`.
TUndoOutcome UndoDirectory(const std::string& path, TMessageHost& messages);
// The same, each rename told to `recorder` first.
TUndoOutcome UndoDirectoryRecorded(const std::string& path, TMessageHost& messages, TRenameRecorder& recorder);

// Undo of every undo file in the tree below `path`, as the tree is now: each folder's
// contents before the parent's file that renames the folder itself back. One question
// first with the total, one report at the end; a folder's file is kept when any of its
// pairs failed, so they can be tried again.
TUndoOutcome UndoTree(const std::string& path, TMessageHost& messages);

}  // namespace qx
