#include "design/svf_stage.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "numerics/standard_series.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Below a third, 3 gain - 1 would make R5 (lowpass) or R6 (highpass) zero or negative.
constexpr double kMinSvf3Gain = 0.334;

// C1 = C2: the entry when capacitances are not chosen automatically, else the series value
// above 1/(2 pi Rc f0).
double Capacitance(const SvfInput& in, double Rc, double f0) {
  if (!in.automaticCapacitance) return in.capacitance;
  return SeriesValueAbove(in.stage.seriesC, 1.0 / (kTwoPi * Rc * f0));
}

// Integrators of the three-op-amp stage, with R5, R6 and C1 chosen: R1 puts the poles at f0
// for this Q, R2 = R1 a^2/Q^2.
void Svf3Integrators(StageParts& p, double q, double a, double f0) {
  const double b = std::sqrt(*p.R6 / *p.R5) / kTwoPi;
  const double c = *p.C1;
  p.R1 = (b / a) * q / f0 / c;
  p.C2 = c;
  p.R2 = *p.R1 * c * a * a / (q * q) / c;
}

void Svf3LowOrHighpass(const SvfInput& in, double gain, bool highpass, StageParts& p) {
  const StageRequirement& s = in.stage;
  const double rz = SeriesValueAbove(s.seriesR, s.zin);
  const double rg = (3.0 * gain - 1.0) * rz;
  // The lowpass takes R6 from Zin, the highpass R5; the other sets the gain.
  p.R6 = highpass ? rg : rz;
  p.R5 = highpass ? rz : rg;
  p.C1 = Capacitance(in, rz, s.fo);
  const double r = *p.R6 / *p.R5;
  const double a = std::sqrt(r) * 3.0 / (r + 1.0);
  Svf3Integrators(p, s.q, a, s.fo);
  p.R3 = rz;
  p.R0 = rz;
  p.R4 = rz;
}

void Svf3Bandpass(const SvfInput& in, double gain, StageParts& p) {
  const StageRequirement& s = in.stage;
  const double rz = SeriesValueAbove(s.seriesR, s.zin);
  p.C1 = Capacitance(in, rz, s.fg);
  p.R5 = p.R6 = p.R0 = p.R4 = rz;
  const double t = (2.0 - gain) * 0.25 / gain * rz;
  const double r3 = std::sqrt(t * t + rz * rz * 0.5 / gain) + t;
  p.R3 = r3;
  const double r = *p.R6 / *p.R5;
  const double a = std::sqrt(r) * (rz / r3 + 1.0 + rz / rz) / (r + 1.0);
  Svf3Integrators(p, s.q, a, s.fg);
}

// Four op amps: the integrators set f0 alone, the summing resistors gain and Q.
void Svf4Design(const SvfInput& in, bool band, StageParts& p) {
  const StageRequirement& s = in.stage;
  const double f0 = band ? s.fg : s.fo;
  const double c = Capacitance(in, SeriesValueAbove(s.seriesR, s.zin), f0);
  const double r0 = s.zin;
  p.R0 = r0;
  p.C1 = p.C2 = c;
  p.R1 = p.R2 = 1.0 / (kTwoPi * c * f0);
  const double r4 = band ? s.gain * r0 : r0;
  p.R3 = band ? s.gain * r0 : s.gain * s.q * r0;
  p.R4 = r4;
  p.R5 = r4 * s.q;
}

}  // namespace

StageDesign DesignSvf3Stage(const SvfInput& in) {
  StageDesign d;
  d.q = in.stage.q;
  const double gain = std::max(kMinSvf3Gain, in.stage.gain);
  // The gain is the page's for every type, also one the stage does not build.
  d.gain = gain;
  switch (in.stage.type) {
    case FilterType::Lowpass:
      Svf3LowOrHighpass(in, gain, false, d.parts);
      break;
    case FilterType::Highpass:
      Svf3LowOrHighpass(in, gain, true, d.parts);
      break;
    case FilterType::Bandpass:
      Svf3Bandpass(in, gain, d.parts);
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

StageDesign DesignSvf4Stage(const SvfInput& in) {
  StageDesign d;
  d.q = in.stage.q;
  switch (in.stage.type) {
    case FilterType::Lowpass:
    case FilterType::Highpass:
      Svf4Design(in, false, d.parts);
      d.gain = in.stage.gain;
      break;
    case FilterType::Bandpass:
    case FilterType::Bandstop:
      Svf4Design(in, true, d.parts);
      d.gain = in.stage.gain;
      break;
    case FilterType::Allpass:
      d.typeNotOffered = true;
      break;
    case FilterType::EllipticLowpass:
      break;
  }
  return d;
}

}  // namespace morvane
