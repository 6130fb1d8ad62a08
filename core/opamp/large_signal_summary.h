#pragma once

// The large-signal figures a design report shows beside the real-amplifier figures: the
// largest undistorted output at a few frequencies across the filter's range, and the
// headroom of every section, for a single stage of the pages or a whole cascade.

#include <optional>
#include <string>
#include <vector>

#include "design/design_state.h"
#include "opamp/large_signal.h"
#include "opamp/opamp_model.h"

namespace morvane {

struct CascadeDesign;

// The report's frequencies: this many, logarithmically spaced over the range.
inline constexpr int kLargeSignalReportPoints = 9;

struct LargeSignalSummary {
  std::string opAmp;         // the model's name
  double outputSwing = 0.0;  // V peak, the model's
  double slewRate = 0.0;     // V/s, the model's
  // Hz: above it the slew rate, not the swing, limits an op amp that swings fully
  // (SR / (2 pi swing)); none where the model has no finite slew rate or swing.
  std::optional<double> slewCorner;
  LargeSignalRequest range;  // what was analysed
  LargeSignalLimits limits;  // at kLargeSignalReportPoints frequencies of the range
  Headroom headroom;         // over the whole range
};

// A decade below the stage's f0 to a decade above. None for the LC pages, a type the stage
// has no circuit for, or an f0 that is not a positive number.
std::optional<LargeSignalSummary> StageLargeSignal(const DesignState& s, FilterType type,
                                                   const OpAmpModel& model);

// A decade below the lowest section's f0 to a decade above the highest. None for a design
// with a problem.
std::optional<LargeSignalSummary> CascadeLargeSignal(const CascadeDesign& design,
                                                     const OpAmpModel& model);

// "Largest output 13.50 V at 2.000 kHz (swing), 238.7 mV at 200.0 kHz (slew rate), peak": the
// range's ends with what limits each, short enough for the page's line. Empty where the limits
// have a problem or no points.
std::string LargeSignalLine(const LargeSignalSummary& summary);

}  // namespace morvane
