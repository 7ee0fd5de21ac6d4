// SPDX-License-Identifier: GPL-3.0-or-later
// A message host that records what the core said and answers questions from a script.
#pragma once

#include <deque>
#include <functional>
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
    return Next(answers, false);
  }

  // A run's questions and failures go to `questions` and `messages` too; `whileOpen`
  // runs as the user would act while the box is open, before the answer. A rename
  // question takes `answers` (Yes or No) once `renameAnswers` has run out.
  TRenameAnswer AskRename(const std::string& question) override {
    questions.push_back(question);
    if (whileOpen) whileOpen();
    if (!renameAnswers.empty()) return Next(renameAnswers, TRenameAnswer::No);
    return Next(answers, false) ? TRenameAnswer::Yes : TRenameAnswer::No;
  }
  TFailureAnswer ShowRunFailure(const std::string& text, const std::string& reason) override {
    messages.push_back(FailureLine(text, reason));
    if (whileOpen) whileOpen();
    return Next(failureAnswers, TFailureAnswer::Ok);
  }
  void Dismiss() override { ++dismissals; }

  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::deque<bool> answers;  // consumed in order; No once they run out
  std::deque<TRenameAnswer> renameAnswers;
  std::deque<TFailureAnswer> failureAnswers;  // OK once they run out
  std::function<void()> whileOpen;
  int dismissals = 0;

 private:
  template <typename T>
  static T Next(std::deque<T>& answers, T otherwise) {
    if (answers.empty()) return otherwise;
    const T answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

using TRecordingMessages = TRecordingMessagesOf<TMessageHost>;

}  // namespace qx::test
