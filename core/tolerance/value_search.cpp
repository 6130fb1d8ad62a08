#include "tolerance/value_search.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "circuit/circuit_transfer.h"
#include "numerics/standard_series.h"

namespace morvane {

namespace {

constexpr int kMostEnumerated = 14;
constexpr double kF0Weight = 1.0;
constexpr double kQWeight = 1.0;
constexpr double kGainWeight = 0.5;
constexpr double kNotchWeight = 10.0;

double RelativeError(double built, double designed) {
  return designed == 0.0 ? 0.0 : std::abs(built / designed - 1.0);
}

// The resistors' places and their two candidates (the same twice for a series value).
struct Candidates {
  std::vector<std::size_t> places;
  std::vector<double> below, above;
};

Candidates CandidatesOf(const Circuit& circuit, int series) {
  Candidates c;
  for (std::size_t i = 0; i < circuit.parts.size(); ++i) {
    const CircuitPart& part = circuit.parts[i];
    if (part.name.empty() || part.name[0] != 'R') continue;
    const double above = SeriesValueAbove(series, part.value);
    c.places.push_back(i);
    c.above.push_back(above);
    c.below.push_back(above == part.value ? above : SeriesValueBelow(series, part.value));
  }
  return c;
}

}  // namespace

double ValueChoiceScore(const BuiltFigures& built, const BuiltFigures& designed) {
  double score = kF0Weight * RelativeError(built.f0, designed.f0) +
                 kQWeight * RelativeError(built.q, designed.q) +
                 kGainWeight * RelativeError(built.gain, designed.gain);
  if (designed.fz) {
    score += kNotchWeight * (built.fz ? RelativeError(*built.fz, *designed.fz) : 1.0);
  }
  return score;
}

std::vector<ValueChoice> BestResistorRoundings(const Circuit& circuit, const std::string& kind,
                                               const BuiltFigures& designed, int series,
                                               int count) {
  CircuitAnalysis analysis(circuit);
  if (!analysis.Valid()) return {};
  const double scale = 2.0 * std::numbers::pi * designed.f0;
  const GainReference reference = ReferenceOfSectionKind(kind);
  const bool notch = IsNotchSectionKind(kind);
  std::vector<double> values;
  for (const CircuitPart& part : circuit.parts) values.push_back(part.value);
  const Candidates c = CandidatesOf(circuit, series);

  std::vector<ValueChoice> found;
  const auto consider = [&](const std::vector<double>& v) {
    const auto h = analysis.Transfer(v, scale);
    if (!h) return;
    const auto f = FiguresOf(*h, reference, notch);
    if (!f) return;
    found.push_back({v, *f, ValueChoiceScore(*f, designed)});
  };
  const std::size_t n = c.places.size();
  if (n <= static_cast<std::size_t>(kMostEnumerated)) {
    for (std::uint32_t pick = 0; pick < (1u << n); ++pick) {
      bool repeated = false;  // a series value has one candidate: only its "below" pick
      for (std::size_t k = 0; k < n; ++k) {
        const bool up = (pick >> k) & 1u;
        repeated = repeated || (up && c.above[k] == c.below[k]);
        values[c.places[k]] = up ? c.above[k] : c.below[k];
      }
      if (!repeated) consider(values);
    }
  } else {
    // From the nearest rounding, the one change that helps most, until none does.
    for (std::size_t k = 0; k < n; ++k) {
      const double v = circuit.parts[c.places[k]].value;
      values[c.places[k]] = c.above[k] / v <= v / c.below[k] ? c.above[k] : c.below[k];
    }
    consider(values);
    for (bool improved = true; improved && !found.empty();) {
      improved = false;
      const ValueChoice best = *std::min_element(
          found.begin(), found.end(),
          [](const ValueChoice& a, const ValueChoice& b) { return a.score < b.score; });
      for (std::size_t k = 0; k < n; ++k) {
        std::vector<double> trial = best.values;
        double& r = trial[c.places[k]];
        r = r == c.above[k] ? c.below[k] : c.above[k];
        const std::size_t before = found.size();
        consider(trial);
        if (found.size() > before && found.back().score < best.score) improved = true;
      }
    }
  }
  std::sort(found.begin(), found.end(),
            [](const ValueChoice& a, const ValueChoice& b) { return a.score < b.score; });
  if (found.size() > static_cast<std::size_t>(std::max(count, 0))) {
    found.resize(static_cast<std::size_t>(std::max(count, 0)));
  }
  return found;
}

}  // namespace morvane
