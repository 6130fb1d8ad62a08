#pragma once

// Runs morvane-cli as a user does, through the shell, and keeps what it said. The tests of
// this folder share it.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace morvane::test {

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// The tool under test: the one built with the tests, or MORVANE_CLI.
inline std::string CliProgram() {
  const char* other = std::getenv("MORVANE_CLI");
  return other && *other ? other : MORVANE_CLI_PATH;
}

inline std::string Slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream ss;
  ss << file.rdbuf();
  return ss.str();
}

// A file name of its own for this process, in /tmp.
inline std::string TempPath(const std::string& name) {
  return "/tmp/morvane_cli_test_" + std::to_string(getpid()) + "_" + name;
}

// `arguments` as typed after the program's name (the shell splits and unquotes them).
inline CliRun RunCli(const std::string& arguments) {
  static int counter = 0;
  const std::string errFile = TempPath("stderr_" + std::to_string(++counter));
  const std::string command = CliProgram() + " " + arguments + " 2>" + errFile + " </dev/null";
  CliRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = Slurp(errFile);
  std::remove(errFile.c_str());
  return run;
}

}  // namespace morvane::test
