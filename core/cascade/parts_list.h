#pragma once

// The parts list of a cascade as CSV, one line a part:
//   reference,value,value_si,series,section,kind
// reference as in the netlist ("R1_2": R1 of section 2), the value as the program's value text
// ("10.2k") and in ohm or farad with 17 significant digits, the standard series the value
// belongs to ("E6") or "computed" for a value worked out by the design, the section's number
// and the part's kind ("resistor", "capacitor"). Locale-free, "\n" line ends, a header line.

#include <string>

#include "cascade/cascade_design.h"

namespace morvane {

std::string PartsListCsv(const CascadeDesign& design, const SectionDesignOptions& options);

}  // namespace morvane
