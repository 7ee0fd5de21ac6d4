// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UfrmReplaceDetails.h"

#include <QAction>
#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "regex/URegexReplace.h"
#include "ui/UQtText.h"

using namespace Qt::StringLiterals;

namespace qx {

namespace {

std::string& LastTesterInput() {
  static std::string input;
  return input;
}

QLabel* CreateLabel(QWidget* parent, const char* name, const QString& text, bool bold = false) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  return label;
}

// The label names its field for a screen reader.
QLabel* Buddy(QLabel* label, QWidget* field) {
  label->setBuddy(field);
  return label;
}

}  // namespace

TfrmReplaceDetails::TfrmReplaceDetails(QWidget* parent) : TJobDialog(parent, u"String Replacement"_s) {
  setObjectName("frmReplaceDetails");
  auto* main = new QFormLayout;
  main->setContentsMargins(0, 0, 0, 0);
  main->setVerticalSpacing(4);
  m_edtString1 = new QLineEdit(this);
  m_edtString1->setObjectName("edtString1");
  m_edtString1->setMinimumWidth(260);
  main->addRow(Buddy(CreateLabel(this, "lblPrompt", u"Find this string:"_s), m_edtString1), m_edtString1);
  m_edtString2 = new QLineEdit(this);
  m_edtString2->setObjectName("edtString2");
  main->addRow(Buddy(CreateLabel(this, "Label1", u"And replace it with:"_s), m_edtString2), m_edtString2);
  m_chkMatchCase = new QCheckBox(u"Match case (case sensitive)"_s, this);
  m_chkMatchCase->setObjectName("chkMatchCase");
  main->addRow(QString(), m_chkMatchCase);
  m_chkRegex = new QCheckBox(u"Use Regular Expressions"_s, this);
  m_chkRegex->setObjectName("chkRegex");
  main->addRow(QString(), m_chkRegex);

  m_tester = new QWidget(this);
  auto* tester = new QFormLayout(m_tester);
  tester->setContentsMargins(0, 0, 0, 0);
  tester->setVerticalSpacing(4);
  tester->addRow(CreateLabel(m_tester, "Label2", u"Regular Expression Tester:"_s, true));
  m_edtInput = new QLineEdit(m_tester);
  m_edtInput->setObjectName("edtInput");
  tester->addRow(Buddy(CreateLabel(m_tester, "Label3", u"Input"_s), m_edtInput), m_edtInput);
  m_lblOutput = CreateLabel(m_tester, "lblOutput", u"..."_s, true);
  m_lblOutput->setTextFormat(Qt::PlainText);
  // A long result or error message wraps, and the dialog grows to show all of it.
  m_lblOutput->setWordWrap(true);
  m_lblOutput->setTextInteractionFlags(Qt::TextSelectableByMouse);
  tester->addRow(CreateLabel(m_tester, "Label4", u"Output"_s), m_lblOutput);

  m_btnRegExHelp = new QPushButton(u"Regular Expression Help"_s, this);
  m_btnRegExHelp->setObjectName("btnRegExHelp");
  m_btnRegExHelp->setAutoDefault(false);
  m_btnRegExHelp->setEnabled(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(4);
  layout->addLayout(main);
  layout->addWidget(m_tester);
  layout->addStretch();
  AddButtonBar(layout, m_btnRegExHelp);
  setFixedWidth(sizeHint().width());

  // The remembered input shows without its output until it is edited.
  m_edtInput->setText(ToQString(LastTesterInput()));
  connect(m_edtInput, &QLineEdit::textChanged, this, &TfrmReplaceDetails::UpdateTesterOutput);
  connect(m_chkRegex, &QCheckBox::clicked, this, &TfrmReplaceDetails::UpdateTesterLayout);
  m_edtString1->setFocus();
  UpdateTesterLayout();
}

TfrmReplaceDetails::~TfrmReplaceDetails() { LastTesterInput() = ToBytes(m_edtInput->text()); }

void TfrmReplaceDetails::LoadJobIntoDialog(const TJob& job) {
  if (job.type != TJobKind::jobReplace) return;
  m_edtString1->setText(ToQString(job.str1));
  m_edtString2->setText(ToQString(job.str2));
  if (job.modifier == replacePlain) m_chkRegex->setChecked(false);
  if (job.modifier == replaceRegex) m_chkRegex->setChecked(true);
  m_chkMatchCase->setChecked(job.int1 == 1);
  UpdateTesterLayout();
}

void TfrmReplaceDetails::StoreDialogIntoJob(TJob& job) const {
  job.str1 = ToBytes(m_edtString1->text());
  job.str2 = ToBytes(m_edtString2->text());
  job.modifier = m_chkRegex->isChecked() ? replaceRegex : replacePlain;
  job.int1 = m_chkMatchCase->isChecked() ? 1 : 0;
}

void TfrmReplaceDetails::SetRegExHelpCommand(QAction* command) {
  m_btnRegExHelp->setEnabled(command->isEnabled());
  connect(m_btnRegExHelp, &QPushButton::clicked, command, &QAction::trigger);
}

void TfrmReplaceDetails::showEvent(QShowEvent* event) {
  UpdateTesterLayout();
  TJobDialog::showEvent(event);
}

void TfrmReplaceDetails::UpdateTesterLayout() {
  const bool regex = m_chkRegex->isChecked();
  m_tester->setVisible(regex);
  FitHeight();
}

void TfrmReplaceDetails::FitHeight() {
  const int classic = m_chkRegex->isChecked() ? kHeightWithTester : kHeightWithoutTester;
  layout()->activate();
  setFixedHeight(std::max(classic, layout()->totalHeightForWidth(width())));
}

void TfrmReplaceDetails::UpdateTesterOutput() {
  m_lblOutput->setText(ToQString(
      RegexReplace(ToBytes(m_edtInput->text()), ToBytes(m_edtString1->text()), ToBytes(m_edtString2->text()))));
  FitHeight();
}

}  // namespace qx
