// Filter order calculator: the orders, their texts, the reading of the four entry texts (all
// of them as they stand, no value depending on another) and the field texts. Orders from the
// closed forms at 50 (400 for the extremes) digits (mpmath).

#include "aids/filter_order.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace morvane {
namespace {

using In = OrderCalculatorInputs;
constexpr auto kButterworth = OrderApproximation::Butterworth;
constexpr auto kChebyshev = OrderApproximation::Chebyshev;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct OrderCase {
  In in;
  OrderApproximation approximation;
  double N;  // relative tolerance 1e-4: the three decimals shown
  double nr;
  const char* NAusgabe;
  const char* nrAusgabe;
};

TEST(ComputeOrder, OrdersAndTexts) {
  const OrderCase cases[] = {
      {In{}, kButterworth, 13.1532, 14, "  13.153", "   14.0"},
      {In{}, kChebyshev, 6.2616, 7, "   6.262", "    7.0"},
      {In{1000, 3.0103, 2000, 40}, kButterworth, 6.6438, 7, "   6.644", "    7.0"},
      {In{1000, 3.0103, 2000, 40}, kChebyshev, 4.0231, 5, "   4.023", "    5.0"},
      // The narrowest scheme the clamps allow, and the widest.
      {In{1e-4, 0.01, 1.02e-4, 0.51}, kButterworth, 100.7433, 101, " 100.743", "  101.0"},
      {In{1e-4, 0.01, 2e10, 150}, kButterworth, 0.61664, 1, "   0.617", "    1.0"},
      {In{1e-4, 0.01, 2e10, 150}, kChebyshev, 0.62455, 1, "   0.625", "    1.0"},
      // A whole N: N + 0.5 is a half and goes to the even neighbour.
      {In{1000, 10, 1000 * std::sqrt(11.0), 20}, kChebyshev, 1, 2, "   1.000", "    2.0"},
      {In{1000, 20, 10000, 59.956356332786235}, kButterworth, 2, 2, "   2.000", "    2.0"},
      {In{1000, 10, 10000, 69.542425576942648}, kButterworth, 3, 4, "   3.000", "    4.0"},
      // Far beyond the old entry limits: eps^2 and f2/f1 beyond the range of doubles.
      {In{1000, 0.1, 1500, 5000}, kButterworth, 1424.35455742, 1425, " 1424.355", " 1425.0"},
      {In{1000, 0.1, 1500, 5000}, kChebyshev, 600.794901205, 601, " 600.795", "  601.0"},
      {In{1e-300, 3, 1e300, 40}, kButterworth, 0.00333501584026, 1, "   0.003", "    1.0"},
      {In{1e-300, 3, 1e300, 40}, kChebyshev, 0.00383479050907, 1, "   0.004", "    1.0"},
      {In{1000, 1e-300, 2000, 40}, kButterworth, 505.992335096, 506, " 505.992", "  506.0"},
      {In{1000, 1e-300, 2000, 40}, kChebyshev, 266.842477241, 267, " 266.842", "  267.0"},
      {In{1000, 3, 2000, 1e4}, kChebyshev, 874.734166399, 875, " 874.734", "  875.0"},
      // Impossible schemes show no order.
      {In{0, 0.1, 1500, 30}, kButterworth, 0, 0, "        -", "        -"},
      {In{1500, 0.1, 1500, 30}, kChebyshev, 0, 0, "        -", "        -"},
      {In{2000, 0.1, 1500, 30}, kButterworth, 0, 0, "        -", "        -"},
      {In{1000, 30, 1500, 30}, kButterworth, 0, 0, "        -", "        -"},
      {In{1000, 0, 1500, 30}, kChebyshev, 0, 0, "        -", "        -"},
      {In{1000, 0.1, kInf, 30}, kButterworth, 0, 0, "        -", "        -"},
      {In{kNaN, 0.1, 1500, 30}, kChebyshev, 0, 0, "        -", "        -"},
      {In{1000, 0.1, 1500, -5}, kButterworth, 0, 0, "        -", "        -"},
      {In{-1000, 0.1, 1500, 30}, kButterworth, 0, 0, "        -", "        -"},
      {In{1000, 0.1, std::nextafter(1000.0, 2000.0), 30}, kButterworth, 0, 0, "        -",
       "        -"},
  };
  for (const auto& c : cases) {
    const OrderResult r = ComputeOrder(c.in, c.approximation);
    EXPECT_NEAR(r.N, c.N, 1e-4 * c.N) << c.NAusgabe;
    EXPECT_EQ(r.nr, c.nr) << c.NAusgabe;
    EXPECT_EQ(r.NAusgabe, c.NAusgabe);
    EXPECT_EQ(r.nrAusgabe, c.nrAusgabe) << c.NAusgabe;
  }
}

TEST(LeastWholeOrder, NextWholeNumberHalvesToEven) {
  const std::pair<double, double> cases[] = {
      {0, 0},   {0.0001, 1}, {1, 2},      {2, 2}, {3, 4},       {4, 4},
      {6.6, 7}, {6.5, 7},    {6.4999, 7}, {7, 8}, {13.153, 14},
  };
  for (const auto& [N, nr] : cases) EXPECT_EQ(LeastWholeOrder(N), nr) << N;
}

struct ReadCase {
  const char* f1;
  const char* d1;
  const char* f2;
  const char* d2;
  In scheme;            // the values read, when there is no problem
  const char* problem;  // empty: the scheme has an order
};

TEST(ReadOrderScheme, TakesEveryTextAsItStands) {
  const ReadCase cases[] = {
      {"20k", "3", "48k", "40", In{20000, 3, 48000, 40}, ""},
      {"1k", "0.1", "1.5k", "30", In{}, ""},
      // Units, blanks, either decimal sign, the engineers' notation.
      {" 1 kHz ", "3dB", "1,5 k", "40 dB", In{1000, 3, 1500, 40}, ""},
      {"4k7", "0.5", "10kHz", "60", In{4700, 0.5, 10000, 60}, ""},
      // Far outside the entry limits the old dialog had: still a scheme.
      {"1e-6", "1e-3", "1T", "400", In{1e-6, 1e-3, 1e12, 400}, ""},
      // Texts that are no value: the first one is told.
      {"abc", "3", "48k", "40", In{}, "f1 \"abc\" is not a number"},
      {"", "3", "48k", "40", In{}, "f1 \"\" is not a number"},
      {"20k", "3x", "48k", "40", In{}, "d1 \"3x\" is not a number"},
      {"20k", "3", "4k7k", "40", In{}, "f2 \"4k7k\" is not a number"},
      {"20k", "3", "48k", "40 Hz", In{}, "d2 \"40 Hz\" is not a number"},
      {"20k", "3", "1.2.3", "40", In{}, "f2 \"1.2.3\" is not a number"},
      {"1e999", "3", "48k", "40", In{}, "f1 \"1e999\" is too large"},
      // Schemes without an order.
      {"0", "3", "48k", "40", In{}, "f1 must be above 0 Hz"},
      {"-1k", "3", "48k", "40", In{}, "f1 must be above 0 Hz"},
      {"20k", "0", "48k", "40", In{}, "d1 must be above 0 dB"},
      {"48k", "3", "20k", "40", In{}, "f2 must lie above f1"},
      {"20k", "3", "20k", "40", In{}, "f2 must lie above f1"},
      {"20k", "40", "48k", "3", In{}, "d2 must be above d1"},
      {"20k", "3", "48k", "3", In{}, "d2 must be above d1"},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.f1 << " " << c.d1 << " " << c.f2 << " " << c.d2);
    const OrderSchemeReading r = ReadOrderScheme({c.f1, c.d1, c.f2, c.d2});
    EXPECT_EQ(r.problem, c.problem);
    if (r.problem.empty()) {
      EXPECT_DOUBLE_EQ(r.scheme.OrderF1, c.scheme.OrderF1);
      EXPECT_DOUBLE_EQ(r.scheme.OrderD1, c.scheme.OrderD1);
      EXPECT_DOUBLE_EQ(r.scheme.OrderF2, c.scheme.OrderF2);
      EXPECT_DOUBLE_EQ(r.scheme.OrderD2, c.scheme.OrderD2);
    }
    // A scheme read without a problem always has an order, and one with a problem none.
    const OrderResult result = ComputeOrder(r.scheme, kChebyshev);
    if (r.problem.empty()) {
      EXPECT_TRUE(std::isfinite(result.N) && result.N > 0) << result.NAusgabe;
    }
  }
}

// Whatever is typed, the scheme has either an order or a problem, never "nan" or "inf".
TEST(ReadOrderScheme, AnyTextsGiveAnOrderOrAProblem) {
  const char* texts[] = {"0",   "abc", "-1", "1e300", "-1e300", "1e-300", "1T",
                         "0.5", "3",   "40", "4k7",   "R47",    "1e-320", "150"};
  constexpr std::size_t n = std::size(texts);
  for (std::size_t i = 0; i < n * n * n; ++i) {
    const char* f1 = texts[i % n];
    const char* d1 = texts[(i / n) % n];
    const char* f2 = texts[(i / n / n) % n];
    const char* d2 = texts[(i * 7 + 3) % n];
    const OrderSchemeReading r = ReadOrderScheme({f1, d1, f2, d2});
    for (const auto approximation : {kButterworth, kChebyshev}) {
      const OrderResult result = ComputeOrder(r.scheme, approximation);
      const std::string shown = result.NAusgabe + result.nrAusgabe;
      EXPECT_EQ(shown.find_first_of("ai"), std::string::npos) << shown;
      if (r.problem.empty()) {
        EXPECT_TRUE(std::isfinite(result.N) && result.N >= 0)
            << f1 << " " << d1 << " " << f2 << " " << d2;
      } else if (r.problem.find("number") == std::string::npos &&
                 r.problem.find("large") == std::string::npos) {
        // Every text read: the scheme itself has no order.
        EXPECT_EQ(result.NAusgabe, "        -") << r.problem;
      }
    }
  }
}

TEST(OrderEntryTexts, ActivationTexts) {
  In in;
  auto texts = OrderEntryTexts(in);
  const std::pair<std::string_view, std::string> expected[] = {
      {"f1Eingabe", "    1.00k"},
      {"d1Eingabe", "   0.100"},
      {"f2Eingabe", "    1.50k"},
      {"d2Eingabe", "  30.000"},
  };
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i].field, expected[i].first);
    EXPECT_EQ(texts[i].text, expected[i].second);
  }

  // Written as the program writes values, each text reads back as its value.
  in = {1470, 3.0103, 25e9, 30};
  texts = OrderEntryTexts(in);
  EXPECT_EQ(texts[0].text, "    1.47k");
  EXPECT_EQ(texts[1].text, "   3.010");
  EXPECT_EQ(texts[2].text, "   25.00G");
  EXPECT_EQ(texts[3].text, "  30.000");
  const OrderSchemeReading back =
      ReadOrderScheme({texts[0].text, texts[1].text, texts[2].text, texts[3].text});
  EXPECT_EQ(back.problem, "");
  EXPECT_DOUBLE_EQ(back.scheme.OrderF2, 25e9);
}

}  // namespace
}  // namespace morvane
