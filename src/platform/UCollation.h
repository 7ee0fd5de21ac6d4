// SPDX-License-Identifier: GPL-3.0-or-later
// Ordering names the way the user's language sorts them, ignoring letter case.
#pragma once

#include <memory>
#include <string>
#include <string_view>

struct UCollator;

namespace qx {

// How runs of digits compare: digit by digit as text (f10 before f2), or by the value
// they write (f2 before f10), as file managers show names.
enum class TNumberOrder { asText, byValue };

class TCollator {
 public:
  // The collation of the user's locale (LC_ALL, LC_COLLATE, LANG), at the strength
  // that ignores case but not accents.
  explicit TCollator(TNumberOrder numbers = TNumberOrder::asText);
  ~TCollator();
  TCollator(const TCollator&) = delete;
  TCollator& operator=(const TCollator&) = delete;

  // A key whose byte order is the collation order; cheaper than comparing names
  // again and again when a large list is sorted.
  std::string SortKey(std::string_view name) const;
  // The same key appended to `keys`, where a list's keys are kept one after another.
  void AppendSortKey(std::string_view name, std::string& keys) const;

 private:
  UCollator* m_collator;
};

// This thread's collator of each number order: a collator is not to be shared between
// threads, and opening one costs far more than a name's key.
const TCollator& ThreadCollator(TNumberOrder numbers);

}  // namespace qx
