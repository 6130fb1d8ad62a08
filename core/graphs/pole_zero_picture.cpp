#include "graphs/pole_zero_picture.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "graphs/plot_drawing.h"
#include "graphs/plot_mapping.h"
#include "numerics/number_text.h"
#include "numerics/step_rounding.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr double kMargin = 0.15;
constexpr double kTickPixels = 12.0;
constexpr int kMarkerSize = 4;
// Roots closer than this, relative to the largest, are drawn as one with a count.
constexpr double kSameRoot = 1e-9;

struct Root {
  Complex value;
  int count;
};

std::vector<Root> Grouped(const std::vector<Complex>& roots) {
  double largest = 0.0;
  for (const Complex& r : roots) largest = std::max(largest, std::abs(r));
  std::vector<Root> grouped;
  for (const Complex& r : roots) {
    const auto same = std::find_if(grouped.begin(), grouped.end(), [&](const Root& g) {
      return std::abs(g.value - r) <= kSameRoot * largest;
    });
    if (same == grouped.end()) {
      grouped.push_back({r, 1});
    } else {
      ++same->count;
    }
  }
  return grouped;
}

void DrawCross(Canvas& canvas, int x, int y) {
  const int w = kMarkerSize;
  // Two lines a pixel apart per stroke, so the cross stands out against the grid.
  for (int d = 0; d <= 1; ++d) {
    canvas.Line(x - w + d, y + w, x + w + d, y - w);
    canvas.Line(x - w + d, y - w, x + w + d, y + w);
  }
}

void DrawCircle(Canvas& canvas, int x, int y) {
  const int w = kMarkerSize;
  canvas.Ellipse(x - w, y - w, x + w, y + w);
  canvas.Ellipse(x - w + 1, y - w + 1, x + w - 1, y + w - 1);
}

void DrawRoots(const AxisState& a, Canvas& canvas, const std::vector<Complex>& roots, bool poles) {
  SetDrawColour(canvas, poles ? kRed : kBlue);
  for (const Root& r : Grouped(roots)) {
    const int x = ToScreenX(a, r.value.real());
    const int y = ToScreenY(a, r.value.imag());
    if (!InPlotArea(a, x, y)) continue;
    if (poles) {
      DrawCross(canvas, x, y);
    } else {
      DrawCircle(canvas, x, y);
    }
    if (r.count > 1) canvas.Text(x + kMarkerSize + 2, y - 3 * kMarkerSize, std::to_string(r.count));
  }
}

void AppendRoots(std::string& out, const std::vector<Complex>& roots, const char* kind) {
  for (const Complex& r : roots) {
    out += kind;
    out += ',' + GeneralText(r.real(), 17) + ',' + GeneralText(r.imag(), 17) + '\n';
  }
}

}  // namespace

PlaneView FitRoots(const PoleZeroGain& h) {
  double reMin = 0.0, reMax = 0.0, imMin = 0.0, imMax = 0.0;
  for (const auto* roots : {&h.poles, &h.zeros}) {
    for (const Complex& r : *roots) {
      if (!std::isfinite(r.real()) || !std::isfinite(r.imag())) continue;
      reMin = std::min(reMin, r.real());
      reMax = std::max(reMax, r.real());
      imMin = std::min(imMin, r.imag());
      imMax = std::max(imMax, r.imag());
    }
  }
  const double extent = std::max(reMax - reMin, imMax - imMin);
  if (!(extent > 0.0)) return {};
  const double spare = kMargin * extent;
  return {reMin - spare, reMax + spare, imMin - spare, imMax + spare};
}

PlaneView ScaledView(const PlaneView& view, double factor) {
  const double re = view.reMin / 2 + view.reMax / 2;
  const double im = view.imMin / 2 + view.imMax / 2;
  return {re - factor * (re - view.reMin), re + factor * (view.reMax - re),
          im - factor * (im - view.imMin), im + factor * (view.imMax - im)};
}

void SetPlaneAxes(const PlaneView& view, int width, int height, AxisState& a) {
  SetAxisModes(a, AxisMode::Linear, AxisMode::Linear);
  SetupAxes(a, width, height, view.imMax, view.reMax, view.imMin, view.reMin);
  const int w = a.Right - a.Left;
  const int h = a.Bottom - a.Top;
  if (w > 0 && h > 0) {
    const double perPixel = std::max((view.reMax - view.reMin) / w, (view.imMax - view.imMin) / h);
    const double re = view.reMin / 2 + view.reMax / 2;
    const double im = view.imMin / 2 + view.imMax / 2;
    const double halfWidth = perPixel * w / 2;
    const double halfHeight = perPixel * h / 2;
    SetupAxes(a, width, height, im + halfHeight, re + halfWidth, im - halfHeight, re - halfWidth);
    a.xstep = a.ystep = CeilStep125(kTickPixels * perPixel);
  } else {
    a.xstep = CeilStep125((a.xmax - a.xmin) / 30);
    a.ystep = CeilStep125((a.ymax - a.ymin) / 30);
  }
  a.xGridEvery = 5;
  a.yGridEvery = 5;
  FixOrigin(a, 0.0, 0.0);
}

void DrawPoleZeroPicture(const PoleZeroGain& h, const PlaneView& view, AxisState& a,
                         Canvas& canvas) {
  SetPlaneAxes(view, canvas.Width(), canvas.Height(), a);
  ClearImage(canvas, kWhite);
  SetDrawColour(canvas, kGrey);
  DrawXGrid(a, canvas, a.xGridEvery);
  DrawYGrid(a, canvas, a.yGridEvery);
  SetDrawColour(canvas, kBlack);
  DrawXAxis(a, canvas);
  DrawYAxis(a, canvas);
  DrawXLabels(a, canvas, a.xGridEvery);
  DrawYLabels(a, canvas, a.yGridEvery);
  SetDrawColour(canvas, kGreen);
  DrawTitle(a, canvas, "Pole-Zero Plot");
  SetDrawColour(canvas, kBlue);
  DrawTextAt(a, canvas, "x pole, o zero", 3, 995);
  SetDrawColour(canvas, kRed);
  DrawXAxisName(a, canvas, "σ in rad/s");
  DrawYAxisName(a, canvas, "jω in rad/s");
  // Zeros are white inside, so a pole on a zero stays in sight.
  DrawRoots(a, canvas, h.zeros, false);
  DrawRoots(a, canvas, h.poles, true);
}

std::string PoleZeroCsv(const PoleZeroGain& h) {
  std::string out = "kind,re,im\n";
  AppendRoots(out, h.poles, "pole");
  AppendRoots(out, h.zeros, "zero");
  return out;
}

std::string PoleZeroReadout(double re, double im) {
  return "Position: σ=" + FormatAxisValue(2, re) + ", ω=" + FormatAxisValue(2, im) + " (rad/s)";
}

}  // namespace morvane
