#pragma once

// Rounding rules behind the spin buttons.

namespace morvane {

// x rounded away from zero to one significant digit (0 gives 0).
double CeilOneDigit(double x);
// x rounded towards zero to one significant digit (0 gives 0).
double FloorOneDigit(double x);
// The 1-2-5 value not below |x|, with the sign of x (0 gives 0).
double CeilStep125(double x);

// One spin step with sweep factor k: multiplicative for k >= 2 or k <= 1, otherwise a
// round 1-2-5 step near x*(k-1) with a snap to the next one-digit round number.
void StepUp(double& x, double k);
void StepDown(double& x, double k);

}  // namespace morvane
