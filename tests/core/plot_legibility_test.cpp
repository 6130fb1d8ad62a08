// Labels that read at a glance: at the plot's edges and never on each other, a logarithmic
// axis that keeps the ends of a zoom rectangle, and a first scale that holds the whole curve.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "graphs/axis_operations.h"
#include "graphs/graph_axis_rules.h"
#include "graphs/graph_picture.h"
#include "graphs/plot_drawing.h"
#include "graphs/plot_mapping.h"

namespace morvane {
namespace {

struct TextOp {
  int x, y, width, height, angle;
  std::string text;
};

// Records the texts; texts are 7 pixels per byte wide and 13 high.
class TextCanvas : public Canvas {
 public:
  TextCanvas(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  Pen CurrentPen() const override { return pen_; }
  void SetPen(const Pen& pen) override { pen_ = pen; }
  void SetBrushColour(Colour) override {}
  void SetFontColour(Colour) override {}
  void SetFontAngle(int tenths) override { angle_ = tenths; }
  void Line(int, int, int, int) override {}
  void FillRect(int, int, int, int) override {}
  void Rectangle(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void Text(int x, int y, std::string_view text) override {
    const TextSize size = TextExtent(text);
    texts.push_back({x, y, size.width, size.height, angle_, std::string(text)});
  }
  TextSize TextExtent(std::string_view text) const override {
    return {7 * static_cast<int>(text.size()), 13};
  }

  std::vector<TextOp> texts;

 private:
  int width_;
  int height_;
  Pen pen_{kBlack, PenStyle::Solid};
  int angle_ = 0;
};

bool Overlap(const TextOp& a, const TextOp& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool AnyOverlap(const std::vector<TextOp>& texts) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    for (std::size_t j = i + 1; j < texts.size(); ++j) {
      if (Overlap(texts[i], texts[j])) return true;
    }
  }
  return false;
}

AxisState LogAxes(double xmin, double xmax, int width, int height = 300, bool kept = false) {
  AxisState a;
  SetAxisModes(a, AxisMode::Logarithmic, AxisMode::Linear);
  a.xEndsKept = kept;
  SetupAxes(a, width, height, 20, xmax, -60, xmin);
  FixOrigin(a, 0, xmin);
  a.ystep = 1;
  a.yGridEvery = 5;
  return a;
}

struct DecadeCase {
  const char* name;
  double xmin, xmax;
  int width;
  std::vector<std::string> labels;
};

class DecadeLabels : public testing::TestWithParam<DecadeCase> {};

TEST_P(DecadeLabels, UnderThePlotAndApart) {
  const DecadeCase& c = GetParam();
  const AxisState a = LogAxes(c.xmin, c.xmax, c.width);
  TextCanvas canvas(c.width, 300);
  DrawXLabels(a, canvas, 5);
  std::vector<std::string> shown;
  for (const TextOp& t : canvas.texts) {
    shown.push_back(t.text);
    EXPECT_GT(t.y, a.Bottom) << t.text;  // under the plot, not on the x axis at 0 dB
  }
  EXPECT_EQ(shown, c.labels);
  EXPECT_FALSE(AnyOverlap(canvas.texts));
}

INSTANTIATE_TEST_SUITE_P(
    LogAxis, DecadeLabels,
    testing::Values(
        DecadeCase{"four_decades", 10, 1e5, 522, {"10.0", "100.0", "1.0k", "10.0k"}},
        // Zoomed out twice: 0.1 .. 10M in 400 pixels leaves room for every second decade.
        DecadeCase{"eight_decades_narrow", 0.1, 1e7, 400, {"0.1", "10.0", "1.0k", "100.0k"}},
        DecadeCase{"seven_decades_wide",
                   1,
                   1e7,
                   900,
                   {"1.0", "10.0", "100.0", "1.0k", "10.0k", "100.0k", "1.0M"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LogAxisKeptEnds, DrawsTheDraggedRangeWithFinerLabels) {
  // 200 .. 700 Hz from a zoom rectangle: no decade inside, so 1-2-5 values label it.
  const AxisState a = LogAxes(200, 700, 522, 300, true);
  EXPECT_EQ(a.xmin, 200);
  EXPECT_EQ(a.xmax, 700);
  EXPECT_EQ(ToScreenX(a, 200), a.Left);
  EXPECT_EQ(ToScreenX(a, 700), a.Right);
  TextCanvas canvas(522, 300);
  DrawXLabels(a, canvas, 5);
  std::vector<std::string> shown;
  for (const TextOp& t : canvas.texts) shown.push_back(t.text);
  EXPECT_EQ(shown, (std::vector<std::string>{"300.0", "400.0", "500.0", "600.0"}));
  EXPECT_FALSE(AnyOverlap(canvas.texts));
  // Without the flag the same ends snap outwards to decades.
  const AxisState snapped = LogAxes(200, 700, 522);
  EXPECT_EQ(snapped.xmin, 100);
  EXPECT_EQ(snapped.xmax, 1000);
}

TEST(LogAxisKeptEnds, ZoomRectangleKeepsAndAutoscaleClears) {
  AxisState a = LogAxes(10, 1e5, 522);
  a.PressX = 200;
  a.PressY = 10;
  ASSERT_TRUE(ZoomToRectangle(a, 700, -30));
  EXPECT_TRUE(a.xEndsKept);
  SnapToDrawnRange(a);
  EXPECT_EQ(a.xmin, 200);
  EXPECT_EQ(a.xmax, 700);
  // Zoom in narrows around the middle in decades; zoom out widens by a decade each side.
  AxisState in = a;
  ZoomIn(in);
  EXPECT_NEAR(std::log10(in.xmax / in.xmin), 2.0 / 3.0 * std::log10(3.5), 1e-12);
  EXPECT_NEAR(in.xmin * in.xmax, 200.0 * 700.0, 1e-6);
  const double x[] = {10, 1e5};
  AutoscaleX(a, x, 1);
  EXPECT_FALSE(a.xEndsKept);
  a.xEndsKept = true;
  SetAxisModes(a, AxisMode::Linear, AxisMode::Linear);
  EXPECT_FALSE(a.xEndsKept);
}

TEST(LogAxisKeptEnds, TypedEndsStayAsTyped) {
  const struct {
    AxisEnd end;
    double value;
    double xmin, xmax;  // shown afterwards
  } cases[] = {
      {AxisEnd::XMax, 20e3, 10, 20e3},
      {AxisEnd::XMin, 20, 20, 1e5},
      {AxisEnd::XMin, 2e5, 10, 1e5},  // not below xmax: refused, nothing changes
  };
  for (const auto& c : cases) {
    AxisState a = LogAxes(10, 1e5, 522);
    SetAxisEnd(a, c.end, c.value);
    SnapToDrawnRange(a);
    EXPECT_EQ(a.xmin, c.xmin) << c.value;
    EXPECT_EQ(a.xmax, c.xmax) << c.value;
  }
}

TEST(YAxisName, UprightBesideTheLabelsOrLevelAboveThePlot) {
  const struct {
    int width;
    int angle;
  } cases[] = {{900, 900}, {200, 0}};
  for (const auto& c : cases) {
    AxisState a = LogAxes(10, 1e5, c.width);
    // A narrow range far from zero: labels with four decimals, "1.0050k", 49 pixels wide.
    a.ymin = 1000;
    a.ymax = 1010;
    a.yo = 1000;
    a.ystep = 1;
    TextCanvas canvas(c.width, 300);
    DrawYLabels(a, canvas, 5);
    DrawYAxisName(a, canvas, "V in dB");
    ASSERT_FALSE(canvas.texts.empty());
    const TextOp& name = canvas.texts.back();
    EXPECT_EQ(name.angle, c.angle) << c.width;
    // The turned name occupies x .. x + its height.
    TextOp box = name;
    if (name.angle == 900) box = {name.x, name.y - name.width, name.height, name.width, 0, ""};
    for (std::size_t i = 0; i + 1 < canvas.texts.size(); ++i) {
      EXPECT_FALSE(Overlap(box, canvas.texts[i])) << c.width << " " << canvas.texts[i].text;
    }
  }
}

TEST(YLabels, RightAlignedAtThePlotEdgeWithTheOrigin) {
  AxisState a = LogAxes(10, 1e5, 522);
  a.ystep = 4;
  TextCanvas canvas(522, 300);
  DrawYLabels(a, canvas, 5);
  ASSERT_FALSE(canvas.texts.empty());
  bool origin = false;
  for (const TextOp& t : canvas.texts) {
    EXPECT_EQ(t.x + t.width, a.Left - 5) << t.text;
    origin = origin || t.text == "0.0";
  }
  EXPECT_TRUE(origin);
}

// A peak 2 dB under the top of a tall scale puts the -1 dB and -3 dB lines a few pixels
// apart: their texts must not cover each other.
TEST(ReferenceTexts, NeverOnEachOther) {
  for (double ymin : {-60.0, -400.0, -4000.0}) {
    AxisState a;
    SetAxisModes(a, AxisMode::Logarithmic, AxisMode::Linear);
    a.xmin = 10;
    a.xmax = 1e5;
    a.ymin = ymin;
    a.ymax = 20;
    a.ystep = 1;
    a.xGridEvery = a.yGridEvery = 5;
    CurveBuffer b;
    b.Count = 4;
    b.X = {10, 100, 1000, 10000};
    b.Y = {0, 0, -3, -40};
    TextCanvas canvas(522, 300);
    DrawGraphPicture(GraphKind::Gain, false, a, canvas, b);
    std::vector<TextOp> marks;
    for (const TextOp& t : canvas.texts) {
      if (t.text == "-1dB" || t.text == "-3dB") marks.push_back(t);
    }
    ASSERT_EQ(marks.size(), 2u) << ymin;
    EXPECT_FALSE(Overlap(marks[0], marks[1])) << ymin;
    EXPECT_LE(marks[0].x + marks[0].width, a.Right) << ymin;
  }
}

struct PeakCase {
  const char* name;
  double ymin, ymax;
  std::vector<double> y;
  double top;
};

class RaisedTop : public testing::TestWithParam<PeakCase> {};

TEST_P(RaisedTop, HoldsTheWholeCurve) {
  const PeakCase& c = GetParam();
  AxisState a;
  a.ymin = c.ymin;
  a.ymax = c.ymax;
  RaiseTopToPeak(a, c.y, static_cast<int>(c.y.size()) - 1);
  EXPECT_EQ(a.ymax, c.top);
  if (c.top != c.ymax) {
    EXPECT_GT(a.ystep, 0.0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    FirstDrawing, RaisedTop,
    testing::Values(
        // 3.18 ms: the delay peak of Q = 10 at 1 kHz (2Q / omega0) over a 1 ms scale.
        PeakCase{"delay_peak", 0, 1e-3, {2e-4, 3.18e-3, 1e-4}, 5e-3},
        PeakCase{"gain_peak", -60, 20, {0, 29.5, -40}, 50},
        PeakCase{"fits", 0, 5e-4, {2e-4, 4e-4}, 5e-4},
        PeakCase{"no_positive_peak", -60, -50, {-45, -70}, -50},
        PeakCase{"not_a_number", 0, 1, {std::nan(""), 0.5}, 1}, PeakCase{"empty", 0, 1, {}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvane
