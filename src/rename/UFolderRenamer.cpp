#include "rename/UFolderRenamer.h"

#include <cerrno>

#include "platform/USystemError.h"
#include "platform/UUnicode.h"

namespace qx {

std::string TRenameFolder::Key(const std::string& name) const { return m_ignoresCase ? unicode::FoldCase(name) : name; }

TFolderRenamer::TFolderRenamer(TRenameFolder& folder, TRenameOutcomes& outcomes, std::vector<std::string> names)
    : m_folder(folder), m_outcomes(outcomes) {
  m_entries.reserve(names.size());
  for (std::string& name : names) {
    m_movable.emplace(m_folder.Key(name), m_entries.size());
    m_entries.push_back({name, std::move(name), {}});
  }
}

void TFolderRenamer::Rename(std::size_t entry, const std::string& newName) {
  m_entries[entry].wanted = newName;
  Attempt(entry);
}

void TFolderRenamer::Keep(std::size_t entry) {
  TEntry& e = m_entries[entry];
  e.state = TState::Stays;
  m_movable.erase(m_folder.Key(e.current));
  Hand(e.current, false);
}

void TFolderRenamer::Attempt(std::size_t entry) {
  TEntry& e = m_entries[entry];
  const std::string key = m_folder.Key(e.wanted);
  // Held by an entry that may still move: no need to ask the file system, which could
  // only refuse; wait for the name, unless another entry waits for it already.
  const auto holder = m_movable.find(key);
  if (holder != m_movable.end() && holder->second != entry) {
    if (m_waiting.count(key)) return Fail(entry, ErrorText(EEXIST));
    e.state = TState::Pending;
    m_waiting.emplace(key, entry);
    return;
  }
  if (const auto failure = m_folder.Rename(e.current, e.wanted)) return Fail(entry, failure->reason);
  Moved(entry);
}

void TFolderRenamer::Moved(std::size_t entry) {
  TEntry& e = m_entries[entry];
  const std::string freed = e.current;
  m_movable.erase(m_folder.Key(freed));
  e.current = e.wanted;
  e.state = TState::Done;
  m_outcomes.Renamed(entry);
  Hand(freed, true);
}

void TFolderRenamer::Fail(std::size_t entry, const std::string& reason) {
  TEntry& e = m_entries[entry];
  m_movable.erase(m_folder.Key(e.current));
  std::string why = reason;
  // Caught at a temporary name by a cycle that could not close: back to its own name.
  if (e.current != e.old) {
    if (m_folder.Rename(e.current, e.old)) {
      why += "; it is left named " + e.current;
    } else {
      m_outcomes.Step("* Renaming back " + e.current + " to " + e.old);
      e.current = e.old;
    }
  }
  e.state = TState::Stays;
  m_outcomes.Failed(entry, why);
  Hand(e.current, false);
}

void TFolderRenamer::Hand(const std::string& name, bool freed) {
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
    m_movable.erase(m_folder.Key(freed));
    m_movable.emplace(m_folder.Key(temporary), entry);
    e.current = temporary;
    return Hand(freed, true);
  }
}

}  // namespace qx
