// SPDX-License-Identifier: GPL-3.0-or-later
// The layout the remove and counter dialogs share: a number of characters, then where.
// The two differ only in their captions and kind.
#pragma once

#include "ui/dialogs/UJobDialog.h"

class QSpinBox;

namespace qx {

class TPositionOptions;

struct TCountPositionCaptions {
  QString window;
  QString prompt;
  QString begin;
  QString end;
};

class TCountPositionDialog : public TJobDialog {
  Q_OBJECT

 public:
  // Loads only a job of the dialog's kind: int1 is the count, int2 the position, str1
  // the search text.
  void LoadJobIntoDialog(const TJob& job) override;
  void StoreDialogIntoJob(TJob& job) const override;

 protected:
  TCountPositionDialog(QWidget* parent, TJobKind kind, const TCountPositionCaptions& captions);

 private:
  TJobKind m_kind;
  QSpinBox* m_edtCharacterCount;
  TPositionOptions* m_position;
};

}  // namespace qx
