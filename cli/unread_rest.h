#pragma once

// What the command line says about a value text it read only in part.

#include <string>
#include <string_view>

namespace morvane::cli {

// The stderr line for a value text read with characters left over, naming it as `given`
// ("fg=1.2.3", "--to 1.2.3"): "morvane-cli: fg=1.2.3: read as 1.2 (".3" ignored)\n". The
// value stays as read, as in the window's entry fields. Empty when the whole text was read
// (blanks at its end count as read) or when it is not readable at all (said elsewhere).
std::string UnreadRestWarning(std::string_view given, std::string_view text);

}  // namespace morvane::cli
