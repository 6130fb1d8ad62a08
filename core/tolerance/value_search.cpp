#include "tolerance/value_search.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "circuit/circuit_transfer.h"
#include "design/buildable_range.h"
#include "numerics/standard_series.h"

namespace morvane {

namespace {

constexpr int kMostEnumerated = 14;
// Levels tried per value of the capacitor series in a decade: enough that every capacitor
// the design can pick within the decade comes up.
constexpr int kLevelsPerSeriesValue = 8;
constexpr double kF0Weight = 1.0;
constexpr double kQWeight = 1.0;
constexpr double kGainWeight = 0.5;
constexpr double kNotchWeight = 10.0;

double RelativeError(double built, double designed) {
  return designed == 0.0 ? 0.0 : std::abs(built / designed - 1.0);
}

// The resistors' places and their two candidates (the same twice for a series value), and
// the parts that are twins of an earlier one: a part whose value key is another's follows it.
struct Candidates {
  std::vector<std::size_t> places;
  std::vector<double> below, above;
  std::vector<std::pair<std::size_t, std::size_t>> twins;  // (twin, original)
};

// A twin keeps its ratio to the original (a stage's R1A is 2 R1).
void GiveTwinsTheirValues(const Circuit& circuit, const Candidates& c,
                          std::vector<double>& values) {
  for (const auto& [twin, original] : c.twins) {
    values[twin] = values[original] * (circuit.parts[twin].value / circuit.parts[original].value);
  }
}

Candidates CandidatesOf(const Circuit& circuit, int series, const ValueKey& key) {
  Candidates c;
  // The parts named as their key first (a stage's R1 before its R1A), then the others.
  for (const bool named : {true, false}) {
    for (std::size_t i = 0; i < circuit.parts.size(); ++i) {
      const CircuitPart& part = circuit.parts[i];
      if (part.name.empty() || part.name[0] != 'R' || (key(part.name) == part.name) != named) {
        continue;
      }
      const auto original = std::find_if(c.places.begin(), c.places.end(), [&](std::size_t k) {
        return key(circuit.parts[k].name) == key(part.name);
      });
      if (original != c.places.end()) {
        c.twins.emplace_back(i, *original);
        continue;
      }
      const double above = SeriesValueAbove(series, part.value);
      c.places.push_back(i);
      c.above.push_back(above);
      c.below.push_back(above == part.value ? above : SeriesValueBelow(series, part.value));
    }
  }
  return c;
}

bool Buildable(const Circuit& circuit) {
  for (const CircuitPart& part : circuit.parts) {
    const ComponentKind kind = part.name[0] == 'C'   ? ComponentKind::Capacitor
                               : part.name[0] == 'L' ? ComponentKind::Inductor
                                                     : ComponentKind::Resistor;
    if (!OutOfRangeMessage(part.name, kind, part.value).empty()) return false;
  }
  return true;
}

double RoundToDigits(double x, int digits) {
  const double scale = std::pow(10.0, digits - 1 - std::floor(std::log10(x)));
  return std::round(x * scale) / scale;
}

std::vector<double> CapacitorsOf(const Circuit& circuit) {
  std::vector<double> values;
  for (const CircuitPart& part : circuit.parts) {
    if (part.name[0] == 'C') values.push_back(part.value);
  }
  return values;
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
                                               const BuiltFigures& designed, int series, int count,
                                               const ValueKey& key) {
  CircuitAnalysis analysis(circuit);
  if (!analysis.Valid()) return {};
  const double scale = 2.0 * std::numbers::pi * designed.f0;
  const GainReference reference = ReferenceOfSectionKind(kind);
  const bool notch = IsNotchSectionKind(kind);
  std::vector<double> values;
  for (const CircuitPart& part : circuit.parts) values.push_back(part.value);
  const Candidates c = CandidatesOf(circuit, series, key);

  std::vector<ValueChoice> found;
  const auto consider = [&](std::vector<double> v) {
    GiveTwinsTheirValues(circuit, c, v);
    const auto h = analysis.Transfer(v, scale);
    if (!h) return;
    const auto f = FiguresOf(*h, reference, notch);
    if (!f) return;
    found.push_back({std::move(v), *f, ValueChoiceScore(*f, designed)});
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

std::vector<ValueChoice> SearchStandardValues(const DesignAtLevel& design, double level,
                                              const std::string& kind, const BuiltFigures& designed,
                                              int seriesR, int seriesC, int count,
                                              const ValueKey& key) {
  // The levels that give each capacitor set, in order.
  struct LevelRun {
    std::vector<double> capacitors;
    double lowest = 0.0;
    double highest = 0.0;
  };
  std::vector<LevelRun> runs;
  const int steps = kLevelsPerSeriesValue * static_cast<int>(SeriesDecade(seriesC).size());
  for (int k = 0; k <= steps; ++k) {
    const double at = level * std::pow(10.0, static_cast<double>(k) / steps - 0.5);
    const std::optional<Circuit> circuit = design(at);
    if (!circuit || !Buildable(*circuit)) continue;
    const std::vector<double> capacitors = CapacitorsOf(*circuit);
    const auto run = std::find_if(runs.begin(), runs.end(),
                                  [&](const LevelRun& r) { return r.capacitors == capacitors; });
    if (run == runs.end()) {
      runs.push_back({capacitors, at, at});
    } else {
      run->highest = at;
    }
  }
  std::vector<ValueChoice> found;
  for (const LevelRun& run : runs) {
    // The design's own level for its own capacitors; else the middle of the run, rounded to
    // three digits where that gives the same capacitors: a level the user can type and that
    // is not at the edge of the run.
    const bool own = run.lowest <= level && level <= run.highest;
    const double middle = own ? level : std::sqrt(run.lowest * run.highest);
    const double rounded = own ? level : RoundToDigits(middle, 3);
    std::optional<Circuit> circuit = design(rounded);
    double at = rounded;
    if (!circuit || CapacitorsOf(*circuit) != run.capacitors) {
      circuit = design(middle);
      at = middle;
    }
    if (!circuit) continue;
    for (ValueChoice& choice : BestResistorRoundings(*circuit, kind, designed, seriesR, 4, key)) {
      Circuit built = *circuit;
      for (std::size_t i = 0; i < built.parts.size(); ++i) built.parts[i].value = choice.values[i];
      if (!Buildable(built)) continue;
      choice.level = at;
      found.push_back(std::move(choice));
      break;
    }
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const ValueChoice& a, const ValueChoice& b) { return a.score < b.score; });
  if (found.size() > static_cast<std::size_t>(std::max(count, 0))) {
    found.resize(static_cast<std::size_t>(std::max(count, 0)));
  }
  return found;
}

}  // namespace morvane
