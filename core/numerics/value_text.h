#pragma once

// Engineering value text: every number the program shows is written here, and every
// number the user types is read back by ReadValue.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morvane {

// log10 with log10(0) taken as -1e300, as used by the value text, series and graphs.
double Log10OrFloor(double x);

// General value text with a prefix letter, e.g. FormatValue(7, 2, 4700) == "   4.70k".
std::string FormatValue(int width, int decimals, double x);
// Exponent-suffix text used by FormatValue beyond the prefix letters.
std::string FormatExponent(int width, int decimals, double x);
// Short text for graph axes and the diplexer grid, e.g. FormatAxisValue(1, 0.05) == "50.0m".
std::string FormatAxisValue(int decimals, double x);
std::string FormatAxisExponent(int decimals, double x);
// Fixed-point text right-aligned in `width` characters (never cut).
std::string FormatFixed(int width, int decimals, double x);
// FormatValue(7, 2, x) trimmed, a blank, its prefix letter and the unit, as a result field
// shows a value with its unit: "10.20 kΩ", "1.00 nF", "2.5E+24 Ω".
std::string FormatQuantity(double x, std::string_view unit);
// FormatFixed(10, decimals, x) without its leading blanks.
std::string FormatFixedTrimmed(int decimals, double x);
std::string FormatInteger(std::int32_t n);
std::string YesNoText(bool flag);

struct ParsedValue {
  double value = 0.0;
  int error = 0;  // 0 read, 1 not readable
};

ParsedValue ParseValue(std::string_view text);
// The reader behind every entry field: unreadable text reads as 0. A prefix letter scales
// ("4.7k"), also after blanks ("4.7 k"); between digits it, or R (a factor of one), stands
// for the decimal point ("4k7", "2R2", "1M5"), R also before them ("R47"); the micro sign
// reads as u. Text up to "mil" is read with its "m" as milli and scaled by 2.54 ("10mil"
// reads as 25.4 um).
double ReadValue(std::string_view text);

// What ReadValue makes of a text and how much of it it takes. The characters from `used` on
// are not read ("1.2.3" reads as 1.2 with ".3" left over; the "B" of "dB" and a whole "mil"
// count as read). `readable`: the text reads as a number (a readable first character and a
// digit among the characters read; "k47" is none) rather than falling back to 0. `beyondLimit`: its
// magnitude lies above 1e300, the most ReadValue gives (so "1e999" reads as 1e300).
struct ValueReading {
  double value = 0.0;
  bool readable = false;
  std::size_t used = 0;
  bool beyondLimit = false;
};
ValueReading ReadValueInDetail(std::string_view text);
bool IsReadableValue(std::string_view text);

}  // namespace morvane
