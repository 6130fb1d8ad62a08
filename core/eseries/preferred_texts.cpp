#include "eseries/preferred_texts.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "numerics/number_text.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

// x / 10^k with one rounding.
double Unscaled(double x, int k) {
  return k >= 0 ? x / std::pow(10.0, k) : x * std::pow(10.0, -k);
}

int ThousandsStep(double x) {
  return 3 * static_cast<int>(std::floor(std::floor(std::log10(x)) / 3.0));
}

std::string PrefixOfStep(int k) {
  static constexpr const char* kLetters[] = {"a", "f", "p", "n", "u", "m", "", "k", "M", "G", "T"};
  if (k < -18 || k > 12) return (k < 0 ? "E-" : "E+") + std::to_string(std::abs(k));
  return kLetters[(k + 18) / 3];
}

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

EntryReading ReadEntry(std::string_view text, std::string_view what, double least, double most,
                       std::string_view range) {
  const std::string shown = Trimmed(text);
  EntryReading reading;
  if (shown.empty()) {
    reading.problem = "Type a " + std::string(what) + ".";
    return reading;
  }
  const ValueReading read = ReadValueInDetail(shown);
  if (!read.readable) {
    reading.problem = "\"" + shown + "\" is not a number.";
    return reading;
  }
  reading.value = read.value;
  const double slack = 1.0 + 1e-9;
  if (!(read.value > 0.0)) {
    reading.problem = "The " + std::string(what) + " must be above 0.";
  } else if (read.beyondLimit || read.value * slack < least || read.value > most * slack) {
    reading.problem = "The " + std::string(what) + " must lie between " + std::string(range) + ".";
  }
  return reading;
}

}  // namespace

std::string PreferredValueText(double x, int significantDigits) {
  if (!(x > 0.0) || !std::isfinite(x)) return "0";
  const int digits = std::clamp(significantDigits, 1, 17);
  int k = ThousandsStep(x);
  double m = Unscaled(x, k);
  int whole = m < 10.0 ? 1 : m < 100.0 ? 2 : 3;
  // Rounding may carry into one more whole digit (99.96 to three digits is 100), and from
  // 999.7 into the next prefix (1.00k).
  const auto rounded = [&] {
    const double scale = std::pow(10.0, std::max(digits - whole, 0));
    return std::round(m * scale) / scale;
  };
  if (rounded() >= std::pow(10.0, whole)) ++whole;
  if (whole > 3) {
    k += 3;
    m = Unscaled(x, k);
    whole = 1;
  }
  return FixedText(m, std::max(digits - whole, 0)) + PrefixOfStep(k);
}

std::string PlainValueText(double x) {
  std::string text = PreferredValueText(x, 6);
  const std::size_t end = text.find_first_not_of("0123456789.");
  const std::string prefix = end == std::string::npos ? "" : text.substr(end);
  std::string number = text.substr(0, end);
  if (number.find('.') != std::string::npos) {
    number.erase(number.find_last_not_of('0') + 1);
    if (number.back() == '.') number.pop_back();
  }
  return number + prefix;
}

std::string ErrorPercentText(double percent) {
  if (!std::isfinite(percent)) return "-";
  const double size = std::fabs(percent);
  if (size < 5e-7) return "0 %";
  // Two decimals, or two significant digits where that gives more.
  const int decimals = size >= 0.01 ? 2 : 1 - static_cast<int>(std::floor(std::log10(size)));
  return (percent > 0.0 ? "+" : "") + FixedText(percent, std::min(decimals, 8)) + " %";
}

EntryReading ReadTargetEntry(std::string_view text) {
  return ReadEntry(text, "value", kLeastTarget, kMostTarget, "1f and 1T");
}

EntryReading ReadRatioEntry(std::string_view text) {
  return ReadEntry(text, "ratio", kLeastRatio, kMostRatio, "1u and 1M");
}

}  // namespace morvane
