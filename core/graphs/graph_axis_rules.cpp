#include "graphs/graph_axis_rules.h"

#include <algorithm>
#include <cmath>

#include "graphs/axis_operations.h"
#include "graphs/plot_mapping.h"
#include "graphs/response.h"
#include "numerics/step_rounding.h"

namespace morvane {

namespace {

struct YRange {
  double ymin;
  double ymax;
};

YRange PhaseRange(FilterType type) {
  switch (type) {
    case FilterType::Lowpass:
      return {-200, 0};
    case FilterType::EllipticLowpass:
      return {-200, 200};
    case FilterType::Highpass:
      return {0, 200};
    case FilterType::Bandpass:
    case FilterType::Bandstop:
      return {-100, 100};
    case FilterType::Allpass:
      break;
  }
  return {-400, 0};
}

// The delay scale: 1.5 times the delay just below fg (just above for a highpass, at fg for
// bandpass and bandstop), where the peak of a steep filter lies.
double GroupDelayTop(const DesignState& s, FilterType type) {
  switch (type) {
    case FilterType::Highpass:
      return CeilStep125(1.75 * GroupDelayAt(s, type, s.fg / 0.9));
    case FilterType::Bandpass:
    case FilterType::Bandstop:
      return CeilStep125(1.5 * GroupDelayAt(s, type, s.fg));
    default:
      break;
  }
  return CeilStep125(1.5 * GroupDelayAt(s, type, 0.9 * s.fg));
}

}  // namespace

void SetInitialAxes(GraphKind kind, const DesignState& s, FilterType type, AxisState& a) {
  a.xGridEvery = 5;
  a.yGridEvery = 5;
  if (kind == GraphKind::TimeResponse) {
    SetAxisModes(a, AxisMode::Linear, AxisMode::Linear);
    a.xmin = 0.0;
    a.xmax = CeilStep125((s.Q >= 2 ? 10.0 : 5.0) / s.fg);
    a.ymin = -0.1;
    a.ymax = s.Q >= 0.83 ? 2.1 : 1.1;
    a.ystep = 0.02;
    a.xo = 0.0;
    a.yo = 0.0;
  } else {
    SetAxisModes(a, AxisMode::Logarithmic, AxisMode::Linear);
    a.xmax = CeilStep125(100 * s.fg);
    a.xmin = 1e-4 * a.xmax;
    switch (kind) {
      case GraphKind::Gain:
        a.ymin = -60;
        a.ymax = 20;
        a.ystep = 1;
        break;
      case GraphKind::Phase: {
        const YRange r = PhaseRange(type);
        a.ymin = r.ymin;
        a.ymax = r.ymax;
        a.ystep = 5;
        break;
      }
      default:
        a.ymin = 0;
        a.ymax = GroupDelayTop(s, type);
        a.ystep = CeilStep125(0.02 * a.ymax);
        break;
    }
  }
  a.xstep = CeilStep125(0.02 * a.xmax);
}

void RaiseTopToPeak(AxisState& a, std::span<const double> Y, int count) {
  const MinMaxResult r = MinMax(Y, count);
  if (!r.found || !(r.largest > a.ymax) || !(r.largest > 0.0)) return;
  a.ymax = CeilStep125(1.1 * r.largest);
  a.ystep = CeilStep125(0.02 * (a.ymax - a.ymin));
}

std::string_view AxisEndLabel(AxisEnd end) {
  switch (end) {
    case AxisEnd::XMax:
      return "xmax=";
    case AxisEnd::XMin:
      return "xmin=";
    case AxisEnd::YMin:
      return "ymin=";
    case AxisEnd::YMax:
      break;
  }
  return "ymax=";
}

double AxisEndValue(const AxisState& a, AxisEnd end) {
  switch (end) {
    case AxisEnd::XMax:
      return a.xmax;
    case AxisEnd::XMin:
      return a.xmin;
    case AxisEnd::YMin:
      return a.ymin;
    case AxisEnd::YMax:
      break;
  }
  return a.ymax;
}

ValueLimits AxisEndLimits(GraphKind kind, AxisEnd end, const DesignState& s, const AxisState& a) {
  if (end == AxisEnd::YMin || end == AxisEnd::YMax) return {-1000, 1000};
  if (kind == GraphKind::TimeResponse) return {0, 100 / s.fg};
  // A logarithmic axis cannot start at 0.
  const bool logMin = end == AxisEnd::XMin && a.xMode == AxisMode::Logarithmic;
  return {logMin ? 1e-6 * s.fg : 0.0, 1000 * s.fg};
}

bool WithinZoomOutReach(GraphKind kind, const DesignState& s, const AxisState& zoomed) {
  return WithinZoomOutReach(zoomed,
                            [&](AxisEnd end) { return AxisEndLimits(kind, end, s, zoomed); });
}

bool WithinZoomOutReach(const AxisState& zoomed,
                        const std::function<ValueLimits(AxisEnd)>& limits) {
  constexpr double kReach = 1e9;
  const ValueLimits y = limits(AxisEnd::YMax);
  const ValueLimits x = limits(AxisEnd::XMax);
  const ValueLimits xLow = limits(AxisEnd::XMin);
  const auto within = [](double value, double bound) { return std::abs(value) <= bound; };
  const bool logBound = zoomed.xMode != AxisMode::Logarithmic || zoomed.xmin >= xLow.lower / kReach;
  return within(zoomed.xmax, kReach * x.upper) && within(zoomed.xmin, kReach * x.upper) &&
         logBound && within(zoomed.ymax, kReach * y.upper) &&
         within(zoomed.ymin, kReach * std::abs(y.lower));
}

bool SetAxisEnd(AxisState& a, AxisEnd end, double value) {
  switch (end) {
    case AxisEnd::XMax:
    case AxisEnd::XMin: {
      const double xmax = end == AxisEnd::XMax ? value : a.xmax;
      const double xmin = end == AxisEnd::XMin ? value : a.xmin;
      if (!(xmax > xmin)) return false;
      a.xmax = xmax;
      a.xmin = xmin;
      // Typed ends are shown as typed, on a logarithmic axis too.
      a.xEndsKept = a.xMode == AxisMode::Logarithmic;
      a.xstep = CeilStep125(0.02 * (a.xmax - a.xmin));
      RecentreXOrigin(a);
      return true;
    }
    case AxisEnd::YMin:
    case AxisEnd::YMax:
      break;
  }
  const double ymax = end == AxisEnd::YMax ? value : a.ymax;
  const double ymin = end == AxisEnd::YMin ? value : a.ymin;
  if (!(ymax > ymin)) return false;
  a.ymax = ymax;
  a.ymin = ymin;
  a.ystep = CeilStep125(0.02 * (a.ymax - a.ymin));
  RecentreYOrigin(a);
  return true;
}

bool ZoomToRectangle(AxisState& a, double x, double y) {
  if (!(x > a.PressX && y < a.PressY)) return false;
  a.xmin = a.PressX;
  a.xmax = x;
  // What was dragged is what is shown, on a logarithmic axis too.
  a.xEndsKept = a.xMode == AxisMode::Logarithmic;
  a.ymin = y;
  a.ymax = a.PressY;
  a.xstep = CeilStep125(0.02 * (a.xmax - a.xmin));
  a.ystep = CeilStep125(0.02 * (a.ymax - a.ymin));
  RecentreXOrigin(a);
  RecentreYOrigin(a);
  return true;
}

void NextCurveStyle(AxisState& a) {
  if (a.ShowMarkers) {
    a.ShowMarkers = false;
    a.ShowBars = true;
  } else {
    a.ShowMarkers = !a.ShowBars;
    a.ShowBars = false;
  }
}

void SnapToDrawnRange(AxisState& a) {
  if (a.xMode != AxisMode::Logarithmic) return;
  const AxisState before = a;
  SetupAxes(a, a.Width, a.Height, a.ymax, a.xmax, a.ymin, a.xmin);
  // Only the range: the press point belongs to the drawing.
  a.PressX = before.PressX;
  a.PressY = before.PressY;
}

void RestoreAxes(AxisState& shared, const AxisState& drawn) {
  const bool bars = shared.ShowBars;
  const bool markers = shared.ShowMarkers;
  const PenStyle pen = shared.LinePenStyle;
  shared = drawn;
  shared.ShowBars = bars;
  shared.ShowMarkers = markers;
  shared.LinePenStyle = pen;
}

}  // namespace morvane
