#pragma once

// What `morvane-cli design` prints: a table for people or one JSON object for programs.

#include <string>

#include "design/design_session.h"

namespace morvane::cli {

std::string DesignTable(const DesignSession& session);
std::string DesignJson(const DesignSession& session);
// One stderr line for each component that cannot be bought, and for each section of the stage
// that clips before its output with the real op amp: "morvane-cli: warning: ...".
std::string ComponentWarningLines(const DesignSession& session);

}  // namespace morvane::cli
