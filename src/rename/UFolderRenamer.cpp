#include "rename/UFolderRenamer.h"

#include <cerrno>

#include "platform/USystemError.h"
#include "platform/UUnicode.h"

namespace qx {

std::string TRenameFolder::Key(const std::string& name) const { return m_ignoresCase ? unicode::FoldCase(name) : name; }

TFolderRenamer::TFolderRenamer(TRenameFolder& folder, TRenameOutcomes& outcomes, const std::vector<std::string>& names)
    : m_folder(folder), m_outcomes(outcomes), m_names(names) {
  m_entries.reserve(names.size());
  for (const std::string& name : names) m_entries.push_back({name, {}});
}

void TFolderRenamer::Rename(std::size_t entry, const std::string& newName) {
  m_entries[entry].wanted = newName;
  Attempt(entry);
}

void TFolderRenamer::Keep(std::size_t entry) {
  TEntry& e = m_entries[entry];
  e.state = TState::Stays;
  NoLongerMovable(e.current);
  Hand(e.current, false);
}

const std::size_t* TFolderRenamer::MovableHolder(const std::string& key) {
  if (!m_movableKnown) {
    m_movableKnown = true;
    for (std::size_t entry = 0; entry < m_entries.size(); ++entry) {
      const TState state = m_entries[entry].state;
      if (state == TState::Waiting || state == TState::Pending) {
        m_movable.emplace(m_folder.Key(m_entries[entry].current), entry);
      }
    }
  }
  const auto holder = m_movable.find(key);
  return holder == m_movable.end() ? nullptr : &holder->second;
}

void TFolderRenamer::NoLongerMovable(const std::string& name) {
  if (m_movableKnown) m_movable.erase(m_folder.Key(name));
}

void TFolderRenamer::Attempt(std::size_t entry) {
  TEntry& e = m_entries[entry];
  std::string key;
  const std::size_t* holder = nullptr;
  if (m_movableKnown) holder = MovableHolder(key = m_folder.Key(e.wanted));
  // A name held by another entry that may still move is not even tried: the file
  // system could only refuse it.
  std::optional<TRenameFailure> failure;
  if (!holder || *holder == entry) {
    failure = m_folder.Rename(e.current, e.wanted);
    if (!failure) return Moved(entry);
    if (failure->error != EEXIST) return Fail(entry, failure->reason);
    if (!m_movableKnown) key = m_folder.Key(e.wanted);
    holder = MovableHolder(key);
  }
  // Taken: wait for the name if an entry that may still move holds it, unless another
  // entry waits for it already.
  if (holder && *holder != entry && !m_waiting.count(key)) {
    e.state = TState::Pending;
    m_waiting.emplace(key, entry);
    return;
  }
  Fail(entry, failure ? failure->reason : ErrorText(EEXIST));
}

void TFolderRenamer::Moved(std::size_t entry) {
  TEntry& e = m_entries[entry];
  std::string freed = std::move(e.current);
  NoLongerMovable(freed);
  e.current = std::move(e.wanted);
  e.state = TState::Done;
  m_outcomes.Renamed(entry);
  Hand(freed, true);
}

void TFolderRenamer::Fail(std::size_t entry, const std::string& reason) {
  TEntry& e = m_entries[entry];
  NoLongerMovable(e.current);
  std::string why = reason;
  // Caught at a temporary name by a cycle that could not close: back to its own name.
  const std::string& old = m_names[entry];
  if (e.current != old) {
    if (m_folder.Rename(e.current, old)) {
      why += "; it is left named " + e.current;
    } else {
      m_outcomes.Step("* Renaming back " + e.current + " to " + old);
      e.current = old;
    }
  }
  e.state = TState::Stays;
  m_outcomes.Failed(entry, why);
  Hand(e.current, false);
}

void TFolderRenamer::Hand(const std::string& name, bool freed) {
  if (m_waiting.empty()) return;  // nobody to tell
  m_work.emplace_back(name, freed);
  if (m_working) return;
  m_working = true;
  while (!m_work.empty()) {
    const auto [handed, isFree] = std::move(m_work.back());
    m_work.pop_back();
    const auto waiter = m_waiting.find(m_folder.Key(handed));
    if (waiter == m_waiting.end()) continue;
    const std::size_t entry = waiter->second;
    m_waiting.erase(waiter);
    TEntry& e = m_entries[entry];
    if (!isFree) {
      Fail(entry, ErrorText(EEXIST));
      continue;
    }
    const std::string from = e.current;
    if (const auto failure = m_folder.Rename(from, e.wanted)) {
      Fail(entry, failure->reason);
      continue;
    }
    m_outcomes.Step("* Renaming " + from + " to " + e.wanted + " (its new name is free now)");
    Moved(entry);
  }
  m_working = false;
}

void TFolderRenamer::Finish() {
  // What still waits now waits in a circle: each for a name another waiting entry holds.
  for (std::size_t entry = 0; entry < m_entries.size(); ++entry) {
    if (m_entries[entry].state == TState::Pending) MoveToTemporary(entry);
  }
}

// Steps out of the circle through a name of our own; the others then follow one after
// the other, and the last frees the name this entry waits for.
void TFolderRenamer::MoveToTemporary(std::size_t entry) {
  TEntry& e = m_entries[entry];
  for (;;) {
    const std::string temporary = ".quillex-cycle-" + std::to_string(m_temporaries++);
    const auto failure = m_folder.Rename(e.current, temporary);
    if (failure && failure->error == EEXIST) continue;
    if (failure) {
      m_waiting.erase(m_folder.Key(e.wanted));
      return Fail(entry, failure->reason);
    }
    m_outcomes.Step("* Renaming " + e.current + " to the temporary name " + temporary);
    const std::string freed = e.current;
    NoLongerMovable(freed);
    m_movable.emplace(m_folder.Key(temporary), entry);
    e.current = temporary;
    return Hand(freed, true);
  }
}

}  // namespace qx
