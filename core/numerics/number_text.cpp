#include "numerics/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace morvane {

namespace {

std::string ToChars(double x, std::chars_format format, int precision) {
  // The longest fixed text of a double: 309 integer digits, the point, and the decimals
  // (callers keep them below 256).
  std::array<char, 640> text{};
  const auto result =
      std::to_chars(text.data(), text.data() + text.size(), x, format, std::max(precision, 0));
  if (result.ec != std::errc()) return "0";
  return std::string(text.data(), result.ptr);
}

}  // namespace

std::string FixedText(double x, int decimals) {
  return ToChars(x, std::chars_format::fixed, decimals);
}

std::string ScientificText(double x, int decimals) {
  std::string text = ToChars(x, std::chars_format::scientific, decimals);
  std::replace(text.begin(), text.end(), 'e', 'E');
  return text;
}

std::string GeneralText(double x, int significantDigits) {
  return ToChars(x, std::chars_format::general, significantDigits);
}

}  // namespace morvane
