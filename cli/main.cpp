// morvane-cli: the headless face of the filter designer, for scripts, batch work and tests.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "command_line.h"
#include "files/atomic_file.h"
#include "usage_error.h"

namespace {

// A standard stream the caller closed stays closed for writing: /dev/null, opened read-only,
// takes its number, so that no file the program opens later gets that number and receives
// what was meant for the stream.
void KeepClosedStreamsClosed() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int placeholder = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (placeholder >= 0 && placeholder != fd) {
      ::dup2(placeholder, fd);
      ::close(placeholder);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  morvane::ReportOversizedWritesAsErrors();
  KeepClosedStreamsClosed();
  // Every command's output is gathered and written in one checked write at the end, so that a
  // full disk or a closed stdout is an error (exit code 1), never a silent loss.
  std::ostringstream output;
  std::streambuf* const standardOutput = std::cout.rdbuf(output.rdbuf());
  int code = morvane::cli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  std::cout.rdbuf(standardOutput);
  std::string error;
  if (!morvane::WriteStandardOutput(output.view(), error)) {
    std::cerr << "morvane-cli: " << error << "\n";
    if (code == 0) code = morvane::cli::kExitFailure;
  }
  return code;
}
