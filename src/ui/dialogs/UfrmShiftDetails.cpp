// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UfrmShiftDetails.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include "ui/dialogs/UChoiceButtons.h"

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
  AddChoices<3>(*this, *layout, u"of the name: "_s,
                {{{"rbFirstNumber", u"the first number"_s},
                  {"rbLastNumber", u"the last number"_s},
                  {"rbEveryNumber", u"every number"_s}}},
                m_which);
  m_chkBelowZero = new QCheckBox(u"Allow numbers below zero (a minus sign in the name)"_s, this);
  m_chkBelowZero->setObjectName("chkBelowZero");
  layout->addWidget(m_chkBelowZero);
  layout->addSpacing(8);
  AddButtonBar(layout);
  FixSize();
}

void TfrmShiftDetails::LoadJobIntoDialog(const TJob& job) {
  m_edtAmount->setValue(job.int1);
  CheckChoice(m_which, job.modifier);
  m_chkBelowZero->setChecked(job.int2 == 1);
}

void TfrmShiftDetails::StoreDialogIntoJob(TJob& job) const {
  job.int1 = m_edtAmount->value();
  job.modifier = CheckedChoice(m_which, job.modifier);
  if (m_chkBelowZero->isChecked() != (job.int2 == 1)) job.int2 = m_chkBelowZero->isChecked() ? 1 : 0;
}

}  // namespace qx
