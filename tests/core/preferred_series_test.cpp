// The series of preferred values E3 to E192 against the IEC 60063 table, typed here a second
// time as text, and the index arithmetic that walks them across the decades.

#include "eseries/preferred_series.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "numerics/standard_series.h"

namespace morvane {
namespace {

struct IecRow {
  PreferredSeries series;
  const char* values;  // one decade, as printed in IEC 60063
};

// clang-format off
const IecRow kIec60063[] = {
    {PreferredSeries::E3, "1.0 2.2 4.7"},
    {PreferredSeries::E6, "1.0 1.5 2.2 3.3 4.7 6.8"},
    {PreferredSeries::E12, "1.0 1.2 1.5 1.8 2.2 2.7 3.3 3.9 4.7 5.6 6.8 8.2"},
    {PreferredSeries::E24, "1.0 1.1 1.2 1.3 1.5 1.6 1.8 2.0 2.2 2.4 2.7 3.0 3.3 3.6 3.9 4.3 "
                           "4.7 5.1 5.6 6.2 6.8 7.5 8.2 9.1"},
    {PreferredSeries::E48, "1.00 1.05 1.10 1.15 1.21 1.27 1.33 1.40 1.47 1.54 1.62 1.69 1.78 "
                           "1.87 1.96 2.05 2.15 2.26 2.37 2.49 2.61 2.74 2.87 3.01 3.16 3.32 "
                           "3.48 3.65 3.83 4.02 4.22 4.42 4.64 4.87 5.11 5.36 5.62 5.90 6.19 "
                           "6.49 6.81 7.15 7.50 7.87 8.25 8.66 9.09 9.53"},
    {PreferredSeries::E96, "1.00 1.02 1.05 1.07 1.10 1.13 1.15 1.18 1.21 1.24 1.27 1.30 1.33 "
                           "1.37 1.40 1.43 1.47 1.50 1.54 1.58 1.62 1.65 1.69 1.74 1.78 1.82 "
                           "1.87 1.91 1.96 2.00 2.05 2.10 2.15 2.21 2.26 2.32 2.37 2.43 2.49 "
                           "2.55 2.61 2.67 2.74 2.80 2.87 2.94 3.01 3.09 3.16 3.24 3.32 3.40 "
                           "3.48 3.57 3.65 3.74 3.83 3.92 4.02 4.12 4.22 4.32 4.42 4.53 4.64 "
                           "4.75 4.87 4.99 5.11 5.23 5.36 5.49 5.62 5.76 5.90 6.04 6.19 6.34 "
                           "6.49 6.65 6.81 6.98 7.15 7.32 7.50 7.68 7.87 8.06 8.25 8.45 8.66 "
                           "8.87 9.09 9.31 9.53 9.76"},
    {PreferredSeries::E192, "1.00 1.01 1.02 1.04 1.05 1.06 1.07 1.09 1.10 1.11 1.13 1.14 1.15 "
                            "1.17 1.18 1.20 1.21 1.23 1.24 1.26 1.27 1.29 1.30 1.32 1.33 1.35 "
                            "1.37 1.38 1.40 1.42 1.43 1.45 1.47 1.49 1.50 1.52 1.54 1.56 1.58 "
                            "1.60 1.62 1.64 1.65 1.67 1.69 1.72 1.74 1.76 1.78 1.80 1.82 1.84 "
                            "1.87 1.89 1.91 1.93 1.96 1.98 2.00 2.03 2.05 2.08 2.10 2.13 2.15 "
                            "2.18 2.21 2.23 2.26 2.29 2.32 2.34 2.37 2.40 2.43 2.46 2.49 2.52 "
                            "2.55 2.58 2.61 2.64 2.67 2.71 2.74 2.77 2.80 2.84 2.87 2.91 2.94 "
                            "2.98 3.01 3.05 3.09 3.12 3.16 3.20 3.24 3.28 3.32 3.36 3.40 3.44 "
                            "3.48 3.52 3.57 3.61 3.65 3.70 3.74 3.79 3.83 3.88 3.92 3.97 4.02 "
                            "4.07 4.12 4.17 4.22 4.27 4.32 4.37 4.42 4.48 4.53 4.59 4.64 4.70 "
                            "4.75 4.81 4.87 4.93 4.99 5.05 5.11 5.17 5.23 5.30 5.36 5.42 5.49 "
                            "5.56 5.62 5.69 5.76 5.83 5.90 5.97 6.04 6.12 6.19 6.26 6.34 6.42 "
                            "6.49 6.57 6.65 6.73 6.81 6.90 6.98 7.06 7.15 7.23 7.32 7.41 7.50 "
                            "7.59 7.68 7.77 7.87 7.96 8.06 8.16 8.25 8.35 8.45 8.56 8.66 8.76 "
                            "8.87 8.98 9.09 9.20 9.31 9.42 9.53 9.65 9.76 9.88"},
};
// clang-format on

std::vector<std::string> Words(const char* text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

class PreferredSeriesTable : public testing::TestWithParam<IecRow> {};

TEST_P(PreferredSeriesTable, EqualsTheIecTableValueForValue) {
  const IecRow& row = GetParam();
  const std::vector<std::string> iec = Words(row.values);
  const auto decade = PreferredDecade(row.series);
  ASSERT_EQ(decade.size(), iec.size()) << PreferredSeriesName(row.series);
  ASSERT_EQ("E" + std::to_string(iec.size()), PreferredSeriesName(row.series));
  for (std::size_t i = 0; i < iec.size(); ++i) {
    EXPECT_EQ(decade[i], std::stod(iec[i])) << PreferredSeriesName(row.series) << " " << iec[i];
  }
}

TEST_P(PreferredSeriesTable, ValuesInEveryDecadeReadAsTheirTexts) {
  // 4.7 in decade -9 is the double that "4.7e-9" reads as, so that a typed series value is
  // found as one.
  const IecRow& row = GetParam();
  const std::vector<std::string> iec = Words(row.values);
  const auto n = static_cast<std::int64_t>(iec.size());
  for (int decade = -16; decade <= 13; ++decade) {
    for (std::int64_t i = 0; i < n; ++i) {
      const std::string text = iec[static_cast<std::size_t>(i)] + "e" + std::to_string(decade);
      EXPECT_EQ(PreferredValueAt(row.series, decade * n + i), std::stod(text)) << text;
    }
  }
}

TEST_P(PreferredSeriesTable, IndexSearchFindsEachValueAndItsNeighbours) {
  const PreferredSeries series = GetParam().series;
  const auto n = static_cast<std::int64_t>(PreferredDecade(series).size());
  for (std::int64_t k = -15 * n; k <= 12 * n; ++k) {
    const double v = PreferredValueAt(series, k);
    ASSERT_EQ(PreferredIndexAtOrBelow(series, v), k) << v;
    ASSERT_EQ(PreferredIndexAtOrAbove(series, v), k) << v;
    // Typed with a prefix letter the value is a rounding away; it still counts as itself.
    ASSERT_EQ(PreferredIndexAtOrBelow(series, v * (1.0 + 1e-12)), k) << v;
    ASSERT_EQ(PreferredIndexAtOrAbove(series, v * (1.0 - 1e-12)), k) << v;
    const double between = std::sqrt(v * PreferredValueAt(series, k + 1));
    ASSERT_EQ(PreferredIndexAtOrBelow(series, between), k) << between;
    ASSERT_EQ(PreferredIndexAtOrAbove(series, between), k + 1) << between;
  }
}

INSTANTIATE_TEST_SUITE_P(Iec60063, PreferredSeriesTable, testing::ValuesIn(kIec60063),
                         [](const testing::TestParamInfo<IecRow>& info) {
                           return std::string(PreferredSeriesName(info.param.series));
                         });

TEST(PreferredSeries, IndexSearchTakesAnyDoubleWithoutHanging) {
  // Far outside the values the tool takes, the search stops at the decades it keeps.
  const double edges[] = {0.0, -1.0, NAN, INFINITY, -INFINITY, 1e-300, 1e300, DBL_MAX, 5e-324};
  for (const PreferredSeries series : kAllPreferredSeries) {
    for (const double x : edges) {
      const std::int64_t below = PreferredIndexAtOrBelow(series, x);
      const std::int64_t above = PreferredIndexAtOrAbove(series, x);
      EXPECT_LE(below, above) << x;
      EXPECT_TRUE(std::isfinite(PreferredValueAt(series, below))) << x;
      EXPECT_GT(PreferredValueAt(series, above), 0.0) << x;
    }
  }
}

TEST(PreferredSeries, CoarserSeriesAreEverySecondValueOfTheFinerOne) {
  const std::pair<PreferredSeries, PreferredSeries> pairs[] = {
      {PreferredSeries::E3, PreferredSeries::E6},    {PreferredSeries::E6, PreferredSeries::E12},
      {PreferredSeries::E12, PreferredSeries::E24},  {PreferredSeries::E48, PreferredSeries::E96},
      {PreferredSeries::E96, PreferredSeries::E192},
  };
  for (const auto& [coarse, fine] : pairs) {
    const auto c = PreferredDecade(coarse);
    const auto f = PreferredDecade(fine);
    ASSERT_EQ(2 * c.size(), f.size());
    for (std::size_t i = 0; i < c.size(); ++i) {
      EXPECT_EQ(c[i], f[2 * i]) << PreferredSeriesName(coarse);
    }
  }
}

TEST(PreferredSeries, ThreeDigitSeriesFollowTheFormulaButForE192At920) {
  for (const PreferredSeries series :
       {PreferredSeries::E48, PreferredSeries::E96, PreferredSeries::E192}) {
    const auto table = PreferredDecade(series);
    const double n = static_cast<double>(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
      const double formula = std::round(100.0 * std::pow(10.0, static_cast<double>(i) / n)) / 100;
      const double expected = series == PreferredSeries::E192 && i == 185 ? 9.20 : formula;
      EXPECT_DOUBLE_EQ(table[i], expected) << PreferredSeriesName(series) << " " << i;
    }
  }
}

TEST(PreferredSeries, E24DepartsFromTheFormulaInItsEightHistoricalPlaces) {
  const auto table = PreferredDecade(PreferredSeries::E24);
  std::vector<double> departures;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const double formula = std::round(10.0 * std::pow(10.0, static_cast<double>(i) / 24)) / 10;
    if (table[i] != formula) departures.push_back(table[i]);
  }
  EXPECT_EQ(departures, (std::vector<double>{2.7, 3.0, 3.3, 3.6, 3.9, 4.3, 4.7, 8.2}));
}

TEST(PreferredSeries, TheDesignTablesAreTheSameValues) {
  // The designs round with the tables of numerics/standard_series under their codes 1..5.
  const std::pair<int, PreferredSeries> codes[] = {
      {1, PreferredSeries::E6},  {2, PreferredSeries::E12}, {3, PreferredSeries::E24},
      {4, PreferredSeries::E48}, {5, PreferredSeries::E96},
  };
  for (const auto& [code, series] : codes) {
    const auto design = SeriesDecade(code);
    const auto tool = PreferredDecade(series);
    ASSERT_EQ(design.size(), tool.size() + 1);
    for (std::size_t i = 0; i < tool.size(); ++i) EXPECT_EQ(design[i], tool[i]);
  }
}

TEST(PreferredSeries, NamesReadInEitherCaseAndNothingElse) {
  for (const PreferredSeries series : kAllPreferredSeries) {
    const std::string name(PreferredSeriesName(series));
    EXPECT_EQ(PreferredSeriesNamed(name), series);
    std::string lower = name;
    lower[0] = 'e';
    EXPECT_EQ(PreferredSeriesNamed(lower), series);
  }
  for (const char* bad : {"", "E", "E1", "E5", "E384", "24", "E24 ", " E24", "E024", "R10"}) {
    EXPECT_EQ(PreferredSeriesNamed(bad), std::nullopt) << bad;
  }
}

TEST(PreferredSeries, SignificantDigitsFollowTheTables) {
  EXPECT_EQ(SignificantDigits(PreferredSeries::E3), 2);
  EXPECT_EQ(SignificantDigits(PreferredSeries::E24), 2);
  EXPECT_EQ(SignificantDigits(PreferredSeries::E48), 3);
  EXPECT_EQ(SignificantDigits(PreferredSeries::E192), 3);
}

}  // namespace
}  // namespace morvane
