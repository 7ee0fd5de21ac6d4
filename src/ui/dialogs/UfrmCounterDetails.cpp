// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UfrmCounterDetails.h"

using namespace Qt::StringLiterals;

namespace qx {

TfrmCounterDetails::TfrmCounterDetails(QWidget* parent)
    : TCountPositionDialog(parent, TJobKind::jobCounter,
                           {u"File Counter"_s, u"Insert a numeric string of..."_s, u"at the beggining of filenames"_s,
                            u"at the end of filenames"_s}) {
  setObjectName("frmCounterDetails");
}

}  // namespace qx
