// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UNumberField.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace qx {

namespace {

// Far beyond any int, and safe from overflow while digits are added.
constexpr std::int64_t kSaturation = std::int64_t{1} << 40;

// A sign and decimal digits (of any script), blanks around them allowed; nullopt for
// anything else, a sign alone included. A number too large for an int saturates, so
// that it still clamps the right way.
std::optional<std::int64_t> WholeNumber(const QString& text) {
  const QString trimmed = text.trimmed();
  qsizetype at = 0;
  const bool negative = trimmed.startsWith(u'-');
  if (negative || trimmed.startsWith(u'+')) ++at;
  if (at == trimmed.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; at < trimmed.size(); ++at) {
    if (!trimmed[at].isDigit()) return std::nullopt;
    value = std::min(value * 10 + trimmed[at].digitValue(), kSaturation);
  }
  return negative ? -value : value;
}

}  // namespace

TNumberField::TNumberField(int minimum, int maximum, QWidget* parent) : QSpinBox(parent) { setRange(minimum, maximum); }

QValidator::State TNumberField::validate(QString& input, int& pos) const {
  const QValidator::State state = QSpinBox::validate(input, pos);
  if (state != QValidator::Invalid) return state;
  // A sign alone begins a number.
  const QString text = input.trimmed();
  return text == u"-" || text == u"+" || WholeNumber(text) ? QValidator::Intermediate : QValidator::Invalid;
}

void TNumberField::fixup(QString& input) const {
  if (const std::optional<std::int64_t> number = WholeNumber(input)) {
    input = textFromValue(static_cast<int>(std::clamp<std::int64_t>(*number, minimum(), maximum())));
  }
}

QString TNumberField::textFromValue(int value) const {
  QLocale plain = locale();
  plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
  return plain.toString(value);
}

}  // namespace qx
