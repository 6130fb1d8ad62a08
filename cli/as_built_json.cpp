#include "as_built_json.h"

#include <cmath>

namespace morvane::cli {

namespace {

QJsonValue Number(std::optional<double> x) {
  if (!x || !std::isfinite(*x)) return QJsonValue(QJsonValue::Null);
  return QJsonValue(*x + 0.0);
}

}  // namespace

QJsonObject AsBuiltJson(const BuiltFigures& built, const BuiltFigures& designed) {
  QJsonObject o;
  o.insert("f0", Number(built.f0));
  o.insert("q", Number(built.q));
  o.insert("gain", Number(built.gain));
  o.insert("fz", Number(built.fz));
  o.insert("f0Error", Number(ErrorPercent(built.f0, designed.f0)));
  o.insert("qError", Number(ErrorPercent(built.q, designed.q)));
  o.insert("gainError", Number(ErrorPercent(built.gain, designed.gain)));
  std::optional<double> fzError;
  if (built.fz && designed.fz) fzError = ErrorPercent(*built.fz, *designed.fz);
  o.insert("fzError", Number(fzError));
  return o;
}

QJsonObject RealAmplifierJson(const RealAmplifierFigures& figures) {
  QJsonObject o = AsBuiltJson(figures.real, figures.ideal);
  o.insert("opAmp", QString::fromStdString(figures.opAmp));
  o.insert("peakingDb", Number(figures.peakingDb));
  o.insert("unstable", figures.unstable);
  return o;
}

}  // namespace morvane::cli
