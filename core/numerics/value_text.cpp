#include "numerics/value_text.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <optional>

#include "numerics/number_text.h"

namespace morvane {

namespace {

// Widths and decimals are bytes in the callers; keep them in that range so printf never
// sees a negative width (left-justify) or precision (default of six).
int ClampByte(int n) {
  return std::clamp(n, 0, 255);
}

// No text of ours shows "nan" or "inf": NaN is written as zero, an infinity as the
// largest finite value of its sign. Both read back as finite numbers.
double Finite(double x) {
  if (std::isnan(x)) return 0.0;
  if (std::isinf(x)) return std::copysign(DBL_MAX, x);
  return x;
}

// Text right-aligned in `width` characters, never cut.
std::string PadLeft(std::string text, int width) {
  const auto w = static_cast<std::size_t>(ClampByte(width));
  if (text.size() < w) text.insert(0, w - text.size(), ' ');
  return text;
}

// Fix(v, w, d). The exact binary value is rounded, so a true tie (0.125 to two decimals)
// goes to even; a value that rounds to zero loses its sign ("0.00", not "-0.00").
std::string Fix(double v, int width, int decimals) {
  std::string text = FixedText(Finite(v), ClampByte(decimals));
  if (!text.empty() && text[0] == '-' && text.find_first_of("123456789") == std::string::npos) {
    text.erase(0, 1);
  }
  return PadLeft(std::move(text), width);
}

// The zero text of FormatValue and FormatExponent: "0." and d zeros behind w - d - 2 blanks.
std::string ZeroText(int width, int decimals) {
  return std::string(static_cast<std::size_t>(std::max(width - decimals - 2, 0)), ' ') + "0." +
         std::string(static_cast<std::size_t>(decimals), '0');
}

// log10 |x| with everything below 1e-300 counted as zero.
double Log10OrFloorTiny(double x) {
  return std::fabs(x) < 1e-300 ? -1e300 : std::log10(std::fabs(x));
}

// The integer part of a decimal logarithm, with values a hair (`slack`) below the next
// integer counted as that integer. Ties go to even, like every Round of the program.
int DecadeOf(double e, double slack) {
  return static_cast<int>(std::nearbyint(e - slack));
}

// 3 * floor(g / 3), also for negative g.
int ThousandsExponent(int g) {
  return 3 * static_cast<int>(std::floor(g / 3.0));
}

// x / 10^k. 10^|k| is exact up to 1e22, so multiplying by it for negative k rounds once
// instead of twice (0.000333 / 1e-6 gives 333.00000000000006, 0.000333 * 1e6 gives 333).
double ScaleDown(double x, int k) {
  return k >= 0 ? x / std::pow(10.0, k) : x * std::pow(10.0, -k);
}

std::string ExponentText(int width, int decimals, double x, bool axis) {
  x = Finite(x);
  const double e = Log10OrFloorTiny(x);
  if (e < -27 || e > 31) {
    if (std::fabs(x) < 1e-300) {
      return axis ? "0." + std::string(static_cast<std::size_t>(decimals), '0')
                  : ZeroText(width, decimals);
    }
    // Outside the suffix bands: plain scientific notation, as wide as a banded text
    // ("   1.5E+40"); the axis version is left unpadded.
    return PadLeft(ScientificText(x, decimals), axis ? 0 : width + 4);
  }
  const int k = ThousandsExponent(DecadeOf(e, 0.4999999999));
  std::string text = Fix(ScaleDown(x, k), width, decimals);
  text += k < 0 ? "E-" : "E+";
  text += std::to_string(std::abs(k));
  if (!axis && k > -10 && k < 10) text += ' ';
  return text;
}

// The prefix letters, and R (a factor of one) for the resistor notation "2R2", "R47", "47R".
constexpr std::string_view kPrefixLetters = "ACDFGKMNPRTUacdfgkmnprtu";
constexpr std::string_view kStartChars =
    " +,-.0123456789Ee"
    "ACDFGKMNPRTUacdfgkmnprtu";

// The micro sign (U+00B5) and the Greek mu (U+03BC), in UTF-8: both read as the letter u.
// Returns how many bytes of `text` from `at` on make one of them, or 0.
std::size_t MicroSignAt(std::string_view text, std::size_t at) {
  for (const std::string_view mu : {std::string_view("\xC2\xB5"), std::string_view("\xCE\xBC")}) {
    if (text.substr(at).starts_with(mu)) return mu.size();
  }
  return 0;
}

bool PrefixLetterAt(std::string_view text, std::size_t at) {
  return at < text.size() &&
         (kPrefixLetters.find(text[at]) != std::string_view::npos || MicroSignAt(text, at) > 0);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Magnitudes read beyond this are held here, so a reading never overflows to infinity and
// leaves headroom for the arithmetic that follows (it mirrors the 1e-300 zero of the texts).
constexpr double kReadLimit = 1e300;

// m * 10^p for an integral p of any size, clamped to +-kReadLimit, without the overflow of
// pow(10, p) itself (and without 0 * inf).
double TimesPowerOfTen(double m, double p) {
  if (m == 0.0) return m;
  const double magnitude = std::log10(std::fabs(m)) + p;
  if (magnitude > 300.0) return std::copysign(kReadLimit, m);
  if (magnitude < -400.0) return std::copysign(0.0, m);
  for (; p > 300.0; p -= 300.0) m *= 1e300;
  for (; p < -300.0; p += 300.0) m *= 1e-300;
  const double v = m * std::pow(10.0, p);
  return std::fabs(v) > kReadLimit ? std::copysign(kReadLimit, v) : v;
}

struct Prefix {
  double factor;
  int exponent;  // log10 of factor
};

// The factor of a prefix letter; `next` is the character after it, for "dB".
Prefix PrefixOf(char c, char next) {
  switch (c) {
    case 'A':
    case 'a':
      return {1e-18, -18};
    case 'F':
    case 'f':
      return {1e-15, -15};
    case 'P':
    case 'p':
      return {1e-12, -12};
    case 'N':
    case 'n':
      return {1e-9, -9};
    case 'U':
    case 'u':
      return {1e-6, -6};
    case 'm':
      return {1e-3, -3};
    case 'R':
    case 'r':
      return {1.0, 0};
    case 'C':
    case 'c':
      return {1e-2, -2};
    case 'D':
    case 'd':
      return next == 'B' || next == 'b' ? Prefix{1.0, 0} : Prefix{1e-1, -1};
    case 'K':
    case 'k':
      return {1e3, 3};
    case 'M':
      return {1e6, 6};
    case 'G':
    case 'g':
      return {1e9, 9};
    case 'T':
    case 't':
      return {1e12, 12};
    default:
      return {1.0, 0};
  }
}

// The characters a value text may hold at the current point of reading.
class CharSet {
 public:
  explicit CharSet(std::string_view chars) { Add(chars); }
  bool Has(char c) const { return on_[static_cast<unsigned char>(c)]; }
  void Add(std::string_view chars) { Set(chars, true); }
  void Remove(std::string_view chars) { Set(chars, false); }
  void Clear() { on_.fill(false); }

 private:
  void Set(std::string_view chars, bool on) {
    for (char c : chars) on_[static_cast<unsigned char>(c)] = on;
  }
  std::array<bool, 256> on_{};
};

}  // namespace

double Log10OrFloor(double x) {
  return x == 0.0 ? -1e300 : std::log10(std::fabs(x));
}

std::string FormatValue(int width, int decimals, double x) {
  width = ClampByte(width);
  decimals = ClampByte(decimals);
  x = Finite(x);
  // Below 1e-300 the exponent branch sees zero too, so such values get the zero text.
  if (std::fabs(x) < 1e-300) return ZeroText(width, decimals) + "0";
  const double e = Log10OrFloor(x);
  if (e < -18 || e > 13) return FormatExponent(width - 1, decimals - 1, x);

  static constexpr char kLetters[] = "afpnum0kMGT";  // one per thousands step from 1e-18
  const int k = ThousandsExponent(DecadeOf(e, 0.4999999999));
  return Fix(ScaleDown(x, k), width, decimals) + kLetters[(k + 18) / 3];
}

std::string FormatExponent(int width, int decimals, double x) {
  return ExponentText(ClampByte(width), std::max(ClampByte(decimals), 1), x, false);
}

std::string FormatAxisValue(int decimals, double x) {
  decimals = ClampByte(decimals);
  x = Finite(x);
  if (std::fabs(x) < 1e-300) return "0.0";
  const double e = Log10OrFloorTiny(x);
  if (e < -19 || e > 13) return FormatAxisExponent(decimals, x);

  // Bands one decade lower than FormatValue's below 1: 0.5 stays "0.5", 0.05 is "50.0m".
  const int g = DecadeOf(e, 0.49999999);
  const int k = g < 0 ? ThousandsExponent(g + 1) : ThousandsExponent(g);
  static constexpr const char* kLetters[] = {"a", "f", "p", "n", "u", "m", "", "k", "M", "G", "T"};
  return Fix(ScaleDown(x, k), 3, decimals) + kLetters[(k + 18) / 3];
}

std::string FormatAxisExponent(int decimals, double x) {
  return ExponentText(3, ClampByte(decimals), x, true);
}

std::string FormatFixed(int width, int decimals, double x) {
  return Fix(x, width, decimals);
}

std::string FormatFixedTrimmed(int decimals, double x) {
  std::string text = Fix(x, 10, decimals);
  const auto first = std::find_if(text.begin(), text.end(),
                                  [](char c) { return static_cast<unsigned char>(c) >= 33; });
  text.erase(text.begin(), first);
  return text;
}

std::string FormatInteger(std::int32_t n) {
  return std::to_string(n);
}

std::string YesNoText(bool flag) {
  return flag ? "Ja  " : "Nein";
}

namespace {

// ParseValue with what it took of the text: `used` characters (leading blanks included);
// `beyondLimit` for a magnitude above kReadLimit, which reads as +-kReadLimit.
struct ValueScan {
  double value = 0.0;
  int error = 0;
  std::size_t used = 0;
  bool beyondLimit = false;
};

// Whether m * 10^p lies beyond the read limit, where TimesPowerOfTen holds it.
bool BeyondReadLimit(double m, double p) {
  return m != 0.0 && std::log10(std::fabs(m)) + p > 300.0;
}

ValueScan ScanValue(std::string_view text) {
  if (text.empty() || kStartChars.find(text.front()) == std::string_view::npos) return {0.0, 1};
  const std::size_t blanks = std::min(text.find_first_not_of(' '), text.size());
  text.remove_prefix(blanks);

  CharSet allowed(kStartChars);
  allowed.Remove(" ");
  bool positive = true;
  bool fraction = false;
  bool exponent = false;
  double divisor = 1.0;
  double value = 0.0;
  double mantissa = 0.0;
  // Integer digits beyond 1e299 are dropped and counted here as powers of ten, so that a
  // long digit string cannot overflow; a prefix letter then adds its exponent here too.
  double shift = 0.0;
  double mantissa_shift = 0.0;

  // A digit of the number before any exponent; blanks passed on the way to a prefix letter;
  // the prefix letter that stands for the decimal point ("4k7"), applied at the end.
  bool mantissaDigit = false;
  bool afterBlanks = false;
  std::optional<Prefix> pointLetter;
  // Multiplies by the factor literally ("2m" is 2 * 1e-3) unless that could overflow.
  const auto applyPrefix = [&](Prefix prefix) {
    if (shift == 0.0 && value < 1e280) {
      value *= prefix.factor;
    } else {
      shift += prefix.exponent;
    }
  };

  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    std::size_t width = 1;
    if (const std::size_t micro = MicroSignAt(text, i)) {
      c = 'u';
      width = micro;
    }
    if (c == ' ' && mantissaDigit && !exponent && !pointLetter && allowed.Has('0')) {
      // Blanks between the number and its prefix letter ("4.7 k"), and only there.
      const std::size_t letter = text.find_first_not_of(' ', i);
      if (!PrefixLetterAt(text, letter)) break;
      i = letter;
      afterBlanks = true;
      allowed.Clear();
      allowed.Add(kPrefixLetters);
      continue;
    }
    if (!allowed.Has(c)) break;
    if (c == '+' || c == '-') {
      positive = c == '+';
      allowed.Remove("+-");
    } else if (IsDigit(c)) {
      const int digit = c - '0';
      if (fraction) {
        divisor *= 10.0;
        value += digit / divisor;
      } else if (value < 1e299) {
        value = value * 10.0 + digit;
      } else {
        shift += 1.0;
      }
      if (!exponent) mantissaDigit = true;
      allowed.Remove(" +-");
    } else if (c == ',' || c == '.') {
      fraction = true;
      divisor = 1.0;
      allowed.Remove("+,-.");
    } else if (c == 'E' || c == 'e') {
      allowed.Add("+-");
      allowed.Remove(",.Ee");
      allowed.Remove(kPrefixLetters);
      mantissa = positive ? value : -value;
      mantissa_shift = shift;
      value = 0.0;
      shift = 0.0;
      positive = true;
      fraction = false;
      exponent = true;
    } else {
      const char next = i + width < text.size() ? text[i + width] : '\0';
      const Prefix prefix = PrefixOf(c, next);
      allowed.Clear();
      // A prefix letter between digits stands for the decimal point: "4k7", "1M5", "2R2";
      // R alone may also open the number: "R47". The number ends with the digits after it.
      if (IsDigit(next) && !fraction && !afterBlanks && (mantissaDigit || c == 'R' || c == 'r')) {
        pointLetter = prefix;
        fraction = true;
        divisor = 1.0;
        allowed.Add("0123456789");
      } else {
        applyPrefix(prefix);
        // The "B" of "dB" belongs to the unit the "d" started: read, not left over.
        if ((c == 'D' || c == 'd') && (next == 'B' || next == 'b')) ++width;
      }
    }
    i += width;
  }
  if (pointLetter) applyPrefix(*pointLetter);

  if (!positive) value = -value;
  const std::size_t used = blanks + i;
  if (!exponent) {
    return {TimesPowerOfTen(value, shift), 0, used, BeyondReadLimit(value, shift)};
  }
  // An exponent too long to hold is beyond every limit anyway.
  const double power = shift > 0.0 ? std::copysign(1e300, value) : value;
  return {TimesPowerOfTen(mantissa, mantissa_shift + power), 0, used,
          BeyondReadLimit(mantissa, mantissa_shift + power)};
}

}  // namespace

ParsedValue ParseValue(std::string_view text) {
  const ValueScan scan = ScanValue(text);
  return {scan.value, scan.error};
}

ValueReading ReadValueInDetail(std::string_view text) {
  const std::size_t mil = text.find("mil");
  const std::string_view read = mil == std::string_view::npos ? text : text.substr(0, mil + 1);
  const ValueScan scan = ScanValue(read);
  ValueReading reading;
  // The "m" of "mil" reads as milli, so "10mil" is 10e-3 * 2.54e-3.
  reading.value = mil == std::string_view::npos ? scan.value : scan.value * 2.54 * 0.001;
  // Readable: a digit among the characters read ("k47" reads its "k" only, and is none).
  reading.readable = scan.error == 0 &&
                     read.substr(0, std::min(scan.used, read.size())).find_first_of("0123456789") !=
                         std::string_view::npos;
  reading.used = mil != std::string_view::npos && scan.used == read.size() ? mil + 3 : scan.used;
  reading.beyondLimit = scan.beyondLimit;
  return reading;
}

double ReadValue(std::string_view text) {
  return ReadValueInDetail(text).value;
}

bool IsReadableValue(std::string_view text) {
  return ReadValueInDetail(text).readable;
}

std::string FormatQuantity(double x, std::string_view unit) {
  constexpr std::string_view kPrefixLetters = "afpnumkMGT";
  std::string number = FormatValue(7, 2, x);
  number.erase(0, number.find_first_not_of(' '));
  number.erase(number.find_last_not_of(' ') + 1);
  std::string prefix;
  if (!number.empty() && kPrefixLetters.find(number.back()) != std::string_view::npos) {
    prefix = number.back();
    number.pop_back();
  }
  return number + " " + prefix + std::string(unit);
}

}  // namespace morvane
