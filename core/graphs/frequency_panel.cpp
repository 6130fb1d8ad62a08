#include "graphs/frequency_panel.h"

#include <algorithm>
#include <cmath>

#include "graphs/plot_drawing.h"
#include "graphs/plot_mapping.h"
#include "numerics/step_rounding.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr int kMostDecades = 12;

struct Extent {
  double least = 0.0;
  double largest = 0.0;
  bool found = false;
};

Extent ExtentOf(const std::vector<double>& y) {
  Extent e;
  for (double v : y) {
    if (!std::isfinite(v)) continue;
    e.least = e.found ? std::min(e.least, v) : v;
    e.largest = e.found ? std::max(e.largest, v) : v;
    e.found = true;
  }
  return e;
}

std::vector<double> PanelY(const FrequencyPanel& panel) {
  if (panel.scale == PanelScale::Linear) return panel.y;
  std::vector<double> y;
  for (double v : panel.y) y.push_back(v > 0.0 && std::isfinite(v) ? std::log10(v) : -300.0);
  return y;
}

// "1", "10", "100", "1k", ... "100M", beyond those the exponent: the decade labels.
std::string DecadeText(int decade) {
  static constexpr const char* kPrefixes[] = {"f", "p", "n", "µ", "m", "", "k", "M", "G", "T"};
  const int group = static_cast<int>(std::floor(decade / 3.0));
  if (group < -5 || group > 4) return "1e" + std::to_string(decade);
  const int digits = decade - 3 * group;
  return std::string("1") + std::string(static_cast<std::size_t>(digits), '0') +
         kPrefixes[group + 5];
}

void DrawDecadeLabels(const AxisState& a, Canvas& canvas) {
  for (double d = std::ceil(a.ymin); d <= a.ymax; d += 1.0) {
    const std::string text = DecadeText(static_cast<int>(d));
    const int x = std::max(1, ToScreenX(a, a.xo) - 4 - canvas.TextExtent(text).width);
    canvas.Text(x, ToScreenY(a, d) - 8, text);
  }
}

}  // namespace

std::vector<double> LogFrequencies(double from, double to, int points) {
  std::vector<double> f;
  if (points < 2 || !(from > 0.0) || !(to > from)) return f;
  const double lgFrom = std::log10(from);
  const double lgStep = (std::log10(to) - lgFrom) / (points - 1);
  for (int i = 0; i < points; ++i) f.push_back(std::pow(10.0, lgFrom + i * lgStep));
  return f;
}

std::vector<double> DecadesAround(double f, int below, int above, int points) {
  if (!(f > 0.0) || !std::isfinite(f)) return {};
  const double decade = std::floor(std::log10(f));
  return LogFrequencies(std::pow(10.0, decade - below), std::pow(10.0, decade + 1 + above), points);
}

std::vector<double> WithFrequency(std::vector<double> frequencies, double f) {
  const auto at = std::lower_bound(frequencies.begin(), frequencies.end(), f);
  if (at == frequencies.end() || *at != f) frequencies.insert(at, f);
  return frequencies;
}

void SetPanelAxes(const FrequencyPanel& panel, int width, int height, AxisState& a) {
  const Extent e = ExtentOf(PanelY(panel));
  const double fFrom = panel.f.empty() ? 10.0 : panel.f.front();
  const double fTo = panel.f.empty() ? 100e3 : panel.f.back();
  SetAxisModes(a, AxisMode::Logarithmic, AxisMode::Linear);
  const double xmin = std::pow(10.0, std::floor(std::log10(fFrom) + 1e-9));
  const double xmax = std::pow(10.0, std::ceil(std::log10(fTo) - 1e-9));
  double top = 1.0, bottom = 0.0, step = 1.0;
  if (panel.scale == PanelScale::Decades) {
    if (e.found) {
      top = std::floor(e.largest) + 1.0;
      bottom = std::clamp(std::floor(e.least), top - kMostDecades, top - 1.0);
    }
  } else {
    double high = e.found ? e.largest : 0.0;
    double low = e.found ? std::max(e.least, high - panel.deepestSpan) : 0.0;
    if (high - low < panel.leastSpan) {
      const double middle = 0.5 * (high + low);
      high = middle + 0.5 * panel.leastSpan;
      low = middle - 0.5 * panel.leastSpan;
    }
    step = panel.step > 0.0 ? panel.step : CeilStep125((high - low) / 8.0);
    top = std::ceil(high / step - 1e-9) * step;
    bottom = std::floor(low / step + 1e-9) * step;
    // A curve along an edge of the plot is hard to see: a step more beyond it.
    if (top - high < 0.05 * (top - bottom)) top += step;
    if (low - bottom < 0.05 * (top - bottom)) bottom -= step;
  }
  SetupAxes(a, width, height, top, xmax, bottom, xmin);
  a.ystep = step;
  a.xGridEvery = 1;
  a.yGridEvery = 1;
  FixOrigin(a, bottom, a.xmin);
}

void DrawFrequencyPanel(const FrequencyPanel& panel, AxisState& a, Canvas& canvas) {
  SetPanelAxes(panel, canvas.Width(), canvas.Height(), a);
  if (!DrawPlotFrame(a, canvas, panel.problem, kGridGrey)) return;
  if (panel.scale == PanelScale::Decades) {
    DrawDecadeLabels(a, canvas);
  } else {
    DrawYLabels(a, canvas, a.yGridEvery);
  }
  SetDrawColour(canvas, panel.colour);
  DrawTitle(a, canvas, panel.title);
  SetDrawColour(canvas, kRed);
  DrawXAxisName(a, canvas, "f in Hz");
  DrawYAxisName(a, canvas, panel.yName);
  const std::vector<double> y = PanelY(panel);
  const int count = static_cast<int>(std::min(panel.f.size(), y.size()));
  DrawCurveLine(a, canvas, panel.f, y, PenStyle::Bold, panel.colour, count);
}

}  // namespace morvane
