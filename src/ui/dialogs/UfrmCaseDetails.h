// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog of the three case jobs: all characters, the name part or the extension.
// Caption and prompt follow the kind of the job loaded.
#pragma once

#include "ui/dialogs/UJobDialog.h"

class QCheckBox;
class QLabel;
class QRadioButton;

namespace qx {

class TfrmCaseDetails : public TJobDialog {
  Q_OBJECT

 public:
  explicit TfrmCaseDetails(QWidget* parent = nullptr);

  void LoadJobIntoDialog(const TJob& job) override;
  void StoreDialogIntoJob(TJob& job) const override;

 private:
  QLabel* m_lblPrompt;
  QRadioButton* m_rbAll;
  QRadioButton* m_rbFilename;
  QRadioButton* m_rbExtension;
  QCheckBox* m_chkEveryAlphabet;
};

}  // namespace qx
