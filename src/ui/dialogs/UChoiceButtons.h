// SPDX-License-Identifier: GPL-3.0-or-later
// A group of radio buttons that stands for one number of a job: the button at index i for
// the value i. A value no button stands for checks none, and a group with none checked
// keeps the value it was given.
#pragma once

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>
#include <cstdint>
#include <utility>

namespace qx {

// The buttons of `choices` (object name, caption), one group, indented under `prompt`.
template <std::size_t N>
void AddChoices(QWidget& dialog, QVBoxLayout& layout, const QString& prompt,
                const std::array<std::pair<const char*, QString>, N>& choices, std::array<QRadioButton*, N>& buttons) {
  layout.addWidget(new QLabel(prompt, &dialog));
  auto* group = new QButtonGroup(&dialog);
  auto* options = new QVBoxLayout;
  options->setContentsMargins(16, 0, 0, 0);
  for (std::size_t i = 0; i < N; ++i) {
    buttons[i] = new QRadioButton(choices[i].second, &dialog);
    buttons[i]->setObjectName(QLatin1StringView(choices[i].first));
    group->addButton(buttons[i]);
    options->addWidget(buttons[i]);
  }
  layout.addLayout(options);
}

template <std::size_t N>
void CheckChoice(const std::array<QRadioButton*, N>& buttons, std::int32_t value) {
  for (QRadioButton* button : buttons) {
    // Unchecking a button of an exclusive group needs the group let go for a moment.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
  }
  if (value >= 0 && static_cast<std::size_t>(value) < N) buttons[static_cast<std::size_t>(value)]->setChecked(true);
}

template <std::size_t N>
std::int32_t CheckedChoice(const std::array<QRadioButton*, N>& buttons, std::int32_t kept) {
  for (std::size_t i = 0; i < N; ++i) {
    if (buttons[i]->isChecked()) return static_cast<std::int32_t>(i);
  }
  return kept;
}

}  // namespace qx
