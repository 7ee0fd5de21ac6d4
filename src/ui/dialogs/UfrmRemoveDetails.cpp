// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UfrmRemoveDetails.h"

using namespace Qt::StringLiterals;

namespace qx {

TfrmRemoveDetails::TfrmRemoveDetails(QWidget* parent)
    : TCountPositionDialog(parent, TJobKind::jobRemove,
                           {u"Remove a number of characters"_s, u"Remove..."_s, u"from the beggining of filenames"_s,
                            u"from the end of filenames"_s}) {
  setObjectName("frmRemoveDetails");
}

}  // namespace qx
