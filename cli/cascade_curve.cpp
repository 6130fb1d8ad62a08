#include <cmath>
#include <numbers>

#include "cascade_output.h"
#include "filters/filter_response.h"
#include "numerics/number_text.h"

namespace morvane::cli {

std::optional<CurveKind> ParseCurveKind(std::string_view name) {
  constexpr std::pair<CurveKind, std::string_view> kCurves[] = {{CurveKind::Gain, "gain"},
                                                                {CurveKind::Phase, "phase"},
                                                                {CurveKind::Delay, "delay"},
                                                                {CurveKind::Step, "step"}};
  for (const auto& [kind, curveName] : kCurves) {
    if (curveName == name) return kind;
  }
  return std::nullopt;
}

namespace {

// The sample points: the ends exactly as given, evenly spaced or in equal ratios between.
std::vector<double> SamplePoints(const CurveSpan& span) {
  const auto n = static_cast<std::size_t>(std::max(span.points, 1));
  std::vector<double> x(n, span.from);
  if (n < 2) return x;
  const double last = static_cast<double>(n - 1);
  const double ratio = span.logarithmic ? std::log(span.to / span.from) : 0.0;
  for (std::size_t i = 1; i + 1 < n; ++i) {
    const double t = static_cast<double>(i) / last;
    x[i] =
        span.logarithmic ? span.from * std::exp(ratio * t) : span.from + (span.to - span.from) * t;
  }
  x[n - 1] = span.to;
  return x;
}

}  // namespace

CurveSamples SampleCurve(const PoleZeroGain& transfer, CurveKind kind, const CurveSpan& span) {
  CurveSamples out;
  out.x = SamplePoints(span);
  out.y.resize(out.x.size());
  if (kind == CurveKind::Step) {
    const StepResponse step(transfer);
    if (span.from == 0.0 && !span.logarithmic && out.x.size() > 1) {
      // Evenly from t = 0: one complex multiplication a pole and sample.
      out.y = step.Along(span.to / static_cast<double>(out.x.size() - 1), out.x.size());
    } else {
      for (std::size_t i = 0; i < out.x.size(); ++i) out.y[i] = step.At(out.x[i]);
    }
    return out;
  }
  std::vector<double> omegas(out.x.size());
  for (std::size_t i = 0; i < out.x.size(); ++i) omegas[i] = 2.0 * std::numbers::pi * out.x[i];
  switch (kind) {
    case CurveKind::Gain:
      for (std::size_t i = 0; i < omegas.size(); ++i) {
        out.y[i] = PoleZeroGainDb(transfer, omegas[i]);
      }
      break;
    case CurveKind::Phase:
      out.y = PoleZeroPhaseAlong(transfer, omegas);
      break;
    case CurveKind::Delay:
      for (std::size_t i = 0; i < omegas.size(); ++i) {
        out.y[i] = PoleZeroGroupDelay(transfer, omegas[i]);
      }
      break;
    case CurveKind::Step:
      break;
  }
  return out;
}

std::optional<std::string> CurveCsv(const CurveSamples& samples) {
  std::string out = "x,y\n";
  out.reserve(samples.x.size() * 48);
  for (std::size_t i = 0; i < samples.x.size() && i < samples.y.size(); ++i) {
    if (!std::isfinite(samples.x[i]) || !std::isfinite(samples.y[i])) return std::nullopt;
    // -0 (the phase of a lowpass at 0 Hz) is written as 0.
    out += GeneralText(samples.x[i] + 0.0, 17);
    out += ',';
    out += GeneralText(samples.y[i] + 0.0, 17);
    out += '\n';
  }
  return out;
}

}  // namespace morvane::cli
