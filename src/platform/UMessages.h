// SPDX-License-Identifier: GPL-3.0-or-later
// How the core tells the user something or asks a Yes/No question. The desktop
// program answers with message boxes, the command line with the terminal, tests
// with a recording fake. The core never talks to the user any other way.
#pragma once

#include <string>
#include <vector>

namespace qx {

// The answers to the question a run asks before each rename.
enum class TRenameAnswer { Yes, No, YesToAll, Cancel };
// The answers to a failure a run reports.
enum class TFailureAnswer { Ok, IgnoreAll, Cancel };

class TMessageHost {
 public:
  virtual ~TMessageHost() = default;
  // An information message with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool Confirm(const std::string& text) = 0;
  // A failure and why it happened. One line, FailureLine(text, reason), unless the host
  // has room to show the reason on a line of its own.
  virtual void ShowFailure(const std::string& text, const std::string& reason);

  // A run's question before a rename; a host that offers only Yes and No asks Confirm.
  virtual TRenameAnswer AskRename(const std::string& question);
  // A failure during a run; a host that offers only OK shows it with ShowFailure.
  virtual TFailureAnswer ShowRunFailure(const std::string& text, const std::string& reason);
  // Answers a question or message still open as Esc would (No, OK), for a run stopped
  // from elsewhere meanwhile. A host whose questions cannot stay open does nothing.
  virtual void Dismiss() {}
};

// Keeps what would have been shown, for the moments when nobody may be asked: the end
// of a session. A question is kept too and answered No.
class TMessageLog : public TMessageHost {
 public:
  void ShowMessage(const std::string& text) override { m_texts.push_back(text); }
  bool Confirm(const std::string& text) override {
    m_texts.push_back(text);
    return false;
  }
  const std::vector<std::string>& Texts() const { return m_texts; }

 private:
  std::vector<std::string> m_texts;
};

// "<text> (<reason>)": a failure and its reason on one line, for a log or a terminal.
std::string FailureLine(const std::string& text, const std::string& reason);

}  // namespace qx
