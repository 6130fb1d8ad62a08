#pragma once

// The series of preferred values E3 to E192 (IEC 60063), one decade each, and their values in
// every decade, counted by one index across the decades.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace morvane {

enum class PreferredSeries { E3, E6, E12, E24, E48, E96, E192 };

inline constexpr std::array kAllPreferredSeries{
    PreferredSeries::E3,  PreferredSeries::E6,  PreferredSeries::E12,  PreferredSeries::E24,
    PreferredSeries::E48, PreferredSeries::E96, PreferredSeries::E192,
};

// The N values of one decade, ascending from 1.0 and below 10 (no closing 10.0).
std::span<const double> PreferredDecade(PreferredSeries series);

// "E3" .. "E192".
std::string_view PreferredSeriesName(PreferredSeries series);
// The series of a name, "E24" or "e24"; nothing for any other text.
std::optional<PreferredSeries> PreferredSeriesNamed(std::string_view name);

// The digits a value of the series is written with: 2 up to E24, 3 from E48 on.
int SignificantDigits(PreferredSeries series);

// The value with this index: index 0 is 1.0, N is 10, -1 the decade's last value below 1 and so
// on. It is the double nearest to the decimal value, as reading its text gives it (47 * 10^-10
// for 4.7n, not 4.7 * 1e-9). Indices whose value leaves 1e-30..1e30 are clamped to those decades.
double PreferredValueAt(PreferredSeries series, std::int64_t index);

// Relative slack within which a value counts as equal to a series value: 4.7 * 1e-9 is the
// series value 4.7n although it is a bit away from 47 * 10^-10.
inline constexpr double kPreferredSlack = 1e-9;

// The largest index whose value is at or below x (x within the slack counts as at). x is
// taken within 1e-30..1e30; NaN, 0 and below count as 1e-30.
std::int64_t PreferredIndexAtOrBelow(PreferredSeries series, double x);
// The smallest index whose value is at or above x (within the slack).
std::int64_t PreferredIndexAtOrAbove(PreferredSeries series, double x);

}  // namespace morvane
