// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UPositionOptions.h"

#include <QEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QRadioButton>

#include "jobs/UTJob.h"
#include "ui/UQtText.h"
#include "ui/dialogs/UNumberField.h"

using namespace Qt::StringLiterals;

namespace qx {

TNumberField* CreateNumberField(QWidget* parent, QAnyStringView objectName) {
  auto* field = new TNumberField(1, 65535, parent);
  field->setObjectName(objectName);
  return field;
}

TPositionOptions::TPositionOptions(QWidget* parent, const QString& beginCaption, const QString& endCaption)
    : QWidget(parent) {
  const auto radio = [this](const char* name, const QString& caption) {
    auto* button = new QRadioButton(caption, this);
    button->setObjectName(name);
    return button;
  };
  const auto edit = [this](const char* name) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setMinimumWidth(180);
    return field;
  };
  // Created in tab order.
  m_rbBegin = radio("rbBegin", beginCaption);
  m_rbEnd = radio("rbEnd", endCaption);
  m_rbAfterChar = radio("rbAfterChar", u"after character #"_s);
  m_edtCharacterNumber = CreateNumberField(this, "edtCharacterNumber");
  m_rbBeforeString = radio("rbBeforeString", u"before this string"_s);
  m_edtBefore = edit("edtBefore");
  m_rbAfterString = radio("rbAfterString", u"after this string"_s);
  m_edtAfter = edit("edtAfter");
  // A screen reader names each field by the option it belongs to.
  m_edtCharacterNumber->setAccessibleName(m_rbAfterChar->text());
  m_edtBefore->setAccessibleName(m_rbBeforeString->text());
  m_edtAfter->setAccessibleName(m_rbAfterString->text());

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(m_rbBegin, 0, 0, 1, 2);
  grid->addWidget(m_rbEnd, 1, 0, 1, 2);
  grid->addWidget(m_rbAfterChar, 2, 0);
  grid->addWidget(m_edtCharacterNumber, 2, 1, Qt::AlignLeft);
  grid->addWidget(m_rbBeforeString, 3, 0);
  grid->addWidget(m_edtBefore, 3, 1);
  grid->addWidget(m_rbAfterString, 4, 0);
  grid->addWidget(m_edtAfter, 4, 1);
  grid->setColumnStretch(1, 1);

  // The spin field's own text box takes the clicks and keys on the number itself.
  auto* numberText = m_edtCharacterNumber->findChild<QLineEdit*>();
  Watch(m_edtCharacterNumber, m_rbAfterChar);
  Watch(numberText, m_rbAfterChar);
  Watch(m_edtBefore, m_rbBeforeString);
  Watch(m_edtAfter, m_rbAfterString);
  connect(numberText, &QLineEdit::textEdited, this, [this] { m_rbAfterChar->setChecked(true); });
  // Stepping the number (arrow keys, wheel, spin buttons) edits no text. Only LoadPosition
  // sets the number from outside, and it ticks this option anyway.
  connect(m_edtCharacterNumber, &QSpinBox::valueChanged, this, [this] { m_rbAfterChar->setChecked(true); });
  connect(m_edtBefore, &QLineEdit::textEdited, this, [this] { m_rbBeforeString->setChecked(true); });
  connect(m_edtAfter, &QLineEdit::textEdited, this, [this] { m_rbAfterString->setChecked(true); });
  // Pressed comes before the click ticks the button, by mouse, Space or arrow key alike.
  connect(m_rbBeforeString, &QRadioButton::pressed, this, [this] { PickOption(m_rbBeforeString); });
  connect(m_rbAfterString, &QRadioButton::pressed, this, [this] { PickOption(m_rbAfterString); });
}

void TPositionOptions::LoadPosition(std::int32_t modifier, std::int32_t position, const std::string& search) {
  switch (modifier) {
    case posBeginning: m_rbBegin->setChecked(true); break;
    case posEnd: m_rbEnd->setChecked(true); break;
    case posAfterCharacters:
      m_rbAfterChar->setChecked(true);
      m_edtCharacterNumber->setValue(position);
      break;
    case posBeforeText:
      m_rbBeforeString->setChecked(true);
      m_edtBefore->setText(ToQString(search));
      m_edtAfter->clear();
      break;
    case posAfterText:
      m_rbAfterString->setChecked(true);
      m_edtBefore->clear();
      m_edtAfter->setText(ToQString(search));
      break;
    default: break;
  }
}

void TPositionOptions::StorePosition(std::int32_t& modifier, std::int32_t& position, std::string& search) const {
  if (m_rbBegin->isChecked()) {
    modifier = posBeginning;
  } else if (m_rbEnd->isChecked()) {
    modifier = posEnd;
  } else if (m_rbAfterChar->isChecked()) {
    modifier = posAfterCharacters;
    position = m_edtCharacterNumber->value();
  } else if (m_rbBeforeString->isChecked()) {
    modifier = posBeforeText;
    search = ToBytes(m_edtBefore->text());
  } else if (m_rbAfterString->isChecked()) {
    modifier = posAfterText;
    search = ToBytes(m_edtAfter->text());
  }
}

void TPositionOptions::PickOption(QRadioButton* option) {
  if (option == m_rbBeforeString && m_rbAfterString->isChecked()) m_edtBefore->setText(m_edtAfter->text());
  if (option == m_rbAfterString && m_rbBeforeString->isChecked()) m_edtAfter->setText(m_edtBefore->text());
  option->setChecked(true);
}

void TPositionOptions::Watch(QWidget* field, QRadioButton* option) {
  m_optionOfField.insert(field, option);
  field->installEventFilter(this);
}

bool TPositionOptions::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) PickOption(m_optionOfField.value(watched));
  return QWidget::eventFilter(watched, event);
}

}  // namespace qx
