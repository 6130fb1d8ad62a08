// The standard-value tool's answers: the bracket of a value in a series (checked by hand on
// named cases), and the best series, parallel and ratio pairs against a search of every pair.

#include "eseries/value_pairs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "eseries/preferred_bracket.h"

namespace morvane {
namespace {

struct BracketCase {
  PreferredSeries series;
  double x;
  double below, above, nearest;
};

// Worked by hand from the tables; the last rows lie either side of the middle by ratio.
const BracketCase kBrackets[] = {
    {PreferredSeries::E12, 4750.0, 4700.0, 5600.0, 4700.0},
    {PreferredSeries::E12, 4700.0, 4700.0, 4700.0, 4700.0},
    {PreferredSeries::E12, 4.7e-9, 4.7e-9, 4.7e-9, 4.7e-9},
    {PreferredSeries::E3, 1.0, 1.0, 1.0, 1.0},
    {PreferredSeries::E3, 9.9, 4.7, 10.0, 10.0},
    {PreferredSeries::E3, 0.5, 0.47, 1.0, 0.47},
    {PreferredSeries::E24, 95.0, 91.0, 100.0, 91.0},
    {PreferredSeries::E24, 96.0, 91.0, 100.0, 100.0},
    {PreferredSeries::E96, 1234.0, 1210.0, 1240.0, 1240.0},
    {PreferredSeries::E192, 9.15e3, 9.09e3, 9.20e3, 9.20e3},
    {PreferredSeries::E192, 9.9e-12, 9.88e-12, 10e-12, 9.88e-12},
    {PreferredSeries::E192, 1e12, 1e12, 1e12, 1e12},
    {PreferredSeries::E6, 1e-15, 1e-15, 1e-15, 1e-15},
    // sqrt(1 * 1.5) = 1.22474487 lies between 1 and 1.5 by ratio: nearer by ratio, not by
    // difference (the middle 1.25 would give 1.5 from 1.23 on).
    {PreferredSeries::E6, 1.2247, 1.0, 1.5, 1.0},
    {PreferredSeries::E6, 1.2248, 1.0, 1.5, 1.5},
};

class Bracket : public testing::TestWithParam<BracketCase> {};

TEST_P(Bracket, BelowAboveAndNearestByRatio) {
  const BracketCase& c = GetParam();
  const PreferredBracket b = BracketValue(c.series, c.x);
  EXPECT_DOUBLE_EQ(b.below, c.below);
  EXPECT_DOUBLE_EQ(b.above, c.above);
  EXPECT_DOUBLE_EQ(b.nearest, c.nearest);
  EXPECT_EQ(b.inSeries, c.below == c.above);
  if (b.inSeries) {
    EXPECT_EQ(b.nearestErrorPercent, 0.0);
  } else {
    EXPECT_DOUBLE_EQ(b.nearestErrorPercent, (c.nearest - c.x) / c.x * 100.0);
  }
}

INSTANTIATE_TEST_SUITE_P(NamedValues, Bracket, testing::ValuesIn(kBrackets));

TEST(Bracket, AValueTypedWithAPrefixIsTheSeriesValue) {
  // 4.7 * 1e-9 differs from the double of 4.7e-9 in the last bit.
  const PreferredBracket b = BracketValue(PreferredSeries::E12, 4.7 * 1e-9);
  EXPECT_TRUE(b.inSeries);
  EXPECT_EQ(b.nearestErrorPercent, 0.0);
}

// Every series value from a third of a decade below `low` to one above `high`.
std::vector<double> ValuesBetween(PreferredSeries series, double low, double high) {
  std::vector<double> values;
  for (std::int64_t k = PreferredIndexAtOrBelow(series, low) - 1;
       PreferredValueAt(series, k) <= high * 1.5; ++k) {
    values.push_back(PreferredValueAt(series, k));
  }
  return values;
}

// The best |error| over all pairs a, b (a >= b) in [low, high] of `combine`.
template <typename Combine>
double BruteForceError(PreferredSeries series, double target, double low, double high,
                       Combine combine) {
  const std::vector<double> values = ValuesBetween(series, low, high);
  double best = INFINITY;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] < low * (1 - 1e-12) || values[i] > high * (1 + 1e-12)) continue;
    for (std::size_t j = 0; j <= i; ++j) {
      if (values[j] < low * (1 - 1e-12)) continue;
      const double error = std::fabs(combine(values[i], values[j]) - target) / target * 100.0;
      best = std::min(best, error);
    }
  }
  return best;
}

struct PairCase {
  PreferredSeries series;
  double target;
};

const PairCase kTargets[] = {
    {PreferredSeries::E3, 1.5},         {PreferredSeries::E3, 3.3e3},
    {PreferredSeries::E6, 1234.0},      {PreferredSeries::E6, 1.0},
    {PreferredSeries::E12, 4.75e3},     {PreferredSeries::E12, 7.77e-9},
    {PreferredSeries::E12, 1.0e6},      {PreferredSeries::E24, 3.14159e3},
    {PreferredSeries::E24, 17.5},       {PreferredSeries::E24, 9.99e-6},
    {PreferredSeries::E48, 6.0e3},      {PreferredSeries::E48, 1.001e-12},
    {PreferredSeries::E96, 12.345e3},   {PreferredSeries::E96, 2.718e-15},
    {PreferredSeries::E192, 1.23456e3}, {PreferredSeries::E192, 9.999e11},
    {PreferredSeries::E192, 9.876e-7},  {PreferredSeries::E24, 1e12},
};

class PairSearch : public testing::TestWithParam<PairCase> {};

TEST_P(PairSearch, SeriesPairIsTheBestOfAllPairs) {
  const auto [series, target] = GetParam();
  const ValuePair pair = BestSeriesPair(series, target);
  const double low = target / kPairReach;
  EXPECT_NEAR(
      std::fabs(pair.errorPercent),
      BruteForceError(series, target, low, target, [](double a, double b) { return a + b; }), 1e-9);
  // The answer is what it says: two series values in reach, larger first, and their sum.
  EXPECT_GE(pair.a, pair.b);
  EXPECT_GE(pair.b, low * (1 - 1e-12));
  EXPECT_LE(pair.a, target * (1 + 1e-12));
  EXPECT_TRUE(BracketValue(series, pair.a).inSeries);
  EXPECT_TRUE(BracketValue(series, pair.b).inSeries);
  EXPECT_DOUBLE_EQ(pair.value, pair.a + pair.b);
  EXPECT_DOUBLE_EQ(pair.errorPercent, (pair.value - target) / target * 100.0);
}

TEST_P(PairSearch, ParallelPairIsTheBestOfAllPairs) {
  const auto [series, target] = GetParam();
  const ValuePair pair = BestParallelPair(series, target);
  const double high = target * kPairReach;
  EXPECT_NEAR(std::fabs(pair.errorPercent),
              BruteForceError(series, target, target, high,
                              [](double a, double b) { return a * b / (a + b); }),
              1e-9);
  EXPECT_GE(pair.a, pair.b);
  EXPECT_GE(pair.b, target * (1 - 1e-12));
  EXPECT_LE(pair.a, high * (1 + 1e-12));
  EXPECT_TRUE(BracketValue(series, pair.a).inSeries);
  EXPECT_TRUE(BracketValue(series, pair.b).inSeries);
  EXPECT_DOUBLE_EQ(pair.value, 1.0 / (1.0 / pair.a + 1.0 / pair.b));
  EXPECT_DOUBLE_EQ(pair.errorPercent, (pair.value - target) / target * 100.0);
}

TEST_P(PairSearch, RatioPairIsTheBestOfAllPairs) {
  // The target serves as the ratio, with b around 10k; a of any size within six decades.
  const auto [series, target] = GetParam();
  const double ratio = std::clamp(target / 1e3, 1e-6, 1e6);
  const double near = 10e3;
  const ValuePair pair = BestRatioPair(series, ratio, near);
  const std::vector<double> bs = ValuesBetween(series, near / std::sqrt(10.0), near * 3.0);
  const std::vector<double> as = ValuesBetween(series, near * ratio / 20, near * ratio * 20);
  double best = INFINITY;
  for (const double b : bs) {
    for (const double a : as) best = std::min(best, std::fabs(a / b - ratio) / ratio * 100.0);
  }
  EXPECT_NEAR(std::fabs(pair.errorPercent), best, 1e-9);
  EXPECT_GE(pair.b, near / std::sqrt(10.0) * (1 - 1e-12));
  EXPECT_LT(pair.b, near * std::sqrt(10.0));
  EXPECT_TRUE(BracketValue(series, pair.a).inSeries);
  EXPECT_TRUE(BracketValue(series, pair.b).inSeries);
  EXPECT_DOUBLE_EQ(pair.value, pair.a / pair.b);
}

INSTANTIATE_TEST_SUITE_P(Targets, PairSearch, testing::ValuesIn(kTargets));

struct KnownPair {
  const char* name;
  ValuePair pair;
  ValuePair expected;
};

TEST(ValuePairs, NamedCombinations) {
  // Worked by hand: 1.5 from E3 is 1.0 + 0.47 (-2 %) in series and 4.7 || 2.2 (-0.097 %) in
  // parallel; 6k from E12 is 3.3k + 2.7k, 5k is 10k || 10k, 5.1k is 56k || 5.6k (-0.18 %).
  const KnownPair cases[] = {
      {"E3 1.5 series", BestSeriesPair(PreferredSeries::E3, 1.5), {1.0, 0.47, 1.47, -2.0}},
      {"E3 1.5 parallel",
       BestParallelPair(PreferredSeries::E3, 1.5),
       {4.7, 2.2, 4.7 * 2.2 / 6.9, (4.7 * 2.2 / 6.9 - 1.5) / 1.5 * 100}},
      {"E12 6k series", BestSeriesPair(PreferredSeries::E12, 6e3), {3.3e3, 2.7e3, 6e3, 0.0}},
      {"E12 5k parallel", BestParallelPair(PreferredSeries::E12, 5e3), {10e3, 10e3, 5e3, 0.0}},
      {"E12 5.1k parallel",
       BestParallelPair(PreferredSeries::E12, 5.1e3),
       {56e3, 5.6e3, 56e3 * 5.6e3 / 61.6e3, (56e3 * 5.6e3 / 61.6e3 - 5.1e3) / 5.1e3 * 100}},
      // Gain 11 of a non-inverting amplifier: ratio 10 is 100k over 10k exactly.
      {"E12 ratio 10", BestRatioPair(PreferredSeries::E12, 10.0, 10e3), {100e3, 10e3, 10.0, 0.0}},
      // Equal parts: a ratio of 1 with b the series value nearest to `near`.
      {"E24 ratio 1", BestRatioPair(PreferredSeries::E24, 1.0, 4.6e3), {4.7e3, 4.7e3, 1.0, 0.0}},
      // 1.5 from E12 with b near 1k: 1.8k / 1.2k and 1.5k / 1.0k both give it exactly; b = 1k
      // is the nearer.
      {"E12 ratio 1.5", BestRatioPair(PreferredSeries::E12, 1.5, 1e3), {1.5e3, 1e3, 1.5, 0.0}},
  };
  for (const KnownPair& c : cases) {
    EXPECT_DOUBLE_EQ(c.pair.a, c.expected.a) << c.name;
    EXPECT_DOUBLE_EQ(c.pair.b, c.expected.b) << c.name;
    EXPECT_DOUBLE_EQ(c.pair.value, c.expected.value) << c.name;
    EXPECT_NEAR(c.pair.errorPercent, c.expected.errorPercent, 1e-9) << c.name;
  }
}

TEST(ValuePairs, ASeriesValueTargetGetsItselfAndTheSmallestValueInReach) {
  // 4.7k is no sum of two E12 values but 4.7k + 4.7 (0.1 %) comes nearest.
  const ValuePair pair = BestSeriesPair(PreferredSeries::E12, 4.7e3);
  EXPECT_DOUBLE_EQ(pair.a, 4.7e3);
  EXPECT_DOUBLE_EQ(pair.b, 4.7);
  EXPECT_NEAR(pair.errorPercent, 0.1, 1e-9);
}

}  // namespace
}  // namespace morvane
