// How the core tells the user something or asks a Yes/No question. The desktop
// program answers with message boxes, the command line with the terminal, tests
// with a recording fake. The core never talks to the user any other way.
#pragma once

#include <string>

namespace qx {

class TMessageHost {
 public:
  virtual ~TMessageHost() = default;
  // An information message with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool Confirm(const std::string& text) = 0;
};

}  // namespace qx
