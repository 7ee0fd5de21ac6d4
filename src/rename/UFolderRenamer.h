// SPDX-License-Identifier: GPL-3.0-or-later
// The renames of one step in one folder (its subdirectories, or its files), made in the
// order the run takes the entries. A rename whose new name is held by an entry of the
// same step that moves away later waits until the name is free, so shifts (file1 ->
// file2, file2 -> file3) work in any order; a cycle (a -> b, b -> a) goes through a
// temporary name. The same steps run against the real folder and, in a simulation,
// against a picture of it, so the simulation predicts what the real run does. A folder
// may take an entry's rename at its turn and make it a few turns later with others; the
// entry is told renamed, or failed, once it is made, and anything that hangs on it
// waits until then.
// Names are ids in the visit's arena: a step of a million entries copies no name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/UDirectory.h"
#include "rename/UKeyIndex.h"
#include "rename/UNameArena.h"

namespace qx {

struct TRenameFailure {
  int error;           // errno; EEXIST when the new name is taken
  std::string reason;  // as the user reads it
};

// Where the renames are made: the real folder, or the simulation's picture of it.
class TRenameFolder {
 public:
  // What became of a rename offered at its entry's turn.
  enum class TOffer : std::uint8_t {
    Made,
    Failed,         // `failure` says why
    Taken,          // to be made by the next Settle, with the others taken
    AfterSettling,  // its outcome hangs on a rename taken before: nothing was done
  };

  // `arena` holds every name the folder's renames use, and must outlive this object.
  TRenameFolder(TNameArena& arena, TNameFolding folding) : m_arena(arena), m_folding(folding) {}
  virtual ~TRenameFolder() = default;
  // Renames now, without ever replacing an entry; nothing on success. Only with nothing
  // taken.
  virtual std::optional<TRenameFailure> Rename(TNameId from, TNameId to) = 0;
  // A folder that makes its renames in batches (the real one recording them, a batch's
  // records in one write) may take the rename for later; any other makes it now.
  virtual TOffer Offer(TNameId from, TNameId to, TRenameFailure& failure);
  // Makes the renames taken, in the order taken; `broken` hears of each that failed, by
  // its place in that order (from 0), and why.
  virtual void Settle(const std::function<void(std::size_t taken, const TRenameFailure& failure)>& broken);
  // The key two names share when the folder takes them for one: the name itself, or
  // where the file system folds names, the name folded its way into `buffer`.
  std::string_view Key(TNameId name, std::string& buffer) const;
  TNameArena& Arena() const { return m_arena; }

 private:
  TNameArena& m_arena;
  TNameFolding m_folding;
};

// Told what becomes of each entry, as it becomes known.
class TRenameOutcomes {
 public:
  virtual ~TRenameOutcomes() = default;
  // The entry has `name` now: its new name, or that name numbered where it was taken.
  virtual void Renamed(std::size_t entry, TNameId name) = 0;
  // `error` is the errno: EEXIST when the new name is taken.
  virtual void Failed(std::size_t entry, int error, const std::string& reason) = 0;
  // A step made apart from the entry's turn: a rename that waited, or a temporary name.
  virtual void Step(const std::string& line) = 0;
};

class TFolderRenamer {
 public:
  // `names`: the entries of the step, by their names now, in the run's order; they must
  // outlive the renamer.
  TFolderRenamer(TRenameFolder& folder, TRenameOutcomes& outcomes, const std::vector<TNameId>& names);
  TFolderRenamer(const TFolderRenamer&) = delete;  // its indexes find keys through this object
  TFolderRenamer& operator=(const TFolderRenamer&) = delete;

  // Entry `entry` is to be renamed to `newName`: now, or once the name is free.
  void Rename(std::size_t entry, TNameId newName);
  // Entry `entry` keeps its name (unchanged, refused, declined): whoever waits for it fails.
  void Keep(std::size_t entry);
  // From now on a new name found taken is numbered instead of failing: `format` with
  // its "%d" made 2, 3 ... goes before the name's extension, and the entry takes the
  // first such name that is free and no longer than `nameMax` bytes.
  void NumberTakenNames(std::string format, std::size_t nameMax) {
    m_numberFormat = std::move(format);
    m_nameMax = nameMax;
  }
  // Makes the renames the folder took for later; before a question, so that a rename
  // answered Yes is made before the next one is asked.
  void Settle();
  // After every entry had its turn: makes what waits and breaks the cycles that remain.
  void Finish();

  // The entry's name at the end: the new one if it was renamed, else the old one.
  TNameId NameOf(std::size_t entry) const { return m_entries[entry].current; }

 private:
  enum class TState : std::uint8_t { Waiting, Pending, Done, Stays };
  struct TEntry {
    TNameId current;
    TNameId wanted = TNameArena::kNoName;
    TState state = TState::Waiting;
  };

  std::string_view View(TNameId name) const { return m_folder.Arena().View(name); }
  std::string_view Key(TNameId name, std::string& buffer) const { return m_folder.Key(name, buffer); }
  // Tries the entry's rename at its turn; waits when an entry that may still move holds the name.
  void Attempt(std::size_t entry);
  // Offers the entry's rename to the folder, settling first when the folder asks to.
  TRenameFolder::TOffer Offer(std::size_t entry, TRenameFailure& failure);
  // A rename apart from an entry's turn: made now, after those taken.
  std::optional<TRenameFailure> RenameNow(TNameId from, TNameId to);
  // `taken`: the folder has yet to make it, so the entry is told renamed only then.
  void Moved(std::size_t entry, bool taken);
  void Fail(std::size_t entry, int error, const std::string& reason);
  // A rename that failed: one whose name is taken is numbered, when the run says so.
  void FailOrNumber(std::size_t entry, int error, const std::string& reason);
  // True once the entry has been handled with a numbered name (renamed, or failed for
  // another reason); false when there is no such name to take.
  bool TakeNumbered(std::size_t entry);
  // A name has been freed, or will stay held: whoever waits for it goes now, or fails.
  // Worked through a list, not recursion: a shift of many files is a chain as long.
  void Hand(TNameId name, bool freed);
  void MoveToTemporary(std::size_t entry);
  // The entry that holds `key` and may still move; the index of such entries is made
  // only once a name is found taken, so a step without conflicts never pays for it.
  const std::uint32_t* MovableHolder(std::string_view key);
  void NoLongerMovable(TNameId name);

  TRenameFolder& m_folder;
  TRenameOutcomes& m_outcomes;
  const std::vector<TNameId>& m_names;
  std::vector<TEntry> m_entries;
  bool m_movableKnown = false;
  TKeyIndex m_movable;                           // key of a name -> the entry that may still free it
  TKeyIndex m_waiting;                           // key of a name -> the entry that waits for it
  std::vector<std::pair<TNameId, bool>> m_work;  // names freed (true) or settled, to hand on
  bool m_working = false;
  int m_temporaries = 0;
  struct TTaken {
    std::uint32_t entry;
    TNameId from;
  };
  std::vector<TTaken> m_taken;  // the renames the folder took, in order, not made yet
  std::size_t m_batch = 1;      // how many may wait to be made together
  std::string m_numberFormat;   // empty: a name taken fails
  std::size_t m_nameMax = 0;
};

}  // namespace qx
