// morvane-cli: the headless face of the filter designer, for scripts, batch work and tests.

#include <string>
#include <vector>

#include "command_line.h"

int main(int argc, char** argv) {
  return morvane::cli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}
