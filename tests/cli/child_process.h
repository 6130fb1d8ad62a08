#pragma once

// Runs morvane-cli as a child process with exactly these argument bytes (no shell between)
// under conditions a user's system may impose: a file-size limit, stdout on a full device or
// closed, a different environment. The tests of this folder share it.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace morvane::test {

enum class StdoutTo { Pipe, FullDevice, Closed };

struct ChildSetup {
  StdoutTo stdoutTo = StdoutTo::Pipe;
  std::optional<rlim_t> fileSizeLimit;  // RLIMIT_FSIZE of the child, in bytes
  std::vector<std::string> unset;       // environment variables the child does not get
  std::vector<std::pair<std::string, std::string>> set;  // and those it gets instead
};

struct ChildRun {
  int exitCode = -1;  // -1: ended by a signal or did not end
  int signal = 0;
  bool hung = false;
  std::string out;
  std::string err;
};

inline std::vector<std::string> ChildEnvironment(const ChildSetup& setup) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool dropped = false;
    for (const std::string& u : setup.unset) dropped = dropped || u == name;
    for (const auto& [n, v] : setup.set) dropped = dropped || n == name;
    if (!dropped) env.push_back(entry);
  }
  for (const auto& [name, value] : setup.set) env.push_back(name + "=" + value);
  return env;
}

// The tool under test: the one built with the tests, or MORVANE_CLI.
inline const char* ChildProgram() {
  const char* other = std::getenv("MORVANE_CLI");
  return other && *other ? other : MORVANE_CLI_PATH;
}

// Reads what a started child writes to the read ends of its stdout and stderr pipes until
// both close, closes them and waits for the child's exit status. Both pipes at once, so a child
// filling one cannot block; a run of a minute is a hang: the child is killed, the run marked.
inline ChildRun CollectChild(pid_t child, int outPipe, int errPipe) {
  ChildRun run;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  pollfd fds[2] = {{outPipe, POLLIN, 0}, {errPipe, POLLIN, 0}};
  std::string* sinks[2] = {&run.out, &run.err};
  int openPipes = 2;
  while (openPipes > 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      run.hung = true;
      kill(child, SIGKILL);
      break;
    }
    if (poll(fds, 2, 1000) < 0) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[65536];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --openPipes;
      }
    }
  }
  for (const pollfd& fd : fds) {
    if (fd.fd >= 0) close(fd.fd);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  return run;
}

inline ChildRun RunChild(const std::vector<std::string>& args, const ChildSetup& setup = {}) {
  const char* program = ChildProgram();
  std::vector<char*> argv{const_cast<char*>(program)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const std::vector<std::string> envText = ChildEnvironment(setup);
  std::vector<char*> envp;
  for (const std::string& e : envText) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  int out[2], err[2];
  if (pipe(out) != 0) return {};
  if (pipe(err) != 0) {
    close(out[0]);
    close(out[1]);
    return {};
  }
  const pid_t child = fork();
  if (child == 0) {
    // Only calls that are safe between fork and exec.
    struct sigaction deflt {};
    deflt.sa_handler = SIG_DFL;
    sigaction(SIGXFSZ, &deflt, nullptr);  // the program must ignore it itself
    if (setup.fileSizeLimit) {
      const rlimit limit{*setup.fileSizeLimit, *setup.fileSizeLimit};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
    }
    const int in = open("/dev/null", O_RDONLY);
    dup2(in, 0);
    dup2(err[1], 2);
    if (setup.stdoutTo == StdoutTo::Pipe) dup2(out[1], 1);
    if (setup.stdoutTo == StdoutTo::FullDevice) dup2(open("/dev/full", O_WRONLY), 1);
    if (setup.stdoutTo == StdoutTo::Closed) close(1);
    for (int fd = 3; fd < 256; ++fd) close(fd);
    execve(program, argv.data(), envp.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  if (child < 0) {
    close(out[0]);
    close(err[0]);
    return {};
  }
  return CollectChild(child, out[0], err[0]);
}

inline int LineCount(const std::string& text) {
  int count = 0;
  for (char c : text) count += c == '\n';
  return count;
}

}  // namespace morvane::test
