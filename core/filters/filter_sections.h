#pragma once

// Splits a whole filter H(s) (poles, zeros and gain in rad/s, e.g. a transformed prototype) into
// a cascade of first- and second-order sections whose product is exactly H(s), rescaled to the
// requested pass-band gain:
//   product of the sections' transfers = H(s) * totalGain / (H's own pass-band gain).
//
// Poles: each real pole is a first-order section (f0 = |p| / 2 pi, q = 0.5 by convention); each
// complex-conjugate pair a second-order section with f0 = |p| / 2 pi and Q = |p| / (-2 Re p).
// Conjugates are matched by nearest distance, not by exact equality. Two real poles are joined
// into one second-order section (Q < 0.5) only when a zero pair on the j omega axis would
// otherwise be left without a section.
//
// Zeros on the j omega axis (pairs +-j wz) go to the second-order sections by the classical
// rule: the section with the highest Q takes the zero pair nearest to its pole (distance in the
// s-plane), then the next highest Q takes the nearest remaining pair, and so on. Zeros at the
// origin are handed out one per section first (second-order sections in lowest-Q-first order,
// then first-order sections), then a second one per second-order section, so a bandpass of order
// 2n becomes n bandpass sections and a highpass has two per second-order section. A section with a
// j omega pair takes no zero at the origin. Any other zero (off the axis, e.g. an allpass) cannot
// be realised by these sections and is reported as the plan's problem.
//
// Section kinds: "first-order-lowpass" (no zero), "first-order-highpass" (zero at the origin),
// "lowpass" (no zero), "bandpass" (one zero at the origin), "highpass" (two), and with a zero
// pair at +-j wz: "lowpass-notch" (fz > f0), "highpass-notch" (fz < f0), "notch" (fz = f0 within
// 1e-9 relative).
//
// Gain: a section's `gain` is its own pass-band gain, positive: DC gain for the lowpass kinds,
// lowpass-notch and notch; high-frequency gain for the highpass kinds and highpass-notch; the
// gain at f0 for bandpass. With every section at gain 1 the cascade has some pass-band gain M
// (1 for a plain lowpass or highpass, less for a bandpass of staggered sections); the factor
// totalGain / M is put all into the first section, all into the last, or spread equally (its
// n-th root in each). The cascade's pass-band gain is measured where the filter's kind puts it:
// DC for lowpass and bandstop, high frequencies for highpass, and for bandpass the centre
// omega_m = (product of |poles|)^(1/N), which is the centre of a transformed prototype.
// H's own pass-band gain is gain * |shape at that point|, i.e. H there with the sign of its gain.
//
// Order: lowest Q first (first-order sections first, ties by f0), or a permutation of that order
// given by the caller: order[i] is the index, in the default order, of the section placed i-th.

#include <optional>
#include <string>
#include <vector>

#include "filters/frequency_transform.h"
#include "filters/pole_zero.h"

namespace morvane {

enum class GainSplit { First, Last, Equal };

struct FilterSection {
  std::string kind;
  double f0 = 0.0;           // Hz
  double q = 0.5;            // 0.5 for first-order sections
  std::optional<double> fz;  // Hz, for the notch kinds only
  double gain = 1.0;         // the section's own pass-band gain (see above), positive
  PoleZeroGain transfer;     // rad/s
};

struct SectionPlan {
  std::vector<FilterSection> sections;  // empty when there is a problem
  std::string problem;                  // why the filter cannot be split; empty when it can
};

// The cascade of sections, or a plan with `problem` set: no poles, a value not finite, a pole
// not in the open left half-plane, more zeros than poles, poles or zeros not in conjugate
// pairs, a zero off the j omega axis, a total gain not positive and finite, no pass-band gain
// at the reference point, or an order that is not a permutation of the sections.
SectionPlan SplitIntoSections(const PoleZeroGain& filter, FilterKind kind, double totalGain,
                              GainSplit split, const std::vector<int>* order = nullptr);

}  // namespace morvane
