// SPDX-License-Identifier: GPL-3.0-or-later
// The window's message host: TMessageHost's blocking calls for the window's own
// messages, and the same boxes for work on another thread, which return at once and
// hand the answer on when it is given. Knows nothing of that work.
#pragma once

#include <functional>
#include <string>

#include "platform/UMessages.h"

namespace qx {

class TWindowMessages : public TMessageHost {
 public:
  template <typename T>
  using TAnswered = std::function<void(T)>;
  using TSeen = std::function<void()>;

  // Each shows its box and returns; its callback runs exactly once, on the window's
  // thread, with the user's answer, or with Esc's when the box is dismissed or goes with
  // its parent. By default the blocking call answers before returning, for hosts whose
  // boxes cannot stay open.
  virtual void ShowMessageThen(const std::string& text, TSeen seen);
  virtual void ConfirmThen(const std::string& text, TAnswered<bool> answered);
  virtual void ShowFailureThen(const std::string& text, const std::string& reason, TSeen seen);
  virtual void AskRenameThen(const std::string& question, TAnswered<TRenameAnswer> answered);
  virtual void ShowRunFailureThen(const std::string& text, const std::string& reason,
                                  TAnswered<TFailureAnswer> answered);
};

}  // namespace qx
