#pragma once

// A cascade's entries in the design file: section "Cascade" beside the single-stage entries,
// every number at full precision (17 significant digits, read back bit for bit), choices by
// their names (cascade_names.h).

#include <optional>
#include <string>
#include <vector>

#include "cascade/cascade_design.h"
#include "files/ini_profile.h"

namespace morvane {

// What the window keeps beside the request: whether the order comes from the scheme. The
// scheme's values stay in the file when it is not used, so a user who switches back finds them.
struct CascadeEntries {
  CascadeRequest request;
  bool useScheme = false;
  ToleranceScheme scheme{20e3, 0.5, 24e3, 60.0};
};

inline constexpr std::string_view kCascadeSection = "Cascade";

// The request the entries make: with the scheme when it is used.
CascadeRequest RequestOf(const CascadeEntries& entries);

// Puts the entries into the document's section "Cascade" (every key, replacing old ones).
void PutCascadeEntries(IniDocument& document, const CascadeEntries& entries);

// The entries of the document's section "Cascade", or nullopt when it has none. A key that is
// missing keeps the default; one that cannot be read keeps it too and adds a line to
// `unreadable` ("Cascade order=abc is not readable; using 4").
std::optional<CascadeEntries> TakeCascadeEntries(const IniDocument& document,
                                                 std::vector<std::string>& unreadable);

// The same on a file: writing keeps every other line of it, whole or not at all. Reading gives
// nullopt with `error` set when the file cannot be read, and with `error` empty when the file
// (or a missing one) has no cascade.
bool WriteCascadeFile(const std::string& path, const CascadeEntries& entries, std::string& error);
std::optional<CascadeEntries> ReadCascadeFile(const std::string& path, std::string& error,
                                              std::vector<std::string>& unreadable);

}  // namespace morvane
