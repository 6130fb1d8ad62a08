// ReadValueInDetail: the value ReadValue gives, and how much of the text it took.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

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
      {"4k7", 4000, 2, true, false},
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

}  // namespace
}  // namespace morvane
