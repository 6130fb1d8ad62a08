// Spin-button rounding and steps.

#include "numerics/step_rounding.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

#include "numerics/value_text.h"

namespace morvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct RoundCase {
  double x;
  double expected;
};

TEST(CeilOneDigit, AwayFromZero) {
  const RoundCase cases[] =
      {
          {0, 0},         {1000, 1000},   {1070, 2000},   {1, 1},        {1.2, 2},
          {9.5, 10},      {999, 1000},    {12345, 20000}, {0.1, 0.1},    {0.15, 0.2},
          {0.001, 0.001}, {0.0095, 0.01}, {-1070, -2000}, {-0.15, -0.2}, {3e-12, 3e-12},
          {1.000005, 1},  {1.00002, 2},  // a leading digit within 1e-5 of whole stays put
      };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(CeilOneDigit(c.x), c.expected) << c.x;
}

TEST(FloorOneDigit, TowardsZero) {
  const RoundCase cases[] = {
      {0, 0},
      {1000, 0},
      {1070, 1000},
      {2000, 1000},
      {2500, 2000},
      {9999, 9000},
      {1, 0},
      {0.5, 0.4},
      {0.25, 0.2},
      {-1070, -1000},
      {-2000, -1000},
      {1.0002, 1},
      {3e-12, 2e-12},
      // A magnitude below 1 normalises up to 10, so 0.1 falls to 0.09, not to 0.
      {0.1, 0.09},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(FloorOneDigit(c.x), c.expected) << c.x;
}

TEST(CeilStep125, OneTwoFive) {
  const RoundCase cases[] = {
      {0, 0},
      {1, 1},
      {1.1, 2},
      {2, 2},
      {2.1, 5},
      {5, 5},
      {5.1, 10},
      {10, 10},
      {1234, 2000},
      {0.0004, 0.0005},
      {0.1, 0.1},
      {0.3, 0.5},
      {7e-9, 1e-8},
      {-3, -5},
      {-0.02, -0.02},
      // A hair above a 1-2-5 value, as left by the binary sweep factor, counts as on it.
      {1000 * (1.02 - 1), 20},
      {1.0000000001, 1},
      {5.000000001, 5},
      {1.00001, 2},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(CeilStep125(c.x), c.expected) << c.x;
}

TEST(StepRounding, NonFiniteAndExtremeValues) {
  // Normalising would never end for these; they come back unchanged.
  EXPECT_EQ(CeilOneDigit(kInf), kInf);
  EXPECT_EQ(FloorOneDigit(-kInf), -kInf);
  EXPECT_EQ(CeilStep125(kInf), kInf);
  EXPECT_TRUE(std::isnan(CeilOneDigit(kNaN)));
  EXPECT_TRUE(std::isnan(CeilStep125(kNaN)));
  // Subnormal and largest values stay finite.
  EXPECT_DOUBLE_EQ(CeilOneDigit(5e-324), 5e-324);
  EXPECT_GT(CeilStep125(5e-324), 0.0);
  EXPECT_DOUBLE_EQ(CeilOneDigit(1e-310), 1e-310);
  EXPECT_EQ(CeilOneDigit(DBL_MAX), DBL_MAX);
  EXPECT_EQ(CeilOneDigit(-DBL_MAX), -DBL_MAX);
  EXPECT_EQ(CeilStep125(DBL_MAX), DBL_MAX);
  EXPECT_DOUBLE_EQ(FloorOneDigit(DBL_MAX), 1e308);
}

struct StepSequence {
  double k;
  bool up;
  double start;
  std::vector<double> values;
};

TEST(StepUpDown, Sequences) {
  const StepSequence cases[] = {
      {1.02, true, 1000, {1020, 1070, 1120}},
      {1.02, false, 1070, {1020, 1000, 980}},
      {2, true, 1000, {2000, 4000}},
      {2, false, 1000, {500, 250}},
      {1.5, true, 1, {1.5, 2, 3, 5, 10}},
      {1.5, false, 5, {4, 3, 2, 1, 0.5}},
      {1.05, true, 0.98, {1, 1.05, 1.15}},
      {10, true, 3, {30, 300}},
      // k = 1 and below stay multiplicative.
      {1, true, 7, {7, 7}},
      {0.5, true, 8, {4, 2}},
      // Negative values step as the mirror image, so up always raises the value.
      {1.02, true, -1000, {-980, -960}},
      {1.02, false, -1000, {-1020, -1070}},
      {2, true, -1000, {-500}},
      {2, false, -1000, {-2000}},
  };
  for (const auto& c : cases) {
    double x = c.start;
    for (double expected : c.values) {
      (c.up ? StepUp : StepDown)(x, c.k);
      EXPECT_DOUBLE_EQ(x, expected)
          << (c.up ? "up" : "down") << " k " << c.k << " from " << c.start;
    }
  }
}

TEST(StepUpDown, ZeroStepsByKMinusOne) {
  for (double k : {1.02, 1.5, 2.0, 10.0, 0.5, 1.0, 0.0, -3.0}) {
    double up = 0.0;
    double down = 0.0;
    StepUp(up, k);
    StepDown(down, k);
    EXPECT_EQ(up, k - 1.0) << k;
    EXPECT_EQ(down, -(k - 1.0)) << k;
  }
}

TEST(StepUpDown, SnapsToTheNextRoundNumber) {
  const StepSequence cases[] = {
      // Nearer than one step: snap first.
      {1.02, true, 1990, {2000, 2050}},
      {1.02, false, 1010, {1000, 980}},
      // Within 1e-10 of it counts as on it: a full step follows.
      {1.02, true, 2000 * (1 + 1e-12), {2050}},
      // Just above a round number CeilOneDigit gives that number, which lies behind:
      // step on by d rather than back.
      {1.02, true, 1000.001, {1050.001}},
      {1.02, false, -1000.001, {-1050.001}},
  };
  for (const auto& c : cases) {
    double x = c.start;
    for (double expected : c.values) {
      (c.up ? StepUp : StepDown)(x, c.k);
      EXPECT_NEAR(x, expected, 1e-6) << (c.up ? "up" : "down") << " from " << c.start;
    }
  }
}

TEST(StepUpDown, BadFactorsLeaveTheValue) {
  for (double k : {0.0, -2.0, kNaN, kInf, -kInf}) {
    double up = 1000.0;
    double down = 1000.0;
    StepUp(up, k);
    StepDown(down, k);
    EXPECT_EQ(up, 1000.0) << k;
    EXPECT_EQ(down, 1000.0) << k;
  }
  double x = kInf;
  StepUp(x, 1.02);
  EXPECT_EQ(x, kInf);
  x = kNaN;
  StepDown(x, 1.02);
  EXPECT_TRUE(std::isnan(x));
  x = DBL_MAX;
  StepUp(x, 2.0);
  EXPECT_EQ(x, DBL_MAX);
  x = DBL_MAX;
  StepUp(x, 1.5);
  EXPECT_EQ(x, DBL_MAX);
}

TEST(StepUpDown, AlwaysMovesTheRightWay) {
  for (double k : {1.0001, 1.01, 1.02, 1.05, 1.25, 1.5, 1.99, 2.0, 10.0}) {
    for (double x :
         {1e-15, 3.3e-9, 0.07, 0.5, 1.0, 1.7, 999.0, 1000.0, 1000.001, 2.00001, 1.07e6, 4.7e12}) {
      for (double sign : {1.0, -1.0}) {
        const double start = sign * x;
        double up = start;
        double down = start;
        StepUp(up, k);
        StepDown(down, k);
        EXPECT_GT(up, start) << "k " << k << " x " << start;
        EXPECT_LT(down, start) << "k " << k << " x " << start;
      }
    }
  }
}

TEST(StepUpDown, StepsLandOnValuesTheEntryShows) {
  // The spin writes FormatValue(7, 3) and reads it back; the steps must survive that.
  for (double k : {1.01, 1.02, 1.05, 1.2}) {
    for (bool up : {true, false}) {
      double x = 1000.0;
      for (int i = 0; i < 300; ++i) {
        (up ? StepUp : StepDown)(x, k);
        const double shown = ReadValue(FormatValue(7, 3, x));
        ASSERT_NEAR(shown, x, std::fabs(x) * 1e-9) << "k " << k << " step " << i;
      }
    }
  }
}

}  // namespace
}  // namespace morvane
