#include "filters/filter_response.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <utility>

namespace morvane {
namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
constexpr double kGainDbOfZero = -2e301;  // 20 log10(0) as the other gain curves show it
// Poles closer than this fraction of their magnitude are one repeated pole of the step response.
constexpr double kRepeatedPoleSpread = 1e-8;
// A step-response term below this fraction of the largest coefficient no longer counts.
constexpr double kNegligibleTerm = 1e-17;

// Angle of the factor (j omega - root) in degrees, continuous in omega: in (-90, 90) for a
// root in the left half-plane, in (90, 270) for one in the right half-plane, +-90 on the axis.
double FactorAngleDegrees(Complex root, double omega) {
  const double re = -root.real();
  const double im = omega - root.imag();
  if (re > 0.0) return std::atan2(im, re) * kDegreesPerRadian;
  if (re < 0.0) return 180.0 - std::atan2(im, -re) * kDegreesPerRadian;
  if (im == 0.0) return 0.0;
  return im > 0.0 ? 90.0 : -90.0;
}

// Contribution of a pole to -d(phase)/d(omega); a zero contributes its negative.
double PoleDelay(Complex pole, double omega) {
  const double re = pole.real();
  if (re == 0.0) return 0.0;
  const double im = omega - pole.imag();
  return -re / (re * re + im * im);
}

struct RepeatedPole {
  Complex value;
  std::size_t multiplicity = 0;
};

// Groups poles that coincide (to kRepeatedPoleSpread) into one pole with its multiplicity.
std::vector<RepeatedPole> GroupRepeatedPoles(const std::vector<Complex>& poles) {
  std::vector<RepeatedPole> groups;
  std::vector<bool> taken(poles.size(), false);
  for (std::size_t i = 0; i < poles.size(); ++i) {
    if (taken[i]) continue;
    Complex sum = poles[i];
    std::size_t count = 1;
    for (std::size_t j = i + 1; j < poles.size(); ++j) {
      const double reach = kRepeatedPoleSpread * std::max(std::abs(poles[i]), std::abs(poles[j]));
      if (!taken[j] && std::abs(poles[j] - poles[i]) <= reach) {
        taken[j] = true;
        sum += poles[j];
        ++count;
      }
    }
    groups.push_back({sum / static_cast<double>(count), count});
  }
  return groups;
}

// Truncated power series in h = s - centre, kept to a fixed number of terms.
using Series = std::vector<Complex>;

// series *= (a + h)
void MultiplyByLinear(Series& series, Complex a) {
  for (std::size_t i = series.size(); i-- > 0;) {
    series[i] = series[i] * a + (i > 0 ? series[i - 1] : Complex(0.0, 0.0));
  }
}

// series *= 1 / (a + h) = sum_i (-1)^i h^i / a^(i+1)
void DivideByLinear(Series& series, Complex a) {
  for (std::size_t i = 0; i < series.size(); ++i) {
    if (i > 0) series[i] -= series[i - 1];
    series[i] /= a;
  }
}

// Taylor coefficients around pole.value of (s - pole)^r H(s)/s, the numerators A of
// A / (s - pole)^k for k = r, r-1, ..., 1. Zeros and poles are taken turn about so that
// high orders keep the running product within range.
Series PartialFractionNumerators(const RepeatedPole& pole, const std::vector<RepeatedPole>& poles,
                                 const std::vector<Complex>& zeros, double gain) {
  std::vector<Complex> others;
  for (const RepeatedPole& other : poles) {
    if (&other == &pole) continue;
    others.insert(others.end(), other.multiplicity, other.value);
  }
  Series series(pole.multiplicity, Complex(0.0, 0.0));
  series[0] = gain;
  const std::size_t steps = std::max(zeros.size(), others.size());
  for (std::size_t i = 0; i < steps; ++i) {
    if (i < zeros.size()) MultiplyByLinear(series, pole.value - zeros[i]);
    if (i < others.size()) DivideByLinear(series, pole.value - others[i]);
  }
  return series;
}

// Removes zeros that coincide exactly with a pole, together with that pole.
void CancelCommonFactors(std::vector<Complex>& poles, std::vector<Complex>& zeros) {
  for (auto zero = zeros.begin(); zero != zeros.end();) {
    const auto pole = std::find(poles.begin(), poles.end(), *zero);
    if (pole == poles.end()) {
      ++zero;
      continue;
    }
    poles.erase(pole);
    zero = zeros.erase(zero);
  }
}

}  // namespace

double PoleZeroGainDb(const PoleZeroGain& h, double omega) {
  const Complex s(0.0, omega);
  double log_sum = std::log10(std::abs(h.gain));
  for (const Complex& z : h.zeros) log_sum += std::log10(std::abs(s - z));
  if (log_sum == -HUGE_VAL) return kGainDbOfZero;
  for (const Complex& p : h.poles) log_sum -= std::log10(std::abs(s - p));
  if (log_sum == HUGE_VAL) return -kGainDbOfZero;
  return 20.0 * log_sum;
}

double PoleZeroPhaseDegrees(const PoleZeroGain& h, double omega) {
  double phase = h.gain < 0.0 ? 180.0 : 0.0;
  for (const Complex& z : h.zeros) phase += FactorAngleDegrees(z, omega);
  for (const Complex& p : h.poles) phase -= FactorAngleDegrees(p, omega);
  return phase;
}

std::vector<double> PoleZeroPhaseAlong(const PoleZeroGain& h, const std::vector<double>& omegas) {
  std::vector<double> phases;
  phases.reserve(omegas.size());
  for (double omega : omegas) phases.push_back(PoleZeroPhaseDegrees(h, omega));
  return phases;
}

double PoleZeroGroupDelay(const PoleZeroGain& h, double omega) {
  double delay = 0.0;
  for (const Complex& p : h.poles) delay += PoleDelay(p, omega);
  for (const Complex& z : h.zeros) delay -= PoleDelay(z, omega);
  return delay;
}

double PoleZeroStep(const PoleZeroGain& h, double t) {
  return StepResponse(h).At(t);
}

StepResponse::StepResponse(const PoleZeroGain& h) {
  if (h.zeros.size() > h.poles.size()) return;  // improper: no terms, the response is 0
  std::vector<Complex> poles = h.poles;
  std::vector<Complex> zeros = h.zeros;
  poles.emplace_back(0.0, 0.0);  // the step's 1/s
  CancelCommonFactors(poles, zeros);
  const std::vector<RepeatedPole> grouped = GroupRepeatedPoles(poles);
  for (const RepeatedPole& pole : grouped) {
    // numerators[j] belongs to 1/(s - pole)^(r - j), whose inverse is t^(r-j-1)/(r-j-1)! e^(pt)
    const Series numerators = PartialFractionNumerators(pole, grouped, zeros, h.gain);
    Term term{pole.value, {numerators.rbegin(), numerators.rend()}, {}};
    terms_.push_back(std::move(term));
  }
  FoldConjugatePairs(terms_);
  for (Term& term : terms_) {
    // d/dt e^(qt) sum_k c_k t^k/k! = e^(qt) sum_k (q c_k + c_(k+1)) t^k/k!
    const std::size_t r = term.coefficients.size();
    for (std::size_t k = 0; k < r; ++k) {
      const Complex next = k + 1 < r ? term.coefficients[k + 1] : Complex(0.0, 0.0);
      term.slopeCoefficients.push_back(term.pole * term.coefficients[k] + next);
    }
    for (const Complex& c : term.coefficients) {
      largestCoefficient_ = std::max(largestCoefficient_, std::abs(c));
    }
    if (term.pole == Complex(0.0, 0.0) && r == 1) finalValue_ = term.coefficients[0].real();
  }
}

double StepResponse::Sum(const std::vector<Term>& terms, bool slope, double t) {
  if (t < 0.0) return 0.0;
  double response = 0.0;
  for (const Term& term : terms) {
    const double magnitude = std::exp(term.pole.real() * t);
    if (magnitude == 0.0) continue;  // long decayed; t^k alone might overflow
    const std::vector<Complex>& coefficients = slope ? term.slopeCoefficients : term.coefficients;
    Complex polynomial(0.0, 0.0);
    double power = 1.0;  // t^k / k!
    for (std::size_t k = 0; k < coefficients.size(); ++k) {
      polynomial += coefficients[k] * power;
      power *= t / static_cast<double>(k + 1);
    }
    const double angle = term.pole.imag() * t;
    response +=
        magnitude * (std::cos(angle) * polynomial.real() - std::sin(angle) * polynomial.imag());
  }
  return response;
}

double StepResponse::At(double t) const {
  return Sum(terms_, false, t);
}

double StepResponse::SlopeAt(double t) const {
  return Sum(terms_, true, t);
}

std::vector<double> StepResponse::Along(double dt, std::size_t count) const {
  constexpr std::size_t kRun = 64;  // times between checks whether a term still counts
  std::vector<double> values(count, 0.0);
  const double negligible = kNegligibleTerm * largestCoefficient_;
  for (const Term& term : terms_) {
    const double decay = term.pole.real();
    // e^(q dt) by its parts, and the products below written out: std::complex multiplication
    // checks for infinities on every call.
    const double stepMagnitude = std::exp(decay * dt);
    const double stepRe = stepMagnitude * std::cos(term.pole.imag() * dt);
    const double stepIm = stepMagnitude * std::sin(term.pole.imag() * dt);
    const std::size_t r = term.coefficients.size();
    // the term itself for a simple pole, else e^(q t) and the polynomial apart
    double re = r == 1 ? term.coefficients[0].real() : 1.0;
    double im = r == 1 ? term.coefficients[0].imag() : 0.0;
    for (std::size_t from = 0; from < count; from += kRun) {
      const std::size_t to = std::min(count, from + kRun);
      if (r == 1) {
        for (std::size_t i = from; i < to; ++i) {
          values[i] += re;
          const double nextRe = re * stepRe - im * stepIm;
          im = re * stepIm + im * stepRe;
          re = nextRe;
        }
      } else {
        for (std::size_t i = from; i < to; ++i) {
          const double t = dt * static_cast<double>(i);
          Complex polynomial(0.0, 0.0);
          double power = 1.0;
          for (std::size_t k = 0; k < r; ++k) {
            polynomial += term.coefficients[k] * power;
            power *= t / static_cast<double>(k + 1);
          }
          values[i] += re * polynomial.real() - im * polynomial.imag();
          const double nextRe = re * stepRe - im * stepIm;
          im = re * stepIm + im * stepRe;
          re = nextRe;
        }
      }
      if (decay < 0.0 && TermBound(term, decay, dt * static_cast<double>(to)) < negligible) break;
    }
  }
  return values;
}

void StepResponse::FoldConjugatePairs(std::vector<Term>& terms) {
  std::vector<Term> folded;
  std::vector<bool> paired(terms.size(), false);
  for (std::size_t i = 0; i < terms.size(); ++i) {
    if (paired[i]) continue;
    Term term = terms[i];
    for (std::size_t j = i + 1; j < terms.size() && term.pole.imag() != 0.0; ++j) {
      if (paired[j] || terms[j].pole != std::conj(term.pole) ||
          terms[j].coefficients.size() != term.coefficients.size()) {
        continue;
      }
      paired[j] = true;
      for (Complex& c : term.coefficients) c *= 2.0;
      break;
    }
    folded.push_back(std::move(term));
  }
  terms = std::move(folded);
}

double StepResponse::FinalValue() const {
  return finalValue_;
}

double StepResponse::DeviationBound(double t) const {
  double bound = 0.0;
  for (const Term& term : terms_) {
    if (term.pole == Complex(0.0, 0.0) && term.coefficients.size() == 1) continue;
    if (!(term.pole.real() < 0.0)) return HUGE_VAL;
    bound += TermBound(term, term.pole.real(), t);
  }
  return bound;
}

double StepResponse::TermBound(const Term& term, double decay, double t) {
  double bound = 0.0;
  double logFactorial = 0.0;  // ln k!
  for (std::size_t k = 0; k < term.coefficients.size(); ++k) {
    if (k > 0) logFactorial += std::log(static_cast<double>(k));
    // u^k / k! e^(decay u) is largest at u = k / -decay and falls after it
    const double u = std::max(t, static_cast<double>(k) / -decay);
    const double logPower = k == 0 ? 0.0 : static_cast<double>(k) * std::log(u);
    bound += std::abs(term.coefficients[k]) * std::exp(logPower - logFactorial + decay * u);
  }
  return bound;
}

}  // namespace morvane
