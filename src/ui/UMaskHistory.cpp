#include "ui/UMaskHistory.h"

#include <algorithm>

namespace qx {

void UpdateMaskHistory(std::vector<std::string>& history, const std::string& mask) {
  const auto found = std::find(history.begin(), history.end(), mask);
  if (found != history.end()) {
    std::rotate(history.begin(), found, found + 1);
    return;
  }
  history.insert(history.begin(), mask);
  if (history.size() > kMaskHistorySize) history.resize(kMaskHistorySize);
}

}  // namespace qx
