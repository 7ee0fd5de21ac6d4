// SPDX-License-Identifier: GPL-3.0-or-later
// The insert job's dialog: the string to insert and where it goes.
#pragma once

#include "ui/dialogs/UJobDialog.h"

class QLineEdit;

namespace qx {

class TPositionOptions;

class TfrmAddDetails : public TJobDialog {
  Q_OBJECT

 public:
  explicit TfrmAddDetails(QWidget* parent = nullptr);

  // Loads only an insert job: str1 is the text, int1 the position, str2 the search text.
  void LoadJobIntoDialog(const TJob& job) override;
  void StoreDialogIntoJob(TJob& job) const override;

 private:
  QLineEdit* m_edtString;
  TPositionOptions* m_position;
};

}  // namespace qx
