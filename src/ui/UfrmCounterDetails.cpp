#include "ui/UfrmCounterDetails.h"

namespace qx {

TfrmCounterDetails::TfrmCounterDetails(QWidget* parent)
    : TCountPositionDialog(parent, TJobKind::jobCounter,
                           {"File Counter", "Insert a numeric string of...", "at the beggining of filenames",
                            "at the end of filenames"}) {
  setObjectName("frmCounterDetails");
}

}  // namespace qx
