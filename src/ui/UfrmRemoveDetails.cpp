#include "ui/UfrmRemoveDetails.h"

namespace qx {

TfrmRemoveDetails::TfrmRemoveDetails(QWidget* parent)
    : TCountPositionDialog(parent, TJobKind::jobRemove,
                           {"Remove a number of characters", "Remove...", "from the beggining of filenames",
                            "from the end of filenames"}) {
  setObjectName("frmRemoveDetails");
}

}  // namespace qx
