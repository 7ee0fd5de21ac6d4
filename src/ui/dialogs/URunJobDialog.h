// SPDX-License-Identifier: GPL-3.0-or-later
// Which dialog edits which kind of job, and one edit: create the dialog, load the job,
// show it modally, store it back on OK, destroy the dialog.
#pragma once

#include <memory>

#include "jobs/UTJob.h"

class QAction;
class QWidget;

namespace qx {

class TDialogRunner;
class TJobDialog;

// The dialog of the kind; nothing for jobNone or an unknown kind.
std::unique_ptr<TJobDialog> CreateJobDialog(TJobKind kind, QWidget* parent);

// True when the dialog closed with OK; only then has `job` changed. A job of a kind
// without a dialog opens nothing and gives false. `regExHelp` is the command behind
// the replace dialog's help button.
bool RunJobDialog(TJob& job, QWidget* parent, TDialogRunner& runner, QAction* regExHelp);

}  // namespace qx
