#include "rename/URenameFolders.h"

#include <cerrno>

#include "platform/USystemError.h"
#include "platform/UUndoFile.h"

namespace qx {

TPictureFolder::TPictureFolder(const std::vector<TDirEntry>& entries, bool undoFile, bool ignoresCase)
    : TRenameFolder(ignoresCase) {
  m_keys.reserve(entries.size() + 1);
  for (const TDirEntry& entry : entries) m_keys.insert(Key(entry.name));
  if (undoFile) m_keys.insert(Key(kUndoFileName));
}

std::optional<TRenameFailure> TPictureFolder::Rename(const std::string& from, const std::string& to) {
  const std::string fromKey = Key(from), toKey = Key(to);
  if (!m_keys.count(fromKey)) return TRenameFailure{ENOENT, ErrorText(ENOENT)};
  // A change of letter case only, where case is ignored, keeps the one entry.
  if (toKey == fromKey) return std::nullopt;
  if (m_keys.count(toKey)) return TRenameFailure{EEXIST, ErrorText(EEXIST)};
  m_keys.erase(fromKey);
  m_keys.insert(toKey);
  return std::nullopt;
}

TRealFolder::TRealFolder(const TDirectory& directory, TUndoFileWriter* undo, const std::vector<TDirEntry>& entries,
                         bool ignoresCase)
    : TRenameFolder(ignoresCase), m_directory(directory), m_undo(undo) {
  if (undo) m_picture.emplace(entries, false, ignoresCase);
}

std::optional<TRenameFailure> TRealFolder::Rename(const std::string& from, const std::string& to) {
  if (m_picture) {
    if (auto taken = m_picture->Rename(from, to)) return taken;
  }
  try {
    m_directory.RenameNoReplace(from, to, m_undo);
    return std::nullopt;
  } catch (const TUndoFileError&) {
    throw;
  } catch (const TSystemError& error) {
    if (m_picture) m_picture->Rename(to, from);  // it did not happen
    return TRenameFailure{error.Errno(), error.Reason()};
  }
}

}  // namespace qx
