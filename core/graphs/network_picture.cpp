#include "graphs/network_picture.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "graphs/plot_drawing.h"
#include "graphs/plot_mapping.h"
#include "numerics/step_rounding.h"

namespace morvane {

namespace {

constexpr double kGainSpanDb = 120.0;
constexpr double kDelayGainSpanDb = 60.0;

struct Extent {
  double least = 0.0;
  double largest = 0.0;
  bool found = false;
  void Take(double v) {
    if (!std::isfinite(v)) return;
    least = found ? std::min(least, v) : v;
    largest = found ? std::max(largest, v) : v;
    found = true;
  }
};

double PeakGain(const std::vector<NetworkPoint>& points) {
  double peak = kLeastGainDb;
  for (const NetworkPoint& p : points) peak = std::max(peak, p.gainDb);
  return peak;
}

Extent ExtentOf(const NetworkCurves& curves, NetworkQuantity quantity) {
  Extent e;
  for (const auto* points : {&curves.real, &curves.ideal}) {
    const double peak = PeakGain(*points);
    for (const NetworkPoint& p : *points) {
      if (quantity == NetworkQuantity::GroupDelay && p.gainDb < peak - kDelayGainSpanDb) continue;
      e.Take(DrawnValue(p, quantity));
    }
  }
  return e;
}

struct YRange {
  double bottom;
  double top;
  double step;
};

YRange RangeOf(const NetworkCurves& curves, NetworkQuantity quantity) {
  const Extent e = ExtentOf(curves, quantity);
  switch (quantity) {
    case NetworkQuantity::Phase:
      return {-180.0, 180.0, 45.0};
    case NetworkQuantity::InputImpedance: {
      if (!e.found) return {0.0, 3.0, 1.0};
      const double top = std::floor(e.largest) + 1.0;
      return {std::clamp(std::floor(e.least), top - 12.0, top - 1.0), top, 1.0};
    }
    default:
      break;
  }
  double low = e.found ? e.least : 0.0;
  double high = e.found ? e.largest : 1.0;
  if (quantity == NetworkQuantity::Gain) low = std::max(low, high - kGainSpanDb);
  if (quantity == NetworkQuantity::ReturnLoss || quantity == NetworkQuantity::GroupDelay) {
    low = std::min(low, 0.0);
  }
  if (quantity == NetworkQuantity::ReturnLoss) high = std::min(high, 100.0);
  if (!(high > low)) {
    const double span = std::max(std::abs(high) * 0.1, 1e-12);
    low -= span;
    high += span;
  }
  const double step = CeilStep125((high - low) / 8.0);
  return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

struct Curve {
  std::vector<double> x;
  std::vector<double> y;
};

Curve CurveOf(const std::vector<NetworkPoint>& points, NetworkQuantity quantity) {
  Curve c;
  for (const NetworkPoint& p : points) {
    c.x.push_back(p.f);
    c.y.push_back(DrawnValue(p, quantity));
  }
  return c;
}

// "1", "10", "100" with the prefix of the decade's thousands: "100m", "1", "10k".
std::string DecadeText(int decade) {
  static constexpr const char* kPrefixes[] = {"f", "p", "n", "µ", "m", "", "k", "M", "G", "T"};
  const int group = static_cast<int>(std::floor(decade / 3.0));
  if (group < -5 || group > 4) return "1e" + std::to_string(decade);
  return "1" + std::string(static_cast<std::size_t>(decade - 3 * group), '0') +
         kPrefixes[group + 5];
}

void DrawDecadeLabels(const AxisState& a, Canvas& canvas) {
  const int left = std::max(1, a.Left - 40);
  for (double d = std::ceil(a.ymin); d <= a.ymax; d += 1.0) {
    canvas.Text(left, ToScreenY(a, d) - 8, DecadeText(static_cast<int>(d)));
  }
}

}  // namespace

double DrawnValue(const NetworkPoint& p, NetworkQuantity quantity) {
  switch (quantity) {
    case NetworkQuantity::Gain:
      return p.gainDb;
    case NetworkQuantity::Phase:
      return p.phaseDegrees;
    case NetworkQuantity::GroupDelay:
      return p.groupDelay;
    case NetworkQuantity::InputImpedance:
      return std::log10(std::max(p.inputOhms, 1e-300));
    case NetworkQuantity::ReturnLoss:
      return p.returnLossDb;
  }
  return 0.0;
}

std::string_view QuantityName(NetworkQuantity quantity) {
  switch (quantity) {
    case NetworkQuantity::Gain:
      return "Gain in dB";
    case NetworkQuantity::Phase:
      return "Phase in °";
    case NetworkQuantity::GroupDelay:
      return "Group delay in s";
    case NetworkQuantity::InputImpedance:
      return "|Zin| in Ω";
    case NetworkQuantity::ReturnLoss:
      return "Return loss in dB";
  }
  return "";
}

void SetNetworkAxes(const NetworkCurves& curves, NetworkQuantity quantity, int width, int height,
                    AxisState& a) {
  const double fFrom = curves.real.empty() ? 10.0 : curves.real.front().f;
  const double fTo = curves.real.size() < 2 ? 100e3 : curves.real.back().f;
  const YRange y = RangeOf(curves, quantity);
  if (curves.logarithmic) {
    SetAxisModes(a, AxisMode::Logarithmic, AxisMode::Linear);
    a.xEndsKept = true;  // the band as swept, not widened to decades
    SetupAxes(a, width, height, y.top, fTo, y.bottom, fFrom);
  } else {
    SetAxisModes(a, AxisMode::Linear, AxisMode::Linear);
    SetupAxes(a, width, height, y.top, fTo, y.bottom, fFrom);
    a.xstep = CeilStep125((fTo - fFrom) / 8.0);
  }
  a.ystep = y.step;
  a.xGridEvery = 1;
  a.yGridEvery = 1;
  FixOrigin(a, quantity == NetworkQuantity::Gain ? y.bottom : 0.0, a.xmin);
}

void DrawNetworkPicture(const NetworkCurves& curves, NetworkQuantity quantity, AxisState& a,
                        Canvas& canvas) {
  SetNetworkAxes(curves, quantity, canvas.Width(), canvas.Height(), a);
  if (!DrawPlotFrame(a, canvas, curves.problem, kGrey)) return;
  if (quantity == NetworkQuantity::InputImpedance) {
    DrawDecadeLabels(a, canvas);
  } else {
    DrawYLabels(a, canvas, a.yGridEvery);
  }
  SetDrawColour(canvas, kRed);
  DrawXAxisName(a, canvas, "f in Hz");
  DrawYAxisName(a, canvas, QuantityName(quantity));

  const Curve ideal = CurveOf(curves.ideal, quantity);
  const Curve real = CurveOf(curves.real, quantity);
  DrawCurveLine(a, canvas, ideal.x, ideal.y, PenStyle::Dotted, kBlue,
                static_cast<int>(ideal.x.size()));
  DrawCurveLine(a, canvas, real.x, real.y, PenStyle::Solid, kGreen,
                static_cast<int>(real.x.size()));
  SetDrawColour(canvas, kGreen);
  canvas.Text(4, 1, "with parasitics");
  SetDrawColour(canvas, kBlue);
  canvas.Text(12 + canvas.TextExtent("with parasitics").width, 1, "ideal");
}

}  // namespace morvane
