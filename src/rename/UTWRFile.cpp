// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UTWRFile.h"

#include "platform/UDateTime.h"

namespace qx {

namespace {

template <typename T>
void Permute(std::vector<T>& items, const std::vector<std::uint32_t>& order) {
  std::vector<T> ordered;
  ordered.reserve(items.size());
  for (const std::uint32_t position : order) ordered.push_back(items[position]);
  items = std::move(ordered);
}

}  // namespace

void TWRFileList::Add(TNameId name, double date) {
  m_names.push_back(name);
  if (m_withDates) m_dates.push_back(date);
}

std::string TWRFileList::Description(std::size_t entry, const TNameArena& arena) const {
  std::string text(arena.View(m_names[entry]));
  return text.append(" ").append(FormatEntryDate(Date(entry)));
}

void TWRFileList::Reorder(const std::vector<std::uint32_t>& order) {
  Permute(m_names, order);
  if (m_withDates) Permute(m_dates, order);
}

}  // namespace qx
