// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/URenameFolders.h"

#include <cerrno>

#include "platform/USystemError.h"
#include "platform/UUndoFile.h"

namespace qx {

TPictureFolder::TPictureFolder(TNameArena& arena, std::size_t listed, bool undoFile, bool ignoresCase)
    : TRenameFolder(arena, ignoresCase),
      m_present([this](std::uint32_t name, std::string& buffer) { return Key(name, buffer); }, listed + 1) {
  std::string buffer;
  for (TNameId name = 0; name < listed; ++name) m_present.Insert(Key(name, buffer), name);
  if (undoFile) {
    const TNameId undo = Arena().Add(kUndoFileName);
    m_present.Insert(Key(undo, buffer), undo);
  }
}

std::optional<TRenameFailure> TPictureFolder::Rename(TNameId from, TNameId to) {
  std::string fromBuffer, toBuffer;
  const std::string_view fromKey = Key(from, fromBuffer), toKey = Key(to, toBuffer);
  if (!m_present.Find(fromKey)) return TRenameFailure{ENOENT, ErrorText(ENOENT)};
  // A change of letter case only, where case is ignored, keeps the one entry.
  if (toKey == fromKey) return std::nullopt;
  if (m_present.Find(toKey)) return TRenameFailure{EEXIST, ErrorText(EEXIST)};
  m_present.Erase(fromKey);
  m_present.Insert(toKey, to);
  return std::nullopt;
}

TRealFolder::TRealFolder(const TDirectory& directory, TUndoFileWriter* undo, TNameArena& arena, std::size_t listed,
                         bool ignoresCase)
    : TRenameFolder(arena, ignoresCase), m_directory(directory), m_undo(undo) {
  if (undo) m_picture.emplace(arena, listed, false, ignoresCase);
}

std::optional<TRenameFailure> TRealFolder::Rename(TNameId from, TNameId to) {
  if (m_picture) {
    if (auto taken = m_picture->Rename(from, to)) return taken;
  }
  try {
    m_directory.RenameNoReplace(std::string(Arena().View(from)), std::string(Arena().View(to)), m_undo);
    return std::nullopt;
  } catch (const TUndoFileError&) {
    throw;
  } catch (const TSystemError& error) {
    if (m_picture) m_picture->Rename(to, from);  // it did not happen
    return TRenameFailure{error.Errno(), error.Reason()};
  }
}

}  // namespace qx
