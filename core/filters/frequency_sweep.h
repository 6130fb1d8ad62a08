#pragma once

// Gain and group delay of a filter along the j omega axis, for the searches behind the figures
// of filter_figures.h. The poles and zeros are laid out once as factors; one pass over them
// gives, at a frequency, the gain, the group delay, the slopes of both and the distance to the
// nearest pole or zero. That distance is the scale on which either curve can change shape (each
// factor |j omega - r| bends only within about |Re r| of Im r), so sweeps step a fixed fraction
// of it: few samples where the curves are smooth, dense ones near sharp poles, and every turning
// point of either curve lies between two samples whose slopes differ in sign.

#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

#include "filters/pole_zero.h"

namespace morvane::sweep {

inline constexpr double kGainDbCap = 2e301;  // the gain on a pole or zero, as PoleZeroGainDb

// Whether figures can be measured at all: poles all finite and in the open left half-plane,
// zeros finite and no more of them than poles, a finite non-zero gain.
bool IsMeasurable(const PoleZeroGain& h);

// The smallest |pole| and the largest |pole| or |zero| (h has poles).
double SmallestPole(const PoleZeroGain& h);
double LargestRoot(const PoleZeroGain& h);
// (product of |poles|)^(1/N), the centre of a bandpass or bandstop made from a prototype.
double CentreOmega(const PoleZeroGain& h);

// A bandpass's pass-band gain is the highest maximum of the gain in the region around the
// centre that stays within this of the centre's gain; a pass band's ripple is at most 3 dB, so
// that region holds the whole pass band.
inline constexpr double kBandpassSearchDb = 6.0;

// The poles and zeros of a filter, or of a cascade section by section so that the first
// sections can be evaluated alone, as factors: an exactly conjugate pair of roots is one factor
// (half the divisions), equal real roots (zeros at the origin) one factor with a count.
class RootTable {
 public:
  struct Factor {
    double re, im;  // of the root; for a pair the one with im > 0
    double sign;    // +1 for zeros, -1 for poles
    bool pair;
    int count;  // of equal roots, 1 for a pair
    // 0, or infinite for a zero on the j omega axis (|Re| <= 1e-6 |z|): such a zero only
    // deepens the gain towards it, so it does not shorten the steps of a sweep, which would
    // otherwise close in on it forever.
    double stepPenalty;
  };

  RootTable() = default;
  explicit RootTable(const PoleZeroGain& h) { Append(h); }

  // Adds a section: its zeros and poles as factors, its gain multiplied in.
  void Append(const PoleZeroGain& h);

  std::size_t Sections() const { return sectionEnds_.size(); }
  // Of the first `sections` sections:
  std::size_t FactorsOf(std::size_t sections) const {
    return sections ? sectionEnds_[sections - 1] : 0;
  }
  double GainDbOf(std::size_t sections) const;  // 20 log10 |product of the gains|
  // 20 log10 |H| as omega -> infinity: the gain with as many zeros as poles, else -cap
  double HighFrequencyDbOf(std::size_t sections) const;

  const std::vector<Factor>& Factors() const { return factors_; }

 private:
  std::vector<Factor> factors_;
  std::vector<std::size_t> sectionEnds_;
  std::vector<double> gainDb_;     // after each section
  std::vector<long> excessZeros_;  // zeros minus poles after each section
};

// Sums over the factors [begin, end) at j omega: what SampleAt is made of.
struct FactorSums {
  // prod |j omega - z|^2 / prod |j omega - p|^2 = product * 2^exponent, kept in range
  double product = 1.0;
  int exponent = 0;
  double logSlope = 0.0;                // d/d omega of ln of the product
  double delay = 0.0;                   // s, when asked for
  double delaySlope = 0.0;              // when asked for
  double nearestSquared = HUGE_VAL;     // to the nearest pole or zero off the axis
  bool onZero = false, onPole = false;  // omega is exactly on a root of the j omega axis
};
FactorSums SumFactors(const RootTable& table, std::size_t begin, std::size_t end, double omega,
                      bool withDelay);

// The sums without the delay of every partial cascade at j omega in one pass: partials[i] holds
// those of sections 1..i+1 (partials has a place for every section).
void SumPartials(const RootTable& table, double omega, FactorSums* partials);

// 10 log10 of the product, within +-kGainDbCap (-cap exactly on a zero, else +cap on a pole).
double ProductDb(const FactorSums& sums);

// 20 log10 |H| of the first `sections` sections from their sums, within +-kGainDbCap.
double GainDbOf(const RootTable& table, std::size_t sections, const FactorSums& sums);

struct FrequencySample {
  double omega = 0.0;
  double gainDb = 0.0;      // 20 log10 |H(j omega)|, within +-kGainDbCap
  double gainSlope = 0.0;   // d gainDb / d omega
  double delay = 0.0;       // group delay, s (as PoleZeroGroupDelay); 0 without withDelay
  double delaySlope = 0.0;  // d delay / d omega; 0 without withDelay
  double nearest = 0.0;     // from j omega to the nearest pole or zero off the axis
};

// The first `sections` sections at j omega, omega >= 0.
FrequencySample SampleAt(const RootTable& table, std::size_t sections, double omega,
                         bool withDelay = true);
inline FrequencySample SampleAt(const RootTable& table, double omega, bool withDelay = true) {
  return SampleAt(table, table.Sections(), omega, withDelay);
}

// The frequency after `omega` > 0 in a sweep up (direction +1) or down (-1), `nearest` being
// the distance to the nearest root there (the sample's): a fifth of it, at least 1e-9 omega,
// and going down at most a fifth of omega, so a sweep towards 0 slows geometrically.
double NextOmega(double omega, double nearest, int direction);

// A sweep from `start` in `direction` for as long as the gain stays at or above `levelDb`
// (above = true) or below it (above = false): the samples inside in sweep order, and where the
// gain crosses the level after the last of them (refined to 1e-14 relative) with the sample
// there. No crossing when the sweep leaves [low, high] first.
struct LevelWalk {
  std::vector<FrequencySample> samples;
  std::optional<FrequencySample> crossing;
};
LevelWalk WalkToLevel(const RootTable& table, double start, int direction, double levelDb,
                      bool above, double low, double high);

// Where the gain crosses `levelDb` between two samples on either side of it, refined to 1e-14
// relative, with the sample there.
FrequencySample LevelCrossing(const RootTable& table, const FrequencySample& a,
                              const FrequencySample& b, double levelDb);

// Samples from a up to b (0 < a < b), both ends included.
std::vector<FrequencySample> SweepBetween(const RootTable& table, double a, double b);

enum class Curve { Gain, Delay };

struct Extremum {
  double omega;
  double value;
};

// A maximum (sign +1) or minimum (sign -1) of a curve lies between a and b: sign * slope is
// above 0 at a and at most 0 at b. Only omega, the curve's value and its slope are used.
struct TurningBracket {
  FrequencySample a, b;
};

// Every bracket between neighbouring samples (ascending omega).
std::vector<TurningBracket> TurningBrackets(const std::vector<FrequencySample>& samples,
                                            Curve curve, int sign);

// How exactly the place of a reported maximum (a peaking, the largest delay) is found, of omega.
inline constexpr double kPlaceTolerance = 1e-10;

// What a refinement must reach.
struct Precision {
  double margin = 0.0;        // keep every turning point within this of the most extreme one
  double beyond = -HUGE_VAL;  // only turning points beyond this (sign * value) count ...
  double within = HUGE_VAL;   // ... and not beyond this
  double place = 0.0;         // omega to this relative tolerance; 0: only the value counts
};

// The turning points of the first `sections` sections in the brackets that count (see
// Precision), in ascending omega, their values to 1e-10 dB (delay: 1e-12 of it). Best first:
// the bracket with the highest bound (MaximumBound) is narrowed by a secant step on the slope
// until it is settled, and a bracket whose bound cannot beat the best value found is never
// narrowed further. A turning point on a curve too flat to move by that much is taken at its
// better sample, and one whose value is settled but whose place is not after 8 more steps
// (a top flat to the rounding, where the slope is rounding noise) at the best place found.
std::vector<Extremum> RefineTurningPoints(const RootTable& table, std::size_t sections,
                                          std::vector<TurningBracket> brackets, Curve curve,
                                          int sign, const Precision& precision);

// The highest maximum of the gain of the first `sections` sections among samples (ascending
// omega) whose first and last lie below it, refined; of maxima equally high (within 1e-9 dB, as
// an equiripple pass band has several) the one nearest `centre` on a log scale (within 1e-4
// of ln omega counts as equally near), and of two equally near the lower one; its place to
// full precision. Empty when the samples hold no maximum.
std::optional<Extremum> HighestPeakNear(const RootTable& table, std::size_t sections,
                                        const std::vector<FrequencySample>& samples, double centre);

// An upper bound of the maximum of a curve between two samples whose slopes s0 > 0 and
// s1 <= 0 bracket it: where the tangents at both ends meet, with the rise above the higher end
// doubled for safety (the curve is concave there but for rounding).
double MaximumBound(double x0, double g0, double s0, double x1, double g1, double s1);

}  // namespace morvane::sweep
