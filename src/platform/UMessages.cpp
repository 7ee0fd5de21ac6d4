#include "platform/UMessages.h"

namespace qx {

void TMessageHost::ShowFailure(const std::string& text, const std::string& reason) {
  ShowMessage(FailureLine(text, reason));
}

std::string FailureLine(const std::string& text, const std::string& reason) { return text + " (" + reason + ")"; }

}  // namespace qx
