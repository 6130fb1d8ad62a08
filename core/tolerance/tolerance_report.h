#pragma once

// A tolerance analysis as text: the runs and tolerances, the yield, each section's statistics
// (and worst case), and the parts that matter most; as the CLI prints it and the tolerance
// window shows it.

#include <cstddef>
#include <string>
#include <vector>

#include "tolerance/tolerance_analysis.h"

namespace morvane {

// A part's name in a cascade: with its section's number, as the cascade's netlist names it
// ("R1_2"); a single stage's as it is.
std::string FilterPartName(const std::string& part, std::size_t section, bool cascade);

std::string ToleranceReport(const std::vector<ToleranceSection>& sections,
                            const MonteCarloResult& result, const Tolerances& tolerances,
                            bool cascade, bool worstCase);

// The relative sensitivities of each section's f0, Q and gain to each part, one line a part.
std::string SensitivityTable(const std::vector<ToleranceSection>& sections, bool cascade);

}  // namespace morvane
