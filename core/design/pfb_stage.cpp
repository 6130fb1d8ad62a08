#include "design/pfb_stage.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "numerics/standard_series.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// The stage's values while they are worked out; names as in the circuit picture.
struct Values {
  double R1 = 0.0, R2 = 0.0, R3 = 0.0, R4 = 0.0, C1 = 0.0, C2 = 0.0, C3 = 0.0;
  double gain = 0.0;
  double q = 0.0;
};

// R3 for offset compensation (or the entry), R4 for the gain K = 1 + R3/R4.
void SetGainNetwork(const PfbInput& in, Values& v, double compensatedR3, double K) {
  if (in.offsetCompensation) v.R3 = SeriesValueBelow(in.stage.seriesR, compensatedR3);
  v.R4 = K > 1.0 ? v.R3 / (K - 1.0) : kAbsentResistor;
}

void DesignLowpass(const PfbInput& in, Values& v) {
  const StageRequirement& s = in.stage;
  // The equal-capacitor design needs K >= 2 - 1/(4 Q^2); 5 % margin.
  v.gain = std::max({1.0, s.gain, 1.05 * (2.0 - 1.0 / (4.0 * s.q * s.q))});
  v.C1 = SeriesValueBelow(s.seriesC, s.q / (kTwoPi * s.zin * s.fg));
  v.C2 = v.C1;
  const double root = std::sqrt(4.0 * s.q * s.q * (v.gain - 2.0) + 1.0) + 1.0;
  v.R2 = root / (2.0 * kTwoPi * s.q * s.fo * v.C1);
  const double w = kTwoPi * s.fo * v.C1;
  v.R1 = 1.0 / (w * w * v.R2);
  SetGainNetwork(in, v, (v.R1 + v.R2) * v.gain, v.gain);
}

// Unity gain, the follower: Q no longer hangs on the ratio R3/R4 (at equal capacitors and
// high Q a small error of K moves Q a lot) and the gain is exactly 1, at the price of a
// capacitor spread C1/C2 of about 4 Q^2. With R4 absent the op amp's inputs see equal DC
// resistances when R3 = R1 + R2.
void DesignLowpassUnityGain(const PfbInput& in, Values& v) {
  const StageParts p = SallenKeyLowpassUnequalCapacitors(in.stage, 1.0);
  v.R1 = *p.R1;
  v.R2 = *p.R2;
  v.C1 = *p.C1;
  v.C2 = *p.C2;
  v.gain = 1.0;
  SetGainNetwork(in, v, v.R1 + v.R2, v.gain);
}

}  // namespace

StageParts SallenKeyLowpassUnequalCapacitors(const StageRequirement& s, double K) {
  const double leastRatio = 1.0 / (1.0 / (4.0 * s.q * s.q) + K - 1.0);
  const double w = kTwoPi * s.fo;
  const double c2 = SeriesValueBelow(s.seriesC, 1.0 / (w * s.zin * std::sqrt(leastRatio)));
  const double wanted = 1.1 * leastRatio;
  const double c1 = wanted <= 1.0 ? c2 : SeriesValueAbove(s.seriesC, wanted * c2);
  // R1 solves (C2 + (1 - K) C1) R1^2 - R1 / (Q w) + C2 P = 0 with P = R1 R2; this form of the
  // root is the positive one when the leading coefficient is negative (K > 1 + C2/C1) and the
  // smaller one (R1 <= R2) otherwise, without cancellation in either case.
  const double product = 1.0 / (w * w * c1 * c2);
  const double a = c2 + (1.0 - K) * c1;
  const double b = 1.0 / (s.q * w);
  const double c = c2 * product;
  const double r1 = 2.0 * c / (b + std::sqrt(b * b - 4.0 * a * c));
  return {.R1 = r1, .R2 = product / r1, .C1 = c1, .C2 = c2};
}

namespace {

void DesignHighpass(const PfbInput& in, Values& v) {
  const StageRequirement& s = in.stage;
  // Unequal capacitors buy the highpass nothing: at unity gain equal capacitors serve any Q
  // (the spread R2/R1 = 4 Q^2 falls on the resistors), so the cleared box keeps them and
  // builds the follower, K = 1 without R4, instead of the raised gain.
  v.gain =
      in.equalCapacitors ? std::max({1.0, s.gain, 1.05 * (1.0 - 1.0 / (8.0 * s.q * s.q))}) : 1.0;
  v.C1 = SeriesValueBelow(s.seriesC, 0.3 / (kTwoPi * s.zin * s.fg));
  v.C2 = v.C1;
  // Resonance at fo = fg*sqrt(e), where the drawn highpass response has it; fo equals fg
  // only at Q = 0.7071.
  const double root = std::sqrt(1.0 / (s.q * s.q) + 8.0 * (v.gain - 1.0)) + 1.0 / s.q;
  v.R1 = root / (4.0 * kTwoPi * s.fo * v.C1);
  v.R2 = (4.0 / (kTwoPi * s.fo * v.C1)) / root;
  SetGainNetwork(in, v, v.R2 * v.gain, v.gain);
}

void DesignBandpass(const PfbInput& in, Values& v) {
  const StageRequirement& s = in.stage;
  v.C1 = SeriesValueBelow(s.seriesC, 1.0 / (kTwoPi * s.zin * s.fg));
  v.C2 = v.C1;
  v.R1 = 1.0 / (kTwoPi * s.fg * v.C1);
  v.R2 = 2.0 * v.R1;
  // K = 3 - 1/Q: the gain network gives no K below 1, so Q is raised to 0.5 (a follower);
  // from 0.334 up K would be positive but the built circuit would still have K = 1.
  v.q = std::max(0.5, s.q);
  const double K = 3.0 - 1.0 / v.q;
  v.gain = K / (3.0 - K);
  SetGainNetwork(in, v, v.R2 * K, K);
}

void DesignBandstop(const PfbInput& in, Values& v) {
  const StageRequirement& s = in.stage;
  v.C1 = SeriesValueBelow(s.seriesC, 1.0 / (kTwoPi * s.zin * s.fg));
  v.C2 = 2.0 * v.C1;
  v.R1 = 1.0 / (kTwoPi * s.fg * v.C1);
  v.R2 = v.R1 / 2.0;
  // The twin-T needs K >= 1.
  v.q = std::max(0.5, s.q);
  const double K = 2.0 - 1.0 / (2.0 * v.q);
  v.gain = K;
  SetGainNetwork(in, v, 2.0 * v.R1 * K, K);
}

void DesignAllpass(const PfbInput& in, Values& v) {
  const StageRequirement& s = in.stage;
  v.C1 = SeriesValueBelow(s.seriesC, s.q / (kTwoPi * s.zin * s.fg));
  v.C2 = v.C1;
  // Poles at fo, where phase and group delay of the allpass are drawn.
  const double w = kTwoPi * s.fo;
  v.R2 = 2.0 * s.q / w / v.C1;
  v.R1 = 1.0 / (w * w * v.C1 * v.C2 * v.R2);
  v.R4 = 0.25 * v.R2 * v.R3 / v.R1;
  v.gain = v.R4 / (v.R3 + v.R4);
  if (in.offsetCompensation) {
    // Scale R3 and R4 so that their parallel value is R2; the ratio and the gain stay.
    const double t = v.R2 / (v.R3 * v.R4 / (v.R3 + v.R4));
    v.R3 *= t;
    v.R4 *= t;
  }
}

void DesignEllipticLowpass(const PfbInput& in, Values& v) {
  const StageRequirement& s = in.stage;
  v.R1 = s.zin;
  const double Cp = 1.0 / (std::sqrt(2.0 * s.q) * kTwoPi * s.fo * v.R1);
  v.C1 = 2.0 * s.q * Cp;
  const double n = in.fnfp * in.fnfp;
  const double A = (s.q + 1.0) * Cp / (s.q * n + 1.0);
  const double Bc = Cp - A;
  v.C2 = A / 2.0 + Bc;
  v.C3 = A / 2.0;
  // C1, C2, C3 are positive for any Q > 0 and fnfp >= 1, R2 for any a > -Q.
  const double a = 1.0 - 1.0 / std::sqrt(2.0 * s.q);
  // Ry = Rx*R'/(Rx - R') with Rx = (Q*n + 1)*R3/(a*n - 1) and R' = Q*R3/a, reduced so that
  // a*n = 1 (Rx infinite) does not divide by zero.
  const double Ry = v.R3 * s.q * (s.q * n + 1.0) / (a + s.q);
  v.R2 = 2.0 * Ry;
  // The inverting input wants Rx to ground and half the input through Ry (K = 1 + R3/R').
  // R2 = 2*Ry from the whole input carries the same current, but loads the input too, so R4
  // is Rx || R2, not Rx || Ry = R': that would leave the zero 24 dB shallow and Q off at
  // Q = 0.7071, fn/fo = 2. R4 > 0 needs a*(2*Q*n + 1) > Q (which implies Q > 0.5).
  const double margin = a * (2.0 * s.q * n + 1.0) - s.q;
  v.R4 = margin == 0.0 ? kAbsentResistor : 2.0 * s.q * (s.q * n + 1.0) * v.R3 / margin;
  // The gain at low frequencies.
  v.gain = v.R3 * (0.5 / v.R4 + 0.5 / v.R3 - 0.5 / v.R2);
}

bool FinitePositive(double x) {
  return std::isfinite(x) && x > 0.0;
}

NotRealizable Check(const Values& v, FilterType type) {
  const bool elliptic = type == FilterType::EllipticLowpass;
  const bool c3 = !elliptic || FinitePositive(v.C3);
  if (c3 && FinitePositive(v.R1) && FinitePositive(v.R2) && FinitePositive(v.R3) &&
      FinitePositive(v.R4) && FinitePositive(v.C1) && FinitePositive(v.C2) &&
      FinitePositive(v.gain)) {
    return NotRealizable::No;
  }
  if (elliptic && !(2.0 * v.q > 1.0)) return NotRealizable::EllipticQTooLow;
  if (elliptic && v.R4 < 0.0) return NotRealizable::EllipticZeroTooLow;
  return NotRealizable::ElementOutOfRange;
}

}  // namespace

StageDesign DesignPfbStage(const PfbInput& in) {
  Values v;
  v.R1 = in.stage.zin;
  v.R3 = in.r3;
  v.q = in.stage.q;
  const FilterType type = in.stage.type;
  switch (type) {
    case FilterType::Lowpass:
      if (in.equalCapacitors) {
        DesignLowpass(in, v);
      } else {
        DesignLowpassUnityGain(in, v);
      }
      break;
    case FilterType::Highpass:
      DesignHighpass(in, v);
      break;
    case FilterType::Bandpass:
      DesignBandpass(in, v);
      break;
    case FilterType::Bandstop:
      DesignBandstop(in, v);
      break;
    case FilterType::Allpass:
      DesignAllpass(in, v);
      break;
    case FilterType::EllipticLowpass:
      DesignEllipticLowpass(in, v);
      break;
  }
  StageDesign d;
  d.q = v.q;
  d.gain = v.gain;
  d.notRealizable = Check(v, type);
  d.parts = {.R1 = v.R1, .R2 = v.R2, .R3 = v.R3, .R4 = v.R4, .C1 = v.C1, .C2 = v.C2};
  if (type == FilterType::EllipticLowpass) d.parts.C3 = v.C3;
  return d;
}

}  // namespace morvane
