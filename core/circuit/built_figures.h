#pragma once

// The figures of a first- or second-order circuit as built: f0, Q, the gain where its kind
// states it, and the notch frequency, from the transfer its part values give
// (CircuitTransfer). Compared with the designed figures they say what rounding the parts, or
// their tolerances, does.

#include <optional>
#include <string_view>

#include "circuit/circuit_transfer.h"
#include "design/design_state.h"

namespace morvane {

// Where a section's gain is stated: DC (lowpass kinds, lowpass-notch, notch, allpass), high
// frequencies (highpass kinds, highpass-notch), or at f0 (bandpass).
enum class GainReference { Dc, HighFrequency, Centre };

GainReference ReferenceOfSectionKind(std::string_view kind);  // FilterSection's kinds
GainReference ReferenceOfStageType(FilterType type);          // the single stages' types
bool IsNotchSectionKind(std::string_view kind);
// The section kind whose gain and zero are stated as the single stage's of this type.
const char* SectionKindOfStageType(FilterType type);

struct BuiltFigures {
  double f0 = 0.0;    // Hz: of the complex pole pair with the highest Q, else of the real poles
  double q = 0.5;     // negative for a pair in the right half-plane: the circuit oscillates
  double gain = 0.0;  // at the reference, with its sign (negative: inverting)
  std::optional<double> fz;  // Hz: the zero pair nearest the j omega axis, for a notch
};

// None when the transfer has no pole or its gain at the reference is not finite. With `nearHz`
// (a circuit with real amplifiers, whose own poles add to the filter's): f0 and Q of the
// complex pole pair nearest that frequency, and a high-frequency gain that falls again at
// high frequencies taken a decade above f0.
std::optional<BuiltFigures> FiguresOf(const RationalTransfer& transfer, GainReference reference,
                                      bool notch, std::optional<double> nearHz = std::nullopt);

// The relative error of a built figure against the designed one, in percent.
double ErrorPercent(double built, double designed);

}  // namespace morvane
