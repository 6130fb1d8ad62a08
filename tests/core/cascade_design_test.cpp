// Whole active filters: the gain asked for is what the circuits give (or a warning says what
// they give), the sign follows the inverting sections, a tolerance scheme sets order and
// corner so that the scheme is met exactly at f1, the request's faults are named, and every
// section's circuit is one a simulator reads. The circuits' responses themselves are checked
// against ngspice in tests/sim/cascade_sim_test.cpp.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <string>

#include "cascade/cascade_design.h"
#include "filters/filter_response.h"

namespace morvane {
namespace {

using A = Approximation;
using K = FilterKind;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

CascadeRequest Request(A a, K k, int order, std::optional<Topology> topology = std::nullopt) {
  CascadeRequest r;
  r.approximation = a;
  r.kind = k;
  r.order = order;
  r.topology = topology;
  r.fm = 1000.0;
  r.bandwidth = 300.0;
  return r;
}

struct GainCase {
  A approximation;
  K kind;
  int order;
  std::optional<Topology> topology;
  double gain;
  GainSplit split;
  double built;  // the total gain the circuits can give
};

class CascadeGain : public testing::TestWithParam<GainCase> {};

TEST_P(CascadeGain, TotalIsAskedOrWarned) {
  const GainCase& c = GetParam();
  CascadeRequest r = Request(c.approximation, c.kind, c.order, c.topology);
  r.gain = c.gain;
  r.split = c.split;
  const CascadeDesign d = DesignCascade(r);
  ASSERT_EQ(d.problem, "");
  EXPECT_NEAR(d.gain, c.built, 1e-9 * c.built);
  double planned = 1.0, built = 1.0;
  for (const CascadeSection& s : d.sections) built *= s.circuit.gain;
  for (const FilterSection& s : SplitIntoSections(d.transfer, c.kind, c.gain, c.split).sections) {
    planned *= s.gain;
  }
  EXPECT_NEAR(built / planned, c.built / c.gain, 1e-9);
  // The drawn transfer has the built gain at the pass-band reference.
  const double omega = c.kind == K::Lowpass ? 0.0 : c.kind == K::Highpass ? 1e12 : kTwoPi * 1000;
  EXPECT_NEAR(PoleZeroGainDb(d.transfer, omega), 20.0 * std::log10(c.built), 1e-6);
  const bool warned = !d.warnings.empty();
  EXPECT_EQ(warned, std::abs(c.built / c.gain - 1.0) > 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CascadeGain,
    testing::Values(
        GainCase{A::Butterworth, K::Lowpass, 6, std::nullopt, 1.0, GainSplit::First, 1.0},
        GainCase{A::Butterworth, K::Lowpass, 5, std::nullopt, 0.25, GainSplit::Last, 0.25},
        GainCase{A::Chebyshev, K::Lowpass, 7, Topology::Mfb, 10.0, GainSplit::Equal, 10.0},
        GainCase{A::Bessel, K::Highpass, 4, Topology::Svf4, 0.1, GainSplit::Equal, 0.1},
        // A Sallen-Key highpass has no gain below 1: the rest cannot be placed.
        GainCase{A::Butterworth, K::Highpass, 4, Topology::Pfb, 0.5, GainSplit::First, 1.0},
        // Fliege sections give at least 1.05 each.
        GainCase{A::Butterworth, K::Lowpass, 4, Topology::Fliege, 1.0, GainSplit::Equal,
                 1.05 * 1.05},
        // The staggered bandpass sections need gain to make up for each other's slopes.
        GainCase{A::Butterworth, K::Bandpass, 3, Topology::Mfb, 1.0, GainSplit::Equal, 1.0},
        GainCase{A::Chebyshev, K::Bandpass, 4, Topology::Pfb, 1.0, GainSplit::First, 1.0},
        // The twin-T's gain is tied to its Q: what is missing moves to the other sections,
        // and there are none to take it.
        GainCase{A::Elliptic, K::Lowpass, 5, std::nullopt, 3.0, GainSplit::First, 3.0},
        GainCase{A::InverseChebyshev, K::Highpass, 6, std::nullopt, 2.0, GainSplit::Last, 2.0}));

// The cascade's sign is the product of its sections': MFB sections invert, Sallen-Key ones
// do not.
TEST(CascadeSign, FollowsTheInvertingSections) {
  for (int order = 1; order <= 6; ++order) {
    for (Topology t : {Topology::Mfb, Topology::Pfb, Topology::Svf3}) {
      SCOPED_TRACE(std::to_string(order) + " " + SectionTopologyName(t));
      const CascadeDesign d = DesignCascade(Request(A::Butterworth, K::Lowpass, order, t));
      ASSERT_EQ(d.problem, "");
      int inverting = 0;
      for (const CascadeSection& s : d.sections) inverting += s.circuit.inverting ? 1 : 0;
      EXPECT_EQ(inverting, t == Topology::Mfb ? static_cast<int>(d.sections.size()) : 0);
      EXPECT_EQ(d.inverting, inverting % 2 == 1);
      EXPECT_EQ(d.transfer.gain < 0.0, d.inverting);
    }
  }
}

struct SchemeCase {
  A approximation;
  K kind;
  ToleranceScheme scheme;
};

class CascadeScheme : public testing::TestWithParam<SchemeCase> {};

// The least order meets the scheme: exactly d1 at f1, at least d2 from f2 on.
TEST_P(CascadeScheme, MeetsItExactlyAtThePassBandEdge) {
  const SchemeCase& c = GetParam();
  CascadeRequest r = Request(c.approximation, c.kind, 0);
  r.scheme = c.scheme;
  const CascadeDesign d = DesignCascade(r);
  ASSERT_EQ(d.problem, "");
  ToleranceScheme lowpass = c.scheme;
  if (c.kind == K::Highpass)
    lowpass = {1.0 / c.scheme.f1, c.scheme.d1, 1.0 / c.scheme.f2, c.scheme.d2};
  EXPECT_EQ(d.prototypeOrder, LeastOrder(c.approximation, lowpass).order);
  // Attenuation from the highest gain of the pass band (an even-order Chebyshev or elliptic
  // filter has its DC gain at the bottom of the ripple).
  double passband = PoleZeroGainDb(d.transfer, c.kind == K::Lowpass ? 0.0 : 1e15);
  for (int i = 0; i <= 4000; ++i) {
    passband = std::max(
        passband, PoleZeroGainDb(d.transfer, kTwoPi * c.scheme.f1 * std::pow(10.0, -i / 1000.0)));
    passband = std::max(
        passband, PoleZeroGainDb(d.transfer, kTwoPi * c.scheme.f1 * std::pow(10.0, i / 1000.0)));
  }

  const auto attenuation = [&](double hz) {
    return passband - PoleZeroGainDb(d.transfer, kTwoPi * hz);
  };
  EXPECT_NEAR(attenuation(c.scheme.f1), c.scheme.d1, 1e-4);  // the grid may miss a peak by that
  for (double step = 1.0; step < 50.0; step *= 1.1) {
    const double f = c.kind == K::Lowpass ? c.scheme.f2 * step : c.scheme.f2 / step;
    EXPECT_GE(attenuation(f), c.scheme.d2 - 1e-6) << f;
  }
  ASSERT_TRUE(d.figures.attenuationDb);
  EXPECT_NEAR(*d.figures.attenuationDb,
              PoleZeroGainDb(d.transfer, c.kind == K::Lowpass ? 0.0 : 1e15) -
                  PoleZeroGainDb(d.transfer, kTwoPi * c.scheme.f2),
              1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CascadeScheme,
    testing::Values(SchemeCase{A::Butterworth, K::Lowpass, {20e3, 0.5, 30e3, 40.0}},
                    SchemeCase{A::Chebyshev, K::Lowpass, {20e3, 0.1, 24e3, 60.0}},
                    SchemeCase{A::Elliptic, K::Lowpass, {20e3, 0.1, 24e3, 80.0}},
                    SchemeCase{A::InverseChebyshev, K::Lowpass, {1e3, 1.0, 1.5e3, 50.0}},
                    SchemeCase{A::Bessel, K::Lowpass, {1e3, 1.0, 5e3, 30.0}},
                    SchemeCase{A::LinkwitzRiley, K::Lowpass, {1e3, 1.0, 4e3, 40.0}},
                    SchemeCase{A::Elliptic, K::Highpass, {300.0, 0.5, 200.0, 60.0}},
                    SchemeCase{A::Butterworth, K::Highpass, {300.0, 3.0, 100.0, 45.0}}));

struct ProblemCase {
  CascadeRequest request;
  std::string says;  // a part of the problem text
};

CascadeRequest With(CascadeRequest r, void (*change)(CascadeRequest&)) {
  change(r);
  return r;
}

TEST(CascadeProblem, NamesWhatIsAllowed) {
  const CascadeRequest base = Request(A::Butterworth, K::Lowpass, 4);
  const ProblemCase cases[] = {
      {Request(A::LinkwitzRiley, K::Lowpass, 5), "even"},
      {Request(A::Elliptic, K::Lowpass, 4, Topology::Svf3), "pfb, svf4"},
      {Request(A::Elliptic, K::Highpass, 4, Topology::Pfb), "svf4"},
      {Request(A::Butterworth, K::Bandstop, 2, Topology::Mfb), "pfb, svf4 do"},
      {Request(A::Butterworth, K::Bandstop, 1, Topology::Mfb), "pfb, svf4, fliege do"},
      {Request(A::Butterworth, K::Lowpass, 21), "20"},
      {Request(A::Butterworth, K::Lowpass, 0), "1"},
      {With(Request(A::Chebyshev, K::Lowpass, 4), [](CascadeRequest& r) { r.rippleDb = 5; }), "3"},
      {With(Request(A::Elliptic, K::Lowpass, 4), [](CascadeRequest& r) { r.stopbandDb = 150; }),
       "120"},
      {With(base, [](CascadeRequest& r) { r.fg = 0.0; }), "fg"},
      {With(base, [](CascadeRequest& r) { r.fg = std::nan(""); }), "fg"},
      {With(base, [](CascadeRequest& r) { r.gain = -1.0; }), "gain"},
      {With(base, [](CascadeRequest& r) { r.circuit.zin = 0.0; }), "Zin"},
      {With(base,
            [](CascadeRequest& r) {
              r.sectionOrder = {0, 0};
            }),
       "order"},
      {With(Request(A::Butterworth, K::Bandpass, 2), [](CascadeRequest& r) { r.bandwidth = -1.0; }),
       "B"},
      {With(Request(A::Butterworth, K::Bandpass, 2),
            [](CascadeRequest& r) {
              r.scheme = ToleranceScheme{1, 1, 2, 20};
            }),
       "lowpass and highpass"},
      {With(base,
            [](CascadeRequest& r) {
              r.scheme = ToleranceScheme{2e3, 1, 1e3, 20};
            }),
       "f2 above f1"},
      {With(base,
            [](CascadeRequest& r) {
              r.scheme = ToleranceScheme{1e3, 30, 2e3, 20};
            }),
       "d2 above d1"},
  };
  for (const ProblemCase& c : cases) {
    const CascadeDesign d = DesignCascade(c.request);
    EXPECT_NE(d.problem.find(c.says), std::string::npos)
        << "\"" << d.problem << "\" lacks " << c.says;
    EXPECT_TRUE(d.sections.empty());
  }
}

// Every section of every filter has parts a simulator can tell apart, buildable values, and
// the gain network only where the gain needs one (unity-gain Sallen-Key: a plain follower).
TEST(CascadeCircuits, PartsAreUniqueAndPositive) {
  for (A a : {A::Butterworth, A::Chebyshev, A::Bessel, A::LinkwitzRiley, A::InverseChebyshev,
              A::Elliptic}) {
    for (K k : {K::Lowpass, K::Highpass, K::Bandpass, K::Bandstop}) {
      for (Topology t :
           {Topology::Mfb, Topology::Pfb, Topology::Svf3, Topology::Svf4, Topology::Fliege}) {
        const CascadeDesign d = DesignCascade(Request(a, k, 8, t));
        for (const CascadeSection& s : d.sections) {
          std::set<std::string> names;
          for (const CircuitPart& part : s.circuit.circuit.parts) {
            EXPECT_TRUE(names.insert(part.name).second) << s.circuit.name << " " << part.name;
            EXPECT_TRUE(std::isfinite(part.value) && part.value > 0.0) << part.name;
          }
          EXPECT_FALSE(s.circuit.circuit.opAmps.empty());
        }
      }
    }
  }
  const CascadeDesign unity = DesignCascade(Request(A::Butterworth, K::Lowpass, 6, Topology::Pfb));
  for (const CascadeSection& s : unity.sections) {
    EXPECT_EQ(s.circuit.circuit.parts.size(), 4u) << s.circuit.name;
    EXPECT_NE(s.circuit.circuit.parts[2].value, s.circuit.circuit.parts[3].value);
  }
}

}  // namespace
}  // namespace morvane
