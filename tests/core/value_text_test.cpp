// Value texts: the exact characters written, and what the reader makes of typed text.

#include "numerics/value_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace morvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

bool ShowsNonFinite(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text.find("nan") != std::string::npos || text.find("inf") != std::string::npos;
}

struct FormatCase {
  int width;
  int decimals;
  double x;
  const char* text;
};

TEST(FormatValue, Texts) {
  const FormatCase cases[] = {
      {7, 2, 4700, "   4.70k"},
      {7, 2, 47, "  47.000"},
      {7, 2, -2200, "  -2.20k"},
      {7, 2, 0.000333, " 333.00u"},
      {7, 2, 1e-9, "   1.00n"},
      {7, 2, 1000, "   1.00k"},
      {7, 2, 1.5e15, "   1.5E+15"},
      {7, 2, 3.3e-20, "  33.0E-21"},
      // The letter is chosen before rounding.
      {7, 2, 999.999, "1000.000"},
      {7, 2, 0.0009999999, "1000.00u"},
      // Less than 1e-10 below a decade in log10 counts as the decade.
      {7, 2, 999.99999999999, "   1.00k"},
      // Formats the other callers use.
      {7, 3, 0.7071, "707.100m"},
      {6, 2, 0.7071, "707.10m"},
      {7, 3, 1.02, "  1.0200"},
      {7, 3, 2, "  2.0000"},
      {6, 2, 1500, "  1.50k"},
      {6, 2, 47, " 47.000"},
      {6, 1, 1000, "   1.0k"},
      {7, 1, 2.5e-12, "    2.5p"},
      // A text wider than w is not cut.
      {6, 2, -999, "-999.000"},
      {3, 3, 123.4567e3, "123.457k"},
      // Fix rounds the binary value; an exact tie goes to even.
      {7, 2, 1.125, "   1.120"},
      {7, 2, 1.375, "   1.380"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatValue(c.width, c.decimals, c.x), c.text)
        << "w " << c.width << " d " << c.decimals << " x " << c.x;
  }
}

TEST(FormatValue, EveryPrefixBand) {
  const FormatCase cases[] = {
      {7, 2, 1e-18, "   1.00a"},  {7, 2, 999e-18, " 999.00a"}, {7, 2, 1e-15, "   1.00f"},
      {7, 2, 1e-12, "   1.00p"},  {7, 2, 1e-9, "   1.00n"},    {7, 2, 1e-6, "   1.00u"},
      {7, 2, 1e-3, "   1.00m"},   {7, 2, 999e-3, " 999.00m"},  {7, 2, 1, "   1.000"},
      {7, 2, 999, " 999.000"},    {7, 2, 1e3, "   1.00k"},     {7, 2, 1e6, "   1.00M"},
      {7, 2, 1e9, "   1.00G"},    {7, 2, 1e12, "   1.00T"},    {7, 2, 1e13, "  10.00T"},
      {7, 2, -1e-18, "  -1.00a"}, {7, 2, -1e13, " -10.00T"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatValue(c.width, c.decimals, c.x), c.text) << c.x;
}

TEST(FormatValue, ExponentBranchOnBothSides) {
  const FormatCase cases[] = {
      // Just outside the prefix letters.
      {7, 2, 1.0000001e13, "  10.0E+12"},
      {7, 2, 2e13, "  20.0E+12"},
      {7, 2, 9.99e-19, " 999.0E-21"},
      {7, 2, -1.5e15, "  -1.5E+15"},
      {8, 3, 4.7e18, "   4.70E+18"},
      {7, 2, 4.7e14, " 470.0E+12"},
      // Ends of the suffix bands.
      {7, 2, 1e31, "  10.0E+30"},
      {7, 2, 1e-27, "   1.0E-27"},
      // Beyond them: scientific notation as wide as a banded text.
      {7, 2, 1.0000001e31, "   1.0E+31"},
      {7, 2, 9e-28, "   9.0E-28"},
      {7, 2, -1.5e40, "  -1.5E+40"},
      {7, 2, 2e100, "  2.0E+100"},
      {7, 3, 1.25e40, "  1.25E+40"},
      {7, 2, 1e-300, "  1.0E-300"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatValue(c.width, c.decimals, c.x), c.text) << c.x;
}

TEST(FormatValue, ZeroAndBelowTheFloor) {
  const FormatCase cases[] = {
      {7, 2, 0.0, "   0.000"},     {7, 3, 0.0, "  0.0000"},  {6, 2, 0.0, "  0.000"},
      {6, 1, 0.0, "   0.00"},      {7, 2, -0.0, "   0.000"}, {7, 2, 9e-301, "   0.000"},
      {7, 2, -1e-310, "   0.000"}, {3, 2, 0.0, "0.000"},     {2, 3, 0.0, "0.0000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatValue(c.width, c.decimals, c.x), c.text)
        << "w " << c.width << " d " << c.decimals << " x " << c.x;
  }
}

TEST(FormatValue, NonFiniteNeverShowsAsSuch) {
  // NaN shows as zero, an infinity as the largest double of its sign.
  EXPECT_EQ(FormatValue(7, 2, kNaN), "   0.000");
  EXPECT_EQ(FormatValue(7, 2, kInf), "  1.8E+308");
  EXPECT_EQ(FormatValue(7, 2, -kInf), " -1.8E+308");
  EXPECT_EQ(FormatValue(7, 2, DBL_MAX), "  1.8E+308");
  for (double x : {kNaN, kInf, -kInf}) {
    for (const std::string& text :
         {FormatValue(6, 1, x), FormatExponent(6, 1, x), FormatAxisValue(1, x),
          FormatAxisExponent(1, x), FormatFixed(7, 2, x), FormatFixedTrimmed(2, x)}) {
      EXPECT_FALSE(ShowsNonFinite(text)) << text;
      EXPECT_TRUE(std::isfinite(ReadValue(text))) << text;
    }
  }
}

TEST(FormatValue, BadWidthAndDecimalsStayInRange) {
  // Negative widths must not left-justify, negative decimals not fall back to six.
  EXPECT_EQ(FormatValue(-5, 2, 4700), "4.70k");
  EXPECT_EQ(FormatValue(7, -1, 4700), "      5k");
  EXPECT_EQ(FormatValue(0, 0, 1e20), "100.0E+18");
}

TEST(FormatValue, KeepsItsLengthAndReadsBack) {
  // Across the prefix range every (7, 2) text has 8 characters unless v rounds up to
  // 1000, and reading it back gives the value to its shown precision.
  for (double e = -18.0; e <= 13.0; e += 0.0137) {
    for (double sign : {1.0, -1.0}) {
      const double x = sign * std::pow(10.0, e);
      const std::string text = FormatValue(7, 2, x);
      const double back = ReadValue(text);
      EXPECT_NEAR(back, x, std::fabs(x) * 0.005) << text;
      if (sign > 0 && text.find("1000.") == std::string::npos) {
        EXPECT_EQ(text.size(), 8u) << x;
      }
    }
  }
  for (double e = -27.0; e <= 31.0; e += 0.37) {
    const double x = std::pow(10.0, e);
    EXPECT_NEAR(ReadValue(FormatValue(7, 3, x)), x, x * 0.005) << FormatValue(7, 3, x);
  }
}

TEST(FormatExponent, Texts) {
  const FormatCase cases[] = {
      {6, 1, 1.5e15, "   1.5E+15"}, {6, 0, 1.5e15, "   1.5E+15"},  // decimals raised to one
      {6, 1, 1000, "   1.0E+3 "},   {6, 1, 47, "  47.0E+0 "},     {6, 1, -1e-9, "  -1.0E-9 "},
      {7, 2, 1e-12, "   1.00E-12"}, {6, 1, 2e-25, " 200.0E-27"},  {6, 1, 3.2e31, "   3.2E+31"},
      {6, 1, 0.0, "   0.0"},        {6, 2, 0.0, "  0.00"},        {2, 1, 0.0, "0.0"},
      {6, 1, 5e-301, "   0.0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatExponent(c.width, c.decimals, c.x), c.text)
        << "w " << c.width << " d " << c.decimals << " x " << c.x;
  }
}

struct AxisCase {
  int decimals;
  double x;
  const char* text;
};

TEST(FormatAxisValue, BandsShiftedBelowOne) {
  const AxisCase cases[] = {
      {1, 0.05, "50.0m"},
      {2, 100, "100.00"},
      {1, 0, "0.0"},
      {3, 0, "0.0"},
      {1, 0.5, "0.5"},
      {1, 0.1, "0.1"},
      {1, 0.09, "90.0m"},
      {1, 1, "1.0"},
      {1, 999, "999.0"},
      {1, 1000, "1.0k"},
      {1, 0.000333, "0.3m"},
      {1, 2.2e6, "2.2M"},
      {1, 3e9, "3.0G"},
      {1, 1e13, "10.0T"},
      {1, -0.05, "-50.0m"},
      {1, 1e-19, "0.1a"},
      {1, 5e-17, "50.0a"},
      {1, 5e-16, "0.5f"},
      {1, 5e-10, "0.5n"},
      {0, 5, "  5"},
      {1, kNaN, "0.0"},
      {1, 1e-301, "0.0"},
      // Beyond the letters the exponent text takes over.
      {1, 9e-20, "90.0E-21"},
      {1, 2e13, "20.0E+12"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatAxisValue(c.decimals, c.x), c.text) << c.x;
}

TEST(FormatAxisExponent, SuffixWithoutBlankAndOwnZero) {
  const AxisCase cases[] = {
      {1, 1.5e15, "1.5E+15"}, {1, 1000, "1.0E+3"},   {1, 4.7, "4.7E+0"}, {1, -2e-6, "-2.0E-6"},
      {0, 1.5e15, "  2E+15"}, {2, 0, "0.00"},        {0, 0, "0."},       {1, 1e40, "1.0E+40"},
      {0, 1e40, "1E+40"},     {1, 1e-30, "1.0E-30"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatAxisExponent(c.decimals, c.x), c.text) << c.x;
}

TEST(FormatFixed, RightAlignedNeverCut) {
  const FormatCase cases[] = {
      {7, 3, 1.0, "  1.000"},
      {7, 3, 3.0, "  3.000"},
      {7, 2, -1.5, "  -1.50"},
      {2, 3, 123.4567, "123.457"},
      {0, 0, 7.0, "7"},
      // Values that round to zero lose their sign.
      {7, 2, -0.001, "   0.00"},
      {7, 2, -0.0, "   0.00"},
      {7, 0, -0.4, "      0"},
      {7, 2, -0.006, "  -0.01"},
      // Ties of the binary value go to even; 2.675 is just below its tie.
      {6, 2, 0.125, "  0.12"},
      {6, 2, 0.375, "  0.38"},
      {6, 2, 2.675, "  2.67"},
      {0, 0, 2.5, "2"},
      {7, 2, kNaN, "   0.00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatFixed(c.width, c.decimals, c.x), c.text)
        << "w " << c.width << " d " << c.decimals << " x " << c.x;
  }
}

TEST(FormatFixedTrimmed, DropsOnlyLeadingBlanks) {
  const AxisCase cases[] = {
      {3, 1.5, "1.500"},   {3, -1.5, "-1.500"},
      {2, -0.001, "0.00"}, {0, 12345678901.0, "12345678901"},
      {2, 0.0, "0.00"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFixedTrimmed(c.decimals, c.x), c.text) << c.x;
}

TEST(FormatInteger, FullRange) {
  EXPECT_EQ(FormatInteger(0), "0");
  EXPECT_EQ(FormatInteger(-5), "-5");
  EXPECT_EQ(FormatInteger(1234567), "1234567");
  EXPECT_EQ(FormatInteger(INT32_MAX), "2147483647");
  EXPECT_EQ(FormatInteger(INT32_MIN), "-2147483648");
}

TEST(YesNoText, FourCharactersEach) {
  EXPECT_EQ(YesNoText(true), "Ja  ");
  EXPECT_EQ(YesNoText(false), "Nein");
}

TEST(Log10OrFloor, ZeroIsFloor) {
  EXPECT_EQ(Log10OrFloor(0.0), -1e300);
  EXPECT_EQ(Log10OrFloor(-0.0), -1e300);
  EXPECT_EQ(Log10OrFloor(1000.0), 3.0);
  EXPECT_EQ(Log10OrFloor(-100.0), 2.0);
  EXPECT_EQ(Log10OrFloor(1e-300), -300.0);
  // Only zero is floored; tiny values keep their logarithm.
  EXPECT_NEAR(Log10OrFloor(1e-310), -310.0, 1e-9);
}

struct ParseCase {
  const char* text;
  double value;
  int error;
};

void ExpectParses(const ParseCase& c) {
  const ParsedValue p = ParseValue(c.text);
  EXPECT_EQ(p.error, c.error) << '"' << c.text << '"';
  EXPECT_DOUBLE_EQ(p.value, c.value) << '"' << c.text << '"';
}

TEST(ParseValue, WorkedTexts) {
  const ParseCase cases[] = {
      {"4k7", 4700, 0},   {"4.7 k", 4700, 0},   {" 12", 12, 0},    {"1,5", 1.5, 0},
      {"10dB", 10, 0},    {"10d", 1, 0},        {"2M", 2e6, 0},    {"2m", 0.002, 0},
      {"1e-3", 0.001, 0}, {"-1e-3", -0.001, 0}, {"1E3k", 1000, 0}, {"5-", 5, 0},
      {"+-5", 0, 0},      {"1.2.3", 1.2, 0},    {"abc", 0, 0},     {"xyz", 0, 1},
      {"", 0, 1},
  };
  for (const auto& c : cases) ExpectParses(c);
}

TEST(ParseValue, FirstCharacter) {
  const ParseCase cases[] = {
      // Every kind of start character reads.
      {" 5", 5, 0},
      {"+5", 5, 0},
      {",5", 0.5, 0},
      {"-5", -5, 0},
      {".5", 0.5, 0},
      {"5", 5, 0},
      {"E5", 0, 0},
      {"e", 0, 0},
      {"k", 0, 0},
      {"M2", 0, 0},
      {"   ", 0, 0},
      {"  -5", -5, 0},
      // Anything else is not readable.
      {"#5", 0, 1},
      {"\t5", 0, 1},
      {"x5", 0, 1},
      {"b", 0, 1},
      {"\xb5", 0, 1},
  };
  for (const auto& c : cases) ExpectParses(c);
}

TEST(ParseValue, SignsAndDigits) {
  const ParseCase cases[] = {
      {"007", 7, 0}, {"123", 123, 0}, {"++5", 0, 0}, {"--5", 0, 0},       {"-+5", 0, 0},
      {"5+3", 5, 0}, {"5 3", 5, 0},   {"- 5", 0, 0}, {"-1.5k", -1500, 0}, {"1.5-k", 1.5, 0},
  };
  for (const auto& c : cases) ExpectParses(c);
  EXPECT_TRUE(std::signbit(ParseValue("-").value));
}

TEST(ParseValue, Fraction) {
  const ParseCase cases[] = {
      {"0.25", 0.25, 0}, {"1,25", 1.25, 0}, {".5.", 0.5, 0},   {"1.,5", 1, 0},
      {"1,.5", 1, 0},    {"3.-1", 3, 0},    {"2.5k", 2500, 0}, {"0.0001", 0.0001, 0},
  };
  for (const auto& c : cases) ExpectParses(c);
}

TEST(ParseValue, Exponent) {
  const ParseCase cases[] = {
      {"1e3", 1000, 0},    {"1E+3", 1000, 0},  {"2.5e-2", 0.025, 0},    {"1e3.5", 1000, 0},
      {"1e3e2", 1000, 0},  {"1e", 1, 0},       {"1e-", 1, 0},           {"-2e2", -200, 0},
      {"1e+-3", 1, 0},     {"1e3k", 1000, 0},  {"1.5e2", 150, 0},       {"1e05", 1e5, 0},
      {"1e-3-", 0.001, 0}, {"1e3-2", 1000, 0}, {"-1.5E-3", -0.0015, 0}, {"1e,5", 1, 0},
  };
  for (const auto& c : cases) ExpectParses(c);
}

TEST(ParseValue, EveryPrefixLetter) {
  const ParseCase cases[] = {
      {"1A", 1e-18, 0},
      {"1a", 1e-18, 0},
      {"1F", 1e-15, 0},
      {"1f", 1e-15, 0},
      {"1P", 1e-12, 0},
      {"1p", 1e-12, 0},
      {"1N", 1e-9, 0},
      {"1n", 1e-9, 0},
      {"1U", 1e-6, 0},
      {"1u", 1e-6, 0},
      {"1m", 1e-3, 0},
      {"1C", 1e-2, 0},
      {"1c", 1e-2, 0},
      {"1D", 0.1, 0},
      {"1d", 0.1, 0},
      {"1K", 1e3, 0},
      {"1k", 1e3, 0},
      {"1M", 1e6, 0},
      {"1G", 1e9, 0},
      {"1g", 1e9, 0},
      {"1T", 1e12, 0},
      {"1t", 1e12, 0},
      // "dB" in any case leaves the value as it is.
      {"3dB", 3, 0},
      {"3db", 3, 0},
      {"3DB", 3, 0},
      {"3Db", 3, 0},
      {"3dx", 0.3, 0},
      // Nothing after a prefix letter is read, but the digits of "1k5" (the letter for the
      // decimal point); R is a factor of one.
      {"1k5m", 1500, 0},
      {"1kk", 1000, 0},
      {"2u2", 2.2e-6, 0},
      {"1R", 1, 0},
      {"1r", 1, 0},
      // Letters that are no prefix end the number; a blank before a prefix letter does not.
      {"1x", 1, 0},
      {"1b", 1, 0},
      {"1 k", 1000, 0},
      {"1 x", 1, 0},
  };
  for (const auto& c : cases) ExpectParses(c);
}

TEST(ParseValue, HugeTextsStayFinite) {
  const std::string nines(400, '9');
  const std::string zeros(400, '0');
  const ParseCase cases[] = {
      {"1e999", 1e300, 0},
      {"-1e999", -1e300, 0},
      {"0e999", 0, 0},
      {"1e-999", 0, 0},
      {"1.797693134862316E+308", 1e300, 0},
      {"1e300", 1e300, 0},
  };
  for (const auto& c : cases) ExpectParses(c);

  EXPECT_DOUBLE_EQ(ParseValue(nines).value, 1e300);
  EXPECT_DOUBLE_EQ(ParseValue("-" + nines + "T").value, -1e300);
  EXPECT_DOUBLE_EQ(ParseValue("1" + zeros + "a").value, 1e300);
  EXPECT_DOUBLE_EQ(ParseValue("1e" + nines).value, 1e300);
  EXPECT_EQ(ParseValue("1e-" + nines).value, 0.0);
  EXPECT_EQ(ParseValue("0." + zeros + "1").value, 0.0);
  // Digits beyond the range still count as powers of ten.
  EXPECT_NEAR(ParseValue("1" + zeros + "e-400").value, 1.0, 1e-12);
  EXPECT_NEAR(ParseValue("1" + zeros + "e-403k").value, 1e-3, 1e-15);
  EXPECT_NEAR(ParseValue(nines + "e-400").value, 1.0, 1e-12);
}

TEST(ReadValue, WorkedTextsAndMil) {
  const ParseCase cases[] = {
      {"4k7", 4700, 0},
      {"abc", 0, 0},
      {"xyz", 0, 0},
      {"", 0, 0},
      {"10mil", 2.54e-5, 0},
      {"5mil", 1.27e-5, 0},
      {"1.5mils", 3.81e-6, 0},
      {"mil", 0, 0},
      {"xmil", 0, 0},
      {"10mil10mil", 2.54e-5, 0},
      // A blank before the "m" of "mil" changes nothing, as before any prefix letter.
      {"1 mil", 2.54e-6, 0},
      {"2kmil", 5.08, 0},
      // Case matters: "Mil" is no "mil", and "M" reads as mega.
      {"10Mil", 1e7, 0},
      {"1m", 1e-3, 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(ReadValue(c.text), c.value) << '"' << c.text << '"';
}

TEST(ReadValue, NeverNonFinite) {
  const std::vector<std::string> pieces = {
      std::string(400, '9'), "e", "-", "1e999", ".", "k", "mil", "0", "T", "e-999", "dB", " "};
  for (const auto& a : pieces) {
    for (const auto& b : pieces) {
      for (const auto& c : pieces) {
        const std::string text = a + b + c;
        EXPECT_TRUE(std::isfinite(ReadValue(text))) << text;
      }
    }
  }
}

}  // namespace
}  // namespace morvane
