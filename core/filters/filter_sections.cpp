#include "filters/filter_sections.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <locale>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace morvane {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// A pole with |Im p| below this share of |p| is real; a zero with |Re z| below it of |z| lies on
// the j omega axis; a zero below it of the smallest pole magnitude lies at the origin.
constexpr double kAxisTolerance = 1e-9;
// Partners of a conjugate pair may differ by rounding, but not by more than this share of |p|.
constexpr double kConjugateTolerance = 1e-6;
// fz and f0 closer than this share of f0 make a symmetric notch.
constexpr double kNotchTolerance = 1e-9;

// One section while the plan is being made; w0 and wz in rad/s.
struct Draft {
  std::vector<Complex> poles;  // one real pole, or two: a conjugate pair or two real poles
  double w0 = 0.0;
  double q = 0.5;
  std::optional<double> wz;  // zero pair +-j wz
  int originZeros = 0;

  bool SecondOrder() const { return poles.size() == 2; }
  // The point of the s-plane that stands for the section when zeros are handed out.
  Complex Representative() const {
    if (SecondOrder() && poles[0].imag() != 0.0) return poles[0];
    return Complex(-w0, 0.0);
  }
};

SectionPlan Refuse(std::string problem) {
  SectionPlan plan;
  plan.problem = std::move(problem);
  return plan;
}

std::string Describe(Complex z) {
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text.precision(6);
  text << z.real() << (z.imag() < 0.0 ? " - j" : " + j") << std::abs(z.imag()) << " rad/s";
  return text.str();
}

bool IsFinite(Complex z) {
  return std::isfinite(z.real()) && std::isfinite(z.imag());
}

std::string InputProblem(const PoleZeroGain& filter, double totalGain) {
  if (!(std::isfinite(totalGain) && totalGain > 0.0)) {
    return "the total pass-band gain must be a positive finite number";
  }
  if (filter.poles.empty()) return "the filter has no poles, so there is nothing to split";
  if (filter.zeros.size() > filter.poles.size()) {
    return "the filter has more zeros than poles, which no cascade of sections can realise";
  }
  if (!std::isfinite(filter.gain) || filter.gain == 0.0) {
    return "the filter's gain must be finite and not zero";
  }
  for (const Complex& p : filter.poles) {
    if (!IsFinite(p)) return "a pole of the filter is not a finite number";
    if (!(p.real() < 0.0)) {
      return "the pole at " + Describe(p) + " is not in the left half-plane; only stable " +
             "filters can be split into sections";
    }
  }
  for (const Complex& z : filter.zeros) {
    if (!IsFinite(z)) return "a zero of the filter is not a finite number";
  }
  return {};
}

// Pairs every root above the real axis with the nearest one below it (nearest to its
// conjugate). Returns the upper members, made exact conjugates of their partners' mirror images
// by averaging, or nullopt when the roots do not come in pairs.
std::optional<std::vector<Complex>> PairConjugates(const std::vector<Complex>& upper,
                                                   std::vector<Complex> lower) {
  if (upper.size() != lower.size()) return std::nullopt;
  std::vector<Complex> pairs;
  pairs.reserve(upper.size());
  for (const Complex& u : upper) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < lower.size(); ++i) {
      if (std::abs(std::conj(lower[i]) - u) < std::abs(std::conj(lower[best]) - u)) best = i;
    }
    const Complex mirror = std::conj(lower[best]);
    if (std::abs(mirror - u) > kConjugateTolerance * std::abs(u)) return std::nullopt;
    pairs.push_back(0.5 * (u + mirror));
    lower.erase(lower.begin() + static_cast<std::ptrdiff_t>(best));
  }
  return pairs;
}

Draft ComplexPairSection(Complex upper) {
  Draft draft;
  draft.poles = {upper, std::conj(upper)};
  draft.w0 = std::abs(upper);
  draft.q = draft.w0 / (-2.0 * upper.real());
  return draft;
}

Draft RealPoleSection(double pole) {
  Draft draft;
  draft.poles = {Complex(pole, 0.0)};
  draft.w0 = -pole;
  return draft;
}

Draft RealPairSection(double a, double b) {
  Draft draft;
  draft.poles = {Complex(a, 0.0), Complex(b, 0.0)};
  draft.w0 = std::sqrt(a * b);
  draft.q = draft.w0 / -(a + b);
  return draft;
}

struct SortedZeros {
  int atOrigin = 0;
  std::vector<double> axisPairs;  // wz of each pair +-j wz
  std::string problem;
};

SortedZeros SortZeros(const PoleZeroGain& filter) {
  double smallestPole = std::abs(filter.poles.front());
  for (const Complex& p : filter.poles) smallestPole = std::min(smallestPole, std::abs(p));
  SortedZeros sorted;
  std::vector<Complex> upper;
  std::vector<Complex> lower;
  for (const Complex& z : filter.zeros) {
    if (std::abs(z) <= kAxisTolerance * smallestPole) {
      ++sorted.atOrigin;
    } else if (std::abs(z.real()) > kAxisTolerance * std::abs(z)) {
      sorted.problem = "the zero at " + Describe(z) +
                       " is not on the j omega axis (as in an allpass); first- and second-order "
                       "lowpass, highpass, bandpass and notch sections cannot realise it";
      return sorted;
    } else {
      (z.imag() > 0.0 ? upper : lower).emplace_back(0.0, z.imag());
    }
  }
  const auto pairs = PairConjugates(upper, lower);
  if (!pairs) {
    sorted.problem = "the zeros on the j omega axis do not come in conjugate pairs";
    return sorted;
  }
  for (const Complex& z : *pairs) sorted.axisPairs.push_back(z.imag());
  return sorted;
}

struct SortedPoles {
  std::vector<Draft> secondOrder;
  std::vector<double> real;  // ascending magnitude
  std::string problem;
};

SortedPoles SortPoles(const PoleZeroGain& filter) {
  SortedPoles sorted;
  std::vector<Complex> upper;
  std::vector<Complex> lower;
  for (const Complex& p : filter.poles) {
    if (std::abs(p.imag()) <= kAxisTolerance * std::abs(p)) {
      sorted.real.push_back(p.real());
    } else {
      (p.imag() > 0.0 ? upper : lower).push_back(p);
    }
  }
  const auto pairs = PairConjugates(upper, lower);
  if (!pairs) {
    sorted.problem = "the complex poles do not come in conjugate pairs";
    return sorted;
  }
  for (const Complex& p : *pairs) sorted.secondOrder.push_back(ComplexPairSection(p));
  std::sort(sorted.real.begin(), sorted.real.end(), std::greater<>());
  return sorted;
}

// Highest Q first, each section takes the nearest remaining zero pair.
void AssignAxisZeros(std::vector<Draft>& drafts, std::vector<double> axisPairs) {
  std::vector<Draft*> byQ;
  for (Draft& d : drafts) {
    if (d.SecondOrder()) byQ.push_back(&d);
  }
  std::stable_sort(byQ.begin(), byQ.end(),
                   [](const Draft* a, const Draft* b) { return a->q > b->q; });
  for (Draft* d : byQ) {
    if (axisPairs.empty()) return;
    const Complex from = d->Representative();
    std::size_t best = 0;
    for (std::size_t i = 1; i < axisPairs.size(); ++i) {
      if (std::abs(Complex(0.0, axisPairs[i]) - from) <
          std::abs(Complex(0.0, axisPairs[best]) - from)) {
        best = i;
      }
    }
    d->wz = axisPairs[best];
    axisPairs.erase(axisPairs.begin() + static_cast<std::ptrdiff_t>(best));
  }
}

// One per section first (second-order before first-order, in the given order), then a second
// one per second-order section; sections with a j omega zero pair take none. Returns the zeros
// that found no place.
int AssignOriginZeros(std::vector<Draft>& drafts, int count) {
  for (const bool secondOrder : {true, false}) {
    for (Draft& d : drafts) {
      if (count > 0 && d.SecondOrder() == secondOrder && !d.wz) {
        d.originZeros = 1;
        --count;
      }
    }
  }
  for (Draft& d : drafts) {
    if (count > 0 && d.SecondOrder() && !d.wz) {
      d.originZeros = 2;
      --count;
    }
  }
  return count;
}

std::string KindOf(const Draft& d) {
  if (!d.SecondOrder()) return d.originZeros == 0 ? "first-order-lowpass" : "first-order-highpass";
  if (d.wz) {
    if (std::abs(*d.wz - d.w0) <= kNotchTolerance * d.w0) return "notch";
    return *d.wz > d.w0 ? "lowpass-notch" : "highpass-notch";
  }
  static const char* const kByOriginZeros[] = {"lowpass", "bandpass", "highpass"};
  return kByOriginZeros[d.originZeros];
}

// The gain factor that gives the section a pass-band gain of 1 at its own reference point.
double UnitGainFactor(const Draft& d, const std::string& kind) {
  if (kind == "first-order-lowpass") return d.w0;
  if (kind == "lowpass") return d.w0 * d.w0;
  if (kind == "bandpass") return -(d.poles[0] + d.poles[1]).real();
  if (kind == "lowpass-notch" || kind == "notch") return (d.w0 * d.w0) / (*d.wz * *d.wz);
  return 1.0;  // the highpass kinds and highpass-notch: gain at high frequencies
}

FilterSection MakeSection(const Draft& d) {
  FilterSection section;
  section.kind = KindOf(d);
  section.f0 = d.w0 / kTwoPi;
  section.q = d.q;
  section.transfer.poles = d.poles;
  if (d.wz) {
    section.fz = *d.wz / kTwoPi;
    section.transfer.zeros = {Complex(0.0, *d.wz), Complex(0.0, -*d.wz)};
  }
  section.transfer.zeros.insert(section.transfer.zeros.end(),
                                static_cast<std::size_t>(d.originZeros), Complex(0.0, 0.0));
  section.transfer.gain = UnitGainFactor(d, section.kind);
  return section;
}

// |section at the filter's pass-band reference point|, the section at unit gain.
double MagnitudeAtReference(const PoleZeroGain& section, FilterKind kind, double centre) {
  switch (kind) {
    case FilterKind::Highpass:
      return section.zeros.size() == section.poles.size() ? std::abs(section.gain) : 0.0;
    case FilterKind::Bandpass:
      return std::abs(EvaluateAt(section, Complex(0.0, centre)));
    case FilterKind::Lowpass:
    case FilterKind::Bandstop:
      break;
  }
  return std::abs(EvaluateAt(section, Complex(0.0, 0.0)));
}

double GeometricMeanMagnitude(const std::vector<Complex>& poles) {
  double logSum = 0.0;
  for (const Complex& p : poles) logSum += std::log(std::abs(p));
  return std::exp(logSum / static_cast<double>(poles.size()));
}

std::string OrderProblem(const std::vector<int>& order, std::size_t count) {
  std::ostringstream text;
  text.imbue(std::locale::classic());
  if (order.size() != count) {
    text << "the section order lists " << order.size() << " sections, but the filter has " << count;
    return text.str();
  }
  std::vector<bool> seen(count, false);
  for (const int index : order) {
    if (index < 0 || static_cast<std::size_t>(index) >= count) {
      text << "the section order names section " << index << ", but only 0 to " << count - 1
           << " exist";
      return text.str();
    }
    if (seen[static_cast<std::size_t>(index)]) {
      text << "the section order names section " << index << " twice";
      return text.str();
    }
    seen[static_cast<std::size_t>(index)] = true;
  }
  return {};
}

// Sets every section's gain so the cascade's pass-band gain is totalGain; false when a gain
// leaves the range of double.
bool SplitGain(std::vector<FilterSection>& sections, double logFactor, GainSplit split) {
  const double n = static_cast<double>(sections.size());
  for (std::size_t i = 0; i < sections.size(); ++i) {
    double logGain = 0.0;
    if (split == GainSplit::Equal) logGain = logFactor / n;
    if (split == GainSplit::First && i == 0) logGain = logFactor;
    if (split == GainSplit::Last && i + 1 == sections.size()) logGain = logFactor;
    FilterSection& s = sections[i];
    s.gain = std::exp(logGain);
    s.transfer.gain *= s.gain;
    if (!std::isfinite(s.gain) || s.gain <= 0.0 || !std::isfinite(s.transfer.gain) ||
        s.transfer.gain <= 0.0) {
      return false;
    }
  }
  return true;
}

}  // namespace

SectionPlan SplitIntoSections(const PoleZeroGain& filter, FilterKind kind, double totalGain,
                              GainSplit split, const std::vector<int>* order) {
  if (std::string problem = InputProblem(filter, totalGain); !problem.empty()) {
    return Refuse(std::move(problem));
  }
  SortedZeros zeros = SortZeros(filter);
  if (!zeros.problem.empty()) return Refuse(std::move(zeros.problem));
  SortedPoles poles = SortPoles(filter);
  if (!poles.problem.empty()) return Refuse(std::move(poles.problem));

  // Join real poles of neighbouring magnitude while j omega zero pairs lack a section.
  std::vector<Draft> drafts = std::move(poles.secondOrder);
  std::vector<double>& real = poles.real;
  while (zeros.axisPairs.size() > drafts.size() && real.size() >= 2) {
    drafts.push_back(RealPairSection(real[real.size() - 2], real.back()));
    real.resize(real.size() - 2);
  }
  if (zeros.axisPairs.size() > drafts.size()) {
    return Refuse("the filter has more zero pairs on the j omega axis than second-order sections");
  }
  for (const double p : real) drafts.push_back(RealPoleSection(p));

  std::stable_sort(drafts.begin(), drafts.end(), [](const Draft& a, const Draft& b) {
    if (a.SecondOrder() != b.SecondOrder()) return !a.SecondOrder();
    if (a.q != b.q) return a.q < b.q;
    return a.w0 < b.w0;
  });
  AssignAxisZeros(drafts, std::move(zeros.axisPairs));
  if (AssignOriginZeros(drafts, zeros.atOrigin) > 0) {
    return Refuse("the filter has more zeros at the origin than its sections can take");
  }

  if (order) {
    if (std::string problem = OrderProblem(*order, drafts.size()); !problem.empty()) {
      return Refuse(std::move(problem));
    }
  }
  SectionPlan plan;
  plan.sections.reserve(drafts.size());
  for (std::size_t i = 0; i < drafts.size(); ++i) {
    const std::size_t from = order ? static_cast<std::size_t>((*order)[i]) : i;
    plan.sections.push_back(MakeSection(drafts[from]));
  }

  const double centre = GeometricMeanMagnitude(filter.poles);
  double logUnitGain = 0.0;  // log of the cascade's pass-band gain with unit-gain sections
  for (const FilterSection& s : plan.sections) {
    const double m = MagnitudeAtReference(s.transfer, kind, centre);
    if (!std::isfinite(m) || m <= 0.0) {
      return Refuse("the filter has no gain where its kind puts the pass band (section \"" +
                    s.kind + "\" blocks it), so its pass-band gain cannot be set");
    }
    logUnitGain += std::log(m);
  }
  if (!SplitGain(plan.sections, std::log(totalGain) - logUnitGain, split)) {
    return Refuse("the section gains needed for this total gain leave the range of numbers");
  }
  return plan;
}

}  // namespace morvane
