// Two-digit rounding of the axis-scale dialog and the origin recentring.

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

#include "graphs/axis_rounding.h"

namespace morvane {
namespace {

TEST(AxisRounding, TwoDigits) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const struct {
    double x, ceil, floor;
  } cases[] = {
      {0, 0, 0},
      // From 1 to 100 the integer part is the resolution: one digit below 10, two above.
      {1, 1, 1},
      {1.2, 2, 1},
      {5.3, 6, 5},
      {10, 10, 10},
      {12.7, 13, 12},
      {99.5, 100, 99},
      {123, 130, 120},
      {150000, 150000, 150000},
      // Below 1 raised past 10: two significant digits.
      {0.5, 0.5, 0.5},
      {0.537, 0.54, 0.53},
      {0.1, 0.1, 0.1},
      // The dialog's spin steps from 50: up by 1 %, down by 1 %.
      {50.5, 51, 50},
      {50 / 1.01, 50, 49},
      {-12.7, -13, -12},
      // 1.8e308 does not fit; a denormal normalises without underflowing to zero.
      {DBL_MAX, DBL_MAX, 1.7e308},
      {4.94e-322, 5e-322, 4.9e-322},
      {kInf, kInf, kInf},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(CeilTwoDigits(c.x), c.ceil) << c.x;
    EXPECT_DOUBLE_EQ(FloorTwoDigits(c.x), c.floor) << c.x;
  }
}

}  // namespace
}  // namespace morvane
