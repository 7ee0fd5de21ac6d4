// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UMessages.h"

namespace qx {

void TMessageHost::ShowFailure(const std::string& text, const std::string& reason) {
  ShowMessage(FailureLine(text, reason));
}

TRenameAnswer TMessageHost::AskRename(const std::string& question) {
  return Confirm(question) ? TRenameAnswer::Yes : TRenameAnswer::No;
}

TFailureAnswer TMessageHost::ShowRunFailure(const std::string& text, const std::string& reason) {
  ShowFailure(text, reason);
  return TFailureAnswer::Ok;
}

std::string FailureLine(const std::string& text, const std::string& reason) { return text + " (" + reason + ")"; }

}  // namespace qx
