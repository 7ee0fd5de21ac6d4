// SPDX-License-Identifier: GPL-3.0-or-later
// The two signals Quillex answers: Ctrl-C (and SIGTERM) ask a command-line run to stop,
// SIGTERM closes the desktop program the way the user would. Handlers only set a flag or
// write a byte; the program looks at them where it is safe to act.
#pragma once

namespace qx {

// While it lives, the first SIGINT or SIGTERM only raises Interrupted(), so a run
// stopped either way finishes its folder and says it was cancelled; a second one ends
// the program at once, as it would without the watch. The previous handling comes back
// when it goes.
class TInterruptWatch {
 public:
  TInterruptWatch();
  ~TInterruptWatch();
  TInterruptWatch(const TInterruptWatch&) = delete;
  TInterruptWatch& operator=(const TInterruptWatch&) = delete;

  bool Interrupted() const;
};

// While it lives, SIGTERM makes a byte readable on Descriptor(), for an event loop to
// watch; Acknowledge() reads it. Only one may exist. Throws TSystemError when the
// signal cannot be caught.
class TTermSignalPipe {
 public:
  TTermSignalPipe();
  ~TTermSignalPipe();
  TTermSignalPipe(const TTermSignalPipe&) = delete;
  TTermSignalPipe& operator=(const TTermSignalPipe&) = delete;

  int Descriptor() const;
  void Acknowledge();
};

}  // namespace qx
