// SPDX-License-Identifier: GPL-3.0-or-later
// The date job's dialog: which date, its format with an example of it, and where it goes.
// A format that would put "/" into a name cannot be accepted.
#pragma once

#include "ui/dialogs/UJobDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qx {

class TPositionOptions;

class TfrmDateDetails : public TJobDialog {
  Q_OBJECT

 public:
  explicit TfrmDateDetails(QWidget* parent = nullptr);

  // Loads only a date job: int1 the source, str2 the format, int2 the position, str1
  // the search text.
  void LoadJobIntoDialog(const TJob& job) override;
  void StoreDialogIntoJob(TJob& job) const override;

 private:
  // The example under the format, now's date in it, and OK only for a format a name can hold.
  void UpdateExample();

  QRadioButton* m_rbTaken;
  QRadioButton* m_rbModified;
  QLineEdit* m_edtFormat;
  QLabel* m_lblExample;
  TPositionOptions* m_position;
};

}  // namespace qx
