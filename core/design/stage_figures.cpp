#include "design/stage_figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "design/field_names.h"
#include "design/result_text.h"
#include "graphs/response.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr const char* kDiverges = "infinite";
constexpr const char* kNoOvershoot = "    0.000";
constexpr const char* kMinusInfinite = "-infinite";

// Valid entries need a few thousand steps at most (Q = 0.1: about 2300); the cap only keeps
// a state the entries cannot produce from freezing the window.
constexpr long kMaxSteps = 1'000'000;

// Composite Simpson rule with n panels on [a, b]. Each panel's end point is the next one's
// start, so it is evaluated once: 2n + 1 evaluations instead of 3n.
template <typename Integrand>
double Simpson(Integrand g, double a, double b, int n) {
  const double h = (b - a) / (2.0 * n);
  double odd = 0.0;
  double even = 0.0;
  for (int k = 0; k < n; ++k) {
    odd += g(a + (2.0 * k + 1.0) * h);
    if (k > 0) even += g(a + 2.0 * k * h);
  }
  return (g(a) + 4.0 * odd + 2.0 * even + g(a + 2.0 * n * h)) * h / 3.0;
}

}  // namespace

int NoiseBandwidthPanels(double Q) {
  // nearbyint rounds halves to even in the default rounding mode.
  return static_cast<int>(std::nearbyint(std::clamp(40.0 * Q + 100.0, 1.0, 1e8)));
}

std::optional<double> NoiseBandwidth(FilterType type, double Q, double f0) {
  const double q2 = 1.0 / (Q * Q);
  const double upper = 1.0 / Q + 3.0;  // cut off, not extrapolated
  const int n = NoiseBandwidthPanels(Q);
  switch (type) {
    case FilterType::Lowpass: {
      const auto lowpass = [q2](double x) {
        const double d = (1.0 - x) * (1.0 + x);
        return 1.0 / (d * d + x * x * q2);
      };
      return std::fabs(Simpson(lowpass, 0.0, upper, n)) * f0;
    }
    case FilterType::Bandpass: {
      const auto bandpass = [q2](double x) {
        const double d = (1.0 - x) * (1.0 + x);
        const double xq = x * x * q2;
        return xq / (d * d + xq);
      };
      return std::fabs(Simpson(bandpass, 0.0, upper, n)) * f0;
    }
    default:
      // Gain that stays up at high frequencies: the integral has no end.
      return std::nullopt;
  }
}

double GroupDelayFigure(FilterType type, double Q, double f0) {
  const double w0 = kTwoPi * f0;
  switch (type) {
    case FilterType::Allpass:
      return 2.0 / (Q * w0);
    case FilterType::Bandpass:
      // The delay at the centre, where the bandpass is used; 1/(Q w0) would be the low
      // frequency value, which is not the bandpass's.
      return 2.0 * Q / w0;
    default:
      return 1.0 / (Q * w0);
  }
}

double RiseTime(double Q, double D, double fg) {
  const double w0 = LowpassPoleAngularFrequency(fg, Q);
  const double step = (Q >= 120.0 ? 0.02 : 0.01) / w0;
  double t10 = 0.0;
  double t90 = 0.0;
  bool have10 = false;
  for (long i = 0; i < kMaxSteps; ++i) {
    const double t = static_cast<double>(i) * step;
    const double v = SecondOrderStep(D, w0, t);
    if (v > 0.1 && !have10) {
      t10 = t;
      have10 = true;
    }
    if (v > 0.9) {
      t90 = t;
      break;
    }
    t90 = t;
  }
  return t90 - t10;
}

double Overshoot(double Q, double D, double fg) {
  if (Q <= 0.5 || D >= 1.0) return 0.0;
  const double w0 = LowpassPoleAngularFrequency(fg, Q);
  const double step = (Q >= 120.0 ? 0.03 : 0.01) / w0;
  // 0.04 sqrt(Q) passes the first maximum (at pi/sqrt(1 - D^2)) beyond Q = 6000 and would
  // report a later, lower sample; never start behind it.
  const double firstPeak = std::numbers::pi / std::sqrt((1.0 - D) * (1.0 + D));
  const double start = std::min(0.04 * std::sqrt(Q), firstPeak) / w0;
  // Each sample is the next comparison's "before" value: one evaluation per step.
  double before = SecondOrderStep(D, w0, start);
  for (long i = 1; i < kMaxSteps; ++i) {
    const double after = SecondOrderStep(D, w0, start + static_cast<double>(i) * step);
    if (after <= before) break;
    before = after;
  }
  return 100.0 * (before - 1.0);
}

void WriteInformationPanel(const DesignState& s, FilterType type, FieldSink& out) {
  const double f0 = ReferenceFrequency(s, type);
  const auto bn = NoiseBandwidth(type, s.Q, f0);
  out.Write(field::BrAusgabe, bn ? ResultText(*bn) : kDiverges);
  out.Write(field::tgrAusgabe, ResultText(GroupDelayFigure(type, s.Q, f0)));
  out.Write(field::trAusgabe, ResultText(RiseTime(s.Q, s.D, s.fg)));
  out.Write(field::OSAusgabe,
            s.Q <= 0.5 ? kNoOvershoot : " " + FormatFixed(8, 3, Overshoot(s.Q, s.D, s.fg)));
}

void WriteReadout(DesignState& s, FilterType type, FieldSink& out) {
  const double magnitude = MagnitudeAt(s, type, s.f);
  // The ladder's response already is its gain; an active stage adds the gain it realises.
  s.Vuf = s.topology == Topology::LcLadder ? magnitude : magnitude * s.VuActual;
  s.VufdB = 20.0 * Log10OrFloor(s.Vuf);  // 0 gives -2e301, not -inf
  s.Phif = PhaseAt(s, type, s.f);
  s.tgrf = std::fabs(GroupDelayAt(s, type, s.f));
  out.Write(field::VufAusgabe, ResultText(s.Vuf));
  out.Write(field::VufdBAusgabe, s.Vuf > 0.0 ? " " + FormatFixed(8, 2, s.VufdB) : kMinusInfinite);
  out.Write(field::PhifAusgabe, " " + FormatFixed(8, 2, s.Phif));
  out.Write(field::tgrfAusgabe, ResultText(s.tgrf));
}

}  // namespace morvane
