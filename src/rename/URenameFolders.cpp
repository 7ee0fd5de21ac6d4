// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/URenameFolders.h"

#include <algorithm>
#include <cerrno>

#include "platform/USystemError.h"
#include "platform/UUndoFile.h"

namespace qx {

TPictureFolder::TPictureFolder(TNameArena& arena, std::size_t listed, bool undoFile, TNameFolding folding)
    : TRenameFolder(arena, folding),
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
                         TNameFolding folding)
    : TRenameFolder(arena, folding), m_directory(directory), m_undo(undo) {
  if (undo) m_picture.emplace(arena, listed, false, folding);
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

std::size_t TRealFolder::KeyHash(TNameId name) const {
  std::string buffer;
  return std::hash<std::string_view>{}(Key(name, buffer));
}

TRenameFolder::TOffer TRealFolder::Offer(TNameId from, TNameId to, TRenameFailure& failure) {
  // Without an undo file (and so without a picture) there is nothing to write ahead.
  if (!m_picture) return TRenameFolder::Offer(from, to, failure);
  const std::size_t fromHash = KeyHash(from), toHash = KeyHash(to);
  // Hashes only: two keys that merely share one make a batch end early, nothing worse.
  const bool hangsOnTaken = std::any_of(m_taken.begin(), m_taken.end(), [&](const TTaken& taken) {
    return taken.fromHash == toHash || taken.toHash == fromHash;
  });
  // A change of letter case where case is ignored steps through a temporary name,
  // recorded step by step: it is made alone.
  const bool caseOnly = fromHash == toHash;
  if (!m_taken.empty() && (hangsOnTaken || caseOnly)) return TOffer::AfterSettling;
  if (caseOnly) return TRenameFolder::Offer(from, to, failure);
  if (auto refused = m_picture->Rename(from, to)) {
    // A rename taken before may yet fail and leave the name free.
    if (!m_taken.empty()) return TOffer::AfterSettling;
    failure = std::move(*refused);
    return TOffer::Failed;
  }
  m_taken.push_back({from, to, fromHash, toHash});
  return TOffer::Taken;
}

void TRealFolder::Settle(const std::function<void(std::size_t taken, const TRenameFailure& failure)>& broken) {
  if (m_taken.empty() || !m_picture) return;
  TPictureFolder& picture = *m_picture;
  std::vector<TTaken> taken;
  taken.swap(m_taken);
  std::vector<TRenameStep> steps;
  steps.reserve(taken.size());
  for (const TTaken& rename : taken) {
    steps.push_back({std::string(Arena().View(rename.from)), std::string(Arena().View(rename.to))});
  }
  m_directory.RenameAll(steps, *m_undo, [&](std::size_t i, const TSystemError& error) {
    picture.Rename(taken[i].to, taken[i].from);  // it did not happen
    broken(i, TRenameFailure{error.Errno(), error.Reason()});
  });
}

}  // namespace qx
