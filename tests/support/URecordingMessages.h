// A message host that records what the core said and answers questions from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/UMessages.h"

namespace qx::test {

// `Base` is TMessageHost or an interface derived from it, such as the run's host.
template <class Base>
class TRecordingMessagesOf : public Base {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string& text) override {
    questions.push_back(text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::deque<bool> answers;  // consumed in order; No once they run out
};

using TRecordingMessages = TRecordingMessagesOf<TMessageHost>;

}  // namespace qx::test
