// SPDX-License-Identifier: GPL-3.0-or-later
// The two folders a step's renames are made in: the real one, each step recorded in the
// undo file first, and the simulation's picture of it, a set of names that behaves as
// the folder would, so a simulation fails exactly where the real run would.
#pragma once

#include <cstddef>
#include <optional>

#include "platform/UDirectory.h"
#include "rename/UFolderRenamer.h"
#include "rename/UKeyIndex.h"

namespace qx {

class TUndoFileWriter;

class TPictureFolder : public TRenameFolder {
 public:
  // Everything the folder holds: the first `listed` names of `arena`, hidden entries and
  // the undo file included; with `undoFile`, the undo file the real run would make too.
  TPictureFolder(TNameArena& arena, std::size_t listed, bool undoFile, bool ignoresCase);
  TPictureFolder(const TPictureFolder&) = delete;  // its index finds keys through this object
  TPictureFolder& operator=(const TPictureFolder&) = delete;
  std::optional<TRenameFailure> Rename(TNameId from, TNameId to) override;

 private:
  TKeyIndex m_present;  // the key of each name present -> the name's id
};

// The real folder. With undo on, it keeps a picture of the folder too, so a name found
// taken there is refused without a step recorded first: a step that could only fail
// must not stand in the undo file should the program die between recording and trying.
class TRealFolder : public TRenameFolder {
 public:
  // `undo` may be null (undo off); the first `listed` names of `arena` are the folder's
  // listing. `directory`, `arena` and `undo` must outlive this object.
  TRealFolder(const TDirectory& directory, TUndoFileWriter* undo, TNameArena& arena, std::size_t listed,
              bool ignoresCase);
  // A failing undo file is no failure of one rename: its TUndoFileError goes on up.
  std::optional<TRenameFailure> Rename(TNameId from, TNameId to) override;

 private:
  const TDirectory& m_directory;
  TUndoFileWriter* m_undo;
  std::optional<TPictureFolder> m_picture;
};

}  // namespace qx
