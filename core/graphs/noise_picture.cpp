#include "graphs/noise_picture.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "graphs/plot_drawing.h"
#include "graphs/plot_mapping.h"
#include "noise/noise_summary.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr int kMostDecades = 8;
constexpr double kNoDensity = -300.0;  // log10 of a density of nothing, below every axis

double Log10Density(double v) {
  return v > 0.0 && std::isfinite(v) ? std::log10(v) : kNoDensity;
}

struct Curve {
  std::vector<double> x;
  std::vector<double> y;
};

Curve OutputCurve(const NoiseAnalysis& n) {
  Curve c;
  const std::size_t count = std::min(n.frequency.size(), n.outputDensity.size());
  for (std::size_t i = 0; i < count; ++i) {
    c.x.push_back(n.frequency[i]);
    c.y.push_back(Log10Density(n.outputDensity[i]));
  }
  return c;
}

Curve InputReferredCurve(const NoiseAnalysis& n) {
  Curve c;
  for (const auto& [f, v] : n.inputReferred) {
    c.x.push_back(f);
    c.y.push_back(Log10Density(v));
  }
  return c;
}

struct Extent {
  double least = 0.0;
  double largest = 0.0;
  bool found = false;
};

Extent ExtentOf(const std::vector<double>& y) {
  Extent e;
  for (double v : y) {
    if (v <= kNoDensity) continue;
    e.least = e.found ? std::min(e.least, v) : v;
    e.largest = e.found ? std::max(e.largest, v) : v;
    e.found = true;
  }
  return e;
}

// "1", "10", "100" with the prefix of the decade's thousands: "10n", "100n", "1µ".
std::string DecadeText(int decade) {
  static constexpr const char* kPrefixes[] = {"f", "p", "n", "µ", "m", "", "k"};
  const int group = static_cast<int>(std::floor(decade / 3.0));
  const int index = std::clamp(group + 5, 0, 6);
  const int digits = decade - 3 * (index - 5);
  return (digits >= 0 && digits <= 2 ? std::string("1") + std::string(digits, '0')
                                     : "1e" + std::to_string(decade)) +
         kPrefixes[index];
}

// The decade labels at the left of the y axis (V/sqrt(Hz)).
void DrawDecadeLabels(const AxisState& a, Canvas& canvas) {
  const int left = std::max(1, ToScreenX(a, a.xo) - 40);
  for (double d = std::ceil(a.ymin); d <= a.ymax; d += 1.0) {
    canvas.Text(left, ToScreenY(a, d) - 8, DecadeText(static_cast<int>(d)));
  }
}

}  // namespace

void SetNoiseAxes(const NoiseAnalysis& analysis, int width, int height, AxisState& a) {
  const Extent out = ExtentOf(OutputCurve(analysis).y);
  const Extent in = ExtentOf(InputReferredCurve(analysis).y);
  double top = -9.0;
  double bottom = -10.0;
  if (out.found) {
    const double high = in.found ? std::max(out.largest, in.least) : out.largest;
    const double low = in.found ? std::min(out.least, in.least) : out.least;
    top = std::floor(high) + 1.0;
    bottom = std::clamp(std::floor(low), top - kMostDecades, top - 2.0);
  }
  const double fFrom = analysis.frequency.empty() ? 10.0 : analysis.frequency.front();
  const double fTo = analysis.frequency.empty() ? 100e3 : analysis.frequency.back();
  SetAxisModes(a, AxisMode::Logarithmic, AxisMode::Linear);
  // SetupAxes snaps an end to the nearest decade; whole decades outside the band keep it in.
  const double xmin = std::pow(10.0, std::floor(std::log10(fFrom) + 1e-9));
  const double xmax = std::pow(10.0, std::ceil(std::log10(fTo) - 1e-9));
  SetupAxes(a, width, height, top, xmax, bottom, xmin);
  a.ystep = 1.0;
  a.xGridEvery = 1;
  a.yGridEvery = 1;
  FixOrigin(a, bottom, a.xmin);
}

void DrawNoisePicture(const NoiseAnalysis& analysis, AxisState& a, Canvas& canvas) {
  SetNoiseAxes(analysis, canvas.Width(), canvas.Height(), a);
  if (!DrawPlotFrame(a, canvas, analysis.problem, kGrey)) return;
  DrawDecadeLabels(a, canvas);

  SetDrawColour(canvas, kGreen);
  DrawTitle(a, canvas, "Noise Density");
  const std::string rms = MicrovoltText(analysis.rms) + " RMS";
  canvas.Text(canvas.Width() - canvas.TextExtent(rms).width - 4, 1, rms);
  SetDrawColour(canvas, kRed);
  DrawXAxisName(a, canvas, "f in Hz");
  DrawYAxisName(a, canvas, "V/√Hz");

  const Curve in = InputReferredCurve(analysis);
  const Curve out = OutputCurve(analysis);
  const auto count = [](const Curve& c) { return static_cast<int>(c.x.size()); };
  DrawCurveLine(a, canvas, in.x, in.y, PenStyle::Dotted, kBlue, count(in));
  DrawCurveLine(a, canvas, out.x, out.y, PenStyle::Solid, kGreen, count(out));
  SetDrawColour(canvas, kGreen);
  canvas.Text(4, 1, "output");
  SetDrawColour(canvas, kBlue);
  canvas.Text(8 + canvas.TextExtent("output").width, 1, "input-referred");
}

}  // namespace morvane
