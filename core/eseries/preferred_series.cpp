#include "eseries/preferred_series.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "numerics/standard_series.h"

namespace morvane {

namespace {

constexpr std::array<double, 3> kE3{1.0, 2.2, 4.7};

// IEC 60063 gives E192 at 9.20 where 10^(191/192) to three digits would be 9.19.
constexpr std::array<double, 192> kE192{
    1.00, 1.01, 1.02, 1.04, 1.05, 1.06, 1.07, 1.09, 1.10, 1.11, 1.13, 1.14, 1.15, 1.17, 1.18, 1.20,
    1.21, 1.23, 1.24, 1.26, 1.27, 1.29, 1.30, 1.32, 1.33, 1.35, 1.37, 1.38, 1.40, 1.42, 1.43, 1.45,
    1.47, 1.49, 1.50, 1.52, 1.54, 1.56, 1.58, 1.60, 1.62, 1.64, 1.65, 1.67, 1.69, 1.72, 1.74, 1.76,
    1.78, 1.80, 1.82, 1.84, 1.87, 1.89, 1.91, 1.93, 1.96, 1.98, 2.00, 2.03, 2.05, 2.08, 2.10, 2.13,
    2.15, 2.18, 2.21, 2.23, 2.26, 2.29, 2.32, 2.34, 2.37, 2.40, 2.43, 2.46, 2.49, 2.52, 2.55, 2.58,
    2.61, 2.64, 2.67, 2.71, 2.74, 2.77, 2.80, 2.84, 2.87, 2.91, 2.94, 2.98, 3.01, 3.05, 3.09, 3.12,
    3.16, 3.20, 3.24, 3.28, 3.32, 3.36, 3.40, 3.44, 3.48, 3.52, 3.57, 3.61, 3.65, 3.70, 3.74, 3.79,
    3.83, 3.88, 3.92, 3.97, 4.02, 4.07, 4.12, 4.17, 4.22, 4.27, 4.32, 4.37, 4.42, 4.48, 4.53, 4.59,
    4.64, 4.70, 4.75, 4.81, 4.87, 4.93, 4.99, 5.05, 5.11, 5.17, 5.23, 5.30, 5.36, 5.42, 5.49, 5.56,
    5.62, 5.69, 5.76, 5.83, 5.90, 5.97, 6.04, 6.12, 6.19, 6.26, 6.34, 6.42, 6.49, 6.57, 6.65, 6.73,
    6.81, 6.90, 6.98, 7.06, 7.15, 7.23, 7.32, 7.41, 7.50, 7.59, 7.68, 7.77, 7.87, 7.96, 8.06, 8.16,
    8.25, 8.35, 8.45, 8.56, 8.66, 8.76, 8.87, 8.98, 9.09, 9.20, 9.31, 9.42, 9.53, 9.65, 9.76, 9.88};

// E6 to E96 are the tables the designs round to, without their closing 10.0.
std::span<const double> DesignTable(int code) {
  const std::span<const double> table = SeriesDecade(code);
  return table.first(table.size() - 1);
}

// The decades PreferredValueAt keeps to, and the values the index search clamps x to.
constexpr int kLowestDecade = -31;
constexpr int kHighestDecade = 30;
constexpr double kSmallestLocated = 1e-30;
constexpr double kLargestLocated = 1e30;

// m * 10^e with one rounding: 10^|e| is exact up to 1e22, which covers every decade a caller
// shows; beyond, the second rounding of pow does not matter.
double Scaled(double m, int e) {
  return e >= 0 ? m * std::pow(10.0, e) : m / std::pow(10.0, -e);
}

std::int64_t FloorDivide(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

std::span<const double> PreferredDecade(PreferredSeries series) {
  switch (series) {
    case PreferredSeries::E3:
      return kE3;
    case PreferredSeries::E6:
      return DesignTable(kSeriesE6);
    case PreferredSeries::E12:
      return DesignTable(2);
    case PreferredSeries::E24:
      return DesignTable(3);
    case PreferredSeries::E48:
      return DesignTable(4);
    case PreferredSeries::E96:
      return DesignTable(kSeriesE96);
    case PreferredSeries::E192:
      return kE192;
  }
  return kE3;
}

std::string_view PreferredSeriesName(PreferredSeries series) {
  switch (series) {
    case PreferredSeries::E3:
      return "E3";
    case PreferredSeries::E6:
      return "E6";
    case PreferredSeries::E12:
      return "E12";
    case PreferredSeries::E24:
      return "E24";
    case PreferredSeries::E48:
      return "E48";
    case PreferredSeries::E96:
      return "E96";
    case PreferredSeries::E192:
      return "E192";
  }
  return "E3";
}

std::optional<PreferredSeries> PreferredSeriesNamed(std::string_view name) {
  for (const PreferredSeries series : kAllPreferredSeries) {
    const std::string_view own = PreferredSeriesName(series);
    if (own.size() == name.size() &&
        std::equal(own.begin(), own.end(), name.begin(), [](char a, char b) {
          return std::toupper(static_cast<unsigned char>(a)) ==
                 std::toupper(static_cast<unsigned char>(b));
        })) {
      return series;
    }
  }
  return std::nullopt;
}

int SignificantDigits(PreferredSeries series) {
  return series >= PreferredSeries::E48 ? 3 : 2;
}

double PreferredValueAt(PreferredSeries series, std::int64_t index) {
  const std::span<const double> decade = PreferredDecade(series);
  const auto n = static_cast<std::int64_t>(decade.size());
  const std::int64_t d =
      std::clamp<std::int64_t>(FloorDivide(index, n), kLowestDecade, kHighestDecade);
  const auto i = static_cast<std::size_t>(index - FloorDivide(index, n) * n);
  // The table's entries have two decimals: as whole hundredths they are exact.
  const double hundredths = std::round(decade[i] * 100.0);
  return Scaled(hundredths, static_cast<int>(d) - 2);
}

std::int64_t PreferredIndexAtOrBelow(PreferredSeries series, double x) {
  // NaN and values not above 0 count as the smallest, so that no index comes from a NaN.
  x = x > 0.0 ? std::clamp(x, kSmallestLocated, kLargestLocated) : kSmallestLocated;
  const auto n = static_cast<double>(PreferredDecade(series).size());
  auto k = static_cast<std::int64_t>(std::floor(std::log10(x) * n));
  const double reach = x * (1.0 + kPreferredSlack);
  while (PreferredValueAt(series, k) > reach) --k;
  while (PreferredValueAt(series, k + 1) <= reach) ++k;
  return k;
}

std::int64_t PreferredIndexAtOrAbove(PreferredSeries series, double x) {
  const std::int64_t k = PreferredIndexAtOrBelow(series, x);
  const double clamped =
      x > 0.0 ? std::clamp(x, kSmallestLocated, kLargestLocated) : kSmallestLocated;
  return PreferredValueAt(series, k) >= clamped * (1.0 - kPreferredSlack) ? k : k + 1;
}

}  // namespace morvane
