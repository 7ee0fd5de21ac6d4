// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UfrmDateDetails.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/UQtText.h"
#include "ui/dialogs/UPositionOptions.h"

using namespace Qt::StringLiterals;

namespace qx {

TfrmDateDetails::TfrmDateDetails(QWidget* parent) : TJobDialog(parent, u"Insert a Date"_s) {
  setObjectName("frmDateDetails");
  auto* source = new QLabel(u"Insert the date..."_s, this);
  m_rbTaken = new QRadioButton(u"the photo was &taken (from its Exif data; else its modification date)"_s, this);
  m_rbTaken->setObjectName("rbTaken");
  m_rbModified = new QRadioButton(u"the file was last &modified"_s, this);
  m_rbModified->setObjectName("rbModified");
  m_rbTaken->setChecked(true);
  auto* formatLabel = new QLabel(u"in the &format (yyyy, yy, mm, dd, hh, nn, ss):"_s, this);
  m_edtFormat = new QLineEdit(QString::fromUtf8(kDefaultDateFormat), this);
  m_edtFormat->setObjectName("edtFormat");
  formatLabel->setBuddy(m_edtFormat);
  m_lblExample = new QLabel(this);
  m_lblExample->setObjectName("lblExample");
  m_lblExample->setTextFormat(Qt::PlainText);
  m_position = new TPositionOptions(this, u"at the beginning of filenames"_s, u"at the end of filenames"_s);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(source);
  layout->addWidget(m_rbTaken);
  layout->addWidget(m_rbModified);
  layout->addSpacing(6);
  layout->addWidget(formatLabel);
  layout->addWidget(m_edtFormat);
  layout->addWidget(m_lblExample);
  layout->addSpacing(6);
  layout->addWidget(m_position);
  layout->addSpacing(8);
  AddButtonBar(layout);
  FixSize();
  connect(m_edtFormat, &QLineEdit::textChanged, this, &TfrmDateDetails::UpdateExample);
  UpdateExample();
}

void TfrmDateDetails::LoadJobIntoDialog(const TJob& job) {
  if (job.type != TJobKind::jobDate) return;
  (job.int1 == dateModified ? m_rbModified : m_rbTaken)->setChecked(true);
  m_edtFormat->setText(ToQString(job.str2));
  m_position->LoadPosition(job.modifier, job.int2, job.str1);
}

void TfrmDateDetails::StoreDialogIntoJob(TJob& job) const {
  job.int1 = m_rbModified->isChecked() ? dateModified : dateTaken;
  job.str2 = ToBytes(m_edtFormat->text());
  m_position->StorePosition(job.modifier, job.int2, job.str1);
}

void TfrmDateDetails::UpdateExample() {
  TCurrentTime now;
  // Only the format is shown here: a clock beyond the years a name can show gives the epoch.
  const QString example =
      ToQString(FormatDate(ToBytes(m_edtFormat->text()), now.Modified().date.value_or(TLocalDateTime())));
  const bool fits = !example.contains(u'/');
  m_lblExample->setText(fits ? u"Now: "_s + example : u"A name cannot hold \"/\": "_s + example);
  findChild<QPushButton*>(u"btnOk"_s)->setEnabled(fits);
}

}  // namespace qx
