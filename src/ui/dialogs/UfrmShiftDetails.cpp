// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UfrmShiftDetails.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qx {

TfrmShiftDetails::TfrmShiftDetails(QWidget* parent) : TJobDialog(parent, u"Shift numbers"_s) {
  setObjectName("frmShiftDetails");
  auto* layout = new QVBoxLayout(this);
  auto* amountRow = new QHBoxLayout;
  auto* prompt = new QLabel(u"&Add to the number (below zero subtracts):"_s, this);
  m_edtAmount = new QSpinBox(this);
  m_edtAmount->setObjectName("edtAmount");
  m_edtAmount->setRange(-999'999'999, 999'999'999);
  prompt->setBuddy(m_edtAmount);
  amountRow->addWidget(prompt);
  amountRow->addWidget(m_edtAmount);
  layout->addLayout(amountRow);
  auto* options = new QVBoxLayout;
  options->setContentsMargins(16, 0, 0, 0);
  const std::array<std::pair<const char*, QString>, 3> choices = {{{"rbFirstNumber", u"the first number"_s},
                                                                   {"rbLastNumber", u"the last number"_s},
                                                                   {"rbEveryNumber", u"every number"_s}}};
  for (std::size_t i = 0; i < choices.size(); ++i) {
    m_which[i] = new QRadioButton(choices[i].second, this);
    m_which[i]->setObjectName(QLatin1StringView(choices[i].first));
    options->addWidget(m_which[i]);
  }
  layout->addWidget(new QLabel(u"of the name: "_s, this));
  layout->addLayout(options);
  m_chkBelowZero = new QCheckBox(u"Allow numbers below zero (a minus sign in the name)"_s, this);
  m_chkBelowZero->setObjectName("chkBelowZero");
  layout->addWidget(m_chkBelowZero);
  layout->addSpacing(8);
  AddButtonBar(layout);
  FixSize();
}

void TfrmShiftDetails::LoadJobIntoDialog(const TJob& job) {
  m_edtAmount->setValue(job.int1);
  for (std::size_t i = 0; i < m_which.size(); ++i) {
    m_which[i]->setAutoExclusive(false);
    m_which[i]->setChecked(static_cast<std::int32_t>(i) == job.modifier);
    m_which[i]->setAutoExclusive(true);
  }
  m_chkBelowZero->setChecked(job.int2 == 1);
}

void TfrmShiftDetails::StoreDialogIntoJob(TJob& job) const {
  job.int1 = m_edtAmount->value();
  // Nothing ticked keeps what the job held.
  for (std::size_t i = 0; i < m_which.size(); ++i) {
    if (m_which[i]->isChecked()) job.modifier = static_cast<std::int32_t>(i);
  }
  if (m_chkBelowZero->isChecked() != (job.int2 == 1)) job.int2 = m_chkBelowZero->isChecked() ? 1 : 0;
}

}  // namespace qx
