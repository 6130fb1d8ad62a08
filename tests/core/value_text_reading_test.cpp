// ReadValueInDetail: the value ReadValue gives, and how much of the text it took.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "numerics/value_text.h"

namespace morvane {
namespace {

struct DetailCase {
  std::string text;
  double value;
  std::size_t used;
  bool readable;
  bool beyondLimit;
};

TEST(ReadValueInDetail, UsedCharactersAndLimit) {
  const DetailCase cases[] = {
      {"1.2.3", 1.2, 3, true, false},
      {"1,5,5k", 1.5, 3, true, false},
      {"4k7", 4700, 3, true, false},
      {"2meg", 0.002, 2, true, false},
      {"10kOhm", 10000, 3, true, false},
      {"  12 ", 12, 4, true, false},
      {"-1.5k", -1500, 5, true, false},
      {"1e3e2", 1000, 3, true, false},
      // "dB" is one unit: its "B" is read; a "d" alone is deci.
      {"3dB", 3, 3, true, false},
      {"3db", 3, 3, true, false},
      {"3dx", 0.3, 2, true, false},
      // "mil" is read whole; what follows it is not.
      {"10mil", 10e-3 * 2.54e-3, 5, true, false},
      {"10milx", 10e-3 * 2.54e-3, 5, true, false},
      // No number: nothing or only a letter read.
      {"", 0, 0, false, false},
      {"xyz", 0, 0, false, false},
      {"abc", 0, 1, false, false},
      {"-", -0.0, 1, false, false},
      // Beyond 1e300 the reading is held there, and says so.
      {"1e300", 1e300, 5, true, false},
      {"1e999", 1e300, 5, true, true},
      {"-1e999", -1e300, 6, true, true},
      {"1e400", 1e300, 5, true, true},
      {"1.797693134862316E+308", 1e300, 22, true, true},
      {std::string(400, '9'), 1e300, 400, true, true},
      {"1e-999", 0, 6, true, false},
      {"0e999", 0, 5, true, false},
  };
  for (const DetailCase& c : cases) {
    SCOPED_TRACE('"' + c.text + '"');
    const ValueReading reading = ReadValueInDetail(c.text);
    EXPECT_DOUBLE_EQ(reading.value, c.value);
    EXPECT_EQ(reading.used, c.used);
    EXPECT_EQ(reading.readable, c.readable);
    EXPECT_EQ(reading.beyondLimit, c.beyondLimit);
    // The window's reader gives the same value, bit for bit.
    const double read = ReadValue(c.text);
    EXPECT_EQ(std::memcmp(&read, &reading.value, sizeof read), 0);
    EXPECT_EQ(IsReadableValue(c.text), c.readable);
  }
}

// The notation electronics engineers write: a prefix letter (or R, a factor of one) in place
// of the decimal point, R before the digits, a blank before the prefix letter; the micro sign
// and the Greek mu as u. What no engineer writes reads only in part, or not at all.
TEST(ReadValueInDetail, EngineeringNotation) {
  const DetailCase cases[] = {
      {"4k7", 4.7e3, 3, true, false},
      {"4K7", 4.7e3, 3, true, false},
      {"2R2", 2.2, 3, true, false},
      {"R47", 0.47, 3, true, false},
      {"r47", 0.47, 3, true, false},
      {"47R", 47, 3, true, false},
      {"4n7", 4.7e-9, 3, true, false},
      {"4p7", 4.7e-12, 3, true, false},
      {"4u7", 4.7e-6, 3, true, false},
      {"4\xC2\xB5"
       "7",
       4.7e-6, 4, true, false},  // micro sign
      {"4\xCE\xBC"
       "7",
       4.7e-6, 4, true, false},  // Greek mu
      {"4.7\xC2\xB5", 4.7e-6, 5, true, false},
      {"1M5", 1.5e6, 3, true, false},
      {"4m7", 4.7e-3, 3, true, false},
      {"1G25", 1.25e9, 4, true, false},
      {"-4k7", -4.7e3, 4, true, false},
      {"4k75", 4.75e3, 4, true, false},
      {"0k1", 100, 3, true, false},
      // A blank (or several) before the prefix letter.
      {"4.7 k", 4.7e3, 5, true, false},
      {"4,7 k", 4.7e3, 5, true, false},
      {"4.7   k", 4.7e3, 7, true, false},
      {"4.7 kHz", 4.7e3, 5, true, false},
      {"4.7 \xC2\xB5"
       "F",
       4.7e-6, 6, true, false},
      {"3 dB", 3, 4, true, false},
      {"47 R", 47, 4, true, false},
      {"1.5 m", 1.5e-3, 5, true, false},
      {"1.5 M", 1.5e6, 5, true, false},
      // Not this notation: read in part.
      {"4k7k", 4.7e3, 3, true, false},   // a second prefix letter
      {"4k7.5", 4.7e3, 3, true, false},  // a point after the letter
      {"4.7k7", 4.7e3, 4, true, false},  // a letter after the point
      {"4k7e3", 4.7e3, 3, true, false},  // an exponent after the letter
      {"1e3k7", 1e3, 3, true, false},    // a letter after the exponent
      {"4 k7", 4e3, 3, true, false},     // a blank before the letter of "4k7"
      {"4 7", 4, 1, true, false},        // a blank before no letter
      {"4.7 Ohm", 4.7, 3, true, false},
      {"4.7 ", 4.7, 3, true, false},
      {"4kk", 4e3, 2, true, false},
      // A leading letter other than R: no number.
      {"k47", 0, 1, false, false},
      {"M5", 0, 1, false, false},
      {"n4", 0, 1, false, false},
      {"R", 0, 1, false, false},
      {"Rk", 0, 1, false, false},
      {"\xC2\xB5"
       "4",
       0, 0, false, false},
  };
  for (const DetailCase& c : cases) {
    SCOPED_TRACE('"' + c.text + '"');
    const ValueReading reading = ReadValueInDetail(c.text);
    EXPECT_DOUBLE_EQ(reading.value, c.value);
    EXPECT_EQ(reading.used, c.used);
    EXPECT_EQ(reading.readable, c.readable);
    EXPECT_EQ(reading.beyondLimit, c.beyondLimit);
  }
}

// What the program writes into entry fields and files never holds the notation, so every
// value text reads back as the value it was written for, as it always did.
TEST(ReadValueInDetail, WrittenTextsReadAsBefore) {
  for (double x = 1.234e-16; x < 1e13; x *= 7.3) {
    // The texts and how far from x their rounding may lie.
    const std::pair<std::string, double> written[] = {
        {FormatValue(7, 2, x), 0.006},
        {FormatValue(6, 2, x), 0.006},
        {FormatValue(7, 3, x), 0.0006},
        {FormatExponent(7, 2, x), 0.006},
        {FormatAxisValue(2, x), 0.05},
        {FormatQuantity(x, ""), 0.006},  // "4.70 k": now the value it shows
    };
    for (const auto& [text, tolerance] : written) {
      SCOPED_TRACE('"' + text + '"');
      const ValueReading reading = ReadValueInDetail(text);
      EXPECT_TRUE(reading.readable);
      EXPECT_EQ(text.substr(reading.used).find_first_not_of(' '), std::string::npos);
      EXPECT_NEAR(reading.value, x, std::fabs(x) * tolerance);
    }
  }
}

}  // namespace
}  // namespace morvane
