// Limits, plot rectangle and world <-> pixel mapping. A 500 x 400 image gives the plot
// rectangle 53 .. 461 by 32 .. 358.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "graphs/plot_mapping.h"

namespace morvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr AxisMode kLin = AxisMode::Linear;
constexpr AxisMode kLog = AxisMode::Logarithmic;

AxisState Axes(AxisMode xMode, double xmin, double xmax, int width = 500, int height = 400) {
  AxisState a;
  SetAxisModes(a, xMode, kLin);
  SetupAxes(a, width, height, 20, xmax, -60, xmin);
  FixOrigin(a, 0, xmin);
  return a;
}

TEST(PlotMapping, PlotRectangleFromImageSize) {
  const struct {
    int width, height, left, right, top, bottom;
  } cases[] = {
      {500, 400, 53, 461, 32, 358},
      {522, 249, 54, 482, 24, 215},
      {10, 10, 28, -4, 12, -12},  // 28.5, -4.5, 12.5, -12.5 go to the even neighbour
      {0, 0, 28, -14, 12, -22},
  };
  for (const auto& c : cases) {
    const AxisState a = Axes(kLin, 0, 1, c.width, c.height);
    EXPECT_EQ(a.Left, c.left) << c.width;
    EXPECT_EQ(a.Right, c.right) << c.width;
    EXPECT_EQ(a.Top, c.top) << c.height;
    EXPECT_EQ(a.Bottom, c.bottom) << c.height;
  }
}

TEST(PlotMapping, LogarithmicRangeSnapsToDecades) {
  const struct {
    double xmin, xmax, snappedMin, snappedMax;
  } cases[] = {
      {15, 150000, 100, 1e6},
      {10, 1e5, 10, 1e5},
      {10.005, 99.95, 10, 100},  // within the 0.999 slack
      {500, 600, 100, 1000},     // one decade at least
      {1e5, 10, 1, 10},
      // Ends no decade holds: a missing xmin is 0.001 xmax, a missing xmax is xmin.
      {0, 1e5, 100, 1e5},
      {-5, 1e5, 100, 1e5},
      {kNaN, 1e5, 100, 1e5},
      {1000, 0, 100, 1000},
      {0, 0, 1e-3, 1},
      {10, kInf, 10, 1e308},
  };
  for (const auto& c : cases) {
    const AxisState a = Axes(kLog, c.xmin, c.xmax);
    EXPECT_DOUBLE_EQ(a.xmin, c.snappedMin) << c.xmin << " .. " << c.xmax;
    EXPECT_DOUBLE_EQ(a.xmax, c.snappedMax) << c.xmin << " .. " << c.xmax;
    EXPECT_NEAR(a.lgxmax - a.lgxmin, std::log10(c.snappedMax / c.snappedMin), 1e-12);
    EXPECT_EQ(a.PressX, a.xmax);
    EXPECT_EQ(a.xo, a.xmin);
  }
}

TEST(PlotMapping, OriginIsHeldInsideTheRange) {
  const struct {
    double yo, xo, fixedYo, fixedXo;
  } cases[] = {
      {0, 50, 0, 50},    {20, 100, 20, 100},   {30, 150, -60, 0},
      {-61, -1, -60, 0}, {kNaN, kNaN, -60, 0},
  };
  for (const auto& c : cases) {
    AxisState a = Axes(kLin, 0, 100);
    FixOrigin(a, c.yo, c.xo);
    EXPECT_EQ(a.yo, c.fixedYo) << c.yo;
    EXPECT_EQ(a.xo, c.fixedXo) << c.xo;
  }
}

TEST(PlotMapping, ToScreen) {
  const AxisState lin = Axes(kLin, 0, 100);
  const AxisState log = Axes(kLog, 10, 1e5);
  const AxisState empty = Axes(kLin, 7, 7);
  const struct {
    const AxisState& a;
    bool x;
    double value;
    int pixel;
  } cases[] = {
      {lin, true, 50, 257},
      {lin, true, 10, 94},
      {lin, true, -5, 53},
      {lin, true, 1e300, 461},
      {lin, true, -kInf, 53},
      {lin, true, kNaN, 53},
      {log, true, 1000, 257},
      {log, true, 20, 84},
      {log, true, 0, 53},
      {log, true, -1, 53},
      {log, true, 1e6, 461},
      {empty, true, 7, 53},
      {empty, true, 8, 461},
      // 113.5 goes to the even pixel. Not a number and the -2e301 dB of a zero magnitude
      // sit on the bottom edge.
      {lin, false, 0, 114},
      {lin, false, -40, 276},
      {lin, false, 20, 32},
      {lin, false, kInf, 32},
      {lin, false, kNaN, 358},
      {lin, false, -2e301, 358},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.x ? ToScreenX(c.a, c.value) : ToScreenY(c.a, c.value), c.pixel) << c.value;
  }
  EXPECT_EQ(ToScreenRel(lin, 3, 995), (Pixel{2, 2}));
  EXPECT_EQ(ToScreenRel(lin, 1, 1000), (Pixel{0, 0}));  // 0.5 to even
  EXPECT_EQ(ToScreenRel(lin, 1000, 250), (Pixel{500, 300}));
}

TEST(PlotMapping, ToWorldInvertsToScreenAndHoldsThePixelInside) {
  for (AxisMode mode : {kLin, kLog}) {
    const AxisState a = Axes(mode, 10, 1e5);
    for (int px = a.Left + 1; px < a.Right; ++px) EXPECT_EQ(ToScreenX(a, ToWorldX(a, px)), px);
    for (int py = a.Top + 1; py < a.Bottom; ++py) EXPECT_EQ(ToScreenY(a, ToWorldY(a, py)), py);
    EXPECT_EQ(ToWorldX(a, -100), ToWorldX(a, a.Left + 1));
    EXPECT_EQ(ToWorldX(a, 1000), ToWorldX(a, a.Right - 1));
    EXPECT_EQ(ToWorldY(a, -100), ToWorldY(a, a.Top + 1));
    EXPECT_EQ(ToWorldY(a, 1000), ToWorldY(a, a.Bottom - 1));
  }
  EXPECT_NEAR(ToWorldX(Axes(kLog, 10, 1e5), 257), 1000, 1e-9);
  // 46 x 38 pixels leave a rectangle of no width and no height: no division by zero.
  const AxisState tiny = Axes(kLin, 0, 100, 46, 38);
  ASSERT_EQ(tiny.Left, tiny.Right);
  ASSERT_EQ(tiny.Top, tiny.Bottom);
  EXPECT_EQ(ToWorldX(tiny, 100), 0);
  EXPECT_EQ(ToWorldY(tiny, 100), -60);
}

TEST(PlotMapping, PlotAreaIsStrict) {
  const AxisState a = Axes(kLin, 0, 100);
  EXPECT_FALSE(InPlotArea(a, 53, 200));
  EXPECT_TRUE(InPlotArea(a, 54, 33));
  EXPECT_TRUE(InPlotArea(a, 460, 357));
  EXPECT_FALSE(InPlotArea(a, 461, 200));
  EXPECT_FALSE(InPlotArea(a, 200, 32));
  EXPECT_FALSE(InPlotArea(a, 200, 358));
}

}  // namespace
}  // namespace morvane
