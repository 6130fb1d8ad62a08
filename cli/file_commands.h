#pragma once

// Commands that write files: the design file and the LC ladder's circuit file.

#include <string>
#include <vector>

namespace morvane::cli {

// save-design FILE [design options and entries]
int RunSaveDesign(const std::vector<std::string>& args);
// export-circuit FILE [design options and entries]; the passive LC topology only.
int RunExportCircuit(const std::vector<std::string>& args);

}  // namespace morvane::cli
