#include "lc/circuit_export.h"

namespace morvane {

// Placeholder until the export lands.
bool ExportCircuit(const std::string&, const DesignState&, const RecalcInputs&, std::string& error) {
  error = "not available";
  return false;
}

}  // namespace morvane
