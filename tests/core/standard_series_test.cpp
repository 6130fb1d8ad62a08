// Rounding to the standard series, checked by the texts the callers read back.

#include "numerics/standard_series.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "numerics/value_text.h"

namespace morvane {
namespace {

struct SeriesShape {
  int code;
  std::size_t size;  // N + 1
  const char* name;
};

constexpr SeriesShape kShapes[] = {
    {1, 7, "E6"}, {2, 13, "E12"}, {3, 25, "E24"}, {4, 49, "E48"}, {5, 97, "E96"},
};

TEST(SeriesDecade, TablesAndNames) {
  for (const auto& s : kShapes) {
    const auto table = SeriesDecade(s.code);
    ASSERT_EQ(table.size(), s.size) << s.name;
    EXPECT_EQ(table.front(), 1.0) << s.name;
    EXPECT_EQ(table.back(), 10.0) << s.name;
    for (std::size_t i = 1; i < table.size(); ++i) EXPECT_LT(table[i - 1], table[i]) << s.name;
    EXPECT_STREQ(SeriesName(s.code), s.name);
  }
  for (int code : {kSeriesNone, -1, 6, 255}) {
    EXPECT_TRUE(SeriesDecade(code).empty()) << code;
    EXPECT_STREQ(SeriesName(code), "") << code;
  }
}

TEST(SeriesDecade, CoarserSeriesAreEverySecondValue) {
  const std::pair<int, int> pairs[] = {{1, 2}, {2, 3}, {4, 5}};
  for (const auto& [coarse, fine] : pairs) {
    const auto c = SeriesDecade(coarse);
    const auto f = SeriesDecade(fine);
    for (std::size_t i = 0; i < c.size(); ++i) EXPECT_EQ(c[i], f[2 * i]) << SeriesName(coarse);
  }
}

TEST(SeriesDecade, ThreeDigitSeriesFollowTheirFormula) {
  // E48 and E96 are 10^(i/N) to three digits, which catches a mistyped entry.
  for (int code : {4, 5}) {
    const auto table = SeriesDecade(code);
    const double n = static_cast<double>(table.size() - 1);
    for (std::size_t i = 0; i < table.size(); ++i) {
      const double expected = std::round(100.0 * std::pow(10.0, i / n)) / 100.0;
      EXPECT_DOUBLE_EQ(table[i], expected) << SeriesName(code) << " entry " << i;
    }
  }
}

struct RoundCase {
  int series;
  double x;
  const char* down;
  const char* up;
};

void ExpectRounds(const RoundCase& c) {
  EXPECT_EQ(RoundDownToSeries(c.series, c.x), c.down) << "series " << c.series << " x " << c.x;
  EXPECT_EQ(RoundUpToSeries(c.series, c.x), c.up) << "series " << c.series << " x " << c.x;
}

TEST(RoundToSeries, WorkedValues) {
  const RoundCase cases[] = {
      {1, 1600, "  1.50k", "  2.20k"},
      {1, 1500, "  1.00k", "  1.50k"},  // down is strictly below
      {1, 7500, "  6.80k", " 10.00k"},  // up crosses into the next decade
      {2, 1.3e-9, "  1.20n", "  1.50n"},
      {5, 1010, "  1.00k", "  1.02k"},
      {0, 1234, "  1.23k", "  1.23k"},  // no rounding
      {1, 202.5e-9, "150.00n", "220.00n"},
      {1, 660e-9, "470.00n", "680.00n"},
  };
  for (const auto& c : cases) ExpectRounds(c);
}

TEST(RoundToSeries, PowersOfTenTakeTheDecadeBelow) {
  // An exact power of ten is 10 of the decade below: down gives the value under it, up
  // gives it itself, as for any other series value.
  const RoundCase cases[] = {
      {1, 1000, "680.000", "  1.00k"}, {1, 1, "680.00m", "  1.000"},
      {1, 0.1, " 68.00m", "100.00m"},  {5, 1e-9, "976.00p", "  1.00n"},
      {3, 1e6, "910.00k", "  1.00M"},  {1, 1001, "  1.00k", "  1.50k"},
      {1, 999, "680.000", "  1.00k"},
  };
  for (const auto& c : cases) ExpectRounds(c);
}

TEST(RoundToSeries, DecadeBorders) {
  const RoundCase cases[] = {
      {5, 9.8e3, "  9.76k", " 10.00k"},  {5, 9.76e3, "  9.53k", "  9.76k"},
      {5, 9.77e3, "  9.76k", " 10.00k"}, {5, 1.0001e3, "  1.00k", "  1.02k"},
      {4, 9.6e3, "  9.53k", " 10.00k"},  {2, 8.3e-6, "  8.20u", " 10.00u"},
      {1, 1.2, "  1.000", "  1.500"},    {1, 6.9, "  6.800", " 10.000"},
  };
  for (const auto& c : cases) ExpectRounds(c);
}

TEST(RoundToSeries, NeighbourStepsOfTheInputImpedance) {
  // The caller pushes an exact series value past itself by 0.5 %.
  const RoundCase cases[] = {
      {5, 1000, "976.000", "  1.02k"}, {4, 1000, "953.000", "  1.05k"},
      {3, 1000, "910.000", "  1.10k"}, {2, 1000, "820.000", "  1.20k"},
      {1, 1000, "680.000", "  1.50k"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundDownToSeries(c.series, c.x * 0.995), c.down) << c.series;
    EXPECT_EQ(RoundUpToSeries(c.series, c.x / 0.995), c.up) << c.series;
  }
}

TEST(RoundToSeries, SeriesValuesReadBackStayPut) {
  // A value read back from its own text may sit a hair off the table entry; it must still
  // round up to itself and down to the entry below.
  for (const auto& s : kShapes) {
    const auto table = SeriesDecade(s.code);
    const int n = static_cast<int>(table.size()) - 1;
    for (int h = -13; h <= 9; h += 2) {
      for (int i = 0; i < n; ++i) {
        const double scale = std::pow(10.0, h);
        const std::string text = FormatValue(6, 2, table[i] * scale);
        const double x = ReadValue(text);
        const double below = i == 0 ? table[n - 1] * scale / 10.0 : table[i - 1] * scale;
        EXPECT_EQ(RoundUpToSeries(s.code, x), text) << s.name << " " << text;
        EXPECT_EQ(RoundDownToSeries(s.code, x), FormatValue(6, 2, below)) << s.name << " " << text;
      }
    }
  }
}

TEST(RoundToSeries, ValuesWithoutDecadeAreShownUnrounded) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const RoundCase cases[] = {
      {1, 0.0, "  0.000", "  0.000"},   {1, -1600, " -1.60k", " -1.60k"},
      {5, kNaN, "  0.000", "  0.000"},  {5, kInf, " 1.8E+308", " 1.8E+308"},
      {7, 1600, "  1.60k", "  1.60k"},  // unknown code: no rounding
      {-1, 1600, "  1.60k", "  1.60k"},
  };
  for (const auto& c : cases) ExpectRounds(c);
}

TEST(RoundToSeries, ExtremeMagnitudesDoNotBreak) {
  // Subnormal and largest doubles: no endless loop, no overflow shown as text.
  EXPECT_EQ(RoundDownToSeries(1, 5e-324), "  0.000");
  EXPECT_EQ(RoundUpToSeries(1, 1e-310), "  0.000");
  EXPECT_EQ(RoundDownToSeries(1, 1.6e-300), " 1.5E-300");
  EXPECT_EQ(RoundUpToSeries(1, 1.6e-300), " 2.2E-300");
  EXPECT_EQ(RoundDownToSeries(1, DBL_MAX), " 1.5E+308");
  EXPECT_EQ(RoundUpToSeries(1, DBL_MAX), " 1.8E+308");  // 2.2e308 shows as the largest double
}

}  // namespace
}  // namespace morvane
