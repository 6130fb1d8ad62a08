#include "design/mfb_stage.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "numerics/standard_series.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

void DesignLowpass(const MfbInput& in, StageDesign& d) {
  const StageRequirement& s = in.stage;
  const double gain = s.gain;
  const double c2 = SeriesValueBelow(s.seriesC, 0.9 * (1.0 / (kTwoPi * s.q * s.zin * s.fg)));
  // Least ratio C1/C2 for which the stage exists.
  double k = 4.0 * s.q * s.q * (gain + 1.0);
  double c1 = c2;
  if (k >= 1.0 || !in.equalCapacitors) {
    c1 = SeriesValueAbove(s.seriesC, 1.1 * k * c2);
    k = c1 / c2;
  } else {
    k = 1.0;
  }
  // The 1.1 margin above keeps J positive.
  const double J = 1.0 - 4.0 * s.q * s.q * (gain + 1.0) / k;
  const double r3 = (1.0 - std::sqrt(J)) / (2.0 * kTwoPi * s.q * s.fo * c2);
  const double w = kTwoPi * s.fo * c2;
  d.parts = {.R1 = r3 / gain, .R2 = 1.0 / (w * w * r3 * k), .R3 = r3, .C1 = c1, .C2 = c2};
  d.gain = gain;
}

void DesignHighpass(const StageRequirement& s, StageDesign& d) {
  const double gain = s.gain;
  const double c1 = SeriesValueBelow(s.seriesC, 0.9 * (1.0 / (kTwoPi * s.q * s.zin * s.fg)));
  const double gainTerm = 2.0 * gain + 1.0;
  // With C3 = C1/Vu the poles are w0^2 = Vu/(C1^2 R1 R2) and w0/Q = Vu/((2 Vu + 1) C1 R1):
  // R1 carries the factor Vu, or fo and Q both drift by sqrt(Vu) for any gain but 1.
  d.parts = {.R1 = gain / (kTwoPi * s.q * s.fo * c1 * gainTerm),
             .R2 = gainTerm * s.q / (kTwoPi * s.fo * c1),
             .C1 = c1,
             .C2 = c1,
             .C3 = c1 / gain};
  d.gain = gain;
}

void DesignBandpass(const StageRequirement& s, StageDesign& d) {
  // The centre gain stays below the 2*Q^2 at which R2 would become infinite.
  const double gain = std::min(s.gain, 1.9 * s.q * s.q);
  const double c1 = SeriesValueBelow(s.seriesC, 0.9 * (4.0 / ((kTwoPi / s.q) * s.zin * s.fg)));
  d.parts = {.R1 = s.q / (gain * c1 * kTwoPi * s.fg),
             .R2 = s.q / (kTwoPi * s.fg * c1 * (2.0 * s.q * s.q - gain)),
             .R3 = 2.0 * s.q / (kTwoPi * s.fg * c1),
             .C1 = c1,
             .C2 = c1};
  d.gain = gain;
}

}  // namespace

StageDesign DesignMfbStage(const MfbInput& in) {
  StageDesign d;
  d.q = in.stage.q;
  switch (in.stage.type) {
    case FilterType::Lowpass:
      DesignLowpass(in, d);
      break;
    case FilterType::Highpass:
      DesignHighpass(in.stage, d);
      break;
    case FilterType::Bandpass:
      DesignBandpass(in.stage, d);
      break;
    case FilterType::Bandstop:
    case FilterType::Allpass:
      d.typeNotOffered = true;
      break;
    case FilterType::EllipticLowpass:
      break;
  }
  return d;
}

}  // namespace morvane
