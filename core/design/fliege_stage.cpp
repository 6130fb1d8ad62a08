#include "design/fliege_stage.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "numerics/standard_series.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Gain 1 + R2/R1 of lowpass, highpass and bandpass: at least a little above 1 keeps R1 finite.
constexpr double kMinGain = 1.05;

// C1 = C2: the entry when not chosen automatically, else the series value above
// root/(2 pi R3 f0).
double Capacitance(const FliegeInput& in, double root, double R3, double f0) {
  if (!in.automaticCapacitance) return in.capacitance;
  return SeriesValueAbove(in.stage.seriesC, root / (kTwoPi * R3 * f0));
}

void DesignLowpass(const FliegeInput& in, StageDesign& d) {
  const StageRequirement& s = in.stage;
  const double gain = std::max(kMinGain, s.gain);
  const double R3 = s.zin;
  const double R2 = s.zin;
  const double R1 = R2 / (gain - 1.0);
  const double ratio = R1 / R2;
  const double C = Capacitance(in, std::sqrt(ratio), R3, s.fo);
  const double w = kTwoPi * s.fo;
  const double R4 = ratio / (w * w * R3 * C * C);
  const double R5 = 1.0 / (std::sqrt(ratio / (R4 * C * R3 * C)) * (C / s.q));
  d.parts = {.R1 = R1, .R2 = R2, .R3 = R3, .R4 = R4, .R5 = R5, .C1 = C, .C2 = C};
  d.gain = gain;
}

// Highpass and bandpass differ only in R3 and the frequency the poles sit at.
void DesignHighOrBandpass(const FliegeInput& in, double R3, double f0, StageDesign& d) {
  const StageRequirement& s = in.stage;
  const double gain = std::max(kMinGain, s.gain);
  const double R2 = s.zin;
  const double R1 = R2 / (gain - 1.0);
  const double ratio = R2 / R1;
  const double C = Capacitance(in, std::sqrt(ratio), R3, f0);
  const double w = kTwoPi * f0;
  d.parts = {.R1 = R1,
             .R2 = R2,
             .R3 = R3,
             .R4 = (s.q / C) / w,
             .R5 = ratio / (w * w * R3 * C * C),
             .C1 = C,
             .C2 = C};
  d.gain = gain;
}

// Bandstop (R4 doubled, as it appears twice) and allpass feed R1 from the input: gain 1
// with R1 = R2.
void DesignUnityGain(const FliegeInput& in, double R3, double f0, double r4Factor, StageDesign& d) {
  const StageRequirement& s = in.stage;
  const double C = Capacitance(in, 1.0, R3, f0);
  const double w = kTwoPi * f0;
  d.parts = {.R1 = s.zin,
             .R2 = s.zin,
             .R3 = R3,
             .R4 = (r4Factor * s.q / C) / w,
             .R5 = 1.0 / (w * w * R3 * C * C),
             .C1 = C,
             .C2 = C};
  d.gain = 1.0;
}

}  // namespace

StageDesign DesignFliegeStage(const FliegeInput& in) {
  const StageRequirement& s = in.stage;
  StageDesign d;
  d.q = s.q;
  switch (s.type) {
    case FilterType::Lowpass:
      DesignLowpass(in, d);
      break;
    case FilterType::Highpass:
      DesignHighOrBandpass(in, s.zin, s.fo, d);
      break;
    case FilterType::Bandpass:
      DesignHighOrBandpass(in, s.zin / s.q, s.fg, d);
      break;
    case FilterType::Bandstop:
      DesignUnityGain(in, s.zin / s.q, s.fg, 2.0, d);
      break;
    case FilterType::Allpass:
      // Poles at fo, the frequency shown and used by the phase and group delay.
      DesignUnityGain(in, s.zin, s.fo, 1.0, d);
      break;
    case FilterType::EllipticLowpass:
      break;
  }
  return d;
}

}  // namespace morvane
