// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog of the job that shifts numbers: the amount added (below zero subtracts),
// which numbers of the name, and whether a number may fall below zero.
#pragma once

#include <array>

#include "ui/dialogs/UJobDialog.h"

class QCheckBox;
class QRadioButton;
class QSpinBox;

namespace qx {

class TfrmShiftDetails : public TJobDialog {
  Q_OBJECT

 public:
  explicit TfrmShiftDetails(QWidget* parent = nullptr);

  void LoadJobIntoDialog(const TJob& job) override;
  void StoreDialogIntoJob(TJob& job) const override;

 private:
  QSpinBox* m_edtAmount;
  std::array<QRadioButton*, 3> m_which{};  // by TShiftWhich
  QCheckBox* m_chkBelowZero;
};

}  // namespace qx
