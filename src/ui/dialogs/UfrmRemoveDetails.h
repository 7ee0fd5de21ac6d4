// SPDX-License-Identifier: GPL-3.0-or-later
// The remove job's dialog: how many characters to remove and from where.
#pragma once

#include "ui/dialogs/UCountPositionDialog.h"

namespace qx {

class TfrmRemoveDetails : public TCountPositionDialog {
  Q_OBJECT

 public:
  explicit TfrmRemoveDetails(QWidget* parent = nullptr);
};

}  // namespace qx
