#include "numerics/standard_series.h"

#include <array>
#include <cmath>
#include <vector>

#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr std::array<double, 7> kE6{1.0, 1.5, 2.2, 3.3, 4.7, 6.8, 10.0};

constexpr std::array<double, 13> kE12{1.0, 1.2, 1.5, 1.8, 2.2, 2.7, 3.3,
                                      3.9, 4.7, 5.6, 6.8, 8.2, 10.0};

constexpr std::array<double, 25> kE24{1.0, 1.1, 1.2, 1.3, 1.5, 1.6, 1.8, 2.0, 2.2,
                                      2.4, 2.7, 3.0, 3.3, 3.6, 3.9, 4.3, 4.7, 5.1,
                                      5.6, 6.2, 6.8, 7.5, 8.2, 9.1, 10.0};

constexpr std::array<double, 49> kE48{1.00, 1.05, 1.10, 1.15, 1.21, 1.27, 1.33, 1.40, 1.47, 1.54,
                                      1.62, 1.69, 1.78, 1.87, 1.96, 2.05, 2.15, 2.26, 2.37, 2.49,
                                      2.61, 2.74, 2.87, 3.01, 3.16, 3.32, 3.48, 3.65, 3.83, 4.02,
                                      4.22, 4.42, 4.64, 4.87, 5.11, 5.36, 5.62, 5.90, 6.19, 6.49,
                                      6.81, 7.15, 7.50, 7.87, 8.25, 8.66, 9.09, 9.53, 10.0};

constexpr std::array<double, 97> kE96{
    1.00, 1.02, 1.05, 1.07, 1.10, 1.13, 1.15, 1.18, 1.21, 1.24, 1.27, 1.30, 1.33, 1.37,
    1.40, 1.43, 1.47, 1.50, 1.54, 1.58, 1.62, 1.65, 1.69, 1.74, 1.78, 1.82, 1.87, 1.91,
    1.96, 2.00, 2.05, 2.10, 2.15, 2.21, 2.26, 2.32, 2.37, 2.43, 2.49, 2.55, 2.61, 2.67,
    2.74, 2.80, 2.87, 2.94, 3.01, 3.09, 3.16, 3.24, 3.32, 3.40, 3.48, 3.57, 3.65, 3.74,
    3.83, 3.92, 4.02, 4.12, 4.22, 4.32, 4.42, 4.53, 4.64, 4.75, 4.87, 4.99, 5.11, 5.23,
    5.36, 5.49, 5.62, 5.76, 5.90, 6.04, 6.19, 6.34, 6.49, 6.65, 6.81, 6.98, 7.15, 7.32,
    7.50, 7.68, 7.87, 8.06, 8.25, 8.45, 8.66, 8.87, 9.09, 9.31, 9.53, 9.76, 10.0};

// Values that agree to this relative amount count as equal: a series value read back from
// its text (1.5e-9 * 1e9 = 1.5000000000000002) must still count as that series value.
constexpr double kSlack = 1e-9;

// x * 10^n in steps that neither overflow nor underflow on the way for any double x.
double TimesPowerOfTen(double x, int n) {
  for (; n > 300; n -= 300) x *= 1e300;
  for (; n < -300; n += 300) x *= 1e-300;
  // 10^|n| is exact up to 1e22, so the division rounds once where 10^-|n| would not.
  return n >= 0 ? x * std::pow(10.0, n) : x / std::pow(10.0, -n);
}

struct Position {
  std::span<const double> table;
  int m = 0;  // first index from 1 whose entry is not below o (N when o is beyond E[N-1])
  int h = 0;  // decade
};

// Steps 2 and 3 of the rounding: the decade h with 1 < o <= 10, and the index m. An exact
// power of ten takes o = 10 in the decade below, so that 1000 rounds down to 680 and up
// to 1000 itself, just as every other series value does.
Position Locate(std::span<const double> table, double x) {
  Position p{table, 1, static_cast<int>(std::floor(std::log10(x)))};
  double o = TimesPowerOfTen(x, -p.h);
  // log10 may land on the wrong side of an integer; move o into (1, 10].
  while (o <= 1.0 + kSlack) {
    --p.h;
    o = TimesPowerOfTen(x, -p.h);
  }
  while (o > 10.0 * (1.0 + kSlack)) {
    ++p.h;
    o = TimesPowerOfTen(x, -p.h);
  }
  const int n = static_cast<int>(table.size()) - 1;
  while (p.m < n && o > table[p.m] * (1.0 + kSlack)) ++p.m;
  return p;
}

// Zero, negative and non-finite values have no decade: they are shown unrounded.
bool Roundable(std::span<const double> table, double x) {
  return !table.empty() && std::isfinite(x) && x > 0.0;
}

// Decades whose series values are kept as read back from their texts; the rest are read back
// when asked for.
constexpr int kLowestDecade = -40;
constexpr int kHighestDecade = 40;

// The value the text of table[m] * 10^h reads back as.
double ReadBack(std::span<const double> table, int m, int h) {
  return ReadValue(FormatValue(6, 2, TimesPowerOfTen(table[m], h)));
}

// table[m] * 10^h read back from its text, for every series, m and decade in range.
double SeriesValue(int series, std::span<const double> table, int m, int h) {
  if (h < kLowestDecade || h > kHighestDecade) return ReadBack(table, m, h);
  static const auto readBack = [] {
    std::array<std::vector<double>, kSeriesE96 + 1> values;
    for (int code = kSeriesE6; code <= kSeriesE96; ++code) {
      const std::span<const double> decade = SeriesDecade(code);
      for (int d = kLowestDecade; d <= kHighestDecade; ++d) {
        for (int i = 0; i < static_cast<int>(decade.size()); ++i) {
          values[static_cast<std::size_t>(code)].push_back(ReadBack(decade, i, d));
        }
      }
    }
    return values;
  }();
  const auto index =
      static_cast<std::size_t>(h - kLowestDecade) * table.size() + static_cast<std::size_t>(m);
  return readBack[static_cast<std::size_t>(series)][index];
}

}  // namespace

std::span<const double> SeriesDecade(int series) {
  switch (series) {
    case 1:
      return kE6;
    case 2:
      return kE12;
    case 3:
      return kE24;
    case 4:
      return kE48;
    case 5:
      return kE96;
    default:
      return {};
  }
}

const char* SeriesName(int series) {
  switch (series) {
    case 1:
      return "E6";
    case 2:
      return "E12";
    case 3:
      return "E24";
    case 4:
      return "E48";
    case 5:
      return "E96";
    default:
      return "";
  }
}

std::string RoundDownToSeries(int series, double x) {
  const std::span<const double> table = SeriesDecade(series);
  if (!Roundable(table, x)) return FormatValue(6, 2, x);
  const Position p = Locate(table, x);
  return FormatValue(6, 2, TimesPowerOfTen(p.table[p.m - 1], p.h));
}

std::string RoundUpToSeries(int series, double x) {
  const std::span<const double> table = SeriesDecade(series);
  if (!Roundable(table, x)) return FormatValue(6, 2, x);
  const Position p = Locate(table, x);
  return FormatValue(6, 2, TimesPowerOfTen(p.table[p.m], p.h));
}

double SeriesValueBelow(int series, double x) {
  const std::span<const double> table = SeriesDecade(series);
  if (!Roundable(table, x)) return ReadValue(FormatValue(6, 2, x));
  const Position p = Locate(table, x);
  return SeriesValue(series, table, p.m - 1, p.h);
}

double SeriesValueAbove(int series, double x) {
  const std::span<const double> table = SeriesDecade(series);
  if (!Roundable(table, x)) return ReadValue(FormatValue(6, 2, x));
  const Position p = Locate(table, x);
  return SeriesValue(series, table, p.m, p.h);
}

double NearestSeriesValue(int series, double x) {
  const double above = SeriesValueAbove(series, x);
  if (above == x) return above;
  const double below = SeriesValueBelow(series, x);
  return above / x <= x / below ? above : below;
}

}  // namespace morvane
