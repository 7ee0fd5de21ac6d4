// SPDX-License-Identifier: GPL-3.0-or-later
// What the five job dialogs share: a fixed-size modal window without title-bar
// buttons, "Cancel" (Esc) and "OK" (Enter), and the load/store pair through which the
// main window fills a dialog from a job and writes it back after OK. No dialog checks
// its input.
#pragma once

#include <QDialog>

#include "jobs/UTJob.h"

class QBoxLayout;
class QPushButton;

namespace qx {

class TJobDialog : public QDialog {
  Q_OBJECT

 public:
  // Fills the controls from the job; called once, before the dialog is shown.
  virtual void LoadJobIntoDialog(const TJob& job) = 0;
  // Writes the controls into the job; only after OK. Fields the chosen option does not
  // use keep their values, and no dialog writes the job's kind or its enabled flag.
  virtual void StoreDialogIntoJob(TJob& job) const = 0;

 protected:
  TJobDialog(QWidget* parent, const QString& caption);
  // Appends the bar with "Cancel" and "OK" at the right; call it after the other
  // controls so the tab order ends with them.
  void AddButtonBar(QBoxLayout* layout, QWidget* leftOfButtons = nullptr);
  // Call once all controls exist.
  void FixSize();
};

}  // namespace qx
