// SPDX-License-Identifier: GPL-3.0-or-later
// The left side of the main window: the mask, the job list and its commands, the buttons
// that add a job of each kind, the counter, the options of a run and the sample name to
// try the jobs on. It edits the window's job list; reading and writing it are the window's.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

#include "jobs/UTJob.h"
#include "rename/URunOptions.h"

class QAction;
class QBoxLayout;
class QComboBox;
class QLayout;
class QLineEdit;
class QListView;
class QSpinBox;

namespace qx {

class TDialogRunner;
class TJobListModel;
class TMessageHost;
class TOptionsPanel;
class ToxRegVal;

class TJobPanel : public QWidget {
  Q_OBJECT

 public:
  // `jobs`, `messages` and `dialogs` must outlive the panel; `regExHelp` is the command
  // behind the replace dialog's help button.
  TJobPanel(TJobListModel& jobs, TMessageHost& messages, TDialogRunner& dialogs, QAction* regExHelp,
            QWidget* parent = nullptr);

  TOptionsPanel& Options() const { return *m_options; }
  // Everything of a run that this panel shows, over `startDirectory`.
  TRunOptions RunOptions(const std::string& startDirectory) const;
  // Puts the current mask at the top of the history.
  void UpdateMaskHistory();
  // The jobs applied to the name of an entry picked in the file list, with its dates;
  // the counter runs on from pick to pick.
  void ShowSample(const std::string& folder, const std::string& name);

  // Store to controls (the options, the mask and its history, the sample, the counter's
  // start) and back. Throws what the store's getters throw.
  void ApplySettings(const ToxRegVal& ini);
  void SaveSettings(ToxRegVal& ini) const;

 signals:
  // Something a run's new names depend on changed: a job, a tick, the order of the jobs,
  // the mask, the counter's start or an option.
  void NamesInputsChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The rows from top to bottom; creating them in this order gives the tab order.
  QBoxLayout* CreateMaskRow();
  QBoxLayout* CreateJobsRow();
  QBoxLayout* CreateJobButtons();
  QBoxLayout* CreateAddRow();
  QBoxLayout* CreateSampleRow();
  void ForwardChanges();

  // Opens the dialog of the job's kind; true, and the job changed, only after OK.
  bool RunJobDialog(TJob& job);
  void AddJob(TJobKind kind);
  // The selected row, or -1 after telling the user to select one.
  int SelectedJobOrSay() const;
  void SelectJob(int row);
  void btnEditClick();
  void btnRemoveClick();
  void btnUpClick();
  void btnDownClick();
  void btnExampleClick();

  TJobListModel& m_jobs;
  TMessageHost& m_messages;
  TDialogRunner& m_dialogs;
  QAction* m_regExHelp;
  std::int32_t m_counterValue = 0;
  QComboBox* m_cmbFileMask = nullptr;
  QListView* m_lbJobs = nullptr;
  QSpinBox* m_edtCounter = nullptr;
  TOptionsPanel* m_options = nullptr;
  QLineEdit* m_edtExample = nullptr;
};

}  // namespace qx
