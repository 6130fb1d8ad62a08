// Filter order calculator: the orders, their texts, the entry clamps and the field texts.

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
      // Schemes the clamps never let through show no order.
      {In{0, 0.1, 1500, 30}, kButterworth, 0, 0, "        -", "        -"},
      {In{1500, 0.1, 1500, 30}, kChebyshev, 0, 0, "        -", "        -"},
      {In{2000, 0.1, 1500, 30}, kButterworth, 0, 0, "        -", "        -"},
      {In{1000, 30, 1500, 30}, kButterworth, 0, 0, "        -", "        -"},
      {In{1000, 0, 1500, 30}, kChebyshev, 0, 0, "        -", "        -"},
      {In{1000, 0.1, kInf, 30}, kButterworth, 0, 0, "        -", "        -"},
      {In{kNaN, 0.1, 1500, 30}, kChebyshev, 0, 0, "        -", "        -"},
      {In{1000, 0.1, 1500, 5000}, kButterworth, 0, 0, "        -", "        -"},
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

struct StoreCase {
  std::string_view field;
  const char* text;
  double stored;
};

TEST(StoreOrderEntry, ClampsAgainstThePartner) {
  const StoreCase cases[] = {
      {order_field::f1Eingabe, "2k", 1470},  // 0.98 * f2
      {order_field::f1Eingabe, "1470", 1470},  {order_field::f1Eingabe, "500", 500},
      {order_field::f1Eingabe, "0", 0.0001},   {order_field::f1Eingabe, "-5", 0.0001},
      {order_field::f1Eingabe, "abc", 0.0001}, {order_field::f1Eingabe, "", 0.0001},
      {order_field::d1Eingabe, "1", 1},        {order_field::d1Eingabe, "100", 29.5},  // d2 - 0.5
      {order_field::d1Eingabe, "0", 0.01},     {order_field::d1Eingabe, "x", 0.01},
      {order_field::f2Eingabe, "1,5k", 1500},  {order_field::f2Eingabe, "1k", 1020},  // 1.02 * f1
      {order_field::f2Eingabe, "1T", 2e10},    {order_field::f2Eingabe, "abc", 1020},
      {order_field::d2Eingabe, "10", 10},      {order_field::d2Eingabe, "0.2", 0.6},  // d1 + 0.5
      {order_field::d2Eingabe, "200", 150},    {order_field::d2Eingabe, "abc", 0.6},
      {order_field::d2Eingabe, "1e400", 150},
  };
  for (const auto& c : cases) {
    In in;
    const In before = in;
    const auto stored = StoreOrderEntry(c.field, c.text, in);
    ASSERT_TRUE(stored.has_value()) << c.field;
    EXPECT_DOUBLE_EQ(*stored, c.stored) << c.field << " " << c.text;
    // Only the field's own value changes.
    const double* values[] = {&in.OrderF1, &in.OrderD1, &in.OrderF2, &in.OrderD2};
    const double* old[] = {&before.OrderF1, &before.OrderD1, &before.OrderF2, &before.OrderD2};
    int changed = 0;
    for (int i = 0; i < 4; ++i) changed += *values[i] != *old[i] ? 1 : 0;
    EXPECT_LE(changed, 1) << c.field << " " << c.text;
  }

  In in;
  EXPECT_FALSE(StoreOrderEntry("fgEingabe", "2k", in).has_value());
  EXPECT_EQ(in.OrderF1, 1000);
}

TEST(StoreOrderEntry, AnyTypingKeepsTheOrderFinite) {
  const char* texts[] = {"0", "abc", "-1", "1e300", "-1e300", "1e-300", "1T", "0.5", "3", "40"};
  const std::string_view fields[] = {order_field::f1Eingabe, order_field::f2Eingabe,
                                     order_field::d1Eingabe, order_field::d2Eingabe};
  In in;
  int step = 0;
  for (int round = 0; round < 40; ++round) {
    for (const auto field : fields) {
      StoreOrderEntry(field, texts[(step++ * 7 + round) % 10], in);
      EXPECT_GE(in.OrderF2 / in.OrderF1, 1.02 * (1 - 1e-12));
      EXPECT_GE(in.OrderD2 - in.OrderD1, 0.5 - 1e-12);
      for (const auto approximation : {kButterworth, kChebyshev}) {
        const OrderResult r = ComputeOrder(in, approximation);
        EXPECT_TRUE(std::isfinite(r.N) && r.N > 0) << r.NAusgabe;
        EXPECT_EQ(r.NAusgabe.find_first_of("-ai"), std::string::npos) << r.NAusgabe;
        EXPECT_EQ(r.nrAusgabe.find_first_of("-ai"), std::string::npos) << r.nrAusgabe;
      }
    }
  }
}

TEST(StoreOrderEntry, BoundsCrossingAtTheFloor) {
  // At 0.1 mHz, 0.98 * f2 falls below f1's floor; pushing f1 up and f2 down in turn must not
  // wear the ratio down towards 1, where the Chebyshev order has no value.
  In in{1e-4, 0.01, 1.02e-4, 0.51};
  for (int i = 0; i < 200; ++i) {
    StoreOrderEntry(order_field::f1Eingabe, "1", in);
    StoreOrderEntry(order_field::f2Eingabe, "0", in);
    StoreOrderEntry(order_field::f1Eingabe, "0", in);
    StoreOrderEntry(order_field::d1Eingabe, "1", in);
    StoreOrderEntry(order_field::d2Eingabe, "0", in);
    StoreOrderEntry(order_field::d1Eingabe, "0", in);
  }
  EXPECT_GE(in.OrderF2 / in.OrderF1, 1.02);
  EXPECT_GE(in.OrderD2 - in.OrderD1, 0.5 - 1e-12);
  const OrderResult r = ComputeOrder(in, kChebyshev);
  EXPECT_TRUE(std::isfinite(r.N) && r.N > 0) << r.NAusgabe;
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

  // The typed "2k" shows as the value it was clamped to once the fields are written again.
  StoreOrderEntry(order_field::f1Eingabe, "2k", in);
  StoreOrderEntry(order_field::d1Eingabe, "3.0103", in);
  StoreOrderEntry(order_field::f2Eingabe, "25G", in);
  texts = OrderEntryTexts(in);
  EXPECT_EQ(texts[0].text, "    1.47k");
  EXPECT_EQ(texts[1].text, "   3.010");
  EXPECT_EQ(texts[2].text, "   20.00G");
  EXPECT_EQ(texts[3].text, "  30.000");
}

}  // namespace
}  // namespace morvane
