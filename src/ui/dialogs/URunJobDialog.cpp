// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/URunJobDialog.h"

#include "ui/dialogs/UDialogRunner.h"
#include "ui/dialogs/UfrmAddDetails.h"
#include "ui/dialogs/UfrmCaseDetails.h"
#include "ui/dialogs/UfrmCounterDetails.h"
#include "ui/dialogs/UfrmDateDetails.h"
#include "ui/dialogs/UfrmRemoveDetails.h"
#include "ui/dialogs/UfrmReplaceDetails.h"
#include "ui/dialogs/UfrmShiftDetails.h"
#include "ui/dialogs/UfrmSimplifyDetails.h"

namespace qx {

std::unique_ptr<TJobDialog> CreateJobDialog(TJobKind kind, QWidget* parent) {
  switch (kind) {
    case TJobKind::jobLower:
    case TJobKind::jobUpper:
    case TJobKind::jobNormal: return std::make_unique<TfrmCaseDetails>(parent);
    case TJobKind::jobInsert: return std::make_unique<TfrmAddDetails>(parent);
    case TJobKind::jobRemove: return std::make_unique<TfrmRemoveDetails>(parent);
    case TJobKind::jobReplace: return std::make_unique<TfrmReplaceDetails>(parent);
    case TJobKind::jobCounter: return std::make_unique<TfrmCounterDetails>(parent);
    case TJobKind::jobDate: return std::make_unique<TfrmDateDetails>(parent);
    case TJobKind::jobSimplify: return std::make_unique<TfrmSimplifyDetails>(parent);
    case TJobKind::jobShift: return std::make_unique<TfrmShiftDetails>(parent);
    case TJobKind::jobNone: break;
  }
  return nullptr;
}

bool RunJobDialog(TJob& job, QWidget* parent, TDialogRunner& runner, QAction* regExHelp) {
  const std::unique_ptr<TJobDialog> dialog = CreateJobDialog(job.type, parent);
  if (!dialog) return false;
  if (auto* replace = qobject_cast<TfrmReplaceDetails*>(dialog.get()); replace && regExHelp) {
    replace->SetRegExHelpCommand(regExHelp);
  }
  dialog->LoadJobIntoDialog(job);
  if (!runner.Exec(*dialog)) return false;
  dialog->StoreDialogIntoJob(job);
  return true;
}

}  // namespace qx
