// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UfrmCaseDetails.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qx {

TfrmCaseDetails::TfrmCaseDetails(QWidget* parent) : TJobDialog(parent, QString()) {
  setObjectName("frmCaseDetails");
  m_lblPrompt = new QLabel(this);
  m_lblPrompt->setObjectName("lblPrompt");
  m_rbAll = new QRadioButton(u"all characters (filename and extension)"_s, this);
  m_rbAll->setObjectName("rbAll");
  m_rbFilename = new QRadioButton(u"filename only"_s, this);
  m_rbFilename->setObjectName("rbFilename");
  m_rbExtension = new QRadioButton(u"extension only"_s, this);
  m_rbExtension->setObjectName("rbExtension");
  m_chkEveryAlphabet = new QCheckBox(u"Letters of every alphabet (not only A-Z)"_s, this);
  m_chkEveryAlphabet->setObjectName("chkEveryAlphabet");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_lblPrompt);
  auto* options = new QVBoxLayout;
  options->setContentsMargins(16, 0, 0, 0);
  for (QRadioButton* option : {m_rbAll, m_rbFilename, m_rbExtension}) options->addWidget(option);
  layout->addLayout(options);
  layout->addWidget(m_chkEveryAlphabet);
  layout->addSpacing(8);
  AddButtonBar(layout);
  FixSize();
}

void TfrmCaseDetails::LoadJobIntoDialog(const TJob& job) {
  switch (job.type) {
    case TJobKind::jobLower:
      setWindowTitle(u"Conversion to lower case"_s);
      m_lblPrompt->setText(u"Convert to lower case..."_s);
      break;
    case TJobKind::jobUpper:
      setWindowTitle(u"Conversion to UPPER case"_s);
      m_lblPrompt->setText(u"Convert to UPPER case..."_s);
      break;
    case TJobKind::jobNormal:
      setWindowTitle(u"Case Normalisation"_s);
      m_lblPrompt->setText(u"Normalise case of..."_s);
      break;
    default: break;
  }
  switch (job.modifier) {
    case caseWholeName: m_rbAll->setChecked(true); break;
    case caseNamePart: m_rbFilename->setChecked(true); break;
    case caseExtension: m_rbExtension->setChecked(true); break;
    default: break;
  }
  m_chkEveryAlphabet->setChecked(job.int1 == caseEveryAlphabet);
}

void TfrmCaseDetails::StoreDialogIntoJob(TJob& job) const {
  if (m_rbAll->isChecked()) {
    job.modifier = caseWholeName;
  } else if (m_rbFilename->isChecked()) {
    job.modifier = caseNamePart;
  } else if (m_rbExtension->isChecked()) {
    job.modifier = caseExtension;
  }
  // A value no rule knows stays as the file had it, unless the rule is changed.
  if (m_chkEveryAlphabet->isChecked() != (job.int1 == caseEveryAlphabet)) {
    job.int1 = m_chkEveryAlphabet->isChecked() ? caseEveryAlphabet : caseAsciiLetters;
  }
}

}  // namespace qx
