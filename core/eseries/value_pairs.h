#pragma once

// Two parts of one series of preferred values that together come nearest to what a single part
// of the series cannot give: in series (a + b), in parallel (a * b / (a + b)), or as a ratio
// (a / b, for a gain or a divider).

#include "eseries/preferred_series.h"

namespace morvane {

struct ValuePair {
  double a = 0.0;  // in series and in parallel the larger part; for a ratio the upper one
  double b = 0.0;
  double value = 0.0;         // a + b, a || b or a / b
  double errorPercent = 0.0;  // (value - target) / target * 100
};

// How far from the target the parts of a combination may lie: three decades. A part in series
// that is smaller still, or one in parallel that is larger, changes the value by less than
// 0.1 %, which the nearest single part already gives in E96 and E192.
inline constexpr double kPairReach = 1000.0;

// The pair a + b nearest to the target with target / kPairReach <= b <= a <= target.
ValuePair BestSeriesPair(PreferredSeries series, double target);
// The pair a || b nearest to the target with target <= b <= a <= target * kPairReach.
ValuePair BestParallelPair(PreferredSeries series, double target);

// The pair whose ratio a / b is nearest to `ratio` (by the error in percent), with b one of the
// N series values of the decade around `near` (near / sqrt(10) <= b < near * sqrt(10)) and a any
// series value: every ratio the series can make is among them. Of pairs with the same error the
// one whose b is nearest to `near` (by ratio).
// A non-inverting amplifier's gain 1 + Rf / Rg is the ratio gain - 1 (a = Rf, b = Rg); a
// divider a over b gives Vout / Vin = b / (a + b), the ratio Vin / Vout - 1.
ValuePair BestRatioPair(PreferredSeries series, double ratio, double near);

}  // namespace morvane
