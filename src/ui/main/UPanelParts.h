// SPDX-License-Identifier: GPL-3.0-or-later
// The small builders the main window's panels share: a control with its name and hint,
// a column without margins, a stored number as a control takes it.
// Nothing here knows a panel.
#pragma once

#include <QString>
#include <cstdint>

class QVBoxLayout;
class QWidget;

namespace qx {

// Tests and the screenshot scripts find controls by these names; the hint is also what a
// screen reader calls the control.
template <typename TWidget>
TWidget* Named(TWidget* widget, const char* name, const QString& hint = {}) {
  widget->setObjectName(name);
  if (!hint.isEmpty()) {
    widget->setToolTip(hint);
    widget->setAccessibleName(hint);
  }
  return widget;
}

// The layout of `owner`, edge to edge.
QVBoxLayout* Column(QWidget* owner, int spacing = 2);

// A stored integer, which may be anything in 64 bits, held to int's range.
int ClampToInt(std::int64_t value);

}  // namespace qx
