#include "filters/filter_figures.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <numbers>
#include <utility>

#include "design/stage_design.h"
#include "filters/filter_response.h"

namespace morvane {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
const double kHalfPowerDb = 10.0 * std::log10(2.0);
constexpr double kGainDbCap = 2e301;  // PoleZeroGainDb's value on a pole or zero
constexpr int kRippleSamples = 4000;
constexpr int kDelaySamples = 1000;
constexpr int kRefineSteps = 60;
constexpr double kFlatDb = 1e-11;  // differences below this are rounding noise

using Curve = std::function<double(double)>;

double ToHz(double omega) {
  return omega / kTwoPi;
}

bool Finite(Complex c) {
  return std::isfinite(c.real()) && std::isfinite(c.imag());
}

bool IsMeasurable(const PoleZeroGain& h) {
  if (h.poles.empty() || h.zeros.size() > h.poles.size()) return false;
  if (!std::isfinite(h.gain) || h.gain == 0.0) return false;
  for (const Complex& p : h.poles) {
    if (!Finite(p) || !(p.real() < 0.0)) return false;
  }
  return std::all_of(h.zeros.begin(), h.zeros.end(), Finite);
}

// 20 log10 |H(j omega)| from one product of squared factor norms (zeros and poles taken turn
// about to stay in range), falling back to the factor-by-factor sum when it leaves the range.
double GainDb(const PoleZeroGain& h, double omega) {
  const Complex s(0.0, omega);
  double product = h.gain * h.gain;
  const std::size_t n = std::max(h.zeros.size(), h.poles.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (i < h.zeros.size()) product *= std::norm(s - h.zeros[i]);
    if (i < h.poles.size()) product /= std::norm(s - h.poles[i]);
  }
  if (product > 0.0 && std::isfinite(product)) return 10.0 * std::log10(product);
  return std::clamp(PoleZeroGainDb(h, omega), -kGainDbCap, kGainDbCap);
}

double HighFrequencyLimitDb(const PoleZeroGain& h) {
  return h.zeros.size() == h.poles.size() ? 20.0 * std::log10(std::abs(h.gain)) : -kGainDbCap;
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

// Bisection on a log scale for the point between a and b where `inside(omega)` changes.
double BisectLog(const std::function<bool(double)>& inside, double a, double b) {
  const bool atA = inside(a);
  for (int i = 0; i < kRefineSteps; ++i) {
    const double mid = std::sqrt(a * b);
    if (mid <= std::min(a, b) || mid >= std::max(a, b)) break;
    (inside(mid) == atA ? a : b) = mid;
  }
  return std::sqrt(a * b);
}

// Walks from `start` up (direction +1) or down (-1) with steps that grow from 1e-7 relative to
// 5 % until `inside` stops holding, then bisects for the crossing. Empty when the walk leaves
// [low, high] first.
std::optional<double> WalkToCrossing(const std::function<bool(double)>& inside, double start,
                                     int direction, double low, double high) {
  double step = 1e-7;
  double previous = start;
  for (int i = 0; i < 4000; ++i) {
    const double next = direction > 0 ? previous * (1.0 + step) : previous / (1.0 + step);
    if (next > high || next < low) return std::nullopt;
    if (!inside(next)) return BisectLog(inside, previous, next);
    previous = next;
    step = std::min(step * 2.0, 0.05);
  }
  return std::nullopt;
}

// Golden-section search for the maximum of f on [a, b] (log scale), from a bracketing grid.
std::pair<double, double> RefineMaximum(const Curve& f, double a, double b) {
  const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
  double la = std::log(a), lb = std::log(b);
  double l1 = lb - ratio * (lb - la), l2 = la + ratio * (lb - la);
  double f1 = f(std::exp(l1)), f2 = f(std::exp(l2));
  for (int i = 0; i < kRefineSteps && lb - la > 1e-13; ++i) {
    if (f1 < f2) {
      la = l1, l1 = l2, f1 = f2;
      l2 = la + ratio * (lb - la), f2 = f(std::exp(l2));
    } else {
      lb = l2, l2 = l1, f2 = f1;
      l1 = lb - ratio * (lb - la), f1 = f(std::exp(l1));
    }
  }
  return f1 >= f2 ? std::pair{std::exp(l1), f1} : std::pair{std::exp(l2), f2};
}

std::vector<double> GeometricGrid(double a, double b, int count) {
  std::vector<double> grid(static_cast<std::size_t>(count));
  const double ratio = std::pow(b / a, 1.0 / (count - 1));
  double omega = a;
  for (double& point : grid) point = omega, omega *= ratio;
  grid.back() = b;
  return grid;
}

struct Extremum {
  double omega;
  double value;
  bool maximum;
};

// Local extrema of f strictly inside [a, b], refined.
std::vector<Extremum> LocalExtrema(const Curve& f, double a, double b, int count) {
  const std::vector<double> grid = GeometricGrid(a, b, count);
  std::vector<double> values(grid.size());
  for (std::size_t i = 0; i < grid.size(); ++i) values[i] = f(grid[i]);
  std::vector<Extremum> found;
  for (std::size_t i = 1; i + 1 < grid.size(); ++i) {
    // a turning point must stand out of the rounding noise of a flat curve
    const bool peak = values[i] > values[i - 1] + kFlatDb && values[i] >= values[i + 1];
    const bool dip = values[i] < values[i - 1] - kFlatDb && values[i] <= values[i + 1];
    if (!peak && !dip) continue;
    const double sign = peak ? 1.0 : -1.0;
    const auto [omega, value] =
        RefineMaximum([&](double w) { return sign * f(w); }, grid[i - 1], grid[i + 1]);
    found.push_back({omega, sign * value, peak});
  }
  return found;
}

struct Reference {
  double gainDb;
  std::optional<double> omega;  // empty: the high-frequency limit
};

std::optional<Reference> FindReference(const PoleZeroGain& h, FilterKind kind) {
  if (!IsMeasurable(h)) return std::nullopt;
  std::optional<Reference> reference;
  switch (kind) {
    case FilterKind::Lowpass:
    case FilterKind::Bandstop:
      reference = Reference{GainDb(h, 0.0), 0.0};
      break;
    case FilterKind::Highpass:
      reference = Reference{HighFrequencyLimitDb(h), std::nullopt};
      break;
    case FilterKind::Bandpass: {
      // The maximum over the region around the centre that stays within 6 dB of the centre's
      // gain; a pass band's ripple is at most 3 dB, so that region holds the whole pass band.
      const double centre = CentreOmega(h);
      const double floorDb = GainDb(h, centre) - 6.0;
      const auto inside = [&](double w) { return GainDb(h, w) >= floorDb; };
      const double low = centre * 1e-9, high = centre * 1e9;
      const auto a = WalkToCrossing(inside, centre, -1, low, high);
      const auto b = WalkToCrossing(inside, centre, +1, low, high);
      if (!a || !b) return std::nullopt;
      const Curve gain = [&](double w) { return GainDb(h, w); };
      const std::vector<double> grid = GeometricGrid(*a, *b, 512);
      std::size_t best = 0;
      for (std::size_t i = 0; i < grid.size(); ++i) {
        if (gain(grid[i]) > gain(grid[best])) best = i;
      }
      const auto [omega, value] = RefineMaximum(gain, grid[best > 0 ? best - 1 : 0],
                                                grid[std::min(best + 1, grid.size() - 1)]);
      reference = Reference{value, omega};
      break;
    }
  }
  if (!reference || std::abs(reference->gainDb) >= kGainDbCap / 2) return std::nullopt;
  return reference;
}

// The pass bands as omega intervals (DC and the high-frequency limit become a point four decades
// beyond the edge; the exact point 0 is added by the callers that need it).
std::vector<std::pair<double, double>> PassBands(const PoleZeroGain& h, FilterKind kind) {
  const HalfPowerEdges edges = HalfPowerFrequencies(h, kind);
  const auto omega = [](const std::optional<double>& hz) { return *hz * kTwoPi; };
  switch (kind) {
    case FilterKind::Lowpass:
      if (!edges.upperHz) return {};
      return {{omega(edges.upperHz) * 1e-4, omega(edges.upperHz)}};
    case FilterKind::Highpass:
      if (!edges.lowerHz) return {};
      return {{omega(edges.lowerHz), omega(edges.lowerHz) * 1e4}};
    case FilterKind::Bandpass:
      if (!edges.lowerHz || !edges.upperHz) return {};
      return {{omega(edges.lowerHz), omega(edges.upperHz)}};
    case FilterKind::Bandstop:
      if (!edges.lowerHz || !edges.upperHz) return {};
      return {{omega(edges.lowerHz) * 1e-4, omega(edges.lowerHz)},
              {omega(edges.upperHz), omega(edges.upperHz) * 1e4}};
  }
  return {};
}

}  // namespace

std::optional<double> PassbandGainDb(const PoleZeroGain& h, FilterKind kind) {
  const auto reference = FindReference(h, kind);
  if (!reference) return std::nullopt;
  return reference->gainDb;
}

HalfPowerEdges HalfPowerFrequencies(const PoleZeroGain& h, FilterKind kind) {
  const auto reference = FindReference(h, kind);
  if (!reference) return {};
  const double levelDb = reference->gainDb - kHalfPowerDb;
  const auto above = [&](double w) { return GainDb(h, w) >= levelDb; };
  const auto below = [&](double w) { return !above(w); };
  const double low = SmallestPole(h) * 1e-9, high = LargestRoot(h) * 1e9;
  const auto hz = [](std::optional<double> w) {
    return w ? std::optional<double>(ToHz(*w)) : std::nullopt;
  };
  HalfPowerEdges edges;
  switch (kind) {
    case FilterKind::Lowpass: {
      const double start = SmallestPole(h) * 1e-4;
      if (above(start)) edges.upperHz = hz(WalkToCrossing(above, start, +1, low, high));
      break;
    }
    case FilterKind::Highpass: {
      const double start = LargestRoot(h) * 1e4;
      if (above(start)) edges.lowerHz = hz(WalkToCrossing(above, start, -1, low, high));
      break;
    }
    case FilterKind::Bandpass:
      edges.lowerHz = hz(WalkToCrossing(above, *reference->omega, -1, low, high));
      edges.upperHz = hz(WalkToCrossing(above, *reference->omega, +1, low, high));
      break;
    case FilterKind::Bandstop: {
      const double centre = CentreOmega(h);
      if (!below(centre)) break;
      edges.lowerHz = hz(WalkToCrossing(below, centre, -1, low, high));
      edges.upperHz = hz(WalkToCrossing(below, centre, +1, low, high));
      break;
    }
  }
  if (!edges.lowerHz || !edges.upperHz) {
    if (kind == FilterKind::Bandpass || kind == FilterKind::Bandstop) return {};
  }
  return edges;
}

std::optional<double> AttenuationDb(const PoleZeroGain& h, FilterKind kind, double frequencyHz) {
  if (!std::isfinite(frequencyHz) || frequencyHz < 0.0) return std::nullopt;
  const auto reference = FindReference(h, kind);
  if (!reference) return std::nullopt;
  const double omega = frequencyHz * kTwoPi;
  if (!std::isfinite(omega)) return std::nullopt;
  return reference->gainDb - GainDb(h, omega);
}

std::optional<double> PassbandRippleDb(const PoleZeroGain& h, FilterKind kind) {
  const auto reference = FindReference(h, kind);
  if (!reference) return std::nullopt;
  const auto bands = PassBands(h, kind);
  if (bands.empty()) return std::nullopt;
  const Curve gain = [&](double w) { return GainDb(h, w); };
  double highest = reference->gainDb, lowest = reference->gainDb;
  for (const auto& [a, b] : bands) {
    for (const Extremum& e : LocalExtrema(gain, a, b, kRippleSamples)) {
      if (e.maximum) highest = std::max(highest, e.value);
      if (!e.maximum) lowest = std::min(lowest, e.value);
    }
  }
  return highest - lowest;
}

std::optional<GroupDelayFigures> PassbandGroupDelay(const PoleZeroGain& h, FilterKind kind) {
  const auto reference = FindReference(h, kind);
  if (!reference) return std::nullopt;
  const auto bands = PassBands(h, kind);
  if (bands.empty()) return std::nullopt;
  const Curve delay = [&](double w) { return PoleZeroGroupDelay(h, w); };
  GroupDelayFigures figures;
  figures.referenceDelay = reference->omega ? delay(*reference->omega) : 0.0;
  figures.maxDelay = figures.referenceDelay;
  figures.maxDelayHz = reference->omega ? ToHz(*reference->omega) : ToHz(bands.back().second);
  for (const auto& [a, b] : bands) {
    const std::vector<double> grid = GeometricGrid(a, b, kDelaySamples);
    std::size_t best = 0;
    std::vector<double> values(grid.size());
    for (std::size_t i = 0; i < grid.size(); ++i) {
      values[i] = delay(grid[i]);
      if (values[i] > values[best]) best = i;
    }
    auto [omega, value] = std::pair{grid[best], values[best]};
    if (best > 0 && best + 1 < grid.size()) {
      std::tie(omega, value) = RefineMaximum(delay, grid[best - 1], grid[best + 1]);
    }
    if (value > figures.maxDelay) figures.maxDelay = value, figures.maxDelayHz = ToHz(omega);
  }
  return figures;
}

namespace {

// The unit-step response divided by its final value (the DC gain). For distinct poles it is
// the partial-fraction sum 1 + sum_k A_k e^(p_k t) / H(0) with the residues worked out once, so
// a time costs one exponential per pole and a uniform grid one multiplication per pole; with
// repeated poles (a Linkwitz-Riley filter) every time goes through PoleZeroStep.
class NormalisedStep {
 public:
  explicit NormalisedStep(const PoleZeroGain& h)
      : h_(h), finalValue_(EvaluateAt(h, Complex(0.0, 0.0)).real()) {
    if (!Defined()) return;
    for (std::size_t k = 0; k < h.poles.size(); ++k) {
      const Complex p = h.poles[k];
      Complex residue = h.gain / (p * finalValue_);
      for (std::size_t i = 0; i < h.poles.size(); ++i) {
        if (i < h.zeros.size()) residue *= p - h.zeros[i];
        if (i == k) continue;
        const Complex apart = p - h.poles[i];
        if (std::abs(apart) <= 1e-8 * std::abs(p)) {
          residues_.clear();
          return;
        }
        residue /= apart;
      }
      if (!Finite(residue)) {
        residues_.clear();
        return;
      }
      residues_.push_back(residue);
    }
    poles_ = h.poles;
    FoldConjugatePairs();
  }

  bool Defined() const { return finalValue_ != 0.0 && std::isfinite(finalValue_); }

  double At(double t) const {
    if (residues_.empty()) return PoleZeroStep(h_, t) / finalValue_;
    Complex sum(1.0, 0.0);
    for (std::size_t k = 0; k < residues_.size(); ++k) {
      sum += residues_[k] * std::exp(poles_[k] * t);
    }
    return sum.real();
  }

  // Values at t = 0, dt, 2 dt, ... (count of them).
  std::vector<double> Along(double dt, std::size_t count) const {
    std::vector<double> values(count);
    if (residues_.empty()) {
      for (std::size_t i = 0; i < count; ++i) values[i] = At(dt * static_cast<double>(i));
      return values;
    }
    std::vector<Complex> terms = residues_, steps;
    for (const Complex& p : poles_) steps.push_back(std::exp(p * dt));
    for (std::size_t i = 0; i < count; ++i) {
      Complex sum(1.0, 0.0);
      for (std::size_t k = 0; k < terms.size(); ++k) {
        sum += terms[k];
        terms[k] *= steps[k];
      }
      values[i] = sum.real();
    }
    return values;
  }

  // A time after which the response stays within `small` of its final value. With residues:
  // the earliest time their envelope sum |A_k| e^(Re p_k t) is that small (it only falls with
  // t, so doubling from the fastest pole's time constant and bisecting finds it). Otherwise
  // 12 time constants of the slowest pole, grown until the last quarter of the span has settled.
  double Span(double slowest, double fastest, double small) const {
    if (residues_.empty()) {
      double span = 12.0 / slowest;
      for (int attempt = 0; attempt < 20; ++attempt, span *= 1.5) {
        const std::vector<double> tail = Along(span / 400.0, 401);
        if (std::all_of(tail.begin() + 300, tail.end(),
                        [&](double v) { return std::abs(v - 1.0) < small; })) {
          break;
        }
      }
      return span;
    }
    const auto envelope = [&](double t) {
      double sum = 0.0;
      for (std::size_t k = 0; k < residues_.size(); ++k) {
        sum += std::abs(residues_[k]) * std::exp(poles_[k].real() * t);
      }
      return sum;
    };
    double high = 1.0 / fastest;
    for (int i = 0; i < 200 && envelope(high) >= small; ++i) high *= 2.0;
    double low = 0.0;
    for (int i = 0; i < 40; ++i) {
      const double mid = 0.5 * (low + high);
      (envelope(mid) >= small ? low : high) = mid;
    }
    return high;
  }

 private:
  // A conjugate pair adds up to twice the real part of one of its terms, so when every pole
  // with Im > 0 has its conjugate, those with Im < 0 are dropped and the others count twice.
  void FoldConjugatePairs() {
    std::vector<Complex> poles, residues;
    std::size_t below = 0;
    for (std::size_t k = 0; k < poles_.size(); ++k) {
      const Complex p = poles_[k];
      if (p.imag() < 0.0) {
        ++below;
        continue;
      }
      if (p.imag() > 0.0) {
        const bool paired = std::any_of(poles_.begin(), poles_.end(), [&](Complex q) {
          return std::abs(q - std::conj(p)) <= 1e-12 * std::abs(p);
        });
        if (!paired) return;
      }
      poles.push_back(p);
      residues.push_back(p.imag() > 0.0 ? 2.0 * residues_[k] : residues_[k]);
    }
    if (poles.size() + below != poles_.size()) return;
    poles_ = std::move(poles);
    residues_ = std::move(residues);
  }

  const PoleZeroGain& h_;
  std::vector<Complex> poles_;
  double finalValue_;
  std::vector<Complex> residues_;
};

// Bisection in time for where `inside` changes between a and b.
double BisectTime(const std::function<bool(double)>& inside, double a, double b) {
  const bool atA = inside(a);
  for (int k = 0; k < kRefineSteps && b - a > 1e-15 * b; ++k) {
    const double mid = 0.5 * (a + b);
    (inside(mid) == atA ? a : b) = mid;
  }
  return 0.5 * (a + b);
}

}  // namespace

std::optional<StepFigures> StepResponseFigures(const PoleZeroGain& h, FilterKind kind) {
  if (kind != FilterKind::Lowpass || !IsMeasurable(h)) return std::nullopt;
  const NormalisedStep step(h);
  if (!step.Defined()) return std::nullopt;
  double slowest = -h.poles.front().real(), fastest = 0.0;
  for (const Complex& p : h.poles) {
    slowest = std::min(slowest, -p.real());
    fastest = std::max(fastest, std::abs(p));
  }
  // Samples fine enough for the fastest pole's oscillation (0.7 radian apart), at most 200000,
  // over a span after which the response stays within a tenth of the band; when the overshoot
  // found there is smaller than that, a longer span for crests down to 1e-6 of the final value.
  std::size_t count = 0;
  double dt = 0.0;
  std::vector<double> values;
  const auto time = [&](std::size_t i) { return dt * static_cast<double>(i); };
  const auto y = [&](double t) { return step.At(t); };
  double peakValue = 0.0;
  for (double tail : {0.1 * kSettlingBand, 1e-4 * kSettlingBand}) {
    const double span = step.Span(slowest, fastest, tail);
    count = static_cast<std::size_t>(std::clamp(span * fastest / 0.7, 400.0, 200000.0)) + 1;
    dt = span / static_cast<double>(count - 1);
    values = step.Along(dt, count);
    const std::size_t peak =
        static_cast<std::size_t>(std::max_element(values.begin(), values.end()) - values.begin());
    peakValue = values[peak];
    if (peak > 0 && peak + 1 < count) {
      const double from = std::max(time(peak - 1), 1e-3 * time(peak));
      peakValue = std::max(peakValue, RefineMaximum(y, from, time(peak + 1)).second);
    }
    if (peakValue - 1.0 >= tail) break;
  }

  const auto firstReaching = [&](double level) -> std::optional<double> {
    for (std::size_t i = 1; i < count; ++i) {
      if (values[i] < level) continue;
      return BisectTime([&](double t) { return y(t) >= level; }, time(i - 1), time(i));
    }
    return std::nullopt;
  };
  const auto t10 = firstReaching(0.1), t90 = firstReaching(0.9);
  if (!t10 || !t90) return std::nullopt;

  StepFigures figures;
  figures.riseTime = *t90 - *t10;
  figures.overshootPercent = std::max(0.0, (peakValue - 1.0) * 100.0);

  // Settling: the last time outside the band. Samples are up to 0.35 rad of an oscillation
  // away from its crest, so crests of the deviation that come near the band are refined too.
  const auto deviation = [&](double t) { return std::abs(y(t) - 1.0); };
  const auto outside = [&](double t) { return deviation(t) > kSettlingBand; };
  for (std::size_t i = count - 1; i-- > 1;) {
    const double d = std::abs(values[i] - 1.0);
    std::optional<double> lastOutside;
    if (d > kSettlingBand) {
      lastOutside = time(i);
    } else if (d > 0.5 * kSettlingBand && d >= std::abs(values[i - 1] - 1.0) &&
               d >= std::abs(values[i + 1] - 1.0)) {
      const auto [crest, value] = RefineMaximum(deviation, time(i - 1), time(i + 1));
      if (value > kSettlingBand) lastOutside = crest;
    }
    if (!lastOutside) continue;
    figures.settlingTime = BisectTime(outside, *lastOutside, time(i + 1));
    break;
  }
  return figures;
}

FilterFigures ComputeFilterFigures(const PoleZeroGain& h, FilterKind kind) {
  FilterFigures figures;
  figures.passbandGainDb = PassbandGainDb(h, kind);
  if (!figures.passbandGainDb) return figures;
  figures.edges = HalfPowerFrequencies(h, kind);
  figures.rippleDb = PassbandRippleDb(h, kind);
  figures.delay = PassbandGroupDelay(h, kind);
  figures.step = StepResponseFigures(h, kind);
  return figures;
}

std::vector<SectionPeaking> SectionPeakings(const std::vector<FilterSection>& sections,
                                            FilterKind kind, Topology topology) {
  PoleZeroGain whole;
  for (const FilterSection& section : sections) {
    const PoleZeroGain& t = section.transfer;
    whole.poles.insert(whole.poles.end(), t.poles.begin(), t.poles.end());
    whole.zeros.insert(whole.zeros.end(), t.zeros.begin(), t.zeros.end());
    whole.gain *= t.gain;
  }
  const auto reference = FindReference(whole, kind);
  if (!reference) return {};

  std::vector<SectionPeaking> peakings;
  PoleZeroGain partial;
  for (const FilterSection& section : sections) {
    const PoleZeroGain& t = section.transfer;
    partial.poles.insert(partial.poles.end(), t.poles.begin(), t.poles.end());
    partial.zeros.insert(partial.zeros.end(), t.zeros.begin(), t.zeros.end());
    partial.gain *= t.gain;
    // Candidates: DC, the high-frequency limit and the refined maximum of a grid four decades
    // beyond the poles and zeros on either side.
    const Curve gain = [&](double w) { return GainDb(partial, w); };
    double bestDb = gain(0.0);
    std::optional<double> bestOmega = 0.0;
    if (HighFrequencyLimitDb(partial) > bestDb) {
      bestDb = HighFrequencyLimitDb(partial), bestOmega = std::nullopt;
    }
    const double low = SmallestPole(partial) * 1e-4;
    const double high = LargestRoot(partial) * 1e4;
    for (const Extremum& e : LocalExtrema(gain, low, high, 2000)) {
      if (e.maximum && e.value > bestDb) bestDb = e.value, bestOmega = e.omega;
    }
    SectionPeaking peaking;
    peaking.peakingDb = bestDb - reference->gainDb;
    if (bestOmega) peaking.atHz = ToHz(*bestOmega);
    peaking.gbwpHz = RecommendedGbwp(topology, section.gain, section.q, section.f0);
    peakings.push_back(peaking);
  }
  return peakings;
}

}  // namespace morvane
