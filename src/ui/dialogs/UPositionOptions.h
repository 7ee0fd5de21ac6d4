// SPDX-License-Identifier: GPL-3.0-or-later
// The "where" part of the insert, remove and counter dialogs: five radio buttons with
// their fields. Clicking a field or typing into it ticks its option; focus alone (Tab)
// never does, so moving through the dialog leaves the job as it was.
#pragma once

#include <QHash>
#include <QWidget>
#include <cstdint>
#include <string>

class QLineEdit;
class QRadioButton;

namespace qx {

class TNumberField;

// The dialogs' number field: a whole number from 1 to 65535, initially 1.
TNumberField* CreateNumberField(QWidget* parent, QAnyStringView objectName);

class TPositionOptions : public QWidget {
  Q_OBJECT

 public:
  TPositionOptions(QWidget* parent, const QString& beginCaption, const QString& endCaption);

  // `modifier` a TPosition; `position` counts characters for posAfterCharacters, `search`
  // is the text of posBeforeText and posAfterText. Any other modifier ticks nothing.
  void LoadPosition(std::int32_t modifier, std::int32_t position, const std::string& search);
  // The first ticked option decides; only the fields it uses change. Nothing ticked:
  // nothing changes.
  void StorePosition(std::int32_t& modifier, std::int32_t& position, std::string& search) const;

 protected:
  // A mouse press on a field picks its option.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Ticks `option`. Going from one string option to the other by clicking takes the
  // search text along; typing into a field does not, since the typed text is the new one.
  void PickOption(QRadioButton* option);
  // Clicks on `field` pick `option`.
  void Watch(QWidget* field, QRadioButton* option);

  QRadioButton* m_rbBegin;
  QRadioButton* m_rbEnd;
  QRadioButton* m_rbAfterChar;
  TNumberField* m_edtCharacterNumber;
  QRadioButton* m_rbBeforeString;
  QLineEdit* m_edtBefore;
  QRadioButton* m_rbAfterString;
  QLineEdit* m_edtAfter;
  QHash<const QObject*, QRadioButton*> m_optionOfField;
};

}  // namespace qx
