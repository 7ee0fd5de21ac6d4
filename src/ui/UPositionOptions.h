// The "where" part of the insert, remove and counter dialogs: five radio buttons with
// their fields, and the focus behaviour that ticks an option when its field is entered
// and carries the search text between "before this string" and "after this string".
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace qx {

// A spin field for a whole number from 1 to 65535, initially 1; a value outside the
// range shows as the nearest bound, and so does an entry when the field is left.
QSpinBox* CreateNumberField(QWidget* parent, const QString& objectName);

class TPositionOptions : public QWidget {
  Q_OBJECT

 public:
  TPositionOptions(QWidget* parent, const QString& beginCaption, const QString& endCaption);

  // modifier 0 begin, 1 end, 2 after `position` characters, 3 before / 4 after `search`.
  // Any other modifier ticks nothing.
  void LoadPosition(std::int32_t modifier, std::int32_t position, const std::string& search);
  // The first ticked option decides; only the fields it uses change. Nothing ticked:
  // nothing changes.
  void StorePosition(std::int32_t& modifier, std::int32_t& position, std::string& search) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QRadioButton* m_rbBegin;
  QRadioButton* m_rbEnd;
  QRadioButton* m_rbAfterChar;
  QSpinBox* m_edtCharacterNumber;
  QRadioButton* m_rbBeforeString;
  QLineEdit* m_edtBefore;
  QRadioButton* m_rbAfterString;
  QLineEdit* m_edtAfter;
};

}  // namespace qx
