// SPDX-License-Identifier: GPL-3.0-or-later
// A spin field for a whole number in a range that takes whatever number is typed and
// brings it into the range when the field is left, where a plain spin box would drop the
// keystroke that leaves the range. Every number field of the desktop program is one.
#pragma once

#include <QSpinBox>

namespace qx {

class TNumberField : public QSpinBox {
  Q_OBJECT

 public:
  // Starts at 0, or at the bound nearest to it.
  TNumberField(int minimum, int maximum, QWidget* parent = nullptr);

 protected:
  // Any whole number, however large, is a number on its way (Intermediate) until the
  // field is left or Enter is pressed; then it becomes the nearest bound (99999 gives
  // 65535 in a field up to 65535). Text that is no number at all, an empty field or a
  // lone sign, gives back the value the field had.
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;
  // Never with group separators; the base class shows them for the smallest int.
  QString textFromValue(int value) const override;
};

}  // namespace qx
