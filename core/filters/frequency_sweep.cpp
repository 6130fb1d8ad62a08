#include "filters/frequency_sweep.h"

#include <algorithm>
#include <numbers>
#include <queue>
#include <utility>

#include "numerics/bracketed_root.h"

namespace morvane::sweep {
namespace {

constexpr double kDbPerNeper = 10.0 / std::numbers::ln10;  // d(10 log10 x) = kDbPerNeper dx/x
const double kDbPerBinaryExponent = 10.0 * std::log10(2.0);
constexpr double kSweepStep = 0.2;          // of the distance to the nearest root
constexpr double kLeastSweepStep = 1e-9;    // of omega, where a root lies on the axis
constexpr int kMaxSweepSamples = 20000;     // a bound on the work, never reached in practice
constexpr double kOnAxis = 1e-6;            // |Re z| / |z| of a zero taken as on the j omega axis
constexpr double kGainToleranceDb = 1e-10;  // how exactly a turning point's value is found
constexpr double kDelayTolerance = 1e-12;   // of the delay
// Of ln omega: equally high maxima this near the same distance from the centre count as
// equally near. Maxima near the centre lie much further apart, and a maximum found to 1e-10 dB
// is placed far better than this.
constexpr double kEqualDistance = 1e-4;
constexpr int kMostRefinements = 60;    // of one bracket
constexpr int kMostStepsForPlace = 8;   // of one bracket whose value is settled
constexpr double kEqualPeaksDb = 1e-9;  // maxima this close count as equally high

bool Finite(Complex c) {
  return std::isfinite(c.real()) && std::isfinite(c.imag());
}

double ValueOf(const FrequencySample& s, Curve curve) {
  return curve == Curve::Gain ? s.gainDb : s.delay;
}

double SlopeOf(const FrequencySample& s, Curve curve) {
  return curve == Curve::Gain ? s.gainSlope : s.delaySlope;
}

double Tolerance(Curve curve, double value) {
  return curve == Curve::Gain ? kGainToleranceDb : kDelayTolerance * std::abs(value);
}

// Keeps x * 2^exponent as it is with x within 1e-150..1e150, so that no product of factors
// leaves the range of double.
void KeepInRange(double& x, int& exponent) {
  if (x > 1e-150 && x < 1e150) return;
  int shift = 0;
  x = std::frexp(x, &shift);
  exponent += shift;
}

// The factors of `roots` (all zeros or all poles) appended to `factors`.
void AddFactors(const std::vector<Complex>& roots, double sign,
                std::vector<RootTable::Factor>& factors) {
  std::vector<bool> used(roots.size(), false);
  for (std::size_t i = 0; i < roots.size(); ++i) {
    if (used[i]) continue;
    used[i] = true;
    const Complex r = roots[i];
    const bool onAxis = sign > 0.0 && std::abs(r.real()) <= kOnAxis * std::abs(r);
    RootTable::Factor factor{r.real(), r.imag(), sign, false, 1, onAxis ? HUGE_VAL : 0.0};
    for (std::size_t j = i + 1; j < roots.size(); ++j) {
      if (used[j]) continue;
      if (r.imag() != 0.0 && roots[j] == std::conj(r)) {
        used[j] = true;
        factor.pair = true;
        factor.im = std::abs(r.imag());
        break;
      }
      if (r.imag() == 0.0 && roots[j] == r) {
        used[j] = true;
        ++factor.count;
      }
    }
    factors.push_back(factor);
  }
}

// Adds the factors [begin, end) at j omega to `sums`.
template <bool kWithDelay>
void Accumulate(const RootTable& table, std::size_t begin, std::size_t end, double omega,
                FactorSums& sums) {
  double product = sums.product, logSlope = sums.logSlope, delay = sums.delay;
  double delaySlope = sums.delaySlope, nearest = sums.nearestSquared;
  int exponent = sums.exponent;
  const RootTable::Factor* factors = table.Factors().data();
  for (std::size_t i = begin; i < end; ++i) {
    const RootTable::Factor& f = factors[i];
    const double a2 = f.re * f.re;
    if (f.pair) {
      // (j omega - r)(j omega - conj r): |.|^2 = d1 d2 with x1 = omega - im, x2 = omega + im;
      // im > 0 and omega >= 0, so d1 <= d2
      const double x1 = omega - f.im, x2 = omega + f.im;
      const double d1 = a2 + x1 * x1, d2 = a2 + x2 * x2;
      nearest = std::min(nearest, d1 + f.stepPenalty);
      const double both = d1 * d2;
      if (both == 0.0) {
        (f.sign > 0.0 ? sums.onZero : sums.onPole) = true;
        continue;  // the curves jump here; the factor adds no slope and no delay
      }
      const double inverse = 1.0 / both;
      product *= f.sign > 0.0 ? both : inverse;
      logSlope += f.sign * 2.0 * (x1 * d2 + x2 * d1) * inverse;
      if constexpr (kWithDelay) {
        delay += f.sign * f.re * (d1 + d2) * inverse;
        delaySlope -= f.sign * 2.0 * f.re * (x1 * d2 * d2 + x2 * d1 * d1) * inverse * inverse;
      }
    } else {
      const double x = omega - f.im;
      const double d = a2 + x * x;
      nearest = std::min(nearest, d + f.stepPenalty);
      if (d == 0.0) {
        (f.sign > 0.0 ? sums.onZero : sums.onPole) = true;
        continue;
      }
      const double inverse = 1.0 / d;
      const double factor = f.sign > 0.0 ? d : inverse;
      for (int k = 0; k < f.count; ++k) {
        product *= factor;
        KeepInRange(product, exponent);
      }
      const double weight = f.sign * f.count;
      logSlope += weight * 2.0 * x * inverse;
      if constexpr (kWithDelay) {
        delay += weight * f.re * inverse;
        delaySlope -= weight * 2.0 * f.re * x * inverse * inverse;
      }
    }
    KeepInRange(product, exponent);
  }
  sums.product = product;
  sums.exponent = exponent;
  sums.logSlope = logSlope;
  sums.delay = delay;
  sums.delaySlope = delaySlope;
  sums.nearestSquared = nearest;
}

}  // namespace

bool IsMeasurable(const PoleZeroGain& h) {
  if (h.poles.empty() || h.zeros.size() > h.poles.size()) return false;
  if (!std::isfinite(h.gain) || h.gain == 0.0) return false;
  for (const Complex& p : h.poles) {
    if (!Finite(p) || !(p.real() < 0.0)) return false;
  }
  return std::all_of(h.zeros.begin(), h.zeros.end(), Finite);
}

double SmallestPole(const PoleZeroGain& h) {
  double least = std::abs(h.poles.front());
  for (const Complex& p : h.poles) least = std::min(least, std::abs(p));
  return least;
}

double LargestRoot(const PoleZeroGain& h) {
  double most = 0.0;
  for (const Complex& p : h.poles) most = std::max(most, std::abs(p));
  for (const Complex& z : h.zeros) most = std::max(most, std::abs(z));
  return most;
}

double CentreOmega(const PoleZeroGain& h) {
  double logSum = 0.0;
  for (const Complex& p : h.poles) logSum += std::log(std::abs(p));
  return std::exp(logSum / static_cast<double>(h.poles.size()));
}

void RootTable::Append(const PoleZeroGain& h) {
  AddFactors(h.zeros, 1.0, factors_);
  AddFactors(h.poles, -1.0, factors_);
  const double before = gainDb_.empty() ? 0.0 : gainDb_.back();
  const long excess = excessZeros_.empty() ? 0 : excessZeros_.back();
  sectionEnds_.push_back(factors_.size());
  gainDb_.push_back(before + 20.0 * std::log10(std::abs(h.gain)));
  excessZeros_.push_back(excess + static_cast<long>(h.zeros.size()) -
                         static_cast<long>(h.poles.size()));
}

double RootTable::GainDbOf(std::size_t sections) const {
  return sections ? gainDb_[sections - 1] : 0.0;
}

double RootTable::HighFrequencyDbOf(std::size_t sections) const {
  const long excess = sections ? excessZeros_[sections - 1] : 0;
  if (excess < 0) return -kGainDbCap;
  if (excess > 0) return kGainDbCap;
  return std::clamp(GainDbOf(sections), -kGainDbCap, kGainDbCap);
}

FactorSums SumFactors(const RootTable& table, std::size_t begin, std::size_t end, double omega,
                      bool withDelay) {
  FactorSums sums;
  if (withDelay) {
    Accumulate<true>(table, begin, end, omega, sums);
  } else {
    Accumulate<false>(table, begin, end, omega, sums);
  }
  return sums;
}

void SumPartials(const RootTable& table, double omega, FactorSums* partials) {
  FactorSums running;
  for (std::size_t s = 0; s < table.Sections(); ++s) {
    Accumulate<false>(table, table.FactorsOf(s), table.FactorsOf(s + 1), omega, running);
    partials[s] = running;
  }
}

double ProductDb(const FactorSums& sums) {
  if (sums.onZero) return -kGainDbCap;
  if (sums.onPole) return kGainDbCap;
  const double db = 10.0 * std::log10(sums.product) + kDbPerBinaryExponent * sums.exponent;
  return std::clamp(db, -kGainDbCap, kGainDbCap);
}

double GainDbOf(const RootTable& table, std::size_t sections, const FactorSums& sums) {
  const double productDb = ProductDb(sums);
  if (std::abs(productDb) == kGainDbCap) return productDb;
  return std::clamp(table.GainDbOf(sections) + productDb, -kGainDbCap, kGainDbCap);
}

FrequencySample SampleAt(const RootTable& table, std::size_t sections, double omega,
                         bool withDelay) {
  const FactorSums sums = SumFactors(table, 0, table.FactorsOf(sections), omega, withDelay);
  FrequencySample sample;
  sample.omega = omega;
  sample.gainDb = GainDbOf(table, sections, sums);
  sample.gainSlope = kDbPerNeper * sums.logSlope;
  sample.delay = sums.delay;
  sample.delaySlope = sums.delaySlope;
  sample.nearest = std::sqrt(sums.nearestSquared);
  return sample;
}

double NextOmega(double omega, double nearest, int direction) {
  const double step = std::max(kSweepStep * nearest, kLeastSweepStep * omega);
  if (direction > 0) return omega + step;
  return omega - std::min(step, kSweepStep * omega);
}

FrequencySample LevelCrossing(const RootTable& table, const FrequencySample& a,
                              const FrequencySample& b, double levelDb) {
  const auto offLevel = [&](double omega) {
    return SampleAt(table, omega, false).gainDb - levelDb;
  };
  const double omega = BracketedRoot(offLevel, a.omega, b.omega, a.gainDb - levelDb,
                                     b.gainDb - levelDb, 1e-14 * std::max(a.omega, b.omega));
  return SampleAt(table, omega);
}

LevelWalk WalkToLevel(const RootTable& table, double start, int direction, double levelDb,
                      bool above, double low, double high) {
  const auto inside = [&](double gainDb) { return above ? gainDb >= levelDb : gainDb < levelDb; };
  LevelWalk walk;
  walk.samples.push_back(SampleAt(table, start));
  for (int i = 0; i < kMaxSweepSamples; ++i) {
    const FrequencySample& current = walk.samples.back();
    const double next = NextOmega(current.omega, current.nearest, direction);
    if (next > high || next < low) break;
    const FrequencySample sample = SampleAt(table, next);
    if (!inside(sample.gainDb)) {
      walk.crossing = LevelCrossing(table, current, sample, levelDb);
      break;
    }
    walk.samples.push_back(sample);
  }
  return walk;
}

std::vector<FrequencySample> SweepBetween(const RootTable& table, double a, double b) {
  std::vector<FrequencySample> samples;
  double omega = a;
  for (int i = 0; i < kMaxSweepSamples; ++i) {
    samples.push_back(SampleAt(table, omega));
    if (omega >= b) break;
    omega = std::min(NextOmega(omega, samples.back().nearest, +1), b);
  }
  return samples;
}

std::optional<Extremum> HighestPeakNear(const RootTable& table, std::size_t sections,
                                        const std::vector<FrequencySample>& samples,
                                        double centre) {
  Precision precision;
  precision.margin = kEqualPeaksDb;
  const auto peaks = RefineTurningPoints(table, sections, TurningBrackets(samples, Curve::Gain, +1),
                                         Curve::Gain, +1, precision);
  if (peaks.empty()) return std::nullopt;
  const auto distance = [&](double omega) { return std::abs(std::log(omega / centre)); };
  Extremum chosen = peaks.front();
  for (const Extremum& peak : peaks) {
    if (distance(peak.omega) < distance(chosen.omega) - kEqualDistance) chosen = peak;
  }
  // Its place to full precision: things measured there (the group delay) change fast with it.
  const auto slopeAt = [&](double omega) {
    return SampleAt(table, sections, omega, false).gainSlope;
  };
  for (double reach = 1e-9 * chosen.omega; reach < 1e-3 * chosen.omega; reach *= 10.0) {
    const double low = chosen.omega - reach, high = chosen.omega + reach;
    const double slopeLow = slopeAt(low), slopeHigh = slopeAt(high);
    if (!(slopeLow > 0.0 && slopeHigh < 0.0)) continue;
    const double omega = BracketedRoot(slopeAt, low, high, slopeLow, slopeHigh, 0.0);
    const double value = SampleAt(table, sections, omega, false).gainDb;
    if (value >= chosen.value) chosen = {omega, value};
    break;
  }
  return chosen;
}

double MaximumBound(double x0, double g0, double s0, double x1, double g1, double s1) {
  const double higher = std::max(g0, g1);
  const double fall = std::abs(s1);
  // g0 + s0 t = g1 + fall (width - t) where the tangents meet
  const double t = (g1 - g0 + fall * (x1 - x0)) / (s0 + fall);
  const double meeting = g0 + s0 * t;
  return higher + 2.0 * std::max(0.0, meeting - higher);
}

std::vector<TurningBracket> TurningBrackets(const std::vector<FrequencySample>& samples,
                                            Curve curve, int sign) {
  std::vector<TurningBracket> brackets;
  for (std::size_t k = 0; k + 1 < samples.size(); ++k) {
    if (sign * SlopeOf(samples[k], curve) > 0.0 && sign * SlopeOf(samples[k + 1], curve) <= 0.0) {
      brackets.push_back({samples[k], samples[k + 1]});
    }
  }
  return brackets;
}

std::vector<Extremum> RefineTurningPoints(const RootTable& table, std::size_t sections,
                                          std::vector<TurningBracket> brackets, Curve curve,
                                          int sign, const Precision& precision) {
  // Everything on sign * curve, so that minima are maxima too.
  const auto value = [&](const FrequencySample& s) { return sign * ValueOf(s, curve); };
  const auto slope = [&](const FrequencySample& s) { return sign * SlopeOf(s, curve); };
  struct Live {
    TurningBracket bracket;
    double bound;
    int steps;
    // The slopes the next secant step uses (Illinois): an end kept twice in a row counts half,
    // so that neither end stays put for long.
    double secantA, secantB;
    int kept;           // -1: a was kept last time, +1: b, 0: neither yet
    int stepsForPlace;  // taken with the value settled but not the place
  };
  const auto boundOf = [&](const TurningBracket& b) {
    return MaximumBound(b.a.omega, value(b.a), slope(b.a), b.b.omega, value(b.b), slope(b.b));
  };
  std::vector<Live> lives;
  lives.reserve(brackets.size());
  // The highest sample: a bracket whose bound is below it cannot hold the highest turning point
  // (nor one within the margin of it).
  double reached = -HUGE_VAL;
  std::priority_queue<std::pair<double, std::size_t>> highestBound;  // bound, index in lives
  for (const TurningBracket& b : brackets) {
    lives.push_back({b, boundOf(b), 0, slope(b.a), slope(b.b), 0, 0});
    highestBound.push({lives.back().bound, lives.size() - 1});
    reached = std::max({reached, value(b.a), value(b.b)});
  }

  std::vector<Extremum> found;
  double best = -HUGE_VAL;  // of the turning points found
  while (!highestBound.empty()) {
    Live& live = lives[highestBound.top().second];
    highestBound.pop();
    const FrequencySample& a = live.bracket.a;
    const FrequencySample& b = live.bracket.b;
    const double tolerance = Tolerance(curve, std::max(std::abs(value(a)), std::abs(value(b))));
    // (a sample's value may be off by its rounding, far less than the tolerance)
    if (live.bound <= precision.beyond || live.bound < reached - precision.margin - tolerance ||
        live.bound <= best - precision.margin + tolerance) {
      break;  // the others' bounds are lower still
    }
    const FrequencySample& better = value(a) >= value(b) ? a : b;
    const double width = b.omega - a.omega;
    const double bend = slope(a) - slope(b);  // > 0
    const bool flat = std::max(slope(a), -slope(b)) * width <= tolerance;
    const bool valueSettled = live.bound - value(better) <= tolerance;
    const bool placeSettled = precision.place == 0.0 || std::abs(slope(better)) * width <=
                                                            precision.place * better.omega * bend;
    // On a top flat to the rounding (a maximally flat pass band) the slope is rounding noise
    // and the place no better defined than where the value is reached: a few more steps only.
    if (valueSettled && !placeSettled) ++live.stepsForPlace;
    if (flat || (valueSettled && (placeSettled || live.stepsForPlace > kMostStepsForPlace)) ||
        live.steps >= kMostRefinements) {
      if (value(better) <= precision.within) {
        found.push_back({better.omega, value(better)});
        best = std::max(best, value(better));
      }
      continue;
    }
    // A secant step on the slope, kept off the ends.
    double omega = a.omega + width * live.secantA / (live.secantA - live.secantB);
    omega = std::clamp(omega, a.omega + 1e-3 * width, b.omega - 1e-3 * width);
    const FrequencySample middle = SampleAt(table, sections, omega, curve == Curve::Delay);
    reached = std::max(reached, value(middle));
    if (slope(middle) > 0.0) {
      live.bracket.a = middle;
      live.secantA = slope(middle);
      if (live.kept > 0) live.secantB *= 0.5;
      live.kept = 1;
    } else {
      live.bracket.b = middle;
      live.secantB = slope(middle);
      if (live.kept < 0) live.secantA *= 0.5;
      live.kept = -1;
    }
    live.bound = boundOf(live.bracket);
    ++live.steps;
    highestBound.push({live.bound, static_cast<std::size_t>(&live - lives.data())});
  }
  std::erase_if(found, [&](const Extremum& e) {
    return e.value <= precision.beyond || e.value < best - precision.margin;
  });
  std::sort(found.begin(), found.end(),
            [](const Extremum& x, const Extremum& y) { return x.omega < y.omega; });
  for (Extremum& e : found) e.value *= sign;
  return found;
}

}  // namespace morvane::sweep
