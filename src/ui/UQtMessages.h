// The desktop program's answer to TMessageHost: message boxes titled "Quillex" over
// the active window. Says nothing itself; every text comes from its caller.
#pragma once

#include "platform/UMessages.h"

namespace qx {

inline constexpr const char* kApplicationTitle = "Quillex";

class TQtMessages : public TMessageHost {
 public:
  void ShowMessage(const std::string& text) override;
  // Yes and No only.
  bool Confirm(const std::string& text) override;
  // The reason on a line of its own, under the text, in the same box.
  void ShowFailure(const std::string& text, const std::string& reason) override;
};

}  // namespace qx
