#include "as_built_json.h"

#include "json_number.h"

namespace morvane::cli {

QJsonObject AsBuiltJson(const BuiltFigures& built, const BuiltFigures& designed) {
  QJsonObject o;
  o.insert("f0", JsonNumber(built.f0));
  o.insert("q", JsonNumber(built.q));
  o.insert("gain", JsonNumber(built.gain));
  o.insert("fz", JsonNumber(built.fz));
  o.insert("f0Error", JsonNumber(ErrorPercent(built.f0, designed.f0)));
  o.insert("qError", JsonNumber(ErrorPercent(built.q, designed.q)));
  o.insert("gainError", JsonNumber(ErrorPercent(built.gain, designed.gain)));
  std::optional<double> fzError;
  if (built.fz && designed.fz) fzError = ErrorPercent(*built.fz, *designed.fz);
  o.insert("fzError", JsonNumber(fzError));
  return o;
}

QJsonObject RealAmplifierJson(const RealAmplifierFigures& figures) {
  QJsonObject o = AsBuiltJson(figures.real, figures.ideal);
  o.insert("opAmp", QString::fromStdString(figures.opAmp));
  o.insert("peakingDb", JsonNumber(figures.peakingDb));
  o.insert("unstable", figures.unstable);
  return o;
}

}  // namespace morvane::cli
