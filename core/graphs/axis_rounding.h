#pragma once

// Two-digit rounding for the axis-scale dialog's spin button and the origin recentring.
// CeilStep125, CeilOneDigit and FloorOneDigit are in numerics/step_rounding.h.

namespace morvane {

// |x| is brought to 1 <= m < 100 by powers of ten (a magnitude below 1 is raised until
// m > 10, so 0.5 becomes 50); the result is round(m + 0.49999) or round(m - 0.49999) at the
// same power, with the sign of x. 0 gives 0.
// CeilTwoDigits(5.3) == 6, CeilTwoDigits(0.53) == 0.53, CeilTwoDigits(123) == 130.
double CeilTwoDigits(double x);
// FloorTwoDigits(12.7) == 12, FloorTwoDigits(49.5) == 49, FloorTwoDigits(1.2) == 1.
double FloorTwoDigits(double x);

}  // namespace morvane
