// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog of the job that simplifies characters: how (compose, decompose, remove
// accents and marks, to ASCII) and where (all characters, the name part, the extension).
#pragma once

#include <array>

#include "ui/dialogs/UJobDialog.h"

class QRadioButton;

namespace qx {

class TfrmSimplifyDetails : public TJobDialog {
  Q_OBJECT

 public:
  explicit TfrmSimplifyDetails(QWidget* parent = nullptr);

  void LoadJobIntoDialog(const TJob& job) override;
  void StoreDialogIntoJob(TJob& job) const override;

 private:
  std::array<QRadioButton*, 4> m_modes{};    // by TSimplifyMode
  std::array<QRadioButton*, 3> m_targets{};  // by TCaseTarget
};

}  // namespace qx
