// The two folders a step's renames are made in: the real one, each step recorded in the
// undo file first, and the simulation's picture of it, a set of names that behaves as
// the folder would, so a simulation fails exactly where the real run would.
#pragma once

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/UDirectory.h"
#include "rename/UFolderRenamer.h"

namespace qx {

class TUndoFileWriter;

class TPictureFolder : public TRenameFolder {
 public:
  // `entries`: everything the folder holds, hidden entries and the undo file included;
  // with `undoFile`, the undo file the real run would make too.
  TPictureFolder(const std::vector<TDirEntry>& entries, bool undoFile, bool ignoresCase);
  std::optional<TRenameFailure> Rename(const std::string& from, const std::string& to) override;

 private:
  std::unordered_set<std::string> m_keys;
};

// The real folder. With undo on, it keeps a picture of the folder too, so a name found
// taken there is refused without a step recorded first: a step that could only fail
// must not stand in the undo file should the program die between recording and trying.
class TRealFolder : public TRenameFolder {
 public:
  // `undo` may be null (undo off); `entries` is the folder's listing. `directory` and
  // `undo` must outlive this object.
  TRealFolder(const TDirectory& directory, TUndoFileWriter* undo, const std::vector<TDirEntry>& entries,
              bool ignoresCase);
  // A failing undo file is no failure of one rename: its TUndoFileError goes on up.
  std::optional<TRenameFailure> Rename(const std::string& from, const std::string& to) override;

 private:
  const TDirectory& m_directory;
  TUndoFileWriter* m_undo;
  std::optional<TPictureFolder> m_picture;
};

}  // namespace qx
