#include "app/UTermSignal.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>
#include <stdexcept>

namespace qx {

namespace {

// The handler may only write to a descriptor; the notifier reads it in the event loop.
int gSignalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(gSignalPipe[0], &byte, 1);
}

}  // namespace

TTermSignal::TTermSignal(std::function<void()> onTerm, QObject* parent) : QObject(parent), m_onTerm(std::move(onTerm)) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalPipe) != 0) {
    throw std::runtime_error("Cannot create the signal socket");
  }
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  if (::sigaction(SIGTERM, &action, nullptr) != 0) throw std::runtime_error("Cannot catch SIGTERM");
  m_notifier = new QSocketNotifier(gSignalPipe[1], QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, [this] {
    char byte;
    [[maybe_unused]] const ssize_t read = ::read(gSignalPipe[1], &byte, 1);
    m_onTerm();
  });
}

TTermSignal::~TTermSignal() {
  ::signal(SIGTERM, SIG_DFL);
  ::close(gSignalPipe[0]);
  ::close(gSignalPipe[1]);
}

}  // namespace qx
