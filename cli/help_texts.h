#pragma once

// What `morvane-cli --help`, `morvane-cli help COMMAND` and `morvane-cli COMMAND --help` print.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::cli {

// Every command in short, with the hint where the long form is.
std::string GeneralUsage();

// The usage of one command with its options; nothing for an unknown command.
std::optional<std::string> CommandUsage(std::string_view command);

// Whether a command's arguments ask for its usage: "--help" or "-h" among them.
bool AsksForHelp(const std::vector<std::string>& args);

}  // namespace morvane::cli
