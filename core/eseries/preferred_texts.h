#pragma once

// The texts of the standard-value tool: values with their prefix letters to the digits of
// their series, errors in percent, and the reading of what the user types, with the message
// for a value the tool does not take. The same under every locale.

#include <string>
#include <string_view>

namespace morvane {

// Targets the tool takes, in any unit (ohms, farads, henries): 1f to 1T.
inline constexpr double kLeastTarget = 1e-15;
inline constexpr double kMostTarget = 1e12;
// Ratios a / b the tool takes: 1u to 1M.
inline constexpr double kLeastRatio = 1e-6;
inline constexpr double kMostRatio = 1e6;

// x with a prefix letter (a, f, p, n, u, m, k, M, G, T; beyond them E+15 and so on) and
// `significantDigits` digits: "4.7k", "47n", "100", "1.00k", "4.753k". Reads back with
// ReadValue to the value rounded to those digits.
std::string PreferredValueText(double x, int significantDigits);

// x to six significant digits without the zeros at the end: "4.7531k", "4.75k", "1k", as a
// typed value is shown back.
std::string PlainValueText(double x);

// An error in percent with its sign, to two decimals, finer for small errors so that they do
// not show as zero: "+7.37 %", "-1.05 %", "+0.0042 %", "0 %".
std::string ErrorPercentText(double percent);

struct EntryReading {
  double value = 0.0;
  std::string problem;  // empty when the text gives a value the tool takes
};

// A target value as typed ("4k7", "10n", "2.2 M"); the message when it is no number or lies
// outside kLeastTarget..kMostTarget.
EntryReading ReadTargetEntry(std::string_view text);
// A ratio a / b as typed; the message when it is no number or outside kLeastRatio..kMostRatio.
EntryReading ReadRatioEntry(std::string_view text);

}  // namespace morvane
