#pragma once

#include <QJsonValue>
#include <cmath>
#include <optional>

namespace morvane::cli {

// A number as the commands write it (the shortest text that reads back the same, at most 17
// digits), or null where there is none: JSON has no NaN or infinity.
inline QJsonValue JsonNumber(std::optional<double> x) {
  if (!x || !std::isfinite(*x)) return QJsonValue(QJsonValue::Null);
  return QJsonValue(*x + 0.0);
}

}  // namespace morvane::cli
