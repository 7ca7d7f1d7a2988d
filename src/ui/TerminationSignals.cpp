// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TerminationSignals.h"

#ifndef _WIN32
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#endif

namespace vornak {

#ifndef _WIN32
namespace {

// The handler may only write: the byte wakes the event loop.
int wakeEnds[2] = {-1, -1};

void onSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(wakeEnds[1], &byte, 1);
  errno = saved;
}

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, wakeEnds) != 0) return;
  auto* notifier = new QSocketNotifier(wakeEnds[0], QSocketNotifier::Read, this);
  connect(notifier, &QSocketNotifier::activated, this, [this] {
    char bytes[16];
    while (::read(wakeEnds[0], bytes, sizeof bytes) > 0) {
    }
    emit received();
  });
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  for (const int signal : kSignals) std::signal(signal, SIG_DFL);
  for (int& end : wakeEnds) {
    if (end >= 0) ::close(end);
    end = -1;
  }
}
#else
TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {}
TerminationSignals::~TerminationSignals() = default;
#endif

}  // namespace vornak
