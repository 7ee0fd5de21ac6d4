// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UfrmSimplifyDetails.h"

#include "ui/dialogs/UChoiceButtons.h"

using namespace Qt::StringLiterals;

namespace qx {

TfrmSimplifyDetails::TfrmSimplifyDetails(QWidget* parent) : TJobDialog(parent, u"Simplify characters"_s) {
  setObjectName("frmSimplifyDetails");
  auto* layout = new QVBoxLayout(this);
  AddChoices<4>(*this, *layout, u"Simplify characters by..."_s,
                {{{"rbCompose", u"composing them (NFC; what Linux programs expect)"_s},
                  {"rbDecompose", u"decomposing them (NFD; as macOS writes names)"_s},
                  {"rbRemoveMarks", u"removing accents and marks (é -> e, ß -> ss)"_s},
                  {"rbAscii", u"writing them in ASCII (Ærøskøbing -> AEroskobing, Москва -> Moskva)"_s}}},
                m_modes);
  AddChoices<3>(*this, *layout, u"in..."_s,
                {{{"rbAll", u"all characters (filename and extension)"_s},
                  {"rbFilename", u"filename only"_s},
                  {"rbExtension", u"extension only"_s}}},
                m_targets);
  layout->addSpacing(8);
  AddButtonBar(layout);
  FixSize();
}

void TfrmSimplifyDetails::LoadJobIntoDialog(const TJob& job) {
  CheckChoice(m_modes, job.int1);
  CheckChoice(m_targets, job.modifier);
}

void TfrmSimplifyDetails::StoreDialogIntoJob(TJob& job) const {
  // Nothing ticked keeps what the job held.
  job.int1 = CheckedChoice(m_modes, job.int1);
  job.modifier = CheckedChoice(m_targets, job.modifier);
}

}  // namespace qx
