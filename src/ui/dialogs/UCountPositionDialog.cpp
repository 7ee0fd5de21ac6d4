// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UCountPositionDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/dialogs/UNumberField.h"
#include "ui/dialogs/UPositionOptions.h"

using namespace Qt::StringLiterals;

namespace qx {

TCountPositionDialog::TCountPositionDialog(QWidget* parent, TJobKind kind, const TCountPositionCaptions& captions)
    : TJobDialog(parent, captions.window), m_kind(kind) {
  auto* prompt = new QLabel(captions.prompt, this);
  prompt->setObjectName("lblPrompt");
  m_edtCharacterCount = CreateNumberField(this, u"edtCharacterCount"_s);
  prompt->setBuddy(m_edtCharacterCount);
  auto* label1 = new QLabel(u"...characters..."_s, this);
  label1->setObjectName("Label1");
  m_position = new TPositionOptions(this, captions.begin, captions.end);

  auto* layout = new QVBoxLayout(this);
  auto* countRow = new QHBoxLayout;
  countRow->addWidget(prompt);
  countRow->addWidget(m_edtCharacterCount);
  countRow->addWidget(label1);
  countRow->addStretch();
  layout->addLayout(countRow);
  layout->addWidget(m_position);
  layout->addSpacing(8);
  AddButtonBar(layout);
  FixSize();
}

void TCountPositionDialog::LoadJobIntoDialog(const TJob& job) {
  if (job.type != m_kind) return;
  m_edtCharacterCount->setValue(job.int1);
  m_position->LoadPosition(job.modifier, job.int2, job.str1);
}

void TCountPositionDialog::StoreDialogIntoJob(TJob& job) const {
  job.int1 = m_edtCharacterCount->value();
  m_position->StorePosition(job.modifier, job.int2, job.str1);
}

}  // namespace qx
