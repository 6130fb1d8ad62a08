#pragma once

// The texts the recalculation writes into result fields. Every text starts with one blank.

#include <string>

#include "design/design_state.h"

namespace morvane {

// " " + FormatValue(7, 2, x): the text of every numeric result.
std::string ResultText(double x);
// " " + FormatFixed(6, 2, dVu): the peaking text.
std::string PeakingText(double dVu);

inline constexpr const char* kNotNeeded = "not needed";
// dVu of bandpass, bandstop and allpass: seven blanks and a dash.
inline constexpr const char* kNoPeaking = "       -";

bool IsBandType(FilterType type);  // bandpass or bandstop

}  // namespace morvane
