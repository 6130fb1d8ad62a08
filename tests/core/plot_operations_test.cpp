// Zoom, autoscale, origin recentring and the hot zones at the axis ends.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "graphs/axis_operations.h"

namespace morvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr AxisMode kLin = AxisMode::Linear;
constexpr AxisMode kLog = AxisMode::Logarithmic;

AxisState Axes(AxisMode xMode, double xmin, double xmax, double xo, double ymin = -60,
               double ymax = 20, double yo = 0) {
  AxisState a;
  a.xMode = xMode;
  a.xmin = xmin;
  a.xmax = xmax;
  a.xo = xo;
  a.ymin = ymin;
  a.ymax = ymax;
  a.yo = yo;
  return a;
}

TEST(AxisOperations, Zoom) {
  const struct {
    AxisState before;
    bool in;
    double xmin, xmax, xo, ymin, ymax, xstep, ystep;
  } cases[] = {
      {Axes(kLin, 0, 100, 0), false, 0, 150, 0, -90, 30, 5, 5},
      {Axes(kLin, 0, 100, 50), true, 50.0 / 3, 250.0 / 3, 50, -40, 40.0 / 3, 5, 2},
      {Axes(kLin, 0, 100, 50), false, -25, 125, 50, -90, 30, 5, 5},
      // A decade at each end; zooming in keeps at least one decade.
      {Axes(kLog, 10, 1e5, 10), false, 1, 1e6, 1, -90, 30, 50000, 5},
      {Axes(kLog, 10, 1e5, 10), true, 100, 1e4, 10, -40, 40.0 / 3, 500, 2},
      {Axes(kLog, 10, 1000, 10), true, 100, 1000, 10, -40, 40.0 / 3, 50, 2},
      {Axes(kLog, 10, 100, 10), true, 10, 100, 10, -40, 40.0 / 3, 5, 2},
      // pow(10, -5) / pow(10, -6) is 10.000000000000002: still one decade.
      {Axes(kLog, std::pow(10.0, -6), std::pow(10.0, -5), 1e-6), true, 1e-6, 1e-5, 1e-6, -40,
       40.0 / 3, 5e-7, 2},
  };
  for (const auto& c : cases) {
    AxisState a = c.before;
    c.in ? ZoomIn(a) : ZoomOut(a);
    const double got[] = {a.xmin, a.xmax, a.xo, a.ymin, a.ymax, a.xstep, a.ystep};
    const double want[] = {c.xmin, c.xmax, c.xo, c.ymin, c.ymax, c.xstep, c.ystep};
    for (int i = 0; i < 7; ++i) EXPECT_DOUBLE_EQ(got[i], want[i]) << c.before.xmax << " " << i;
  }
}

TEST(AxisOperations, MinMaxScansOneEntryBeyondCountAndSkipsNonLevels) {
  const struct {
    std::vector<double> values;
    int count;
    bool found;
    double largest, smallest;
  } cases[] = {
      {{1, 2, 3, 100}, 2, true, 3, 1},
      {{1, 2, 3, 100}, 1000, true, 100, 1},
      {{4}, -1, false, 0, 0},
      {{-20, kNaN, -2e301, 0.5, -kInf, kInf, -40}, 6, true, 0.5, -40},
      {{kNaN, -2e301}, 1, false, 0, 0},
  };
  for (const auto& c : cases) {
    const MinMaxResult r = MinMax(c.values, c.count);
    EXPECT_EQ(r.found, c.found) << c.count;
    EXPECT_EQ(r.largest, c.largest) << c.count;
    EXPECT_EQ(r.smallest, c.smallest) << c.count;
  }
}

TEST(AxisOperations, Autoscale) {
  const struct {
    AxisMode mode;
    std::vector<double> values;  // abscissae and ordinates alike
    double xmin, xmax, xo, xstep;
    double ymin, ymax, yo, ystep;
  } cases[] = {
      // Negative ordinates: ymin away from zero, ymax towards it.
      {kLin, {-3, -1}, -2, -1, -2, 0.05, -5, -0.8, -2, 0.2},
      {kLin, {10, 1000, 2550}, 0, 3000, 0, 100, 0, 3000, 0, 100},
      // A bandstop notch sampled exactly gives -2e301 dB: passed over, not scaled to.
      {kLin, {-40, -2e301, kNaN, 0.5}, -20, 0.5, 0, 1, -50, 0.6, 0, 2},
      // Negative-only abscissae would give -5 .. -8; the lower end goes away from zero.
      {kLin, {-10, -8}, -10, -8, -5, 0.1, -10, -7, -5, 0.1},
      // All zero (an allpass gain): a unit x range, and -1 .. 1 so the line is not on an edge.
      {kLin, {0, 0}, 0, 1, 0, 0.05, -1, 1, 0, 0.1},
      // Logarithmic: a decade below the smallest, or three below the largest for lo <= 0.
      {kLog, {10, 1000, 1e5}, 1, 1e5, 1, 5000, 0, 2e5, 0, 10000},
      {kLog, {0, 100, 1000}, 1, 1000, 1, 50, 0, 2000, 0, 100},
  };
  for (const auto& c : cases) {
    AxisState a;
    a.xMode = c.mode;
    Autoscale(a, c.values, c.values, static_cast<int>(c.values.size()) - 1);
    const double got[] = {a.xmin, a.xmax, a.xo, a.xstep, a.ymin, a.ymax, a.yo, a.ystep};
    const double want[] = {c.xmin, c.xmax, c.xo, c.xstep, c.ymin, c.ymax, c.yo, c.ystep};
    for (int i = 0; i < 8; ++i) EXPECT_DOUBLE_EQ(got[i], want[i]) << c.values[0] << " " << i;
    EXPECT_EQ(a.xGridEvery, 5);
    EXPECT_EQ(a.yGridEvery, 5);
  }
  // Without a single level the axes stay as they were.
  AxisState a = Axes(kLin, 0, 100, 0);
  const std::vector<double> none = {kNaN, -2e301};
  Autoscale(a, none, none, 1);
  EXPECT_EQ(a.xmax, 100);
  EXPECT_EQ(a.ymin, -60);
}

TEST(AxisOperations, RecentreOrigin) {
  const struct {
    double lo, hi, origin, recentred;
  } cases[] = {
      {10, 30, 5, 20},    // CeilOneDigit(40) / 2
      {10, 30, 30, 30},   // on an end: kept
      {10, 12, 0, 11},    // CeilOneDigit(22) / 2 = 15 is outside; CeilTwoDigits(22) / 2
      {10, 10.4, 0, 10},  // 15 and 10.5 are outside: the lower end
      {-30, -10, 0, -20}, {10, 30, kNaN, 20},
  };
  for (const auto& c : cases) {
    AxisState a = Axes(kLin, c.lo, c.hi, c.origin, c.lo, c.hi, c.origin);
    RecentreXOrigin(a);
    RecentreYOrigin(a);
    EXPECT_DOUBLE_EQ(a.xo, c.recentred) << c.lo << " .. " << c.hi << " at " << c.origin;
    EXPECT_DOUBLE_EQ(a.yo, c.recentred) << c.lo << " .. " << c.hi << " at " << c.origin;
  }
}

TEST(AxisOperations, HotZones) {
  // Linear 0 .. 100: the last and first tenth along x, 0.03 * 80 = 2.4 across; the first and
  // last tenth of -60 .. 20 along y, 0.04 * 100 = 4 across. Logarithmic 10 .. 1e5: above
  // xmax / 2, below 2 xmin, and xo / 2 .. 2 xo across the y axis.
  const AxisState lin = Axes(kLin, 0, 100, 0);
  const AxisState log = Axes(kLog, 10, 1e5, 10);
  enum Zone { kNone, kXMax, kXMin, kYMin, kYMax };
  const struct {
    const AxisState& a;
    double y, x;
    Zone zone;
  } cases[] = {
      {lin, 0, 95, kXMax},   {lin, -2.3, 91, kXMax},   {lin, 2.5, 95, kNone},
      {lin, 0, 90, kNone},   {lin, 0, 100, kNone},     {lin, 0, 5, kXMin},
      {lin, 0, 0, kNone},    {lin, -55, 3.9, kYMin},   {lin, -55, 4.1, kNone},
      {lin, -60, 0, kNone},  {lin, -51, 0, kNone},     {lin, 15, -3, kYMax},
      {lin, 20, 0, kNone},   {lin, kNaN, kNaN, kNone}, {log, 0, 6e4, kXMax},
      {log, 0, 4e4, kNone},  {log, 0, 15, kXMin},      {log, 0, 25, kNone},
      {log, -55, 19, kYMin}, {log, -55, 21, kNone},    {log, -55, 4.9, kNone},
      {log, 15, 5.1, kYMax},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NearXMaxEnd(c.a, c.y, c.x), c.zone == kXMax) << c.y << ", " << c.x;
    EXPECT_EQ(NearXMinEnd(c.a, c.y, c.x), c.zone == kXMin) << c.y << ", " << c.x;
    EXPECT_EQ(NearYMinEnd(c.a, c.y, c.x), c.zone == kYMin) << c.y << ", " << c.x;
    EXPECT_EQ(NearYMaxEnd(c.a, c.y, c.x), c.zone == kYMax) << c.y << ", " << c.x;
  }
}

}  // namespace
}  // namespace morvane
