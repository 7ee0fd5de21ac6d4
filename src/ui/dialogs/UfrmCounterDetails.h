// SPDX-License-Identifier: GPL-3.0-or-later
// The counter job's dialog: the counter's width in characters and where it goes.
#pragma once

#include "ui/dialogs/UCountPositionDialog.h"

namespace qx {

class TfrmCounterDetails : public TCountPositionDialog {
  Q_OBJECT

 public:
  explicit TfrmCounterDetails(QWidget* parent = nullptr);
};

}  // namespace qx
