// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/USignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/USystemError.h"

namespace qx {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;
void (*gPreviousInterrupt)(int) = SIG_DFL;
void (*gPreviousTerm)(int) = SIG_DFL;

void OnInterrupt(int signal) {
  gInterrupted = 1;
  std::signal(signal, SIG_DFL);
}

// [0] written by the handler, [1] read by the event loop.
int gTermPipe[2] = {-1, -1};

void OnTerm(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(gTermPipe[0], &byte, 1);
  errno = saved;
}

}  // namespace

TInterruptWatch::TInterruptWatch() {
  gInterrupted = 0;
  gPreviousInterrupt = std::signal(SIGINT, OnInterrupt);
  gPreviousTerm = std::signal(SIGTERM, OnInterrupt);
}

TInterruptWatch::~TInterruptWatch() {
  std::signal(SIGINT, gPreviousInterrupt);
  std::signal(SIGTERM, gPreviousTerm);
}

bool TInterruptWatch::Interrupted() const { return gInterrupted != 0; }

TTermSignalPipe::TTermSignalPipe() {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gTermPipe) != 0) {
    throw TSystemError("Cannot create", "the signal socket", errno);
  }
  struct sigaction action {};
  action.sa_handler = OnTerm;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  if (::sigaction(SIGTERM, &action, nullptr) != 0) throw TSystemError("Cannot catch", "SIGTERM", errno);
}

TTermSignalPipe::~TTermSignalPipe() {
  std::signal(SIGTERM, SIG_DFL);
  ::close(gTermPipe[0]);
  ::close(gTermPipe[1]);
}

int TTermSignalPipe::Descriptor() const { return gTermPipe[1]; }

void TTermSignalPipe::Acknowledge() {
  char byte;
  [[maybe_unused]] const ssize_t read = ::read(gTermPipe[1], &byte, 1);
}

}  // namespace qx
