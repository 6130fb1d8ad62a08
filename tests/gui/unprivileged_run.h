#pragma once

// Checks that need a folder the test cannot write into. Root may write anywhere, so as root
// such a check runs in a forked child that has become the unprivileged user "nobody";
// without that possibility the check is skipped.

#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace morvane::gui::test {

inline constexpr uid_t kUnprivilegedId = 65534;
inline constexpr int kCannotDropPrivileges = 77;

// Turns the calling process into "nobody"; false when it cannot.
inline bool BecomeUnprivileged() {
  return ::setgroups(0, nullptr) == 0 &&
         ::setresgid(kUnprivilegedId, kUnprivilegedId, kUnprivilegedId) == 0 &&
         ::setresuid(kUnprivilegedId, kUnprivilegedId, kUnprivilegedId) == 0 &&
         ::geteuid() == kUnprivilegedId;
}

// Runs `check` as an unprivileged user and gives its lines back: directly when the test does
// not run as root, else in a forked child that drops its privileges first. nullopt when they
// cannot be dropped or the child failed.
inline std::optional<QStringList> RunUnprivileged(const std::function<QStringList()>& check) {
  if (::geteuid() != 0) return check();
  int channel[2];
  if (::pipe(channel) != 0) return std::nullopt;
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    ::close(channel[0]);
    if (!BecomeUnprivileged()) ::_exit(kCannotDropPrivileges);
    const std::string text = check().join(QChar(0x1e)).toStdString();
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t n = ::write(channel[1], text.data() + done, text.size() - done);
      if (n <= 0) ::_exit(1);
      done += static_cast<std::size_t>(n);
    }
    ::_exit(0);
  }
  ::close(channel[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) != 0;) {
    if (n > 0)
      text.append(buffer, static_cast<std::size_t>(n));
    else if (errno != EINTR)
      break;
  }
  ::close(channel[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  if (text.empty()) return QStringList();
  return QString::fromStdString(text).split(QChar(0x1e));
}

// Whether RunUnprivileged can run its checks at all.
inline bool CanRunUnprivileged() {
  return RunUnprivileged([] { return QStringList(); }).has_value();
}

}  // namespace morvane::gui::test
