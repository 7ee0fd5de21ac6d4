// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UFolderRenamer.h"

#include <algorithm>
#include <cerrno>

#include "platform/USystemError.h"
#include "platform/UUnicode.h"

namespace qx {

namespace {

// The most renames that wait to be made together: their records cost one write where
// each rename costs one system call, so beyond this the write no longer counts, while a
// failure the file system reports comes this many turns late at most.
constexpr std::size_t kMostTaken = 64;

// The most numbers tried for a name that is taken.
constexpr int kMostNumbers = 9999;

}  // namespace

std::string_view TRenameFolder::Key(TNameId name, std::string& buffer) const {
  switch (m_folding) {
    case TNameFolding::exact: return m_arena.View(name);
    case TNameFolding::simpleCase: buffer = unicode::FoldCase(m_arena.View(name)); break;
    case TNameFolding::canonical: buffer = unicode::FoldCaseCanonically(m_arena.View(name)); break;
  }
  return buffer;
}

TRenameFolder::TOffer TRenameFolder::Offer(TNameId from, TNameId to, TRenameFailure& failure) {
  auto failed = Rename(from, to);
  if (!failed) return TOffer::Made;
  failure = std::move(*failed);
  return TOffer::Failed;
}

void TRenameFolder::Settle(const std::function<void(std::size_t taken, const TRenameFailure& failure)>&) {}

TFolderRenamer::TFolderRenamer(TRenameFolder& folder, TRenameOutcomes& outcomes, const std::vector<TNameId>& names)
    : m_folder(folder),
      m_outcomes(outcomes),
      m_names(names),
      m_movable([this](std::uint32_t entry, std::string& buffer) { return Key(m_entries[entry].current, buffer); }),
      m_waiting([this](std::uint32_t entry, std::string& buffer) { return Key(m_entries[entry].wanted, buffer); }) {
  m_entries.reserve(names.size());
  for (const TNameId name : names) m_entries.push_back({name});
}

void TFolderRenamer::Rename(std::size_t entry, TNameId newName) {
  m_entries[entry].wanted = newName;
  Attempt(entry);
  if (m_taken.size() < m_batch) return;
  // Batches grow from one, so a folder of a few files waits for nothing and costs no
  // more writes than renames.
  m_batch = std::min(2 * m_batch, kMostTaken);
  Settle();
}

void TFolderRenamer::Settle() {
  if (m_taken.empty()) return;
  std::vector<TTaken> taken;
  taken.swap(m_taken);
  std::vector<std::pair<std::size_t, TRenameFailure>> broken;
  m_folder.Settle([&broken](std::size_t i, const TRenameFailure& failure) { broken.emplace_back(i, failure); });
  auto next = broken.begin();
  for (std::size_t i = 0; i < taken.size(); ++i) {
    const std::size_t entry = taken[i].entry;
    if (next == broken.end() || next->first != i) {
      m_outcomes.Renamed(entry, m_entries[entry].current);
      continue;
    }
    // The entry kept its name, as if its rename had failed at its turn. The next
    // failure is not left to wait as long.
    m_batch = 1;
    m_entries[entry].current = taken[i].from;
    Fail(entry, next->second.error, next->second.reason);
    ++next;
  }
}

TRenameFolder::TOffer TFolderRenamer::Offer(std::size_t entry, TRenameFailure& failure) {
  const TEntry& e = m_entries[entry];
  TRenameFolder::TOffer offer = m_folder.Offer(e.current, e.wanted, failure);
  if (offer == TRenameFolder::TOffer::AfterSettling) {
    Settle();
    offer = m_folder.Offer(e.current, e.wanted, failure);
  }
  if (offer == TRenameFolder::TOffer::Taken) m_taken.push_back({static_cast<std::uint32_t>(entry), e.current});
  return offer;
}

std::optional<TRenameFailure> TFolderRenamer::RenameNow(TNameId from, TNameId to) {
  Settle();
  return m_folder.Rename(from, to);
}

void TFolderRenamer::Keep(std::size_t entry) {
  TEntry& e = m_entries[entry];
  e.state = TState::Stays;
  NoLongerMovable(e.current);
  Hand(e.current, false);
}

const std::uint32_t* TFolderRenamer::MovableHolder(std::string_view key) {
  if (!m_movableKnown) {
    m_movableKnown = true;
    std::string buffer;
    for (std::size_t entry = 0; entry < m_entries.size(); ++entry) {
      const TState state = m_entries[entry].state;
      if (state == TState::Waiting || state == TState::Pending) {
        m_movable.Insert(Key(m_entries[entry].current, buffer), static_cast<std::uint32_t>(entry));
      }
    }
  }
  return m_movable.Find(key);
}

void TFolderRenamer::NoLongerMovable(TNameId name) {
  std::string buffer;
  if (m_movableKnown) m_movable.Erase(Key(name, buffer));
}

void TFolderRenamer::Attempt(std::size_t entry) {
  TEntry& e = m_entries[entry];
  std::string buffer;
  const std::string_view key = Key(e.wanted, buffer);
  const std::uint32_t* holder = nullptr;
  if (m_movableKnown) holder = MovableHolder(key);
  // A name held by another entry that may still move is not even tried: the file
  // system could only refuse it.
  std::optional<TRenameFailure> failure;
  if (!holder || *holder == entry) {
    TRenameFailure refused;
    const TRenameFolder::TOffer offer = Offer(entry, refused);
    if (offer != TRenameFolder::TOffer::Failed) return Moved(entry, offer == TRenameFolder::TOffer::Taken);
    if (refused.error != EEXIST) return Fail(entry, refused.error, refused.reason);
    failure = std::move(refused);
    holder = MovableHolder(key);
  }
  // Taken: wait for the name if an entry that may still move holds it, unless another
  // entry waits for it already.
  if (holder && *holder != entry && !m_waiting.Find(key)) {
    e.state = TState::Pending;
    m_waiting.Insert(key, static_cast<std::uint32_t>(entry));
    return;
  }
  FailOrNumber(entry, EEXIST, failure ? failure->reason : ErrorText(EEXIST));
}

void TFolderRenamer::Moved(std::size_t entry, bool taken) {
  TEntry& e = m_entries[entry];
  const TNameId freed = e.current;
  NoLongerMovable(freed);
  e.current = e.wanted;
  e.state = TState::Done;
  if (!taken) m_outcomes.Renamed(entry, e.current);
  Hand(freed, true);
}

void TFolderRenamer::Fail(std::size_t entry, int error, const std::string& reason) {
  TEntry& e = m_entries[entry];
  NoLongerMovable(e.current);
  std::string why = reason;
  // Caught at a temporary name by a cycle that could not close: back to its own name.
  const TNameId old = m_names[entry];
  if (e.current != old) {
    if (RenameNow(e.current, old)) {
      why.append("; it is left named ").append(View(e.current));
    } else {
      m_outcomes.Step(std::string("* Renaming back ").append(View(e.current)).append(" to ").append(View(old)));
      e.current = old;
    }
  }
  e.state = TState::Stays;
  m_outcomes.Failed(entry, error, why);
  Hand(e.current, false);
}

void TFolderRenamer::FailOrNumber(std::size_t entry, int error, const std::string& reason) {
  if (error == EEXIST && TakeNumbered(entry)) return;
  Fail(entry, error, reason);
}

bool TFolderRenamer::TakeNumbered(std::size_t entry) {
  if (m_numberFormat.empty()) return false;
  TEntry& e = m_entries[entry];
  const std::string wanted(View(e.wanted));
  // Before the extension; a name that starts with its only dot has none.
  const std::size_t dot = wanted.rfind('.');
  const std::size_t cut = dot == std::string::npos || dot == 0 ? wanted.size() : dot;
  const std::size_t mark = m_numberFormat.find("%d");
  std::string buffer;
  const std::string own(Key(e.current, buffer));  // a copy: adding names may move the arena's
  for (int number = 2; number <= kMostNumbers; ++number) {
    const std::string numbered = wanted.substr(0, cut) + m_numberFormat.substr(0, mark) + std::to_string(number) +
                                 m_numberFormat.substr(mark + 2) + wanted.substr(cut);
    if (numbered.size() > m_nameMax) return false;
    const TNameId name = m_folder.Arena().Add(numbered);
    const std::string_view key = Key(name, buffer);
    // A name another entry waits for, or still holds, is taken now; the entry's own is
    // no new name.
    if (key == own || m_waiting.Find(key)) continue;
    if (const std::uint32_t* holder = MovableHolder(key); holder && *holder != entry) continue;
    e.wanted = name;
    TRenameFailure refused;
    const TRenameFolder::TOffer offer = Offer(entry, refused);
    if (offer == TRenameFolder::TOffer::Failed) {
      if (refused.error == EEXIST) continue;
      Fail(entry, refused.error, refused.reason);
      return true;
    }
    m_outcomes.Step(std::string("* Renaming ")
                        .append(View(e.current))
                        .append(" to ")
                        .append(numbered)
                        .append(" (")
                        .append(wanted)
                        .append(" is taken)"));
    Moved(entry, offer == TRenameFolder::TOffer::Taken);
    return true;
  }
  return false;
}

void TFolderRenamer::Hand(TNameId name, bool freed) {
  if (m_waiting.Size() == 0) return;  // nobody to tell
  m_work.emplace_back(name, freed);
  if (m_working) return;
  m_working = true;
  std::string buffer;
  while (!m_work.empty()) {
    const auto [handed, isFree] = m_work.back();
    m_work.pop_back();
    const std::string_view key = Key(handed, buffer);
    const std::uint32_t* waiter = m_waiting.Find(key);
    if (!waiter) continue;
    const std::size_t entry = *waiter;
    m_waiting.Erase(key);
    TEntry& e = m_entries[entry];
    if (!isFree) {
      FailOrNumber(entry, EEXIST, ErrorText(EEXIST));
      continue;
    }
    const TNameId from = e.current;
    if (const auto failure = RenameNow(from, e.wanted)) {
      FailOrNumber(entry, failure->error, failure->reason);
      continue;
    }
    m_outcomes.Step(std::string("* Renaming ")
                        .append(View(from))
                        .append(" to ")
                        .append(View(e.wanted))
                        .append(" (its new name is free now)"));
    Moved(entry, false);
  }
  m_working = false;
}

void TFolderRenamer::Finish() {
  Settle();
  // What still waits now waits in a circle: each for a name another waiting entry holds.
  for (std::size_t entry = 0; entry < m_entries.size(); ++entry) {
    if (m_entries[entry].state == TState::Pending) MoveToTemporary(entry);
  }
}

// Steps out of the circle through a name of our own; the others then follow one after
// the other, and the last frees the name this entry waits for.
void TFolderRenamer::MoveToTemporary(std::size_t entry) {
  TEntry& e = m_entries[entry];
  std::string buffer;
  for (;;) {
    const TNameId temporary = m_folder.Arena().Add(".quillex-cycle-" + std::to_string(m_temporaries++));
    const auto failure = RenameNow(e.current, temporary);
    if (failure && failure->error == EEXIST) continue;
    if (failure) {
      m_waiting.Erase(Key(e.wanted, buffer));
      return Fail(entry, failure->error, failure->reason);
    }
    m_outcomes.Step(
        std::string("* Renaming ").append(View(e.current)).append(" to the temporary name ").append(View(temporary)));
    const TNameId freed = e.current;
    NoLongerMovable(freed);
    e.current = temporary;
    m_movable.Insert(Key(temporary, buffer), static_cast<std::uint32_t>(entry));
    return Hand(freed, true);
  }
}

}  // namespace qx
