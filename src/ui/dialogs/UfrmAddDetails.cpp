// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UfrmAddDetails.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/UQtText.h"
#include "ui/dialogs/UPositionOptions.h"

using namespace Qt::StringLiterals;

namespace qx {

TfrmAddDetails::TfrmAddDetails(QWidget* parent) : TJobDialog(parent, u"Insert a string"_s) {
  setObjectName("frmAddDetails");
  auto* prompt = new QLabel(u"Insert this string : "_s, this);
  prompt->setObjectName("lblPrompt");
  m_edtString = new QLineEdit(this);
  m_edtString->setObjectName("edtString");
  m_edtString->setMinimumWidth(200);
  prompt->setBuddy(m_edtString);
  m_position = new TPositionOptions(this, u"at the beggining of filenames"_s, u"at the end of filenames"_s);

  auto* layout = new QVBoxLayout(this);
  auto* stringRow = new QHBoxLayout;
  stringRow->addWidget(prompt);
  stringRow->addWidget(m_edtString, 1);
  layout->addLayout(stringRow);
  layout->addWidget(m_position);
  layout->addSpacing(8);
  AddButtonBar(layout);
  FixSize();
}

void TfrmAddDetails::LoadJobIntoDialog(const TJob& job) {
  if (job.type != TJobKind::jobInsert) return;
  m_edtString->setText(ToQString(job.str1));
  m_position->LoadPosition(job.modifier, job.int1, job.str2);
}

void TfrmAddDetails::StoreDialogIntoJob(TJob& job) const {
  job.str1 = ToBytes(m_edtString->text());
  m_position->StorePosition(job.modifier, job.int1, job.str2);
}

}  // namespace qx
