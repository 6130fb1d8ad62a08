#include "rc_filters/rc_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "numerics/standard_series.h"

namespace morvane {

namespace {

using Complex = std::complex<double>;

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kGainFloorDb = -300.0;

// 1/RL, 0 for an open output.
double LoadConductance(std::optional<double> load) {
  return load && *load > 0.0 ? 1.0 / *load : 0.0;
}

// The -3 dB corner of N/(a s^2 + b s + c) with real positive a, b, c: |D(j w)|^2 = 2 c^2 gives
// a^2 w^4 + (b^2 - 2ac) w^2 - c^2 = 0, whose positive root in w^2 is taken.
double QuadraticCornerOmega(double a, double b, double c) {
  const double p = b * b - 2.0 * a * c;
  const double w2 = (-p + std::sqrt(p * p + 4.0 * a * a * c * c)) / (2.0 * a * a);
  return std::sqrt(w2);
}

}  // namespace

const char* RcCircuitName(RcCircuit circuit) {
  switch (circuit) {
    case RcCircuit::Lowpass:
      return "First-order lowpass";
    case RcCircuit::Highpass:
      return "First-order highpass";
    case RcCircuit::TwoSectionLowpass:
      return "Second-order lowpass (two RC sections)";
    case RcCircuit::WienBandpass:
      return "Wien bandpass";
    case RcCircuit::TwinTNotch:
      return "Twin-T notch";
  }
  return "";
}

bool HasCentreFrequency(RcCircuit circuit) {
  return circuit == RcCircuit::WienBandpass || circuit == RcCircuit::TwinTNotch;
}

double RcFrequencyFactor(RcCircuit circuit) {
  if (circuit == RcCircuit::TwoSectionLowpass) return std::sqrt((std::sqrt(53.0) - 7.0) / 2.0);
  return 1.0;
}

double RcFrequency(RcCircuit circuit, double r, double c) {
  return RcFrequencyFactor(circuit) / (kTwoPi * r * c);
}

double RcTimeConstantFor(RcCircuit circuit, double frequency) {
  return RcFrequencyFactor(circuit) / (kTwoPi * frequency);
}

std::complex<double> RcResponse(RcCircuit circuit, double r, double c, std::optional<double> load,
                                double f) {
  const double g = 1.0 / r;
  const double gl = LoadConductance(load);
  const Complex y(0.0, kTwoPi * f * c);  // admittance of C
  switch (circuit) {
    case RcCircuit::Lowpass:
      return g / (g + gl + y);
    case RcCircuit::Highpass:
      return y / (g + gl + y);
    case RcCircuit::TwoSectionLowpass:
      // Nodal equations of R1, C1, R2, C2 || RL: G1 G2 / ((G1 + G2 + sC1)(G2 + GL + sC2) - G2^2).
      return g * g / ((2.0 * g + y) * (g + gl + y) - g * g);
    case RcCircuit::WienBandpass: {
      // 1 / (1 + Zseries Yparallel), Zseries = R + 1/sC, Yparallel = G + GL + sC.
      const Complex zSeries = r + 1.0 / y;
      return 1.0 / (1.0 + zSeries * (g + gl + y));
    }
    case RcCircuit::TwinTNotch:
      // Nodal equations of both T's into the loaded output:
      // (G^2 + Y^2) / (2 (G + Y)(G + Y + GL) - G^2 - Y^2).
      return (g * g + y * y) / (2.0 * (g + y) * (g + y + gl) - g * g - y * y);
  }
  return 0.0;
}

RcFigures RcFiguresOf(RcCircuit circuit, double r, double c, std::optional<double> load) {
  const double g = 1.0 / r;
  const double gl = LoadConductance(load);
  const double ratio = gl * r;  // R/RL
  switch (circuit) {
    case RcCircuit::Lowpass:
      return {(g + gl) * r / (kTwoPi * r * c), 1.0 / (1.0 + ratio)};
    case RcCircuit::Highpass:
      return {(g + gl) * r / (kTwoPi * r * c), 1.0};
    case RcCircuit::TwoSectionLowpass: {
      // Denominator C^2 s^2 + C (3G + GL) s + (G^2 + 2 G GL), numerator G^2.
      const double a = c * c;
      const double b = c * (3.0 * g + gl);
      const double c0 = g * g + 2.0 * g * gl;
      return {QuadraticCornerOmega(a, b, c0) / kTwoPi, g * g / c0};
    }
    case RcCircuit::WienBandpass:
      // 1 / ((3 + R/RL) + j (u - (1 + R/RL)/u)), u = w R C: the peak at u^2 = 1 + R/RL.
      return {std::sqrt(1.0 + ratio) / (kTwoPi * r * c), 1.0 / (3.0 + ratio)};
    case RcCircuit::TwinTNotch:
      // The notch's zero does not depend on the load; the DC path is R + R into RL.
      return {1.0 / (kTwoPi * r * c), 1.0 / (1.0 + 2.0 * ratio)};
  }
  return {};
}

RcDesign DesignRcFilter(const RcRequest& request) {
  RcDesign d;
  const auto bad = [](double v) { return !(v > 0.0) || !std::isfinite(v); };
  if (bad(request.frequency)) {
    d.problem = HasCentreFrequency(request.circuit) ? "f0 must be greater than 0"
                                                    : "fg must be greater than 0";
    return d;
  }
  if (request.r && bad(*request.r)) {
    d.problem = "R must be greater than 0";
    return d;
  }
  if (request.c && bad(*request.c)) {
    d.problem = "C must be greater than 0";
    return d;
  }
  if (request.load && bad(*request.load)) {
    d.problem = "RL must be greater than 0 (leave it empty for no load)";
    return d;
  }
  if (request.r && request.c) {
    d.problem = "Give R or C, not both: the other is computed";
    return d;
  }
  const double rc = RcTimeConstantFor(request.circuit, request.frequency);
  const auto rounded = [&](double v) {
    return request.series == kSeriesNone ? v : NearestSeriesValue(request.series, v);
  };
  if (request.r) {
    d.r = *request.r;
    d.exactValue = rc / d.r;
    d.c = rounded(d.exactValue);
    d.cComputed = true;
  } else {
    const int capacitorSeries = request.series == kSeriesNone ? 2 : request.series;  // E12
    d.c = request.c ? *request.c : NearestSeriesValue(capacitorSeries, rc / kPreferredResistance);
    d.cComputed = !request.c;
    d.exactValue = rc / d.c;
    d.r = rounded(d.exactValue);
    d.rComputed = true;
  }
  if (bad(d.r) || bad(d.c) || bad(d.exactValue)) {
    RcDesign none;
    none.problem = "The values lie beyond the numbers the program can handle";
    return none;
  }
  d.builtFrequency = RcFrequency(request.circuit, d.r, d.c);
  d.errorPercent = (d.builtFrequency / request.frequency - 1.0) * 100.0;
  d.loaded = RcFiguresOf(request.circuit, d.r, d.c, request.load);
  return d;
}

RcCurves RcResponseCurves(RcCircuit circuit, double r, double c, std::optional<double> load,
                          std::span<const double> frequencies) {
  RcCurves curves;
  for (double f : frequencies) {
    const Complex h = RcResponse(circuit, r, c, load, f);
    const double magnitude = std::abs(h);
    curves.f.push_back(f);
    curves.gainDb.push_back(magnitude > 0.0 && std::isfinite(magnitude)
                                ? std::max(20.0 * std::log10(magnitude), kGainFloorDb)
                                : kGainFloorDb);
    curves.phaseDegrees.push_back(std::arg(h) * 180.0 / std::numbers::pi);
  }
  return curves;
}

}  // namespace morvane
