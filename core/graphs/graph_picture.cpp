#include "graphs/graph_picture.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <span>
#include <string>

#include "graphs/axis_operations.h"
#include "graphs/graph_axis_rules.h"
#include "graphs/graph_profile.h"
#include "graphs/plot_drawing.h"
#include "graphs/plot_mapping.h"
#include "numerics/number_text.h"

namespace morvane {

namespace {

constexpr int kLastTimeSample = 250;
constexpr int kCrossMarker = 4;

std::span<const double> Xs(const CurveBuffer& b) {
  return b.X;
}

std::span<const double> Ys(const CurveBuffer& b) {
  return b.Y;
}

// Silver lines at the peak m (over the whole x range) and at m - 1 dB and m - 3 dB (short of
// the right end by a text's width, where their texts go). No peak, no lines: a curve of zero
// magnitude only.
struct ReferenceLevel {
  double peak = 0.0;
  bool found = false;
};

ReferenceLevel PeakOf(const CurveBuffer& buffer) {
  const MinMaxResult m = MinMax(Ys(buffer), buffer.Count);
  return {m.largest, m.found};
}

void DrawReferenceLines(const AxisState& a, Canvas& canvas, ReferenceLevel level) {
  if (!level.found) return;
  const int left = ToScreenX(a, a.xmin);
  const int right = ToScreenX(a, a.xmax);
  const double m = level.peak;
  canvas.Line(left, ToScreenY(a, m), right, ToScreenY(a, m));
  const int shortRight = right - canvas.TextExtent("-3dB").width - 2;
  canvas.Line(left, ToScreenY(a, m - 1), shortRight, ToScreenY(a, m - 1));
  canvas.Line(left, ToScreenY(a, m - 3), shortRight, ToScreenY(a, m - 3));
}

// Inside the plot's right edge, each on its line; where the lines lie closer than a text's
// height the -3dB text moves down, off the -1dB one.
void DrawReferenceTexts(const AxisState& a, Canvas& canvas, ReferenceLevel level) {
  if (!level.found) return;
  const int height = canvas.TextExtent("-3dB").height;
  const int x = ToScreenX(a, a.xmax) - canvas.TextExtent("-3dB").width - 1;
  const int y1 = ToScreenY(a, level.peak - 1) - height / 2;
  const int y3 = std::max(ToScreenY(a, level.peak - 3) - height / 2, y1 + height);
  canvas.Text(x, y1, "-1dB");
  canvas.Text(x, y3, "-3dB");
}

// Each section's curve as a plain line, and its number in its colour at the top right.
void DrawSectionCurves(GraphKind kind, const AxisState& a, Canvas& canvas,
                       std::span<const CurveBuffer> sections) {
  constexpr int kNumberPitch = 14;
  const int top = ToScreenRel(a, 0, 995).y;
  const int first = a.Right - kNumberPitch * static_cast<int>(sections.size());
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const Colour colour = SectionCurveColour(i);
    DrawCurveLine(a, canvas, Xs(sections[i]), Ys(sections[i]), PenStyle::Solid, colour,
                  DrawnSampleCount(kind, sections[i]));
    SetDrawColour(canvas, colour);
    canvas.Text(first + kNumberPitch * static_cast<int>(i), top, std::to_string(i + 1));
  }
}

// 17 significant digits: always enough to read back the same double.
void AppendNumber(std::string& out, double v) {
  out += GeneralText(v, 17);
}

// The legends under the curve's name, one line each, from the top.
class LegendLines {
 public:
  int Next() {
    const int line = next_;
    next_ -= kPitch;
    return line;
  }
  // The band's legend keeps its place when at most one curve's legend is above it.
  int Band() const { return std::min(next_, kFirst - kPitch); }

 private:
  static constexpr int kFirst = 950;
  static constexpr int kPitch = 45;
  int next_ = kFirst;
};

void AppendColumn(std::string& out, GraphKind kind, const CurveBuffer& curve, std::size_t i) {
  out += ',';
  if (static_cast<int>(i) < DrawnSampleCount(kind, curve)) AppendNumber(out, curve.Y[i]);
}

}  // namespace

std::string OpAmpCurveName(const OpAmpCurve& curve) {
  return "with " + curve.opAmp;
}

void AlignPhaseBranch(const CurveBuffer& reference, CurveBuffer& curve) {
  if (!std::isfinite(reference.Y[0]) || !std::isfinite(curve.Y[0])) return;
  const double turns = std::round((reference.Y[0] - curve.Y[0]) / 360.0);
  if (turns == 0.0) return;
  for (double& y : curve.Y) y += 360.0 * turns;
}

void SetPlainCurveStyle(AxisState& a) {
  a.ShowBars = false;
  a.ShowMarkers = false;
}

void StartGraph(GraphKind kind, const DesignState& s, FilterType type, AxisState& a,
                CurveBuffer& buffer) {
  buffer.Count = 254;
  SetInitialAxes(kind, s, type, a);
}

void FillGraphCurve(GraphKind kind, DesignState& s, FilterType type, const AxisState& a, bool pulse,
                    CurveBuffer& buffer) {
  const AxisRange range = XRangeOf(a);
  switch (kind) {
    case GraphKind::Gain:
      FillGainCurve(s, type, range, buffer);
      return;
    case GraphKind::Phase:
      FillPhaseCurve(s, type, range, buffer);
      return;
    case GraphKind::GroupDelay:
      FillGroupDelayCurve(s, type, range, buffer);
      return;
    case GraphKind::TimeResponse:
      break;
  }
  FillTimeCurve(s, range, pulse ? TimeResponse::Pulse : TimeResponse::Step, buffer);
}

void RefillGraph(GraphKind kind, DesignState& s, FilterType type, bool pulse, AxisState& a,
                 CurveBuffer& buffer) {
  SnapToDrawnRange(a);
  FillGraphCurve(kind, s, type, a, pulse, buffer);
}

int DrawnSampleCount(GraphKind kind, const CurveBuffer& buffer) {
  if (kind == GraphKind::TimeResponse) return std::min(buffer.Count, kLastTimeSample + 1);
  return buffer.Count;
}

int LastScannedSample(GraphKind kind, const CurveBuffer& buffer) {
  if (kind == GraphKind::TimeResponse) return std::min(buffer.Count, kLastTimeSample);
  return buffer.Count;
}

void DrawGraphPicture(GraphKind kind, bool pulse, AxisState& a, Canvas& canvas,
                      const CurveBuffer& buffer) {
  DrawGraphPicture(ProfileOf(kind), kind, pulse, a, canvas, buffer, {});
}

Colour SectionCurveColour(std::size_t index) {
  static constexpr Colour kColours[] = {{230, 140, 40}, {80, 150, 230}, {190, 80, 190},
                                        {150, 110, 60}, {40, 170, 170}, {220, 90, 120}};
  return kColours[index % std::size(kColours)];
}

void DrawGraphPicture(const GraphProfile& profile, GraphKind kind, bool pulse, AxisState& a,
                      Canvas& canvas, const CurveBuffer& buffer,
                      std::span<const CurveBuffer> sections, const CurveBuffer* asBuilt,
                      const SpreadCurve* spread, const OpAmpCurve* opAmp) {
  ClearImage(canvas, kWhite);
  SetupAxes(a, canvas.Width(), canvas.Height(), a.ymax, a.xmax, a.ymin, a.xmin);
  FixOrigin(a, a.yo, a.xo);

  const ReferenceLevel level = profile.referenceLines ? PeakOf(buffer) : ReferenceLevel{};
  SetDrawColour(canvas, kSilver);
  DrawReferenceLines(a, canvas, level);

  if (spread) DrawSpreadCurve(a, canvas, *spread);
  SetDrawColour(canvas, kGridGrey);
  DrawXGrid(a, canvas, a.xGridEvery);
  DrawYGrid(a, canvas, a.yGridEvery);

  SetDrawColour(canvas, kBlack);
  DrawXAxis(a, canvas);
  DrawYAxis(a, canvas);
  DrawXLabels(a, canvas, a.xGridEvery);
  DrawYLabels(a, canvas, a.yGridEvery);

  const bool pulseTexts = pulse && !profile.pulseTitle.empty();
  SetDrawColour(canvas, kGreen);
  DrawTitle(a, canvas, pulseTexts ? profile.pulseTitle : profile.title);
  SetDrawColour(canvas, kBlue);
  DrawTextAt(a, canvas, pulseTexts ? profile.pulseCurveName : profile.curveName, 3, 995);
  SetDrawColour(canvas, kRed);
  DrawXAxisName(a, canvas, profile.xAxisName);
  DrawYAxisName(a, canvas, profile.yAxisName);

  DrawSectionCurves(kind, a, canvas, sections);
  LegendLines legend;
  if (opAmp) {
    DrawCurveLine(a, canvas, Xs(opAmp->samples), Ys(opAmp->samples), PenStyle::Wide,
                  kOpAmpCurveColour, DrawnSampleCount(kind, opAmp->samples));
  }
  if (asBuilt) {
    DrawCurveLine(a, canvas, Xs(*asBuilt), Ys(*asBuilt), PenStyle::Dotted, kRed,
                  DrawnSampleCount(kind, *asBuilt));
    SetDrawColour(canvas, kRed);
    DrawTextAt(a, canvas, "as built", 3, legend.Next());
  }
  if (opAmp) {
    SetDrawColour(canvas, kOpAmpCurveColour);
    DrawTextAt(a, canvas, OpAmpCurveName(*opAmp), 3, legend.Next());
  }
  if (spread) {
    SetDrawColour(canvas, kGreen);
    DrawTextAt(a, canvas, "tolerance band: min-max, 5-95 %", 3, legend.Band());
  }

  const int count = DrawnSampleCount(kind, buffer);
  // The solid curve two pixels wide, readable at a glance beside the one-pixel grid.
  const PenStyle curvePen = a.LinePenStyle == PenStyle::Solid ? PenStyle::Bold : a.LinePenStyle;
  if (!a.ShowBars) DrawCurveLine(a, canvas, Xs(buffer), Ys(buffer), curvePen, kGreen, count);
  if (a.ShowMarkers)
    DrawCurveMarkers(a, canvas, Xs(buffer), Ys(buffer), kCrossMarker, kBlue, count);
  if (a.ShowBars) DrawCurveBars(a, canvas, Xs(buffer), Ys(buffer), kRed, count);

  SetDrawColour(canvas, kSilver);
  DrawReferenceTexts(a, canvas, level);
}

void DrawOpenedGraph(GraphKind kind, DesignState& s, FilterType type, bool pulse, AxisState& a,
                     CurveBuffer& buffer, Canvas& canvas) {
  StartGraph(kind, s, type, a, buffer);
  RefillGraph(kind, s, type, pulse, a, buffer);
  RaiseTopToPeak(a, buffer.Y, LastScannedSample(kind, buffer));
  DrawGraphPicture(kind, pulse, a, canvas, buffer);
}

std::string GraphSamplesCsv(GraphKind kind, bool pulse, const CurveBuffer& buffer) {
  return GraphSamplesCsv(ProfileOf(kind), kind, pulse, buffer, {});
}

std::string GraphSamplesCsv(const GraphProfile& profile, GraphKind kind, bool pulse,
                            const CurveBuffer& buffer, std::span<const CurveBuffer> sections,
                            const CurveBuffer* asBuilt, const OpAmpCurve* opAmp) {
  const std::string_view header =
      pulse && !profile.pulseCsvHeader.empty() ? profile.pulseCsvHeader : profile.csvHeader;
  std::string out(header);
  const std::string_view yName = header.substr(header.find(',') + 1);
  for (std::size_t k = 0; k < sections.size(); ++k) {
    out += ',';
    out += yName;
    out += " section " + std::to_string(k + 1);
  }
  if (asBuilt) {
    out += ',';
    out += yName;
    out += " as built";
  }
  if (opAmp) {
    out += ',';
    out += yName;
    out += ' ' + OpAmpCurveName(*opAmp);
  }
  out += '\n';
  const int count = std::clamp(DrawnSampleCount(kind, buffer), 0,
                               static_cast<int>(std::min(buffer.X.size(), buffer.Y.size())));
  for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
    AppendNumber(out, buffer.X[i]);
    out += ',';
    AppendNumber(out, buffer.Y[i]);
    for (const CurveBuffer& section : sections) AppendColumn(out, kind, section, i);
    if (asBuilt) AppendColumn(out, kind, *asBuilt, i);
    if (opAmp) AppendColumn(out, kind, opAmp->samples, i);
    out += '\n';
  }
  return out;
}

}  // namespace morvane
