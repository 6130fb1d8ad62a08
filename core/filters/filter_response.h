#pragma once

// Response figures of a filter given by its poles, zeros and gain (rad/s), in closed form:
// gain, phase and group delay at an angular frequency, and the step response at a time.

#include <cstddef>
#include <vector>

#include "filters/pole_zero.h"

namespace morvane {

// 20 log10 |H(j omega)|, summed factor by factor so high orders neither overflow nor
// underflow. Exactly on a zero (or with gain 0) it is -2e301, exactly on a pole +2e301, as
// the other gain curves of the program do, so no infinity reaches a graph.
double PoleZeroGainDb(const PoleZeroGain& h, double omega);

// Phase of H(j omega) in degrees as the sum of every factor's angle, each continuous in omega,
// so it is already unwrapped: consecutive frequencies never differ by a 360 degree step, however
// far apart they are. It jumps only where a zero or pole on the j omega axis is crossed (by
// +-180 degrees, as the sign of H changes there). A negative gain adds 180 degrees.
double PoleZeroPhaseDegrees(const PoleZeroGain& h, double omega);

// PoleZeroPhaseDegrees at every frequency of the list.
std::vector<double> PoleZeroPhaseAlong(const PoleZeroGain& h, const std::vector<double>& omegas);

// Group delay -d(phase)/d(omega) in seconds:
//   sum over poles of -Re p / (Re p^2 + (omega - Im p)^2) minus the same sum over zeros.
// A pole or zero on the j omega axis contributes 0; exactly at it (where the phase jumps)
// it contributes 0 as well.
double PoleZeroGroupDelay(const PoleZeroGain& h, double omega);

// Response to a unit step switched on at t = 0, by partial fractions of H(s)/s:
//   y(t) = sum over the distinct poles q of H(s)/s of  e^(q t) * sum_k A_qk t^(k-1)/(k-1)!
// Repeated poles (a Linkwitz-Riley filter's doubled ones) use the general formula; poles
// closer than 1e-8 of their magnitude are taken as one repeated pole, which changes the result
// by about that much where the simple-pole formula would lose all digits to cancellation.
// 0 for t < 0; at t = 0 it is the high-frequency gain (0 for a strictly proper H). Meant for
// stable, proper H (no more zeros than poles); an improper H gives 0.
double PoleZeroStep(const PoleZeroGain& h, double t);

// The step response of PoleZeroStep with the partial fractions worked out once, for evaluating
// at many times: each time then costs one complex exponential per distinct pole, and a uniform
// run of times one complex multiplication per pole. A conjugate pair of poles is summed as twice
// the real part of one of them. PoleZeroStep(h, t) is StepResponse(h).At(t).
class StepResponse {
 public:
  explicit StepResponse(const PoleZeroGain& h);

  // y(t) as PoleZeroStep gives it.
  double At(double t) const;

  // dy/dt for t > 0: the impulse response (without the impulse at t = 0 of an H with as many
  // zeros as poles). 0 for t < 0 and for an improper H.
  double SlopeAt(double t) const;

  // y at t = 0, dt, 2 dt, ... (count of them, dt > 0). A pole's term is left out from the time
  // on when it has decayed below 1e-17 of the largest coefficient, far below the rounding of
  // the others.
  std::vector<double> Along(double dt, std::size_t count) const;

  // y(infinity) = H(0) for a stable H (the term of the step's own pole at s = 0); 0 when H has
  // a zero at s = 0.
  double FinalValue() const;

  // A bound of |y(u) - FinalValue()| for every u >= t >= 0 of a stable H, not increasing with
  // t: each decaying term's coefficients by magnitude, at the later of t and the time its
  // polynomial factor peaks. Infinite for an unstable H (a term that does not decay).
  double DeviationBound(double t) const;

 private:
  struct Term {
    Complex pole;
    std::vector<Complex> coefficients;       // of t^k / k!, k = 0 .. multiplicity - 1
    std::vector<Complex> slopeCoefficients;  // the same for dy/dt
  };
  static double Sum(const std::vector<Term>& terms, bool slope, double t);
  // The largest |term| from t on for a decaying term (decay = Re pole < 0).
  static double TermBound(const Term& term, double decay, double t);
  // Replaces each pair of terms with exactly conjugate poles by one of them counted twice.
  static void FoldConjugatePairs(std::vector<Term>& terms);

  std::vector<Term> terms_;
  double finalValue_ = 0.0;
  double largestCoefficient_ = 0.0;
};

}  // namespace morvane
