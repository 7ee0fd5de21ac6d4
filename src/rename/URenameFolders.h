// SPDX-License-Identifier: GPL-3.0-or-later
// The two folders a step's renames are made in: the real one, each step recorded in the
// undo file first, and the simulation's picture of it, a set of names that behaves as
// the folder would, so a simulation fails exactly where the real run would.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "platform/UDirectory.h"
#include "rename/UFolderRenamer.h"
#include "rename/UKeyIndex.h"

namespace qx {

class TUndoFileWriter;

class TPictureFolder : public TRenameFolder {
 public:
  // Everything the folder holds: the first `listed` names of `arena`, hidden entries and
  // the undo file included; with `undoFile`, the undo file the real run would make too.
  TPictureFolder(TNameArena& arena, std::size_t listed, bool undoFile, TNameFolding folding);
  TPictureFolder(const TPictureFolder&) = delete;  // its index finds keys through this object
  TPictureFolder& operator=(const TPictureFolder&) = delete;
  std::optional<TRenameFailure> Rename(TNameId from, TNameId to) override;

 private:
  TKeyIndex m_present;  // the key of each name present -> the name's id
};

// The real folder. With undo on, it keeps a picture of the folder too, so a name found
// taken there is refused without a step recorded first: a step that could only fail
// must not stand in the undo file should the program die between recording and trying.
// With undo on it also takes the renames offered at the entries' turns and makes them
// in batches, each batch's records written in one go before its first rename. A batch
// holds only renames that do not hang on each other (none takes a name another frees,
// none moves an entry another named), so when the program dies part-way through one,
// the records of those not yet made name new names that do not exist, which Undo
// passes over, whichever were made.
class TRealFolder : public TRenameFolder {
 public:
  // `undo` may be null (undo off); the first `listed` names of `arena` are the folder's
  // listing. `directory`, `arena` and `undo` must outlive this object.
  TRealFolder(const TDirectory& directory, TUndoFileWriter* undo, TNameArena& arena, std::size_t listed,
              TNameFolding folding);
  // A failing undo file is no failure of one rename: its TUndoFileError goes on up, and
  // the renames of a batch it could not record are not made.
  std::optional<TRenameFailure> Rename(TNameId from, TNameId to) override;
  TOffer Offer(TNameId from, TNameId to, TRenameFailure& failure) override;
  void Settle(const std::function<void(std::size_t taken, const TRenameFailure& failure)>& broken) override;

 private:
  struct TTaken {
    TNameId from, to;
    std::size_t fromHash, toHash;  // of their keys
  };

  std::size_t KeyHash(TNameId name) const;

  const TDirectory& m_directory;
  TUndoFileWriter* m_undo;
  std::optional<TPictureFolder> m_picture;  // with undo on: the folder once the renames taken are made
  std::vector<TTaken> m_taken;
};

}  // namespace qx
