#include "ui/UPositionOptions.h"

#include <QEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include "ui/UQtText.h"

namespace qx {

QSpinBox* CreateNumberField(QWidget* parent, const QString& objectName) {
  auto* field = new QSpinBox(parent);
  field->setObjectName(objectName);
  field->setRange(1, 65535);
  field->setValue(1);
  field->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
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
  m_rbAfterChar = radio("rbAfterChar", "after character #");
  m_edtCharacterNumber = CreateNumberField(this, "edtCharacterNumber");
  m_rbBeforeString = radio("rbBeforeString", "before this string");
  m_edtBefore = edit("edtBefore");
  m_rbAfterString = radio("rbAfterString", "after this string");
  m_edtAfter = edit("edtAfter");

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

  for (QWidget* watched : {static_cast<QWidget*>(m_edtCharacterNumber), static_cast<QWidget*>(m_rbBeforeString),
                           static_cast<QWidget*>(m_edtBefore), static_cast<QWidget*>(m_rbAfterString),
                           static_cast<QWidget*>(m_edtAfter)}) {
    watched->installEventFilter(this);
  }
}

void TPositionOptions::LoadPosition(std::int32_t modifier, std::int32_t position, const std::string& search) {
  switch (modifier) {
    case 0: m_rbBegin->setChecked(true); break;
    case 1: m_rbEnd->setChecked(true); break;
    case 2:
      m_rbAfterChar->setChecked(true);
      m_edtCharacterNumber->setValue(position);
      break;
    case 3:
      m_rbBeforeString->setChecked(true);
      m_edtBefore->setText(ToQString(search));
      m_edtAfter->clear();
      break;
    case 4:
      m_rbAfterString->setChecked(true);
      m_edtBefore->clear();
      m_edtAfter->setText(ToQString(search));
      break;
    default: break;
  }
}

void TPositionOptions::StorePosition(std::int32_t& modifier, std::int32_t& position, std::string& search) const {
  if (m_rbBegin->isChecked()) {
    modifier = 0;
  } else if (m_rbEnd->isChecked()) {
    modifier = 1;
  } else if (m_rbAfterChar->isChecked()) {
    modifier = 2;
    position = m_edtCharacterNumber->value();
  } else if (m_rbBeforeString->isChecked()) {
    modifier = 3;
    search = ToBytes(m_edtBefore->text());
  } else if (m_rbAfterString->isChecked()) {
    modifier = 4;
    search = ToBytes(m_edtAfter->text());
  }
}

bool TPositionOptions::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::FocusIn) return QWidget::eventFilter(watched, event);
  if (watched == m_edtCharacterNumber) {
    m_rbAfterChar->setChecked(true);
  } else if (watched == m_rbBeforeString || watched == m_edtBefore) {
    if (m_rbAfterString->isChecked()) m_edtBefore->setText(m_edtAfter->text());
    m_rbBeforeString->setChecked(true);
  } else if (watched == m_rbAfterString || watched == m_edtAfter) {
    if (m_rbBeforeString->isChecked()) m_edtAfter->setText(m_edtBefore->text());
    m_rbAfterString->setChecked(true);
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace qx
