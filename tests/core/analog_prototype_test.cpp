// Analog lowpass prototypes: published pole tables, scipy's reference values and the defining
// properties of each approximation over orders 1 to 20.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "filters/analog_prototype.h"

namespace morvane {
namespace {

using A = Approximation;

double PowerAt(const PoleZeroGain& h, double w) {
  return std::norm(EvaluateAt(h, Complex(0.0, w)));
}
double DbAt(const PoleZeroGain& h, double w) {
  return 10.0 * std::log10(PowerAt(h, w));
}

AnalogPrototype Design(const PrototypeRequest& request) {
  std::string problem;
  const auto design = DesignPrototype(request, &problem);
  EXPECT_TRUE(design.has_value()) << problem;
  return design.value_or(AnalogPrototype{});
}

// H(s) -> H(s * edge): moves a design from its half-power point to its ripple edge at 1 rad/s,
// the normalisation of the published tables and of scipy's cheb1ap/ellipap.
std::vector<Complex> PolesAtRippleEdge(const AnalogPrototype& p) {
  std::vector<Complex> poles = p.transfer.poles;
  for (Complex& pole : poles) pole /= p.passbandEdge;
  return poles;
}

// Coefficients, highest power first, of prod (s - root).
std::vector<double> Expand(const std::vector<Complex>& roots) {
  std::vector<Complex> c{1.0};
  for (const Complex& r : roots) {
    c.push_back(0.0);
    for (size_t i = c.size() - 1; i > 0; --i) c[i] -= r * c[i - 1];
  }
  std::vector<double> real;
  for (const Complex& x : c) real.push_back(x.real());
  return real;
}

struct PublishedPoles {
  const char* source;
  PrototypeRequest request;
  bool atRippleEdge;              // table normalised to the ripple edge, not to -3 dB
  double tolerance;               // half a unit of the table's last digit, and a little more
  std::vector<Complex> expected;  // upper half-plane and real poles only
};

void PrintTo(const PublishedPoles& c, std::ostream* out) {
  *out << c.source;
}

class PublishedPoleTable : public testing::TestWithParam<PublishedPoles> {};

TEST_P(PublishedPoleTable, PrototypeHasThePublishedPoles) {
  const PublishedPoles& c = GetParam();
  const AnalogPrototype design = Design(c.request);
  const std::vector<Complex> poles =
      c.atRippleEdge ? PolesAtRippleEdge(design) : design.transfer.poles;
  ASSERT_EQ(poles.size(), static_cast<size_t>(c.request.order));
  for (const Complex& e : c.expected) {
    for (const Complex& wanted : {e, std::conj(e)}) {
      double nearest = std::numeric_limits<double>::infinity();
      for (const Complex& p : poles) nearest = std::min(nearest, std::abs(p - wanted));
      EXPECT_LT(nearest, c.tolerance) << c.source << " pole " << wanted;
    }
  }
}

// Butterworth: exp(j pi (2k + n - 1) / 2n). Chebyshev: Williams & Taylor, "Electronic Filter
// Design Handbook", normalised to the ripple edge, 4 decimals. Bessel: C. R. Bond, "Bessel
// filter constants", -3 dB normalised (= scipy besselap(norm='mag')), 7 decimals.
INSTANTIATE_TEST_SUITE_P(
    Prototype, PublishedPoleTable,
    testing::Values(
        PublishedPoles{"Butterworth 4",
                       {A::Butterworth, 4},
                       false,
                       1e-4,
                       {{-0.3827, 0.9239}, {-0.9239, 0.3827}}},
        PublishedPoles{"Butterworth 5",
                       {A::Butterworth, 5},
                       false,
                       1e-4,
                       {{-0.3090, 0.9511}, {-0.8090, 0.5878}, {-1.0, 0.0}}},
        PublishedPoles{
            "Chebyshev 0.5 dB 2", {A::Chebyshev, 2, 0.5}, true, 1e-4, {{-0.7128, 1.0040}}},
        PublishedPoles{"Chebyshev 0.5 dB 3",
                       {A::Chebyshev, 3, 0.5},
                       true,
                       1e-4,
                       {{-0.3132, 1.0219}, {-0.6265, 0.0}}},
        PublishedPoles{"Chebyshev 0.5 dB 4",
                       {A::Chebyshev, 4, 0.5},
                       true,
                       1e-4,
                       {{-0.1754, 1.0163}, {-0.4233, 0.4209}}},
        PublishedPoles{"Chebyshev 1 dB 2", {A::Chebyshev, 2, 1.0}, true, 1e-4, {{-0.5489, 0.8951}}},
        PublishedPoles{"Chebyshev 1 dB 3",
                       {A::Chebyshev, 3, 1.0},
                       true,
                       1e-4,
                       {{-0.2471, 0.9660}, {-0.4942, 0.0}}},
        PublishedPoles{"Chebyshev 1 dB 4",
                       {A::Chebyshev, 4, 1.0},
                       true,
                       1e-4,
                       {{-0.1395, 0.9834}, {-0.3369, 0.4073}}},
        PublishedPoles{"Bessel 2", {A::Bessel, 2}, false, 1e-6, {{-1.1016013, 0.6360098}}},
        PublishedPoles{
            "Bessel 3", {A::Bessel, 3}, false, 1e-6, {{-1.0474091, 0.9992645}, {-1.3226758, 0.0}}},
        PublishedPoles{"Bessel 4",
                       {A::Bessel, 4},
                       false,
                       1e-6,
                       {{-1.3700679, 0.4102497}, {-0.9952088, 1.2571058}}},
        PublishedPoles{"Bessel 5",
                       {A::Bessel, 5},
                       false,
                       1e-6,
                       {{-1.3808774, 0.7179096}, {-0.9576765, 1.4711243}, {-1.5023163, 0.0}}}));

// scipy's test_filter_design TestEllip: ellip(5, 3, 26, 1, analog=True), normalised to the
// ripple edge, numerator and denominator to 4 decimals.
TEST(PrototypeElliptic, MatchesScipyFifthOrderCoefficients) {
  const AnalogPrototype design = Design({A::Elliptic, 5, 3.0, 26.0});
  std::vector<Complex> zeros = design.transfer.zeros;
  for (Complex& z : zeros) z /= design.passbandEdge;
  const double edgeGain = design.transfer.gain * std::pow(design.passbandEdge, 5 - 4);
  const std::vector<double> b = Expand(zeros);
  const std::vector<double> a = Expand(PolesAtRippleEdge(design));
  const std::vector<double> wantB{0.1420, 0, 0.3764, 0, 0.2409};
  const std::vector<double> wantA{1, 0.5686, 1.8061, 0.8017, 0.8012, 0.2409};
  ASSERT_EQ(b.size(), wantB.size());
  ASSERT_EQ(a.size(), wantA.size());
  for (size_t i = 0; i < b.size(); ++i) EXPECT_NEAR(edgeGain * b[i], wantB[i], 6e-5) << i;
  for (size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], wantA[i], 6e-5) << i;
}

struct Family {
  PrototypeRequest request;  // order is swept over 1..20
  const char* name;
};

bool HasRipple(A a) {
  return a == A::Chebyshev || a == A::Elliptic;
}
bool HasStopband(A a) {
  return a == A::InverseChebyshev || a == A::Elliptic;
}

// Every pole in the left half-plane, every complex pole with its conjugate, nothing infinite.
void ExpectStableRealTransfer(const PoleZeroGain& h) {
  EXPECT_TRUE(std::isfinite(h.gain) && h.gain > 0.0);
  for (const std::vector<Complex>* set : {&h.poles, &h.zeros}) {
    for (const Complex& x : *set) {
      ASSERT_TRUE(std::isfinite(x.real()) && std::isfinite(x.imag()));
      const auto mirror = std::find(set->begin(), set->end(), std::conj(x));
      EXPECT_NE(mirror, set->end()) << x << " has no conjugate";
    }
  }
  for (const Complex& p : h.poles) EXPECT_LT(p.real(), 0.0) << p;
}

double GroupDelay(const PoleZeroGain& h, double w) {
  double delay = 0.0;
  for (const Complex& p : h.poles) {
    delay += -p.real() / (p.real() * p.real() + (w - p.imag()) * (w - p.imag()));
  }
  return delay;
}

void PrintTo(const Family& f, std::ostream* out) {
  *out << f.name;
}

class PrototypeProperties : public testing::TestWithParam<Family> {};

TEST_P(PrototypeProperties, HoldForEveryOrder) {
  const Family& f = GetParam();
  const A kind = f.request.approximation;
  for (int order = 1; order <= 20; ++order) {
    if (kind == A::LinkwitzRiley && order % 2 != 0) continue;
    SCOPED_TRACE(testing::Message() << f.name << " order " << order);
    PrototypeRequest request = f.request;
    request.order = order;
    const AnalogPrototype design = Design(request);
    const PoleZeroGain& h = design.transfer;
    ASSERT_EQ(h.poles.size(), static_cast<size_t>(order));
    EXPECT_EQ(h.zeros.size(), HasStopband(kind) ? static_cast<size_t>(order / 2 * 2) : 0u);
    ExpectStableRealTransfer(h);

    const double wantAtOne = kind == A::LinkwitzRiley ? 0.25 : 0.5;
    EXPECT_NEAR(PowerAt(h, 1.0), wantAtOne, 1e-9 * wantAtOne);
    const bool dcAtRippleBottom = HasRipple(kind) && order % 2 == 0;
    EXPECT_NEAR(DbAt(h, 0.0), dcAtRippleBottom ? -request.rippleDb : 0.0, 1e-9);

    if (HasRipple(kind)) {
      const double edge = design.passbandEdge;
      ASSERT_GT(edge, 0.0);
      ASSERT_LT(edge, 1.0);
      double highest = -1e9;
      double lowest = 1e9;
      for (int i = 0; i <= 20000; ++i) {
        const double db = DbAt(h, edge * i / 20000.0);
        highest = std::max(highest, db);
        lowest = std::min(lowest, db);
      }
      EXPECT_LT(highest, 1e-9);
      EXPECT_GT(highest, order == 1 ? -1e-9 : -1e-3);  // sampled peaks come close to 0 dB
      EXPECT_GT(lowest, -request.rippleDb - 1e-9);
      EXPECT_NEAR(DbAt(h, edge), -request.rippleDb, 1e-6);
      EXPECT_LT(DbAt(h, edge * (1.0 + 1e-4)), -request.rippleDb);
    } else {
      EXPECT_EQ(design.passbandEdge, 0.0);
    }

    if (HasStopband(kind)) {
      const double edge = design.stopbandEdge;
      ASSERT_GT(edge, 1.0);
      EXPECT_NEAR(DbAt(h, edge), -request.stopbandDb, 1e-6);
      double highest = -1e9;
      for (int i = 0; i <= 20000; ++i) {
        highest = std::max(highest, DbAt(h, edge * std::pow(100.0, i / 20000.0)));
      }
      EXPECT_LT(highest, -request.stopbandDb + 1e-6);
      for (int i = 0; i <= 2000; ++i) {  // not reached before the edge
        EXPECT_GT(DbAt(h, edge * (1.0 - 1e-4) * i / 2000.0), -request.stopbandDb);
      }
    } else {
      EXPECT_EQ(design.stopbandEdge, 0.0);
    }

    if (kind == A::Bessel) {  // maximally flat delay: each order flattens it some 300 times more
      const double deviation = std::abs(GroupDelay(h, 0.1) / GroupDelay(h, 0.0) - 1.0);
      EXPECT_LT(deviation, std::max(1e-12, 2e-2 * std::pow(10.0, -2.4 * (order - 1))));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Prototype, PrototypeProperties,
    testing::Values(Family{{A::Butterworth}, "Butterworth"}, Family{{A::Bessel}, "Bessel"},
                    Family{{A::LinkwitzRiley}, "LinkwitzRiley"},
                    Family{{A::Chebyshev, 1, 0.01}, "Chebyshev 0.01 dB"},
                    Family{{A::Chebyshev, 1, 0.5}, "Chebyshev 0.5 dB"},
                    Family{{A::Chebyshev, 1, 3.0}, "Chebyshev 3 dB"},
                    Family{{A::InverseChebyshev, 1, 1, 10.0}, "InverseChebyshev 10 dB"},
                    Family{{A::InverseChebyshev, 1, 1, 60.0}, "InverseChebyshev 60 dB"},
                    Family{{A::InverseChebyshev, 1, 1, 120.0}, "InverseChebyshev 120 dB"},
                    Family{{A::Elliptic, 1, 0.01, 120.0}, "Elliptic 0.01/120 dB"},
                    Family{{A::Elliptic, 1, 0.1, 40.0}, "Elliptic 0.1/40 dB"},
                    Family{{A::Elliptic, 1, 1.0, 60.0}, "Elliptic 1/60 dB"},
                    Family{{A::Elliptic, 1, 3.0, 100.0}, "Elliptic 3/100 dB"}),
    [](const testing::TestParamInfo<Family>& info) { return std::to_string(info.index); });

// The corners of the allowed ranges, where an elliptic transition band narrows to a few ulps
// (order 20, 3 dB ripple, 10 dB attenuation): still finite, stable, with ordered edges.
TEST(PrototypeExtremes, CornersOfTheRangesGiveStableFiniteDesigns) {
  for (const A kind : {A::Chebyshev, A::InverseChebyshev, A::Elliptic}) {
    for (const double ripple : {kMinRippleDb, kMaxRippleDb}) {
      for (const double stopband : {kMinStopbandDb, kMaxStopbandDb}) {
        for (int order = kMinPrototypeOrder; order <= kMaxPrototypeOrder; ++order) {
          SCOPED_TRACE(testing::Message() << static_cast<int>(kind) << " order " << order << " "
                                          << ripple << "/" << stopband << " dB");
          const AnalogPrototype design = Design({kind, order, ripple, stopband});
          ExpectStableRealTransfer(design.transfer);
          EXPECT_TRUE(std::isfinite(design.passbandEdge) && design.passbandEdge <= 1.0);
          if (HasStopband(kind)) {
            EXPECT_GE(design.stopbandEdge, 1.0);
          }
        }
      }
    }
  }
}

struct BadRequest {
  PrototypeRequest request;
  const char* fragment;
};

void PrintTo(const BadRequest& c, std::ostream* out) {
  *out << c.fragment;
}

class PrototypeBadRequest : public testing::TestWithParam<BadRequest> {};

TEST_P(PrototypeBadRequest, IsRefusedSayingWhatIsAllowed) {
  std::string problem;
  EXPECT_FALSE(DesignPrototype(GetParam().request, &problem).has_value());
  EXPECT_NE(problem.find(GetParam().fragment), std::string::npos) << problem;
  EXPECT_FALSE(DesignPrototype(GetParam().request, nullptr).has_value());
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Prototype, PrototypeBadRequest,
    testing::Values(BadRequest{{A::Butterworth, 0}, "order must be 1 to 20"},
                    BadRequest{{A::Bessel, 21}, "order must be 1 to 20"},
                    BadRequest{{A::Elliptic, -3}, "order must be 1 to 20"},
                    BadRequest{{A::LinkwitzRiley, 3}, "even order"},
                    BadRequest{{A::LinkwitzRiley, 22}, "order must be 1 to 20"},
                    BadRequest{{A::Chebyshev, 4, 0.0099}, "ripple must be 0.01 to 3 dB"},
                    BadRequest{{A::Chebyshev, 4, 3.01}, "ripple must be 0.01 to 3 dB"},
                    BadRequest{{A::Elliptic, 4, kNaN, 60}, "ripple must be 0.01 to 3 dB"},
                    BadRequest{{A::InverseChebyshev, 4, 1, 9.99}, "attenuation must be 10 to 120"},
                    BadRequest{{A::Elliptic, 4, 1, 120.5}, "attenuation must be 10 to 120"},
                    BadRequest{{A::InverseChebyshev, 4, 1, kNaN}, "attenuation must be 10 to 120"},
                    BadRequest{{static_cast<A>(17), 4}, "unknown approximation"}));

// Settings a family does not use are not checked: a Butterworth ignores the ripple field.
TEST(PrototypeRequestFields, UnusedSettingsAreIgnored) {
  EXPECT_TRUE(DesignPrototype({A::Butterworth, 3, 99.0, -5.0}, nullptr).has_value());
  EXPECT_TRUE(DesignPrototype({A::Chebyshev, 3, 1.0, -5.0}, nullptr).has_value());
}

}  // namespace
}  // namespace morvane
