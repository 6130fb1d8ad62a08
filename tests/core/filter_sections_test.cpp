// Splitting whole filters into first- and second-order sections. The filters are real designs
// (DesignPrototype + TransformPrototype); the references are the whole filter itself evaluated
// on the j omega axis, its pass-band gain measured where its kind puts it, and published
// Butterworth section Q values.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "filters/analog_prototype.h"
#include "filters/filter_sections.h"
#include "filters/frequency_transform.h"

namespace morvane {
namespace {

using A = Approximation;
constexpr double kPi = std::numbers::pi;
constexpr double kCentre = 2.0 * kPi * 1000.0;    // rad/s: corner, or centre of a band
constexpr double kBandwidth = 2.0 * kPi * 300.0;  // rad/s

PoleZeroGain Design(A approximation, int order, FilterKind kind, double bandwidth = kBandwidth) {
  std::string problem;
  const auto prototype = DesignPrototype({approximation, order, 1.0, 50.0}, &problem);
  EXPECT_TRUE(prototype) << problem;
  std::string error;
  const auto filter = TransformPrototype(prototype->transfer, kind, kCentre, bandwidth, error);
  EXPECT_TRUE(filter) << error;
  return *filter;
}

Complex CascadeAt(const SectionPlan& plan, Complex s) {
  Complex product(1.0, 0.0);
  for (const FilterSection& section : plan.sections) product *= EvaluateAt(section.transfer, s);
  return product;
}

// The filter's own pass-band gain, measured on the whole filter.
double PassbandGain(const PoleZeroGain& filter, FilterKind kind) {
  switch (kind) {
    case FilterKind::Highpass:
      return std::abs(EvaluateAt(filter, Complex(0.0, 1e6 * kCentre)));
    case FilterKind::Bandpass:
      return std::abs(EvaluateAt(filter, Complex(0.0, kCentre)));
    default:
      return std::abs(EvaluateAt(filter, Complex(0.0, 0.0)));
  }
}

double CascadePassbandGain(const SectionPlan& plan, FilterKind kind) {
  if (kind == FilterKind::Highpass) {
    double product = 1.0;  // every section has as many zeros as poles there
    for (const FilterSection& section : plan.sections) product *= section.transfer.gain;
    return product;
  }
  const double omega = kind == FilterKind::Bandpass ? kCentre : 0.0;
  return std::abs(CascadeAt(plan, Complex(0.0, omega)));
}

const std::map<FilterKind, std::set<std::string>>& AllowedKinds() {
  static const std::map<FilterKind, std::set<std::string>> kinds = {
      {FilterKind::Lowpass, {"first-order-lowpass", "lowpass", "lowpass-notch"}},
      {FilterKind::Highpass, {"first-order-highpass", "highpass", "highpass-notch"}},
      {FilterKind::Bandpass, {"bandpass", "lowpass-notch", "highpass-notch", "notch"}},
      {FilterKind::Bandstop, {"lowpass-notch", "highpass-notch", "notch"}}};
  return kinds;
}

struct WholeFilterCase {
  A approximation;
  FilterKind kind;
  int order;
};

class SplitWholeFilter : public testing::TestWithParam<WholeFilterCase> {};

TEST_P(SplitWholeFilter, CascadeEqualsFilterAndKindsFit) {
  const WholeFilterCase c = GetParam();
  const PoleZeroGain filter = Design(c.approximation, c.order, c.kind);
  constexpr double kTotal = 4.0;
  const SectionPlan plan = SplitIntoSections(filter, c.kind, kTotal, GainSplit::Equal);
  ASSERT_EQ(plan.problem, "");

  const double factor = kTotal / PassbandGain(filter, c.kind);
  for (int i = 0; i < 50; ++i) {
    const double omega = kCentre * std::pow(10.0, -2.0 + 4.0 * i / 49.0);
    const Complex expected = EvaluateAt(filter, Complex(0.0, omega)) * factor;
    const Complex actual = CascadeAt(plan, Complex(0.0, omega));
    EXPECT_LE(std::abs(actual - expected), 1e-9 * std::abs(expected)) << "omega " << omega;
  }
  EXPECT_NEAR(CascadePassbandGain(plan, c.kind), kTotal, 1e-9 * kTotal);

  std::size_t poles = 0;
  bool secondOrderSeen = false;
  double lastQ = 0.0;
  for (const FilterSection& s : plan.sections) {
    poles += s.transfer.poles.size();
    EXPECT_TRUE(AllowedKinds().at(c.kind).count(s.kind)) << s.kind;
    EXPECT_TRUE(std::isfinite(s.f0) && s.f0 > 0.0 && std::isfinite(s.q) && s.q > 0.0);
    EXPECT_TRUE(std::isfinite(s.gain) && s.gain > 0.0);
    EXPECT_EQ(s.fz.has_value(), s.kind.find("notch") != std::string::npos) << s.kind;
    // Lowest Q first, first-order sections before all others.
    const bool secondOrder = s.transfer.poles.size() == 2;
    EXPECT_FALSE(secondOrderSeen && !secondOrder);
    if (secondOrder && secondOrderSeen) {
      EXPECT_GE(s.q, lastQ);
    }
    secondOrderSeen = secondOrderSeen || secondOrder;
    lastQ = s.q;
  }
  EXPECT_EQ(poles, filter.poles.size());
}

std::vector<WholeFilterCase> WholeFilterCases() {
  std::vector<WholeFilterCase> cases;
  for (const A a : {A::Butterworth, A::Chebyshev, A::Bessel, A::Elliptic, A::InverseChebyshev}) {
    for (const FilterKind kind :
         {FilterKind::Lowpass, FilterKind::Highpass, FilterKind::Bandpass, FilterKind::Bandstop}) {
      for (const int order : {1, 2, 3, 5, 8}) cases.push_back({a, kind, order});
    }
  }
  return cases;
}

std::string CaseName(const testing::TestParamInfo<WholeFilterCase>& info) {
  static const char* const kApproximations[] = {"Butterworth",   "Chebyshev",        "Bessel",
                                                "LinkwitzRiley", "InverseChebyshev", "Elliptic"};
  static const char* const kKinds[] = {"Lowpass", "Highpass", "Bandpass", "Bandstop"};
  return std::string(kApproximations[static_cast<int>(info.param.approximation)]) +
         kKinds[static_cast<int>(info.param.kind)] + std::to_string(info.param.order);
}

INSTANTIATE_TEST_SUITE_P(Designs, SplitWholeFilter, testing::ValuesIn(WholeFilterCases()),
                         CaseName);

std::vector<std::string> KindsOf(const SectionPlan& plan) {
  std::vector<std::string> kinds;
  for (const FilterSection& s : plan.sections) kinds.push_back(s.kind);
  return kinds;
}

struct KindsCase {
  A approximation;
  FilterKind kind;
  int order;
  std::vector<std::string> kinds;
};

class SectionKinds : public testing::TestWithParam<KindsCase> {};

TEST_P(SectionKinds, AreTheExpectedOnes) {
  const KindsCase c = GetParam();
  const SectionPlan plan =
      SplitIntoSections(Design(c.approximation, c.order, c.kind), c.kind, 1.0, GainSplit::First);
  ASSERT_EQ(plan.problem, "");
  EXPECT_EQ(KindsOf(plan), c.kinds);
}

INSTANTIATE_TEST_SUITE_P(
    Designs, SectionKinds,
    testing::Values(
        KindsCase{A::Elliptic,
                  FilterKind::Lowpass,
                  5,
                  {"first-order-lowpass", "lowpass-notch", "lowpass-notch"}},
        KindsCase{A::InverseChebyshev,
                  FilterKind::Highpass,
                  3,
                  {"first-order-highpass", "highpass-notch"}},
        KindsCase{A::Butterworth,
                  FilterKind::Highpass,
                  5,
                  {"first-order-highpass", "highpass", "highpass"}},
        KindsCase{A::Butterworth, FilterKind::Bandpass, 3, {"bandpass", "bandpass", "bandpass"}},
        KindsCase{A::Butterworth, FilterKind::Bandstop, 1, {"notch"}},
        KindsCase{A::Chebyshev, FilterKind::Lowpass, 4, {"lowpass", "lowpass"}}));

TEST(SectionKinds, WideBandsSplitRealPolesAndJoinThemForANotch) {
  // A first-order prototype over a band wider than twice its centre has two real poles.
  const double wide = 3.0 * kCentre;
  const SectionPlan bandpass =
      SplitIntoSections(Design(A::Butterworth, 1, FilterKind::Bandpass, wide), FilterKind::Bandpass,
                        1.0, GainSplit::First);
  ASSERT_EQ(bandpass.problem, "");
  ASSERT_EQ(bandpass.sections.size(), 2u);
  // The lower corner takes the zero at the origin: highpass below, lowpass above.
  EXPECT_EQ(bandpass.sections[0].kind, "first-order-highpass");
  EXPECT_EQ(bandpass.sections[1].kind, "first-order-lowpass");
  EXPECT_LT(bandpass.sections[0].f0, bandpass.sections[1].f0);

  const SectionPlan bandstop =
      SplitIntoSections(Design(A::Butterworth, 1, FilterKind::Bandstop, wide), FilterKind::Bandstop,
                        1.0, GainSplit::First);
  ASSERT_EQ(bandstop.problem, "");
  ASSERT_EQ(KindsOf(bandstop), std::vector<std::string>{"notch"});
  EXPECT_LT(bandstop.sections[0].q, 0.5);
  EXPECT_NEAR(*bandstop.sections[0].fz, 1000.0, 1e-9);
}

TEST(SectionZeros, HighestQTakesTheNearestZeroPair) {
  // Elliptic lowpass: the highest-Q pole pair sits at the band edge, next to the lowest
  // stop-band zero, so Q descending pairs with fz ascending.
  const SectionPlan plan = SplitIntoSections(Design(A::Elliptic, 8, FilterKind::Lowpass),
                                             FilterKind::Lowpass, 1.0, GainSplit::First);
  ASSERT_EQ(plan.problem, "");
  ASSERT_EQ(plan.sections.size(), 4u);
  for (std::size_t i = 1; i < plan.sections.size(); ++i) {
    EXPECT_GT(plan.sections[i].q, plan.sections[i - 1].q);
    EXPECT_LT(*plan.sections[i].fz, *plan.sections[i - 1].fz);
  }
}

TEST(SectionFigures, SixthOrderButterworthHasThePublishedQValues) {
  const SectionPlan plan = SplitIntoSections(Design(A::Butterworth, 6, FilterKind::Lowpass),
                                             FilterKind::Lowpass, 1.0, GainSplit::First);
  ASSERT_EQ(plan.problem, "");
  const double published[] = {0.5176, 0.7071, 1.9319};
  ASSERT_EQ(plan.sections.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(plan.sections[i].q, published[i], 1e-4);
    EXPECT_NEAR(plan.sections[i].f0, 1000.0, 1e-9);
    EXPECT_EQ(plan.sections[i].kind, "lowpass");
    EXPECT_DOUBLE_EQ(plan.sections[i].gain, 1.0);
  }
}

TEST(SectionOrder, UserOrderIsApplied) {
  const PoleZeroGain filter = Design(A::Chebyshev, 5, FilterKind::Lowpass);
  const SectionPlan byQ = SplitIntoSections(filter, FilterKind::Lowpass, 1.0, GainSplit::First);
  const std::vector<int> order = {2, 0, 1};
  const SectionPlan chosen =
      SplitIntoSections(filter, FilterKind::Lowpass, 1.0, GainSplit::First, &order);
  ASSERT_EQ(chosen.problem, "");
  ASSERT_EQ(chosen.sections.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(chosen.sections[i].q, byQ.sections[static_cast<std::size_t>(order[i])].q);
    EXPECT_EQ(chosen.sections[i].kind, byQ.sections[static_cast<std::size_t>(order[i])].kind);
  }
}

TEST(SectionOrder, BadOrdersAreRefused) {
  const PoleZeroGain filter = Design(A::Chebyshev, 5, FilterKind::Lowpass);
  const std::vector<std::vector<int>> bad = {{0, 1},    {0, 1, 2, 3}, {0, 0, 1},
                                             {0, 1, 3}, {-1, 0, 1},   {}};
  for (const std::vector<int>& order : bad) {
    const SectionPlan plan =
        SplitIntoSections(filter, FilterKind::Lowpass, 1.0, GainSplit::First, &order);
    EXPECT_NE(plan.problem, "") << order.size();
    EXPECT_TRUE(plan.sections.empty());
  }
}

struct GainCase {
  FilterKind kind;
  GainSplit split;
  double total;
};

class GainSplitting : public testing::TestWithParam<GainCase> {};

TEST_P(GainSplitting, CascadeReachesTheTotalGain) {
  const GainCase c = GetParam();
  const SectionPlan plan =
      SplitIntoSections(Design(A::Chebyshev, 4, c.kind), c.kind, c.total, c.split);
  ASSERT_EQ(plan.problem, "");
  EXPECT_NEAR(CascadePassbandGain(plan, c.kind), c.total, 1e-9 * c.total);
  const std::size_t n = plan.sections.size();
  for (std::size_t i = 0; i < n; ++i) {
    const double g = plan.sections[i].gain;
    if (c.split == GainSplit::Equal) {
      EXPECT_NEAR(g, plan.sections[0].gain, 1e-12 * g);
    }
    if (c.split == GainSplit::First && i > 0) {
      EXPECT_EQ(g, 1.0);
    }
    if (c.split == GainSplit::Last && i + 1 < n) {
      EXPECT_EQ(g, 1.0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Splits, GainSplitting,
                         testing::Values(GainCase{FilterKind::Lowpass, GainSplit::First, 10.0},
                                         GainCase{FilterKind::Lowpass, GainSplit::Last, 0.25},
                                         GainCase{FilterKind::Lowpass, GainSplit::Equal, 10.0},
                                         GainCase{FilterKind::Highpass, GainSplit::Equal, 3.0},
                                         GainCase{FilterKind::Bandpass, GainSplit::First, 1.0},
                                         GainCase{FilterKind::Bandpass, GainSplit::Last, 5.0},
                                         GainCase{FilterKind::Bandpass, GainSplit::Equal, 0.5},
                                         GainCase{FilterKind::Bandstop, GainSplit::Last, 2.0}));

TEST(GainSplitting, SectionGainIsItsOwnPassbandGain) {
  // Bandpass sections at gain 1 peak at 1 at their own f0.
  const SectionPlan plan = SplitIntoSections(Design(A::Butterworth, 3, FilterKind::Bandpass),
                                             FilterKind::Bandpass, 1.0, GainSplit::First);
  ASSERT_EQ(plan.problem, "");
  for (std::size_t i = 1; i < plan.sections.size(); ++i) {
    const FilterSection& s = plan.sections[i];
    EXPECT_NEAR(std::abs(EvaluateAt(s.transfer, Complex(0.0, 2.0 * kPi * s.f0))), 1.0, 1e-12);
  }
}

struct BadFilterCase {
  const char* name;
  PoleZeroGain filter;
  double total;
  const char* mentions;
};

class BadFilters : public testing::TestWithParam<BadFilterCase> {};

TEST_P(BadFilters, AreRefusedWithAClearText) {
  const BadFilterCase c = GetParam();
  const SectionPlan plan =
      SplitIntoSections(c.filter, FilterKind::Lowpass, c.total, GainSplit::Equal);
  EXPECT_NE(plan.problem.find(c.mentions), std::string::npos) << c.name << ": " << plan.problem;
  EXPECT_TRUE(plan.sections.empty());
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const Complex kUpper(-1.0, 1.0);
const Complex kLower(-1.0, -1.0);

INSTANTIATE_TEST_SUITE_P(
    Inputs, BadFilters,
    testing::Values(
        BadFilterCase{"allpass",
                      {{kUpper, kLower}, {{1.0, 1.0}, {1.0, -1.0}}, 1.0},
                      1.0,
                      "not on the j omega axis"},
        BadFilterCase{"no poles", {{}, {}, 1.0}, 1.0, "no poles"},
        BadFilterCase{"unstable", {{{0.5, 0.0}}, {}, 1.0}, 1.0, "left half-plane"},
        BadFilterCase{
            "pole on the axis", {{{0.0, 2.0}, {0.0, -2.0}}, {}, 1.0}, 1.0, "left half-plane"},
        BadFilterCase{
            "improper", {{{-1.0, 0.0}}, {{0.0, 0.0}, {0.0, 0.0}}, 1.0}, 1.0, "more zeros"},
        BadFilterCase{"lone complex pole", {{kUpper}, {}, 1.0}, 1.0, "conjugate pairs"},
        BadFilterCase{"far partner", {{kUpper, {-1.0, -1.5}}, {}, 1.0}, 1.0, "conjugate"},
        BadFilterCase{"nan pole", {{{kNaN, 0.0}}, {}, 1.0}, 1.0, "finite"},
        BadFilterCase{"zero gain", {{kUpper, kLower}, {}, 0.0}, 1.0, "gain"},
        BadFilterCase{"total zero", {{kUpper, kLower}, {}, 1.0}, 0.0, "total"},
        BadFilterCase{"total negative", {{kUpper, kLower}, {}, 1.0}, -2.0, "total"},
        BadFilterCase{"total inf", {{kUpper, kLower}, {}, 1.0}, kInf, "total"},
        BadFilterCase{"total nan", {{kUpper, kLower}, {}, 1.0}, kNaN, "total"},
        BadFilterCase{"no DC gain", {{kUpper, kLower}, {{0.0, 0.0}}, 1.0}, 1.0, "no gain"}),
    [](const testing::TestParamInfo<BadFilterCase>& info) {
      std::string name = info.param.name;
      for (char& c : name) {
        if (c == ' ') c = '_';
      }
      return name;
    });

TEST(SectionSpeed, OrderFortyBandFilterSplitsFast) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "timings mean nothing under the sanitizers";
#endif
  const PoleZeroGain filter = Design(A::Elliptic, 20, FilterKind::Bandpass);
  ASSERT_EQ(filter.poles.size(), 40u);
  constexpr int kRuns = 200;
  std::size_t sections = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kRuns; ++i) {
    sections +=
        SplitIntoSections(filter, FilterKind::Bandpass, 1.0, GainSplit::Equal).sections.size();
  }
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(sections, 20u * kRuns);
  EXPECT_LT(spent.count() / kRuns, 100.0);
}

}  // namespace
}  // namespace morvane
