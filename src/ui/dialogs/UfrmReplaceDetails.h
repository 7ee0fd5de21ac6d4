// SPDX-License-Identifier: GPL-3.0-or-later
// The replace job's dialog: find and replacement texts, match case, regular
// expressions, and a tester that shows what RegexReplace makes of a sample input.
// The tester's input outlives the dialog for as long as the program runs.
#pragma once

#include "ui/dialogs/UJobDialog.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qx {

class TfrmReplaceDetails : public TJobDialog {
  Q_OBJECT

 public:
  static constexpr int kHeightWithTester = 220;
  static constexpr int kHeightWithoutTester = 156;

  explicit TfrmReplaceDetails(QWidget* parent = nullptr);
  // Keeps the tester's input for the next dialog.
  ~TfrmReplaceDetails() override;

  // Loads only a replace job.
  void LoadJobIntoDialog(const TJob& job) override;
  void StoreDialogIntoJob(TJob& job) const override;

  // "Regular Expression Help" runs this command, and is usable when it is.
  void SetRegExHelpCommand(QAction* command);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The tester shows only with "Use Regular Expressions" ticked.
  void UpdateTesterLayout();
  // Always the regular-expression replacement, matching case, whatever the boxes say.
  void UpdateTesterOutput();
  // The classic height, or taller while the tester's output needs more lines.
  void FitHeight();

  QLineEdit* m_edtString1;
  QLineEdit* m_edtString2;
  QCheckBox* m_chkMatchCase;
  QCheckBox* m_chkRegex;
  QWidget* m_tester;
  QLineEdit* m_edtInput;
  QLabel* m_lblOutput;
  QPushButton* m_btnRegExHelp;
};

}  // namespace qx
