#include "opamp_arguments.h"

#include <algorithm>

#include "usage_error.h"

namespace morvane::cli {

namespace {

// A control character (a line break above all) would end the netlist line and start a line
// of the user's choosing, such as a .control block that runs shell commands; a quote would
// end the quoted file name of .include early.
bool HoldsControlCharacterOrQuote(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || c == '"' || c == '\'';
  });
}

}  // namespace

void CheckSubcircuitName(const std::string& name) {
  if (name.empty() || name.find(' ') != std::string::npos || HoldsControlCharacterOrQuote(name)) {
    throw UsageError(
        "option --opamp needs a subcircuit name without blanks, control characters or quotes");
  }
}

void CheckIncludePath(const std::string& path) {
  if (path.empty()) throw UsageError("option --opamp-include needs a file name");
  if (HoldsControlCharacterOrQuote(path)) {
    throw UsageError(
        "option --opamp-include needs a file name without control characters or quotes");
  }
}

}  // namespace morvane::cli
