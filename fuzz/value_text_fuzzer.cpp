// ParseValue and ReadValue on any text: the reading is a finite number (0 when unreadable),
// and every text FormatValue and FormatFixed write for it reads back as that number within
// the rounding of the text.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_checks.h"
#include "numerics/value_text.h"

namespace {

using morvane::fuzz::Fail;

// A written text must read back within half a unit of its last decimal; the mantissa of a
// prefix or exponent text is at least 1, so that bounds the relative error.
void CheckValueRoundTrip(int width, int decimals, double x) {
  const std::string text = morvane::FormatValue(width, decimals, x);
  if (morvane::fuzz::ShowsNanOrInf(text)) Fail("FormatValue shows nan/inf", text);
  const double back = morvane::ReadValue(text);
  if (std::fabs(x) < 1e-300) {
    if (back != 0.0) Fail("zero text does not read as 0", text);
    return;
  }
  // Beyond the prefix letters FormatValue writes an exponent text with one decimal less.
  const double e = morvane::Log10OrFloor(x);
  const int shown = (e < -18 || e > 13) ? std::max(decimals - 1, 1) : decimals;
  const double tolerance = 0.5 * std::pow(10.0, -shown) * 1.001 + 1e-12;
  if (!(std::fabs(back - x) <= tolerance * std::fabs(x))) {
    Fail("FormatValue text does not read back", text + " from " + std::to_string(x));
  }
}

void CheckFixedRoundTrip(int decimals, double x) {
  const std::string text = morvane::FormatFixed(10, decimals, x);
  if (morvane::fuzz::ShowsNanOrInf(text)) Fail("FormatFixed shows nan/inf", text);
  const double back = morvane::ReadValue(text);
  // Digits are summed one by one, so long texts collect a few units of rounding.
  const double tolerance = 0.5 * std::pow(10.0, -decimals) * 1.001 + 1e-12 * std::fabs(x);
  if (!(std::fabs(back - x) <= tolerance)) {
    Fail("FormatFixed text does not read back", text + " from " + std::to_string(x));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const morvane::ParsedValue parsed = morvane::ParseValue(text);
  if (parsed.error != 0 && parsed.error != 1) Fail("ParseValue error code");
  if (!std::isfinite(parsed.value)) Fail("ParseValue gave a value that is not finite");
  if (parsed.error == 1 && parsed.value != 0.0) Fail("unreadable text did not read as 0");

  const double read = morvane::ReadValue(text);
  if (!std::isfinite(read)) Fail("ReadValue gave a value that is not finite");
  if (text.find("mil") == std::string_view::npos && read != parsed.value) {
    Fail("ReadValue differs from ParseValue without \"mil\"");
  }

  for (const double x : {parsed.value, read}) {
    CheckValueRoundTrip(7, 2, x);  // results
    CheckValueRoundTrip(7, 3, x);  // entry texts after a spin
    CheckValueRoundTrip(6, 1, x);  // the readout frequency
    CheckFixedRoundTrip(3, x);
    CheckFixedRoundTrip(2, x);
    const std::string axis = morvane::FormatAxisValue(1, x);
    if (morvane::fuzz::ShowsNanOrInf(axis)) Fail("FormatAxisValue shows nan/inf", axis);
  }
  return 0;
}
