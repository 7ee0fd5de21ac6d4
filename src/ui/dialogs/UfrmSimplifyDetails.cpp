// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UfrmSimplifyDetails.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qx {

namespace {

// A button of its own group, indented under its prompt.
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

// Which button of `buttons` is checked; `kept` when none is.
template <std::size_t N>
std::int32_t Checked(const std::array<QRadioButton*, N>& buttons, std::int32_t kept) {
  for (std::size_t i = 0; i < N; ++i) {
    if (buttons[i]->isChecked()) return static_cast<std::int32_t>(i);
  }
  return kept;
}

template <std::size_t N>
void Check(const std::array<QRadioButton*, N>& buttons, std::int32_t index) {
  for (QRadioButton* button : buttons) {
    // Unchecking one button of an exclusive group needs the group let go for a moment.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
  }
  if (index >= 0 && static_cast<std::size_t>(index) < N) buttons[static_cast<std::size_t>(index)]->setChecked(true);
}

}  // namespace

TfrmSimplifyDetails::TfrmSimplifyDetails(QWidget* parent) : TJobDialog(parent, u"Simplify characters"_s) {
  setObjectName("frmSimplifyDetails");
  auto* layout = new QVBoxLayout(this);
  AddChoices<4>(*this, *layout, u"Simplify characters by..."_s,
                {{{"rbCompose", u"composing them (NFC; what Linux programs expect)"_s},
                  {"rbDecompose", u"decomposing them (NFD; as macOS writes names)"_s},
                  {"rbRemoveMarks", u"removing accents and marks (é -> e, ß -> ss)"_s},
                  {"rbAscii", u"writing them in ASCII (Ærøskøbing -> AEroskobing, Москва -> Moskva)"_s}}},
                m_modes);
  AddChoices<3>(*this, *layout, u"in..."_s,
                {{{"rbAll", u"all characters (filename and extension)"_s},
                  {"rbFilename", u"filename only"_s},
                  {"rbExtension", u"extension only"_s}}},
                m_targets);
  layout->addSpacing(8);
  AddButtonBar(layout);
  FixSize();
}

void TfrmSimplifyDetails::LoadJobIntoDialog(const TJob& job) {
  Check(m_modes, job.int1);
  Check(m_targets, job.modifier);
}

void TfrmSimplifyDetails::StoreDialogIntoJob(TJob& job) const {
  // Nothing ticked keeps what the job held.
  job.int1 = Checked(m_modes, job.int1);
  job.modifier = Checked(m_targets, job.modifier);
}

}  // namespace qx
