#pragma once

// The "asBuilt" object of design --json and cascade --json: a circuit's figures as built and
// their errors in percent against the designed ones.

#include <QJsonObject>
#include <optional>

#include "circuit/built_figures.h"

namespace morvane::cli {

QJsonObject AsBuiltJson(const BuiltFigures& built, const BuiltFigures& designed);

}  // namespace morvane::cli
