#include "opamp_arguments.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "opamp/opamp_file.h"
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

namespace {

// The name in the first "[NAME]" line of an op-amp file.
std::optional<std::string> FirstPartName(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const auto open = line.find_first_not_of(" \t");
    if (open == std::string::npos || line[open] != '[') continue;
    const auto close = line.find(']', open);
    if (close == std::string::npos) return std::nullopt;
    std::string name = line.substr(open + 1, close - open - 1);
    const auto first = name.find_first_not_of(" \t");
    const auto last = name.find_last_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    return name.substr(first, last - first + 1);
  }
  return std::nullopt;
}

OpAmpModel ModelOfFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in) throw RunError("cannot read the op-amp file " + path);
  std::vector<OpAmpModel> table = BuiltInOpAmps();
  if (const auto error = ApplyOpAmpFile(text.str(), table)) {
    throw RunError(path + ":" + std::to_string(error->line) + ": " + error->message);
  }
  const auto name = FirstPartName(text.str());
  if (!name) throw RunError("the op-amp file " + path + " names no part");
  return *FindOpAmp(table, *name);
}

}  // namespace

OpAmpSelection ResolveOpAmp(const std::string& value, const std::optional<std::string>& include,
                            bool subcircuitAllowed) {
  OpAmpSelection selection;
  if (include) {
    CheckSubcircuitName(value);
    CheckIncludePath(*include);
    selection.subcircuit = value;
    selection.include = *include;
    return selection;
  }
  if (value.empty()) throw UsageError("option --opamp needs a name or an op-amp file");
  if (auto model = FindOpAmp(BuiltInOpAmps(), value)) {
    selection.model = std::move(model);
    return selection;
  }
  std::error_code error;
  if (std::filesystem::is_regular_file(value, error)) {
    selection.model = ModelOfFile(value);
    return selection;
  }
  if (!subcircuitAllowed) {
    throw UsageError("unknown op amp \"" + value +
                     "\": name a part that `morvane-cli opamps` lists, or an op-amp file");
  }
  CheckSubcircuitName(value);
  selection.subcircuit = value;
  return selection;
}

}  // namespace morvane::cli
