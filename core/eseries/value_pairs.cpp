#include "eseries/value_pairs.h"

#include <algorithm>
#include <cmath>

#include "circuit/built_figures.h"

namespace morvane {

namespace {

// Errors this close count as the same (they differ in the rounding of the sum only).
constexpr double kSameError = 1e-9;

struct IndexRange {
  std::int64_t first = 0;
  std::int64_t last = 0;
};

IndexRange SeriesRange(PreferredSeries series, double low, double high) {
  return {PreferredIndexAtOrAbove(series, low), PreferredIndexAtOrBelow(series, high)};
}

// The two series values around `wanted`, each kept inside the range. When the combination
// grows steadily with its second part, the best second part is one of them.
std::array<std::int64_t, 2> Candidates(PreferredSeries series, double wanted,
                                       const IndexRange& range) {
  if (!(wanted > 0.0) || !std::isfinite(wanted)) return {range.first, range.last};
  const std::int64_t below = PreferredIndexAtOrBelow(series, wanted);
  return {std::clamp(below, range.first, range.last),
          std::clamp(below + 1, range.first, range.last)};
}

ValuePair Larger(ValuePair pair) {
  if (pair.a < pair.b) std::swap(pair.a, pair.b);
  return pair;
}

// The pair with the smaller error; of two with the same error the first.
bool Better(const ValuePair& candidate, const ValuePair& best) {
  return std::fabs(candidate.errorPercent) < std::fabs(best.errorPercent) - kSameError;
}

template <typename Combine, typename SecondValue>
ValuePair BestPair(PreferredSeries series, double target, const IndexRange& range, Combine combine,
                   SecondValue wantedSecond) {
  ValuePair best;
  bool found = false;
  for (std::int64_t i = range.first; i <= range.last; ++i) {
    const double a = PreferredValueAt(series, i);
    for (const std::int64_t j : Candidates(series, wantedSecond(a), range)) {
      const double b = PreferredValueAt(series, j);
      const double value = combine(a, b);
      const ValuePair pair = Larger({a, b, value, ErrorPercent(value, target)});
      if (!found || Better(pair, best)) best = pair;
      found = true;
    }
  }
  return best;
}

}  // namespace

ValuePair BestSeriesPair(PreferredSeries series, double target) {
  return BestPair(
      series, target, SeriesRange(series, target / kPairReach, target),
      [](double a, double b) { return a + b; }, [target](double a) { return target - a; });
}

ValuePair BestParallelPair(PreferredSeries series, double target) {
  return BestPair(
      series, target, SeriesRange(series, target, target * kPairReach),
      [](double a, double b) { return a * b / (a + b); },
      // 1/a + 1/b = 1/target; at a = target no finite b, so the largest one in range.
      [target](double a) { return a > target ? a * target / (a - target) : 0.0; });
}

ValuePair BestRatioPair(PreferredSeries series, double ratio, double near) {
  const auto n = static_cast<std::int64_t>(PreferredDecade(series).size());
  const std::int64_t first = PreferredIndexAtOrAbove(series, near / std::sqrt(10.0));
  ValuePair best;
  double bestDistance = 0.0;
  bool found = false;
  for (std::int64_t i = first; i < first + n; ++i) {
    const double b = PreferredValueAt(series, i);
    const double distance = std::fabs(std::log(b / near));
    const std::int64_t below = PreferredIndexAtOrBelow(series, ratio * b);
    for (const std::int64_t j : {below, below + 1}) {
      const double a = PreferredValueAt(series, j);
      const ValuePair pair{a, b, a / b, ErrorPercent(a / b, ratio)};
      const bool sameError =
          std::fabs(std::fabs(pair.errorPercent) - std::fabs(best.errorPercent)) <= kSameError;
      if (!found || Better(pair, best) || (sameError && distance < bestDistance)) {
        best = pair;
        bestDistance = distance;
        found = true;
      }
    }
  }
  return best;
}

}  // namespace morvane
