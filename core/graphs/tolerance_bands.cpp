#include "graphs/tolerance_bands.h"

#include <algorithm>
#include <cmath>

#include "graphs/plot_drawing.h"
#include "graphs/plot_mapping.h"

namespace morvane {

namespace {

constexpr Colour kOuterBand{214, 230, 214};  // least to largest
constexpr Colour kInnerBand{170, 208, 170};  // 5 to 95 %

// Vertical lines from `low` to `high` (world y) at each pixel column between the samples.
void FillBetween(const AxisState& a, Canvas& canvas, std::span<const double> x,
                 std::span<const double> low, std::span<const double> high, Colour colour) {
  const std::size_t n = std::min({x.size(), low.size(), high.size()});
  canvas.SetPen({colour, PenStyle::Solid});
  const auto clampY = [&a](double py) {
    return static_cast<int>(std::clamp(py, a.Top + 1.0, a.Bottom - 1.0));
  };
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const double x0 = ToScreenX(a, x[i]), x1 = ToScreenX(a, x[i + 1]);
    const double lo0 = ToScreenY(a, low[i]), lo1 = ToScreenY(a, low[i + 1]);
    const double hi0 = ToScreenY(a, high[i]), hi1 = ToScreenY(a, high[i + 1]);
    const int first = static_cast<int>(std::max(std::ceil(x0), a.Left + 1.0));
    const int last = static_cast<int>(std::min(std::ceil(x1) - 1.0, a.Right - 1.0));
    for (int px = first; px <= last; ++px) {
      const double t = x1 > x0 ? (px - x0) / (x1 - x0) : 0.0;
      const int yLow = clampY(lo0 + t * (lo1 - lo0));
      const int yHigh = clampY(hi0 + t * (hi1 - hi0));
      if (yLow == yHigh && (yLow <= a.Top + 1 || yLow >= a.Bottom - 1)) continue;
      canvas.Line(px, yLow, px, yHigh);
    }
  }
}

}  // namespace

ToleranceBands BandsOf(const MonteCarloResult& result) {
  ToleranceBands b;
  const GainBand& g = result.band;
  b.frequencies = g.frequencies;
  b.gainDb = {g.minDb, g.p5Db, g.nominalDb, g.p95Db, g.maxDb};
  if (result.phaseDegrees) b.phaseDegrees = *result.phaseDegrees;
  if (result.groupDelay) b.groupDelay = *result.groupDelay;
  return b;
}

std::optional<SpreadCurve> SpreadCurveFor(const ToleranceBands& bands, GraphKind kind,
                                          const std::function<double(double)>& phaseAt) {
  switch (kind) {
    case GraphKind::Gain:
      return SpreadCurve{bands.frequencies, bands.gainDb};
    case GraphKind::GroupDelay:
      return SpreadCurve{bands.frequencies, bands.groupDelay};
    case GraphKind::Phase: {
      SpreadCurve curve{bands.frequencies, bands.phaseDegrees};
      if (curve.band.nominal.empty()) return curve;
      const std::size_t middle = curve.band.nominal.size() / 2;
      const double turns =
          std::round((phaseAt(curve.frequencies[middle]) - curve.band.nominal[middle]) / 360.0);
      if (!std::isfinite(turns) || turns == 0.0) return curve;
      SpreadBand& b = curve.band;
      for (auto* v : {&b.min, &b.p5, &b.nominal, &b.p95, &b.max}) {
        for (double& y : *v) y += 360.0 * turns;
      }
      return curve;
    }
    case GraphKind::TimeResponse:
      break;
  }
  return std::nullopt;
}

void DrawSpreadCurve(const AxisState& a, Canvas& canvas, const SpreadCurve& curve) {
  if (a.Right - a.Left < 3 || a.Bottom - a.Top < 3) return;
  const Pen saved = canvas.CurrentPen();
  const SpreadBand& b = curve.band;
  FillBetween(a, canvas, curve.frequencies, b.min, b.max, kOuterBand);
  FillBetween(a, canvas, curve.frequencies, b.p5, b.p95, kInnerBand);
  canvas.SetPen(saved);
}

}  // namespace morvane
