#include "noise/noise_analysis.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "cascade/cascade_circuit.h"
#include "circuit/circuit_sweep.h"

namespace morvane {

namespace {

constexpr double kLowestCelsius = -273.15;
constexpr double kNoInputBelow = 1e-12;  // of the largest gain: 240 dB

// Contributions by name, largest first.
std::vector<NoiseContribution> Ranked(const std::map<std::string, double>& power) {
  std::vector<NoiseContribution> ranked;
  for (const auto& [name, p] : power) ranked.push_back({name, std::sqrt(p)});
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.rms > b.rms; });
  return ranked;
}

}  // namespace

std::string NoiseRequestProblem(const NoiseRequest& r) {
  if (!(r.fFrom > 0.0) || !(r.fTo > r.fFrom) || !std::isfinite(r.fTo)) {
    return "the noise range needs 0 < from < to";
  }
  if (r.points < 2 || r.points > 100000) return "the number of points must be 2 to 100000";
  if (!(r.celsius > kLowestCelsius) || r.celsius > 1000.0) {
    return "the temperature must be above -273.15 and at most 1000 degrees C";
  }
  return {};
}

namespace {

// log(f[i] / f[i - 1]) of each step of the grid (0 before the first), which the integrals of
// all the sources on it share.
std::vector<double> LogSteps(std::span<const double> f) {
  std::vector<double> steps(f.size(), 0.0);
  for (std::size_t i = 1; i < f.size(); ++i) {
    if (f[i] > f[i - 1]) steps[i] = std::log(f[i] / f[i - 1]);
  }
  return steps;
}

double IntegrateOnGrid(std::span<const double> f, std::span<const double> logSteps,
                       std::span<const double> p) {
  double sum = 0.0;
  for (std::size_t i = 1; i < f.size() && i < p.size(); ++i) {
    const double f1 = f[i - 1], f2 = f[i], p1 = p[i - 1], p2 = p[i];
    if (!(f2 > f1)) continue;
    if (!(p1 > 0.0) || !(p2 > 0.0)) {
      sum += 0.5 * (p1 + p2) * (f2 - f1);
      continue;
    }
    const double ratio = logSteps[i];
    const double exponent = std::log(p2 / p1) / ratio + 1.0;  // of f in the integral
    sum += std::abs(exponent) < 1e-9 ? p1 * f1 * ratio
                                     : p1 * f1 * std::expm1(exponent * ratio) / exponent;
  }
  return sum;
}

}  // namespace

double IntegratePower(std::span<const double> f, std::span<const double> p) {
  return IntegrateOnGrid(f, LogSteps(f), p);
}

NoiseAnalysis AnalyseNoise(const Circuit& circuit, const NoiseRequest& request) {
  NoiseAnalysis result;
  result.problem = NoiseRequestProblem(request);
  if (!result.problem.empty()) return result;
  CircuitSweep sweep(circuit);
  if (!sweep.Valid()) {
    result.problem = "the circuit cannot be analysed";
    return result;
  }
  const double kelvin = request.celsius - kLowestCelsius;
  const auto& sources = sweep.NoiseSources();
  std::vector<std::vector<double>> power(sources.size());
  for (auto& p : power) p.reserve(static_cast<std::size_t>(request.points));
  result.frequency.reserve(static_cast<std::size_t>(request.points));
  result.outputDensity.reserve(static_cast<std::size_t>(request.points));
  result.gain.reserve(static_cast<std::size_t>(request.points));
  const double step = std::log(request.fTo / request.fFrom) / (request.points - 1);
  for (int i = 0; i < request.points; ++i) {
    const double f = i + 1 == request.points ? request.fTo : request.fFrom * std::exp(step * i);
    const auto point = sweep.Noise(f, kelvin);
    if (!point) {
      result = {};
      result.problem = "the circuit's equations are singular at " + std::to_string(f) + " Hz";
      return result;
    }
    double total = 0.0;
    for (std::size_t k = 0; k < sources.size(); ++k) {
      power[k].push_back(point->outputPower[k]);
      total += point->outputPower[k];
    }
    result.frequency.push_back(f);
    result.outputDensity.push_back(std::sqrt(total));
    result.gain.push_back(std::abs(point->h));
  }
  std::map<std::string, double> byOwner, bySection;
  const std::vector<double> logSteps = LogSteps(result.frequency);
  for (std::size_t k = 0; k < sources.size(); ++k) {
    const double p = IntegrateOnGrid(result.frequency, logSteps, power[k]);
    byOwner[sources[k].owner] += p;
    if (const auto section = SectionOfName(sources[k].owner)) {
      bySection["section " + std::to_string(*section)] += p;
    }
    result.rms += p;
  }
  result.rms = std::sqrt(result.rms);
  result.parts = Ranked(byOwner);
  result.sections = Ranked(bySection);
  const double largestGain = *std::max_element(result.gain.begin(), result.gain.end());
  for (std::size_t i = 0; i < result.frequency.size(); ++i) {
    if (result.gain[i] > kNoInputBelow * largestGain) {
      result.inputReferred.emplace_back(result.frequency[i],
                                        result.outputDensity[i] / result.gain[i]);
    }
  }
  return result;
}

}  // namespace morvane
