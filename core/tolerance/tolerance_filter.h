#pragma once

// The filter a tolerance analysis takes: the circuits of its sections with their kinds, the
// kind and pass-band gain its mask is measured with, and where its response lies. Made from
// the circuit of a page as it designed it, or from a designed cascade.

#include <string>
#include <vector>

#include "cascade/cascade_design.h"
#include "design/design_choices.h"
#include "design/design_state.h"
#include "filters/frequency_transform.h"
#include "tolerance/tolerance_analysis.h"

namespace morvane {

struct ToleranceFilter {
  // Which output is analysed, where the circuit has more than one (the diplexer's "lowpass"
  // and "highpass"); empty otherwise.
  std::string output;
  std::vector<SectionCircuitOfKind> circuits;
  FilterKind kind = FilterKind::Lowpass;
  double passbandGain = 1.0;
  double cornerHz = 1000.0;  // fg, or fm of a band filter
  // The mask is given for the lowpass of a pair crossing over at the corner: this highpass
  // takes it mirrored about the corner (f -> corner^2 / f).
  bool mirrorsMask = false;
};

// The circuit of the page as the state and choices design it: an active stage with its
// parts as the state holds them, or the LC ladder (one section of kind lowpass or highpass,
// its pass-band gain RL / (RG + RL)), each one filter; the LC diplexer as two, its lowpass
// output and then its highpass output, the whole diplexer in each with the parts in the
// same order, so that a seed draws the same diplexers for both. Empty for a page or type
// without a circuit, or a ladder without a network.
std::vector<ToleranceFilter> PageToleranceFilters(const DesignState& s, const DesignChoices& c);

// Every part value of the filters in order: equal for the same circuits with the same values
// (what an analysis's results belong to).
std::vector<double> PartValuesOf(const std::vector<ToleranceFilter>& filters);

ToleranceFilter CascadeToleranceFilter(const CascadeDesign& design, FilterKind kind);

// A Monte Carlo request over two decades either side of the filter's corner, with its kind,
// gain and centre for the mask (mirrored where the filter says so).
MonteCarloRequest RequestAround(const ToleranceFilter& filter, MonteCarloRequest request);

}  // namespace morvane
