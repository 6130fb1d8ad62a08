#pragma once

// The "asBuilt" object of design --json and cascade --json: a circuit's figures as built and
// their errors in percent against the designed ones.

#include <QJsonObject>
#include <optional>

#include "circuit/built_figures.h"
#include "opamp/real_response.h"

namespace morvane::cli {

QJsonObject AsBuiltJson(const BuiltFigures& built, const BuiltFigures& designed);

// The "realAmplifier" object: opAmp, the figures with it as in asBuilt (errors against the
// same circuit with ideal op amps) and peakingDb.
QJsonObject RealAmplifierJson(const RealAmplifierFigures& figures);

}  // namespace morvane::cli
