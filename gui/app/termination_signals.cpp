#include "app/termination_signals.h"

#include <QSocketNotifier>
#include <cerrno>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace morvane::gui {

namespace {

// [0] is read by the event loop, [1] written by the handler: one pair for the process, as
// the handler cannot reach an object.
int signalSockets[2] = {-1, -1};

extern "C" void WriteSignalByte(int signal) {
  const int saved = errno;
  const char byte = static_cast<char>(signal);
  // Non-blocking: should the socket ever be full, bytes are waiting there already.
  [[maybe_unused]] const ssize_t written = ::write(signalSockets[1], &byte, 1);
  errno = saved;
}

bool OpenSockets() {
  if (signalSockets[0] >= 0) return true;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0) return false;
  for (int fd : signalSockets) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  return true;
}

}  // namespace

TerminationSignals::TerminationSignals() {
  if (!OpenSockets()) return;
  notifier_ = new QSocketNotifier(signalSockets[0], QSocketNotifier::Read, this);
  notifier_->setEnabled(false);
  connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::Read);
  if (!CatchSignals()) {
    RestoreSignals();
    delete notifier_;
    notifier_ = nullptr;
  }
}

TerminationSignals::~TerminationSignals() {
  if (notifier_) RestoreSignals();
}

bool TerminationSignals::CatchSignals() {
  struct sigaction action {};
  action.sa_handler = WriteSignalByte;
  sigemptyset(&action.sa_mask);
  // SA_RESETHAND: the next signal of the kind takes its usual course.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    if (::sigaction(kSignals[i], nullptr, &before_[i]) != 0) return false;
    saved_ = i + 1;
    if (before_[i].sa_handler == SIG_IGN) continue;
    if (::sigaction(kSignals[i], &action, nullptr) != 0) return false;
  }
  return true;
}

void TerminationSignals::RestoreSignals() {
  for (std::size_t i = 0; i < saved_; ++i) ::sigaction(kSignals[i], &before_[i], nullptr);
}

void TerminationSignals::Handle(std::function<void()> end) {
  end_ = std::move(end);
  if (notifier_) notifier_->setEnabled(true);
}

void TerminationSignals::Read() {
  char bytes[16];
  while (::read(signalSockets[0], bytes, sizeof bytes) > 0) {
  }
  if (ended_ || !end_) return;
  ended_ = true;
  end_();
}

}  // namespace morvane::gui
