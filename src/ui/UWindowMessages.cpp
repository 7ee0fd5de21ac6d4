// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UWindowMessages.h"

namespace qx {

void TWindowMessages::ShowMessageThen(const std::string& text, TSeen seen) {
  ShowMessage(text);
  seen();
}

void TWindowMessages::ConfirmThen(const std::string& text, TAnswered<bool> answered) { answered(Confirm(text)); }

void TWindowMessages::ShowFailureThen(const std::string& text, const std::string& reason, TSeen seen) {
  ShowFailure(text, reason);
  seen();
}

void TWindowMessages::AskRenameThen(const std::string& question, TAnswered<TRenameAnswer> answered) {
  answered(AskRename(question));
}

void TWindowMessages::ShowRunFailureThen(const std::string& text, const std::string& reason,
                                         TAnswered<TFailureAnswer> answered) {
  answered(ShowRunFailure(text, reason));
}

}  // namespace qx
