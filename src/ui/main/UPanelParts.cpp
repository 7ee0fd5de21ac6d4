#include "ui/main/UPanelParts.h"

#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace qx {

QLabel* TitleBar(const QString& text, const char* background) {
  auto* title = new QLabel(text);
  title->setStyleSheet(u"QLabel { color: white; background: %1; padding: 2px; }"_s.arg(QLatin1StringView(background)));
  return title;
}

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
