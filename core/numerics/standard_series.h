#pragma once

// Standard series of preferred values E6 to E96.

#include <span>
#include <string>

namespace morvane {

// Series codes: 0 no rounding, 1 E6, 2 E12, 3 E24, 4 E48, 5 E96.
inline constexpr int kSeriesNone = 0;
inline constexpr int kSeriesE6 = 1;
inline constexpr int kSeriesE96 = 5;

// One decade of the series, ascending from 1.0, followed by the sentinel 10.0
// (N + 1 values). Code 0 or out of range gives an empty span.
std::span<const double> SeriesDecade(int series);

// Name of the series ("E6" .. "E96"), or "" for an unknown code.
const char* SeriesName(int series);

// FormatValue(6, 2, ...) of the series value strictly below x (x > 0).
std::string RoundDownToSeries(int series, double x);
// FormatValue(6, 2, ...) of the series value at or above x (x > 0).
std::string RoundUpToSeries(int series, double x);

// The same roundings as numbers: bit for bit the value that reading back the texts above
// gives, without making the text (the designs call these thousands of times).
double SeriesValueBelow(int series, double x);
double SeriesValueAbove(int series, double x);
// The series value nearest to x by ratio (x itself when it is one), as those above give it.
double NearestSeriesValue(int series, double x);

}  // namespace morvane
