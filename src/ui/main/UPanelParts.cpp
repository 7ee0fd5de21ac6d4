// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/UPanelParts.h"

#include <QVBoxLayout>
#include <algorithm>
#include <limits>

namespace qx {

QVBoxLayout* Column(QWidget* owner, int spacing) {
  auto* layout = new QVBoxLayout(owner);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(spacing);
  return layout;
}

int ClampToInt(std::int64_t value) {
  return static_cast<int>(
      std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace qx
