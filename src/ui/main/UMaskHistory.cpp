// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/UMaskHistory.h"

#include <algorithm>

#include "settings/UAppSettings.h"

namespace qx {

namespace {

std::string MaskHistoryKey(std::size_t n) { return setting::kFileMaskHistory + std::to_string(n); }

}  // namespace

void UpdateMaskHistory(std::vector<std::string>& history, const std::string& mask) {
  const auto found = std::find(history.begin(), history.end(), mask);
  if (found != history.end()) {
    std::rotate(history.begin(), found, found + 1);
    return;
  }
  history.insert(history.begin(), mask);
  if (history.size() > kMaskHistorySize) history.resize(kMaskHistorySize);
}

std::vector<std::string> LoadMaskHistory(const ToxRegVal& ini) {
  std::vector<std::string> history;
  for (std::size_t n = 0; n < kMaskHistorySize; ++n) {
    std::string entry = ini.GetString(MaskHistoryKey(n));
    if (!entry.empty() && std::find(history.begin(), history.end(), entry) == history.end()) {
      history.push_back(std::move(entry));
    }
  }
  return history;
}

void SaveMaskHistory(ToxRegVal& ini, const std::vector<std::string>& history) {
  for (std::size_t n = 0; n < kMaskHistorySize; ++n) {
    ini.SetString(MaskHistoryKey(n), n < history.size() ? history[n] : std::string());
  }
}

}  // namespace qx
