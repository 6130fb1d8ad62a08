#pragma once

// What `morvane-cli cascade` prints of a designed cascade: the readable table, the JSON object
// and the curve samples, each a pure function of the design and what was asked.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cascade/cascade_design.h"
#include "opamp/large_signal_summary.h"
#include "opamp/real_response.h"

namespace morvane::cli {

// Each section's figures with a real op amp (--opamp), by section; empty without one.
using RealSections = std::vector<std::optional<RealAmplifierFigures>>;

// The table: the filter, its figures, then each section with its circuit's parts, and the
// large signal with the real op amp where given.
std::string CascadeTable(const CascadeRequest& request, const CascadeDesign& design,
                         const RealSections& real = {},
                         const std::optional<LargeSignalSummary>& largeSignal = std::nullopt);

// One JSON object; every figure that is not defined (or not finite) is null. The large signal,
// where given, as "largeSignal" and "headroom".
std::string CascadeJson(const CascadeRequest& request, const CascadeDesign& design,
                        const RealSections& real = {},
                        const std::optional<LargeSignalSummary>& largeSignal = std::nullopt);

enum class CurveKind { Gain, Phase, Delay, Step };
std::optional<CurveKind> ParseCurveKind(std::string_view name);

// Where to sample: frequencies in Hz (gain, phase, delay) or times in s (step), `points` of
// them from `from` to `to` inclusive, evenly spaced or (logarithmic, from > 0) in ratio.
struct CurveSpan {
  double from = 0.0;
  double to = 1.0;
  int points = 1000;
  bool logarithmic = false;
};

struct CurveSamples {
  std::vector<double> x;
  std::vector<double> y;
};

// Gain in dB (20 log10 |H|, the filter's gain included), phase in degrees (unwrapped, the
// inversion included), group delay in s, or the output in V for a 1 V step at t = 0.
CurveSamples SampleCurve(const PoleZeroGain& transfer, CurveKind kind, const CurveSpan& span);

// "x,y" and then one line a sample, 17 significant digits; nothing when a sample is not finite.
std::optional<std::string> CurveCsv(const CurveSamples& samples);

}  // namespace morvane::cli
