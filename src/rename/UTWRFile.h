// SPDX-License-Identifier: GPL-3.0-or-later
// The entries a run collected in one folder, in the run's order: each a name in the
// visit's arena and, when the run reads them, its date. Plain arrays rather than an
// object per entry, so a folder of a million files costs a few bytes per entry here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rename/UNameArena.h"

namespace qx {

class TWRFileList {
 public:
  // `withDates`: every entry added carries a date (days since 30 December 1899, local
  // time, even seconds); otherwise none does and each reads as 0.
  explicit TWRFileList(bool withDates) : m_withDates(withDates) {}

  void Add(TNameId name, double date);
  std::size_t Size() const { return m_names.size(); }
  bool Empty() const { return m_names.empty(); }
  TNameId Name(std::size_t entry) const { return m_names[entry]; }
  double Date(std::size_t entry) const { return m_withDates ? m_dates[entry] : 0; }
  const std::vector<TNameId>& Names() const { return m_names; }

  // The log's text for the entry: the name, a blank and "dd/mm/yyyy hh:nn".
  std::string Description(std::size_t entry, const TNameArena& arena) const;
  // Puts the entries in `order`, a permutation of their positions.
  void Reorder(const std::vector<std::uint32_t>& order);

 private:
  bool m_withDates;
  std::vector<TNameId> m_names;
  std::vector<double> m_dates;
};

}  // namespace qx
