#pragma once

// SIGTERM and SIGHUP (the session ends, `kill`, the terminal goes away) end the program the
// way the user does: the main window closes, which writes the default design file, and then
// the program exits. The handler itself only writes a byte into a socket pair, the one thing
// a signal handler may safely do; the event loop reads it and does the rest.

#include <QObject>
#include <array>
#include <csignal>
#include <functional>

class QSocketNotifier;

namespace morvane::gui {

class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  static constexpr std::array<int, 2> kSignals{SIGTERM, SIGHUP};

  // Catches the signals from now on, except one the program was started to ignore (as
  // `nohup` does with SIGHUP); one that arrives before Handle() waits in the socket pair.
  // Each signal is caught once: the second of a kind ends the program as usual, so a close
  // that hangs can still be ended.
  TerminationSignals();
  // Gives the signals back what they did before.
  ~TerminationSignals() override;

  // False when the signals could not be caught (they then end the program as usual).
  bool Installed() const { return notifier_ != nullptr; }

  // From the next turn of the event loop on, a caught signal calls `end`, once in all.
  void Handle(std::function<void()> end);

 private:
  bool CatchSignals();
  void RestoreSignals();
  void Read();

  QSocketNotifier* notifier_ = nullptr;
  std::function<void()> end_;
  bool ended_ = false;
  std::array<struct sigaction, kSignals.size()> before_{};
  std::size_t saved_ = 0;  // the signals whose former action before_ holds
};

}  // namespace morvane::gui
