#pragma once

// Where a value lies in a series of preferred values: the series values below and above it
// and the nearer of the two, nearer by ratio (the one whose ratio to the value is closer to 1).

#include "eseries/preferred_series.h"

namespace morvane {

struct PreferredBracket {
  double below = 0.0;  // the largest series value at or below the value
  double above = 0.0;  // the smallest series value at or above it
  double nearest = 0.0;
  double nearestErrorPercent = 0.0;
  bool inSeries = false;  // the value is a series value: below, above and nearest are it
};

// x > 0 and finite (TargetValueProblem says which values the tool takes). A value within
// kPreferredSlack of a series value counts as that value, with an error of 0. Between two
// series values a tie of ratios goes to the one above.
PreferredBracket BracketValue(PreferredSeries series, double x);

}  // namespace morvane
