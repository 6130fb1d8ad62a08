#pragma once

// What `design` and `cascade` print of the large signal with a real op amp (--opamp): the
// largest undistorted output at the report's frequencies and each section's headroom, as text,
// as the JSON objects "largeSignal" and "headroom", and as warnings for stderr.

#include <QJsonObject>
#include <string>

#include "opamp/large_signal_summary.h"

namespace morvane::cli {

std::string LargeSignalText(const LargeSignalSummary& summary);

// opAmp, swing (V), slewRate (V/s), slewCorner (Hz), from, to, problem (where there is one)
// and points: a list of {f, outputPeak, inputPeak, limit ("swing" or "slewRate"), opAmp}.
QJsonObject LargeSignalJson(const LargeSignalSummary& summary);

// outputGain, outputAtHz, clippingInputPeak, problem (where there is one) and sections: a list
// of {section, opAmp, largestGain, atHz, peakingDb, clippingInputPeak, warning}; a value that
// is not defined is null.
QJsonObject HeadroomJson(const Headroom& headroom);

// "morvane-cli: warning: section 5 (U1_5) clips 17.7 dB before the output\n" for each
// section that does.
std::string HeadroomWarningLines(const LargeSignalSummary& summary);

}  // namespace morvane::cli
