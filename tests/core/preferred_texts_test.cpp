// The standard-value tool's texts: values to the digits of their series with prefix letters,
// errors in percent, and the entries it refuses with their messages.

#include "eseries/preferred_texts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "numerics/value_text.h"

namespace morvane {
namespace {

struct ValueTextCase {
  double x;
  int digits;
  const char* text;
};

const ValueTextCase kValueTexts[] = {
    {4700.0, 2, "4.7k"},    {47e3, 2, "47k"},
    {470.0, 2, "470"},      {4.7, 2, "4.7"},
    {1.0, 2, "1.0"},        {10.0, 2, "10"},
    {4.7e-9, 2, "4.7n"},    {4.7 * 1e-9, 2, "4.7n"},
    {1e-15, 2, "1.0f"},     {2.2e12, 2, "2.2T"},
    {1e15, 2, "1.0E+15"},   {4.75e3, 3, "4.75k"},
    {1000.0, 3, "1.00k"},   {100.0, 3, "100"},
    {9.88e-12, 3, "9.88p"}, {0.1, 3, "100m"},
    {1e-6, 3, "1.00u"},     {4.7e-18, 2, "4.7a"},
    {999.7, 3, "1.00k"},    {999.4, 3, "999"},
    {99.96, 3, "100"},      {4753.2, 4, "4.753k"},
    {1.0e9, 3, "1.00G"},    {0.0, 3, "0"},
    {-5.0, 3, "0"},         {std::numeric_limits<double>::quiet_NaN(), 3, "0"},
};

class ValueText : public testing::TestWithParam<ValueTextCase> {};

TEST_P(ValueText, WithPrefixToTheDigits) {
  const auto& c = GetParam();
  EXPECT_EQ(PreferredValueText(c.x, c.digits), c.text) << c.x;
}

TEST_P(ValueText, ReadsBackAsTheRoundedValue) {
  const auto& c = GetParam();
  if (!(c.x > 0.0)) return;
  const double back = ReadValue(PreferredValueText(c.x, c.digits));
  EXPECT_NEAR(back, c.x, c.x * 0.5 * std::pow(10.0, 1 - c.digits)) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Named, ValueText, testing::ValuesIn(kValueTexts));

TEST(PlainValueText, SixDigitsWithoutTrailingZeros) {
  const std::pair<double, const char*> cases[] = {
      {4753.1, "4.7531k"}, {4750.0, "4.75k"},         {1000.0, "1k"}, {10.0, "10"}, {0.1, "100m"},
      {1e15, "1E+15"},     {1.234567e-9, "1.23457n"}, {0.0, "0"},
  };
  for (const auto& [x, text] : cases) EXPECT_EQ(PlainValueText(x), text) << x;
}

TEST(ErrorPercentText, SignAndDecimals) {
  const std::pair<double, const char*> cases[] = {
      {7.3684, "+7.37 %"},
      {-1.0526, "-1.05 %"},
      {0.0, "0 %"},
      {1e-9, "0 %"},
      {-2.0, "-2.00 %"},
      {0.0042, "+0.0042 %"},
      {-0.00123, "-0.0012 %"},
      {0.01, "+0.01 %"},
      {0.1, "+0.10 %"},
      {150.0, "+150.00 %"},
      {std::numeric_limits<double>::infinity(), "-"},
  };
  for (const auto& [percent, text] : cases) EXPECT_EQ(ErrorPercentText(percent), text) << percent;
}

struct EntryCase {
  const char* text;
  double value;         // when taken
  const char* problem;  // "" when taken
};

const EntryCase kTargets[] = {
    {"4k7", 4700.0, ""},
    {"4.7 k", 4700.0, ""},
    {" 10n ", 10e-9, ""},
    {"1f", 1e-15, ""},
    {"1T", 1e12, ""},
    {"2R2", 2.2, ""},
    {"", 0.0, "Type a value."},
    {"   ", 0.0, "Type a value."},
    {"abc", 0.0, "\"abc\" is not a number."},
    {"nan", 0.0, "\"nan\" is not a number."},
    {"inf", 0.0, "\"inf\" is not a number."},
    {"0", 0.0, "The value must be above 0."},
    {"-4.7k", 0.0, "The value must be above 0."},
    {"0.9f", 0.0, "The value must lie between 1f and 1T."},
    {"1.1T", 0.0, "The value must lie between 1f and 1T."},
    {"1e999", 0.0, "The value must lie between 1f and 1T."},
};

class TargetEntry : public testing::TestWithParam<EntryCase> {};

TEST_P(TargetEntry, TakenOrRefusedWithItsMessage) {
  const auto& c = GetParam();
  const EntryReading reading = ReadTargetEntry(c.text);
  EXPECT_EQ(reading.problem, c.problem) << c.text;
  if (reading.problem.empty()) {
    EXPECT_DOUBLE_EQ(reading.value, c.value) << c.text;
  }
}

INSTANTIATE_TEST_SUITE_P(Typed, TargetEntry, testing::ValuesIn(kTargets));

TEST(RatioEntry, RangeOfRatios) {
  EXPECT_EQ(ReadRatioEntry("10").problem, "");
  EXPECT_EQ(ReadRatioEntry("1u").problem, "");
  EXPECT_EQ(ReadRatioEntry("1M").problem, "");
  EXPECT_EQ(ReadRatioEntry("0.5u").problem, "The ratio must lie between 1u and 1M.");
  EXPECT_EQ(ReadRatioEntry("2M").problem, "The ratio must lie between 1u and 1M.");
  EXPECT_EQ(ReadRatioEntry("0").problem, "The ratio must be above 0.");
  EXPECT_EQ(ReadRatioEntry("x").problem, "\"x\" is not a number.");
  EXPECT_EQ(ReadRatioEntry("").problem, "Type a ratio.");
}

}  // namespace
}  // namespace morvane
