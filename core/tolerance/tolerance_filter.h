#pragma once

// The filter a tolerance analysis takes: the circuits of its sections with their kinds, the
// kind and pass-band gain its mask is measured with, and where its response lies. Made from
// a single stage as the page designed it, or from a designed cascade.

#include <optional>
#include <vector>

#include "cascade/cascade_design.h"
#include "design/design_state.h"
#include "filters/frequency_transform.h"
#include "tolerance/tolerance_analysis.h"

namespace morvane {

struct ToleranceFilter {
  std::vector<SectionCircuitOfKind> circuits;
  FilterKind kind = FilterKind::Lowpass;
  double passbandGain = 1.0;
  double cornerHz = 1000.0;  // fg, or fm of a band filter
};

// The stage of an active page with its parts as the state holds them; none for a page or
// type without a circuit.
std::optional<ToleranceFilter> StageToleranceFilter(const DesignState& s, FilterType type);

ToleranceFilter CascadeToleranceFilter(const CascadeDesign& design, FilterKind kind);

// A Monte Carlo request over two decades either side of the filter's corner, with its kind,
// gain and centre for the mask.
MonteCarloRequest RequestAround(const ToleranceFilter& filter, MonteCarloRequest request);

}  // namespace morvane
