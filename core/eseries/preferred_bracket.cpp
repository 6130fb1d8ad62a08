#include "eseries/preferred_bracket.h"

#include "circuit/built_figures.h"

namespace morvane {

PreferredBracket BracketValue(PreferredSeries series, double x) {
  PreferredBracket b;
  const std::int64_t below = PreferredIndexAtOrBelow(series, x);
  const std::int64_t above = PreferredIndexAtOrAbove(series, x);
  b.below = PreferredValueAt(series, below);
  b.above = PreferredValueAt(series, above);
  b.inSeries = below == above;
  if (b.inSeries) {
    b.nearest = b.below;
    return b;
  }
  b.nearest = b.above / x <= x / b.below ? b.above : b.below;
  b.nearestErrorPercent = ErrorPercent(b.nearest, x);
  return b;
}

}  // namespace morvane
