// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/browse/UListingModel.h"

#include <algorithm>
#include <unordered_set>

#include "platform/UCollation.h"
#include "ui/UQtText.h"

namespace qx {

namespace {

const TCollator& ViewCollator(bool numbersByValue) {
  return ThreadCollator(numbersByValue ? TNumberOrder::byValue : TNumberOrder::asText);
}

// Runs of consecutive indices of `names` that `pick` takes, in ascending order.
template <typename Pick>
std::vector<TRowRun> RunsOf(const std::vector<std::string_view>& names, Pick pick) {
  std::vector<TRowRun> runs;
  for (int i = 0; i < static_cast<int>(names.size()); ++i) {
    if (!pick(names[static_cast<std::size_t>(i)])) continue;
    if (!runs.empty() && runs.back().last == i - 1) {
      runs.back().last = i;
    } else {
      runs.push_back({i, i});
    }
  }
  return runs;
}

}  // namespace

QString ShownName(std::string_view name) {
  // ToQString keeps a byte that is not UTF-8 as a lone surrogate, which would not show.
  QString shown = ToQString(name);
  for (qsizetype i = 0; i < shown.size(); ++i) {
    if (shown[i].isHighSurrogate() && i + 1 < shown.size() && shown[i + 1].isLowSurrogate()) {
      ++i;
    } else if (shown[i].isSurrogate()) {
      shown[i] = QChar::ReplacementCharacter;
    }
  }
  return shown;
}

void AppendNameKey(std::string_view name, std::string& keys, bool numbersByValue) {
  ViewCollator(numbersByValue).AppendSortKey(name, keys);
}

std::string NameKey(std::string_view name, bool numbersByValue) { return ViewCollator(numbersByValue).SortKey(name); }

int CompareNames(std::string_view keyA, std::string_view a, std::string_view keyB, std::string_view b) {
  if (const int byKey = keyA.compare(keyB); byKey != 0) return byKey < 0 ? -1 : 1;
  return a == b ? 0 : (a < b ? -1 : 1);
}

TRowPlan PlanRows(const std::vector<std::string_view>& before, const std::vector<std::string_view>& after) {
  const std::unordered_set<std::string_view> inBefore(before.begin(), before.end());
  const std::unordered_set<std::string_view> inAfter(after.begin(), after.end());
  const auto staysFromBefore = [&](std::string_view name) { return inAfter.count(name) != 0; };
  const auto staysInAfter = [&](std::string_view name) { return inBefore.count(name) != 0; };
  std::vector<std::string_view> keptBefore, keptAfter;
  std::copy_if(before.begin(), before.end(), std::back_inserter(keptBefore), staysFromBefore);
  std::copy_if(after.begin(), after.end(), std::back_inserter(keptAfter), staysInAfter);
  const bool sameOrder = keptBefore == keptAfter;
  TRowPlan plan;
  plan.removals = RunsOf(before, [&](std::string_view name) { return !sameOrder || !staysFromBefore(name); });
  std::reverse(plan.removals.begin(), plan.removals.end());
  plan.insertions = RunsOf(after, [&](std::string_view name) { return !sameOrder || !staysInAfter(name); });
  return plan;
}

}  // namespace qx
