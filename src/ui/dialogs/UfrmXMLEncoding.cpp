// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UfrmXMLEncoding.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "jobio/UJobIO.h"
#include "platform/UMessages.h"
#include "ui/UQtText.h"

using namespace Qt::StringLiterals;

namespace qx {

TfrmPreferences::TfrmPreferences(TMessageHost& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_messages(messages) {
  setObjectName("frmPreferences");
  setWindowTitle(u"XML Character Encoding"_s);
  auto* label = new QLabel(u"Character Encoding for XML files:"_s, this);
  m_cbXMLEncoding = new QComboBox(this);
  m_cbXMLEncoding->setObjectName("cbXMLEncoding");
  m_cbXMLEncoding->setEditable(true);
  m_cbXMLEncoding->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& choice : XMLEncodingChoices()) m_cbXMLEncoding->addItem(ToQString(choice));
  m_cbXMLEncoding->setCurrentIndex(0);
  auto* ok = new QPushButton(u"OK"_s, this);
  ok->setObjectName("btnOk");
  ok->setDefault(true);
  auto* cancel = new QPushButton(u"Cancel"_s, this);
  cancel->setObjectName("btnCancel");
  cancel->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(m_cbXMLEncoding);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmPreferences::SelectEncoding(const std::string& encoding) {
  const QString name = ToQString(encoding);
  for (int i = 0; !name.isEmpty() && i < m_cbXMLEncoding->count(); ++i) {
    if (m_cbXMLEncoding->itemText(i).startsWith(name, Qt::CaseInsensitive)) {
      m_cbXMLEncoding->setCurrentIndex(i);
      return;
    }
  }
  m_cbXMLEncoding->setCurrentIndex(-1);
  m_cbXMLEncoding->setEditText(name);
}

std::string TfrmPreferences::EncodingSetting() const {
  const std::string text = ToBytes(m_cbXMLEncoding->currentText());
  return text.substr(0, text.find(' '));
}

void TfrmPreferences::accept() {
  if (const auto problem = EncodingProblem(EncodingSetting())) return m_messages.ShowMessage(*problem);
  QDialog::accept();
}

}  // namespace qx
