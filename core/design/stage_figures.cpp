#include "design/stage_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "graphs/response.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// The overshoot search ends within a few steps for every entry; the cap only keeps a state the
// entries cannot produce from freezing the window.
constexpr std::int64_t kMaxSteps = 1'000'000;
// Where the rise-time search stops looking when the response has no maximum (D >= 1): some
// 1e10 time constants, where even D = 5 has long settled.
constexpr std::int64_t kMaxIndex = std::int64_t{1} << 40;

// Samples of the step response on the grid t = start + i * step.
struct StepGrid {
  double D;
  double w0;
  double start;
  double step;
  double Time(std::int64_t i) const { return start + static_cast<double>(i) * step; }
  double At(std::int64_t i) const { return SecondOrderStep(D, w0, Time(i)); }
};

// First index in (below, above] whose sample lies above `level`, where At(below) <= level
// < At(above) and the response rises in between.
std::int64_t FirstAbove(const StepGrid& grid, double level, std::int64_t below,
                        std::int64_t above) {
  while (above - below > 1) {
    const std::int64_t middle = below + (above - below) / 2;
    if (grid.At(middle) > level) {
      above = middle;
    } else {
      below = middle;
    }
  }
  return above;
}

// w0 t of the first maximum of the underdamped step response.
double FirstPeak(double D) {
  return std::numbers::pi / std::sqrt((1.0 - D) * (1.0 + D));
}

}  // namespace

std::optional<double> NoiseBandwidth(FilterType type, double Q, double f0) {
  // The integrals of |H|^2 over 0..infinity in closed form: 1 / ((1 - x^2)^2 + x^2 / Q^2) gives
  // pi Q / 2, (x^2 / Q^2) / ((1 - x^2)^2 + x^2 / Q^2) gives pi / (2 Q), x = f / f0.
  switch (type) {
    case FilterType::Lowpass:
      return std::numbers::pi / 2.0 * Q * f0;
    case FilterType::Bandpass:
      return std::numbers::pi / 2.0 * f0 / Q;
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
  const StepGrid grid{D, w0, 0.0, (Q >= 120.0 ? 0.02 : 0.01) / w0};
  // The step response rises monotonically up to its first maximum (for good when D >= 1) and
  // crosses both levels on that stretch, so halving finds the very samples that marching
  // step by step would, in a few dozen evaluations instead of up to thousands.
  std::int64_t end = kMaxIndex;
  if (D < 1.0) {
    const double peakIndex = std::floor(FirstPeak(D) / (w0 * grid.step));
    end = std::max<std::int64_t>(1, static_cast<std::int64_t>(peakIndex));
  }
  std::int64_t below = 0;
  std::int64_t above = 1;
  while (above < end && grid.At(above) <= 0.9) {
    below = above;
    above = std::min(2 * above, end);
  }
  // Only a damping far outside the entry range gets here without reaching 90 %.
  if (grid.At(above) <= 0.9) return grid.Time(above);
  const std::int64_t i90 = FirstAbove(grid, 0.9, below, above);
  const std::int64_t i10 = FirstAbove(grid, 0.1, 0, i90);
  return grid.Time(i90) - grid.Time(i10);
}

double Overshoot(double Q, double D, double fg) {
  if (Q <= 0.5 || D >= 1.0) return 0.0;
  const double w0 = LowpassPoleAngularFrequency(fg, Q);
  const double peak = FirstPeak(D);
  // 0.04 sqrt(Q) passes the first maximum beyond Q = 6169 and would report a later, lower
  // sample (65 % instead of 99.98 % at Q = 10000); never start behind it.
  const StepGrid grid{D, w0, std::min(0.04 * std::sqrt(Q), peak) / w0,
                      (Q >= 120.0 ? 0.03 : 0.01) / w0};
  // From the start the samples climb until they pass the first maximum. Begin a couple of
  // steps before it, on the same grid, and the search stops at the same sample; near
  // Q = 0.5 this saves thousands of evaluations.
  const double stepsToPeak = std::floor((peak / w0 - grid.start) / grid.step) - 2.0;
  std::int64_t i = static_cast<std::int64_t>(std::clamp(stepsToPeak, 0.0, 1e15));
  double before = grid.At(i);
  for (std::int64_t n = 0; n < kMaxSteps; ++n) {
    const double after = grid.At(++i);
    if (after <= before) break;
    before = after;
  }
  return 100.0 * (before - 1.0);
}

Readout ReadoutAt(const DesignState& s, FilterType type) {
  Readout r;
  const double magnitude = MagnitudeAt(s, type, s.f);
  // The ladder's response already is its gain; an active stage adds the gain it realises.
  r.magnitude = s.topology == Topology::LcLadder ? magnitude : magnitude * s.VuActual;
  r.gainDb = 20.0 * Log10OrFloor(r.magnitude);  // 0 gives -2e301, not -inf
  r.phaseDegrees = PhaseAt(s, type, s.f);
  r.groupDelay = std::fabs(GroupDelayAt(s, type, s.f));
  return r;
}

}  // namespace morvane
