// The frequency panels of the companion programs: the log-spaced frequencies, the y range each
// curve gets (round steps with room above and below, a floor for deep notches, a least span
// for flat curves, decades for impedances), the decade labels, and a problem shown alone.

#include "graphs/frequency_panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace morvane {
namespace {

class TextCanvas : public Canvas {
 public:
  int Width() const override { return 600; }
  int Height() const override { return 300; }
  Pen CurrentPen() const override { return pen_; }
  void SetPen(const Pen& pen) override { pen_ = pen; }
  void SetBrushColour(Colour) override {}
  void SetFontColour(Colour) override {}
  void SetFontAngle(int) override {}
  void Line(int, int, int, int) override { ++lines; }
  void FillRect(int, int, int, int) override {}
  void Rectangle(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void Text(int, int, std::string_view text) override { texts.emplace_back(text); }
  TextSize TextExtent(std::string_view text) const override {
    return {static_cast<int>(7 * text.size()), 13};
  }
  bool Shows(const std::string& text) const {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }

  std::vector<std::string> texts;
  int lines = 0;

 private:
  Pen pen_;
};

TEST(LogFrequencies, EndsIncludedAndEvenlySpaced) {
  const std::vector<double> f = LogFrequencies(10.0, 1000.0, 3);
  ASSERT_EQ(f.size(), 3u);
  EXPECT_DOUBLE_EQ(f[0], 10.0);
  EXPECT_NEAR(f[1], 100.0, 1e-9);
  EXPECT_NEAR(f[2], 1000.0, 1e-9);
  EXPECT_TRUE(LogFrequencies(10.0, 1000.0, 1).empty());
  EXPECT_TRUE(LogFrequencies(0.0, 1000.0, 10).empty());
  EXPECT_TRUE(LogFrequencies(1000.0, 10.0, 10).empty());
}

TEST(DecadesAround, WholeDecadesAroundTheFrequency) {
  const std::vector<double> f = DecadesAround(1591.5, 2, 2, 101);
  ASSERT_EQ(f.size(), 101u);
  EXPECT_NEAR(f.front(), 10.0, 1e-9);
  EXPECT_NEAR(f.back(), 1e6, 1e-3);
  const std::vector<double> with = WithFrequency(f, 1591.5);
  ASSERT_EQ(with.size(), 102u);
  EXPECT_TRUE(std::is_sorted(with.begin(), with.end()));
  EXPECT_EQ(with[45], 1591.5);  // 10 .. 1e6 in steps of 10^0.05: 1584.9 is the 44th
  EXPECT_EQ(WithFrequency(with, 1591.5), with);
  EXPECT_TRUE(DecadesAround(std::numeric_limits<double>::infinity(), 1, 1, 10).empty());
  EXPECT_TRUE(DecadesAround(std::nan(""), 1, 1, 10).empty());
  EXPECT_TRUE(DecadesAround(-5.0, 1, 1, 10).empty());
}

struct RangeCase {
  const char* name;
  std::vector<double> y;
  double leastSpan;
  double deepestSpan;
  double step;  // the panel's; 0 automatic
  double ymin;
  double ymax;
  double ystep;
};

class PanelRangeTest : public testing::TestWithParam<RangeCase> {};

TEST_P(PanelRangeTest, RoundStepsAroundTheCurve) {
  const RangeCase& t = GetParam();
  FrequencyPanel panel;
  panel.f = LogFrequencies(10.0, 1e5, static_cast<int>(t.y.size()));
  panel.y = t.y;
  panel.leastSpan = t.leastSpan;
  panel.deepestSpan = t.deepestSpan;
  panel.step = t.step;
  AxisState a;
  SetPanelAxes(panel, 600, 300, a);
  EXPECT_DOUBLE_EQ(a.ymin, t.ymin);
  EXPECT_DOUBLE_EQ(a.ymax, t.ymax);
  EXPECT_DOUBLE_EQ(a.ystep, t.ystep);
  EXPECT_DOUBLE_EQ(a.xmin, 10.0);
  EXPECT_DOUBLE_EQ(a.xmax, 1e5);
}

const double kNaN = std::nan("");

INSTANTIATE_TEST_SUITE_P(
    Ranges, PanelRangeTest,
    testing::Values(
        // 0 .. -60 dB: steps of 10, a step of room at either end.
        RangeCase{"Lowpass", {0.0, -20.0, -40.0, -60.0}, 10.0, 1e300, 0.0, -70.0, 10.0, 10.0},
        // A flat curve gets the least span: -5 .. 5 in steps of 2.
        RangeCase{"Flat", {0.0, 0.0, 0.0, 0.0}, 10.0, 1e300, 0.0, -6.0, 6.0, 2.0},
        // A notch at the gain floor is cut 80 dB below the top.
        RangeCase{"Notch", {0.0, -300.0, 0.0, -3.0}, 10.0, 80.0, 0.0, -90.0, 10.0, 10.0},
        // Phase in steps of 45 degrees.
        RangeCase{"Phase", {0.0, -45.0, -89.0, -90.0}, 90.0, 1e300, 45.0, -135.0, 45.0, 45.0},
        // Points that are no number are left out.
        RangeCase{"NaN", {kNaN, -20.0, kNaN, -60.0}, 10.0, 1e300, 0.0, -65.0, -15.0, 5.0}),
    [](const testing::TestParamInfo<RangeCase>& info) { return std::string(info.param.name); });

TEST(FrequencyPanel, DecadesWithPrefixedLabels) {
  FrequencyPanel panel;
  panel.scale = PanelScale::Decades;
  panel.f = LogFrequencies(10.0, 1e5, 4);
  panel.y = {0.5, 20.0, 500.0, 3.0};
  TextCanvas canvas;
  AxisState a;
  DrawFrequencyPanel(panel, a, canvas);
  EXPECT_DOUBLE_EQ(a.ymin, -1.0);  // 100m
  EXPECT_DOUBLE_EQ(a.ymax, 3.0);   // 1k
  for (const char* label : {"100m", "1", "10", "100", "1k"}) {
    EXPECT_TRUE(canvas.Shows(label)) << label;
  }
  // An unbounded impedance (held at 1e300) keeps twelve decades below its top.
  panel.y = {1.0, 1e300, 1.0, 1.0};
  SetPanelAxes(panel, 600, 300, a);
  EXPECT_DOUBLE_EQ(a.ymax, 301.0);
  EXPECT_DOUBLE_EQ(a.ymin, 289.0);
}

TEST(FrequencyPanel, AProblemIsShownAlone) {
  FrequencyPanel panel;
  panel.f = LogFrequencies(10.0, 1e5, 4);
  panel.y = {0.0, -1.0, -2.0, -3.0};
  panel.problem = "fg must be greater than 0";
  TextCanvas canvas;
  AxisState a;
  DrawFrequencyPanel(panel, a, canvas);
  EXPECT_EQ(canvas.texts, std::vector<std::string>{"fg must be greater than 0"});
  EXPECT_EQ(canvas.lines, 0);
}

}  // namespace
}  // namespace morvane
