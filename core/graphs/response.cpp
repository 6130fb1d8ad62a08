#include "graphs/response.h"

#include "lc/lc_ladder.h"

#include <cmath>
#include <numbers>
#include <optional>

#include "design/recalculate.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

struct PolarPoint {
  double magnitude;
  double degrees;
};

// The passive LC ladder's own response over LadderCoefA and LadderCoefB, for MagnitudeAt and
// PhaseAt alike.
PolarPoint LadderPoint(const DesignState& s, FilterType type, double f) {
  const PolarValue h = LadderResponse(s, type, f);
  return PolarPoint{h.magnitude, h.angle};
}

bool IsBand(FilterType type) {
  return type == FilterType::Bandpass || type == FilterType::Bandstop;
}

}  // namespace

void UpdatePoleFrequency(DesignState& s, FilterType type) {
  s.fo = ResonanceFrequency(s.fg, s.Q, type);
}

double ReferenceFrequency(const DesignState& s, FilterType type) {
  if (IsBand(type)) return s.fg;
  if (s.fo > 0.0 && std::isfinite(s.fo)) return s.fo;
  // No design has set fo yet (a fresh state): the value every design would give it.
  return ResonanceFrequency(s.fg, s.Q, type);
}

double LowpassPoleAngularFrequency(double fg, double Q) {
  return kTwoPi * ResonanceFrequency(fg, Q, FilterType::Lowpass);
}

double GuardedExp(double x) {
  if (x > 100.0) return std::exp(100.0) + (x - 100.0);
  if (x < -100.0) return 0.0;
  return std::exp(x);
}

double SecondOrderStep(double D, double w0, double t) {
  const double x = w0 * t;
  if (D < 1.0) {
    const double wr = std::sqrt((1.0 - D) * (1.0 + D));
    const double theta = std::atan(wr / D);
    return 1.0 - GuardedExp(-D * x) * std::sin(wr * x + theta) / wr;
  }
  if (D > 1.0) {
    // Time constants in units of 1/w0; T1*T2 = 1 keeps T2 free of cancellation.
    const double r = std::sqrt((D - 1.0) * (D + 1.0));
    const double t1 = D + r;
    const double t2 = 1.0 / t1;
    const double spread = t1 - t2;
    return 1.0 - GuardedExp(-x / t1) * t1 / spread + GuardedExp(-x / t2) * t2 / spread;
  }
  return 1.0 - GuardedExp(-x) * (1.0 + x);
}

double MagnitudeAt(const DesignState& s, FilterType type, double f) {
  if (s.topology == Topology::LcLadder) {
    return LadderPoint(s, type, f).magnitude;
  }
  if (type == FilterType::Allpass) return 1.0;
  const double f0 = ReferenceFrequency(s, type);
  const double x = f / f0;
  const double d = (1.0 - x) * (1.0 + x);  // 1 - x^2, exactly 0 at x = 1
  const double xq = x / s.Q;
  const double denominator = d * d + xq * xq;
  double numerator = 1.0;
  switch (type) {
    case FilterType::Lowpass:
    case FilterType::Allpass:
      break;
    case FilterType::EllipticLowpass: {
      // Normalised to the zero itself, so f = fnfp*fo gives exactly 0.
      const double xn = f / (s.fnfp * f0);
      const double dn = (1.0 - xn) * (1.0 + xn);
      numerator = dn * dn;
      break;
    }
    case FilterType::Highpass:
      numerator = (x * x) * (x * x);
      break;
    case FilterType::Bandpass:
      numerator = xq * xq;
      break;
    case FilterType::Bandstop:
      numerator = d * d;
      break;
  }
  return std::sqrt(numerator / denominator);
}

double GainDbAt(const DesignState& s, FilterType type, double f) {
  return 20.0 * Log10OrFloor(MagnitudeAt(s, type, f));
}

double PhaseAt(const DesignState& s, FilterType type, double f) {
  if (s.topology == Topology::LcLadder) {
    return FoldLadderPhase(LadderPoint(s, type, f).degrees);
  }
  const double f0 = ReferenceFrequency(s, type);
  const double c = f / f0;
  // At c = 1 the angle of 1 - c^2 + jc/Q is 90 degrees for every Q. The classic stand-in
  // c = 0.9999 lands far from it at high Q (27 degrees at Q = 10000).
  double phi0 = 90.0;
  if (c != 1.0) {
    phi0 = std::atan((c / s.Q) / ((1.0 - c) * (1.0 + c))) * kDegreesPerRadian;
    if (phi0 < 0.0) phi0 += 180.0;
  }
  switch (type) {
    case FilterType::Lowpass:
      return -phi0;
    case FilterType::EllipticLowpass:
      // Past the zero the numerator 1 - (f/fn)^2 turns negative: a step of +180 degrees.
      return f < s.fnfp * f0 ? -phi0 : 180.0 - phi0;
    case FilterType::Highpass:
      return 180.0 - phi0;
    case FilterType::Bandpass:
      return 90.0 - phi0;
    case FilterType::Bandstop:
      return -phi0 > -90.0 ? -phi0 : 180.0 - phi0;
    case FilterType::Allpass:
      return -2.0 * phi0;
  }
  return -phi0;
}

double GroupDelayAt(const DesignState& s, FilterType type, double f) {
  const double f0 = ReferenceFrequency(s, type);
  const double c = f / f0;
  const double d = (1.0 - c) * (1.0 + c);
  const double cq = c / s.Q;
  const double k = type == FilterType::Allpass ? 2.0 : 1.0;
  return k * (1.0 + c * c) / (s.Q * kTwoPi * f0) / (d * d + cq * cq);
}

double StepResponseAt(DesignState& s, double t) {
  s.D = 0.5 / s.Q;
  // D = 0.5/Q puts Q > 0.5, Q = 0.5 and Q < 0.5 on the underdamped, critical and overdamped
  // branches.
  return SecondOrderStep(s.D, LowpassPoleAngularFrequency(s.fg, s.Q), t);
}

}  // namespace morvane
