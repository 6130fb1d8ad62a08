// Frequency transformations of lowpass prototypes and the pole/zero response figures. The
// prototypes are built here from closed forms; the references are the substitutions themselves
// (evaluated on the prototype), the -3 dB edge formulas and the closed-form responses of first-
// and second-order filters.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "filters/filter_response.h"
#include "filters/frequency_transform.h"

namespace morvane {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kMinus3dB = -3.0102999566398120;  // 10 log10(1/2)
const Complex kJ(0.0, 1.0);

// Butterworth: poles on the unit circle, exact conjugate pairs, DC gain 1.
PoleZeroGain Butterworth(int order) {
  PoleZeroGain h;
  for (int k = 0; k < order / 2; ++k) {
    const double theta = kPi * (2 * k + 1) / (2.0 * order);
    const Complex p(-std::sin(theta), std::cos(theta));
    h.poles.push_back(p);
    h.poles.push_back(std::conj(p));
  }
  if (order % 2 == 1) h.poles.emplace_back(-1.0, 0.0);
  return h;
}

// Third-order Chebyshev with 0.5 dB ripple (ripple edge at 1 rad/s), DC gain 1.
PoleZeroGain Chebyshev3() {
  const double epsilon = std::sqrt(std::pow(10.0, 0.05) - 1.0);
  const double a = std::asinh(1.0 / epsilon) / 3.0;
  const Complex p(-std::sinh(a) * std::sin(kPi / 6.0), std::cosh(a) * std::cos(kPi / 6.0));
  PoleZeroGain h{{p, std::conj(p), Complex(-std::sinh(a), 0.0)}, {}, 1.0};
  h.gain = (-p * -std::conj(p) * std::sinh(a)).real();
  return h;
}

// (s^2 + 4) / (4 (s^2 + sqrt2 s + 1)): a zero pair on the j omega axis, DC gain 1.
PoleZeroGain ZeroPair2() {
  PoleZeroGain h = Butterworth(2);
  h.zeros = {Complex(0.0, 2.0), Complex(0.0, -2.0)};
  h.gain = 0.25;
  return h;
}

Complex Substituted(FilterKind kind, Complex s, double w, double bandwidth) {
  switch (kind) {
    case FilterKind::Lowpass:
      return s / w;
    case FilterKind::Highpass:
      return w / s;
    case FilterKind::Bandpass:
      return (s * s + w * w) / (bandwidth * s);
    case FilterKind::Bandstop:
      return bandwidth * s / (s * s + w * w);
  }
  return s;
}

PoleZeroGain Transformed(const PoleZeroGain& prototype, FilterKind kind, double w, double b) {
  std::string error;
  const auto result = TransformPrototype(prototype, kind, w, b, error);
  EXPECT_TRUE(result.has_value()) << error;
  return result.value_or(PoleZeroGain{});
}

struct NamedPrototype {
  const char* name;
  PoleZeroGain h;
};

std::vector<NamedPrototype> Prototypes() {
  return {{"butterworth1", Butterworth(1)},
          {"butterworth4", Butterworth(4)},
          {"butterworth5", Butterworth(5)},
          {"chebyshev3", Chebyshev3()},
          {"zero-pair2", ZeroPair2()}};
}

const FilterKind kKinds[] = {FilterKind::Lowpass, FilterKind::Highpass, FilterKind::Bandpass,
                             FilterKind::Bandstop};

TEST(FilterTransform, EqualsTheSubstitutionInThePrototype) {
  const double w = 2 * kPi * 1000.0;
  const double b = 2 * kPi * 300.0;
  for (const auto& [name, prototype] : Prototypes()) {
    for (FilterKind kind : kKinds) {
      const PoleZeroGain h = Transformed(prototype, kind, w, b);
      for (double x : {0.01, 0.3, 0.9, 1.07, 2.5, 40.0}) {
        const Complex s(0.0, x * w);
        const Complex expected = EvaluateAt(prototype, Substituted(kind, s, w, b));
        const Complex actual = EvaluateAt(h, s);
        EXPECT_LE(std::abs(actual - expected), 1e-11 * std::abs(expected) + 1e-300)
            << name << " kind " << static_cast<int>(kind) << " at " << x;
      }
    }
  }
}

TEST(FilterTransform, OrdersAndZeroCounts) {
  struct Case {
    FilterKind kind;
    std::size_t poles, zeros;  // for ZeroPair2 (2 poles, 2 zeros) and Butterworth(5)
    std::size_t poles5, zeros5;
  };
  const Case cases[] = {{FilterKind::Lowpass, 2, 2, 5, 0},
                        {FilterKind::Highpass, 2, 2, 5, 5},
                        {FilterKind::Bandpass, 4, 4, 10, 5},
                        {FilterKind::Bandstop, 4, 4, 10, 10}};
  for (const Case& c : cases) {
    const PoleZeroGain pair = Transformed(ZeroPair2(), c.kind, 3.0, 0.5);
    EXPECT_EQ(pair.poles.size(), c.poles);
    EXPECT_EQ(pair.zeros.size(), c.zeros);
    const PoleZeroGain fifth = Transformed(Butterworth(5), c.kind, 3.0, 0.5);
    EXPECT_EQ(fifth.poles.size(), c.poles5);
    EXPECT_EQ(fifth.zeros.size(), c.zeros5);
  }
}

TEST(FilterTransform, ConjugatePairsAreExact) {
  const auto sorted = [](std::vector<Complex> roots) {
    std::sort(roots.begin(), roots.end(), [](Complex a, Complex b) {
      return a.real() != b.real() ? a.real() < b.real() : a.imag() < b.imag();
    });
    return roots;
  };
  const auto conjugated = [](std::vector<Complex> roots) {
    for (Complex& r : roots) r = std::conj(r);
    return roots;
  };
  for (const auto& [name, prototype] : Prototypes()) {
    for (FilterKind kind : kKinds) {
      for (double relative_band : {1e-4, 0.3, 1e6}) {
        const double w = 2 * kPi * 1234.5;
        const PoleZeroGain h = Transformed(prototype, kind, w, relative_band * w);
        EXPECT_EQ(sorted(h.poles), sorted(conjugated(h.poles))) << name;
        EXPECT_EQ(sorted(h.zeros), sorted(conjugated(h.zeros))) << name;
      }
    }
  }
}

// The -3 dB edges of a band: w2 - w1 = B, w1 w2 = wm^2, computed without cancellation.
struct BandEdges {
  double lower, upper;
};
BandEdges EdgesOf(double wm, double bandwidth) {
  const double upper = 0.5 * bandwidth + std::hypot(0.5 * bandwidth, wm);
  return {wm * wm / upper, upper};
}

TEST(FilterTransform, ButterworthBandsAreMinus3dBAtTheirEdges) {
  struct Case {
    int order;
    double wm, bandwidth;
  };
  const double w1k = 2 * kPi * 1e4;
  const Case cases[] = {
      {2, 1000.0, 100.0}, {3, w1k, 1e-4 * w1k}, {4, 1.0, 1e-4},
      {5, 50.0, 400.0},   {6, w1k, 1e6 * w1k},  {1, 7.0, 3.0},
  };
  for (const Case& c : cases) {
    const BandEdges edges = EdgesOf(c.wm, c.bandwidth);
    EXPECT_NEAR((edges.upper - edges.lower) / c.bandwidth, 1.0, 1e-9);
    EXPECT_NEAR(edges.upper * edges.lower / (c.wm * c.wm), 1.0, 1e-12);
    const PoleZeroGain bp =
        Transformed(Butterworth(c.order), FilterKind::Bandpass, c.wm, c.bandwidth);
    EXPECT_NEAR(PoleZeroGainDb(bp, edges.lower), kMinus3dB, 1e-8) << c.order;
    EXPECT_NEAR(PoleZeroGainDb(bp, edges.upper), kMinus3dB, 1e-8) << c.order;
    EXPECT_NEAR(PoleZeroGainDb(bp, c.wm), 0.0, 1e-9) << c.order;
    const PoleZeroGain bs =
        Transformed(Butterworth(c.order), FilterKind::Bandstop, c.wm, c.bandwidth);
    EXPECT_NEAR(PoleZeroGainDb(bs, edges.lower), kMinus3dB, 1e-8) << c.order;
    EXPECT_NEAR(PoleZeroGainDb(bs, edges.upper), kMinus3dB, 1e-8) << c.order;
    EXPECT_NEAR(PoleZeroGainDb(bs, 0.0), 0.0, 1e-9) << c.order;
    EXPECT_LE(PoleZeroGainDb(bs, c.wm), -1e300) << c.order;
  }
}

TEST(FilterTransform, HighpassMirrorsTheLowpassAroundTheCorner) {
  for (int order : {1, 2, 5}) {
    for (double wg : {1.0, 2 * kPi * 1000.0}) {
      const PoleZeroGain hp = Transformed(Butterworth(order), FilterKind::Highpass, wg, 0.0);
      const PoleZeroGain lp = Transformed(Butterworth(order), FilterKind::Lowpass, wg, 0.0);
      EXPECT_NEAR(PoleZeroGainDb(hp, wg), kMinus3dB, 1e-10);
      EXPECT_NEAR(PoleZeroGainDb(lp, wg), kMinus3dB, 1e-10);
      for (double x : {0.1, 0.5, 3.0, 20.0}) {
        EXPECT_NEAR(PoleZeroGainDb(hp, x * wg), PoleZeroGainDb(lp, wg / x), 1e-9) << x;
      }
      EXPECT_NEAR(PoleZeroGainDb(hp, 1e6 * wg), 0.0, 1e-9);
    }
  }
}

// Each band pole maps back onto a prototype pole; checked in long double, so a root that lost
// digits (the small root of a wide band from the textbook quadratic) shows.
TEST(FilterTransform, BandPolesMapBackOntoThePrototype) {
  for (int order : {1, 2, 3, 6}) {
    const PoleZeroGain prototype = Butterworth(order);
    for (double relative_band : {1e-4, 1.0, 1e6}) {
      const double wm = 2 * kPi * 5000.0;
      const double b = relative_band * wm;
      for (FilterKind kind : {FilterKind::Bandpass, FilterKind::Bandstop}) {
        const PoleZeroGain h = Transformed(prototype, kind, wm, b);
        for (const Complex& pole : h.poles) {
          using LongComplex = std::complex<long double>;
          const LongComplex s(pole.real(), pole.imag());
          const long double wm2 = static_cast<long double>(wm) * wm;
          const LongComplex lowpass = kind == FilterKind::Bandpass
                                          ? (s * s + wm2) / (static_cast<long double>(b) * s)
                                          : (static_cast<long double>(b) * s) / (s * s + wm2);
          double nearest = 1e300;
          for (const Complex& p : prototype.poles) {
            const LongComplex q(p.real(), p.imag());
            nearest = std::min(nearest, static_cast<double>(std::abs(lowpass - q)));
          }
          EXPECT_LE(nearest, 1e-10) << order << " band " << relative_band;
        }
      }
    }
  }
}

TEST(FilterTransform, BadInputsAreRefusedWithAReason) {
  const double nan = std::nan("");
  const double inf = HUGE_VAL;
  PoleZeroGain unstable = Butterworth(2);
  unstable.poles[0] = std::conj(unstable.poles[0] * -1.0);
  unstable.poles[1] = std::conj(unstable.poles[0]);
  PoleZeroGain on_axis{{Complex(0.0, 1.0), Complex(0.0, -1.0)}, {}, 1.0};
  PoleZeroGain nan_pole{{Complex(nan, 0.0)}, {}, 1.0};
  PoleZeroGain infinite_zero{{Complex(-1.0, 0.0)}, {Complex(inf, 0.0)}, 1.0};
  PoleZeroGain infinite_gain{{Complex(-1.0, 0.0)}, {}, inf};
  PoleZeroGain zero_at_origin{{Complex(-1.0, 0.0)}, {Complex(0.0, 0.0)}, 1.0};
  PoleZeroGain improper{{Complex(-1.0, 0.0)}, {Complex(-2.0, 0.0), Complex(-3.0, 0.0)}, 1.0};
  const PoleZeroGain fine = Butterworth(3);
  struct Case {
    const char* name;
    PoleZeroGain prototype;
    FilterKind kind;
    double omega, bandwidth;
    const char* reason;  // empty: accepted
  };
  const Case cases[] = {
      {"zero corner", fine, FilterKind::Lowpass, 0.0, 1.0, "corner frequency"},
      {"negative corner", fine, FilterKind::Highpass, -5.0, 1.0, "corner frequency"},
      {"nan corner", fine, FilterKind::Lowpass, nan, 1.0, "corner frequency"},
      {"infinite corner", fine, FilterKind::Lowpass, inf, 1.0, "corner frequency"},
      {"zero centre", fine, FilterKind::Bandpass, 0.0, 1.0, "centre frequency"},
      {"zero bandwidth", fine, FilterKind::Bandpass, 10.0, 0.0, "bandwidth"},
      {"negative bandwidth", fine, FilterKind::Bandstop, 10.0, -1.0, "bandwidth"},
      {"nan bandwidth", fine, FilterKind::Bandstop, 10.0, nan, "bandwidth"},
      {"infinite bandwidth", fine, FilterKind::Bandpass, 10.0, inf, "bandwidth"},
      {"lowpass ignores bandwidth", fine, FilterKind::Lowpass, 10.0, nan, ""},
      {"highpass ignores bandwidth", fine, FilterKind::Highpass, 10.0, 0.0, ""},
      {"unstable", unstable, FilterKind::Lowpass, 10.0, 1.0, "left half-plane"},
      {"pole on the axis", on_axis, FilterKind::Bandpass, 10.0, 1.0, "left half-plane"},
      {"nan pole", nan_pole, FilterKind::Lowpass, 10.0, 1.0, "left half-plane"},
      {"infinite zero", infinite_zero, FilterKind::Lowpass, 10.0, 1.0, "zeros must be finite"},
      {"infinite gain", infinite_gain, FilterKind::Lowpass, 10.0, 1.0, "gain"},
      {"zero at 0 to highpass", zero_at_origin, FilterKind::Highpass, 10.0, 1.0, "s = 0"},
      {"zero at 0 to bandstop", zero_at_origin, FilterKind::Bandstop, 10.0, 1.0, "s = 0"},
      {"zero at 0 to bandpass", zero_at_origin, FilterKind::Bandpass, 10.0, 1.0, ""},
      {"improper", improper, FilterKind::Lowpass, 10.0, 1.0, "more zeros than poles"},
      {"gain overflows", fine, FilterKind::Lowpass, 1e300, 1.0, "range"},
      {"band gain overflows", fine, FilterKind::Bandpass, 1.0, 1e300, "range"},
  };
  for (const Case& c : cases) {
    std::string error = "left over";
    const auto result = TransformPrototype(c.prototype, c.kind, c.omega, c.bandwidth, error);
    if (std::string(c.reason).empty()) {
      EXPECT_TRUE(result.has_value()) << c.name << ": " << error;
      EXPECT_EQ(error, "") << c.name;
    } else {
      EXPECT_FALSE(result.has_value()) << c.name;
      EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
    }
  }
}

// ---- response figures ----

struct NamedFilter {
  const char* name;
  PoleZeroGain h;
};

std::vector<NamedFilter> SampleFilters() {
  return {
      {"butterworth4 lowpass", Butterworth(4)},
      {"butterworth3 bandpass", Transformed(Butterworth(3), FilterKind::Bandpass, 10.0, 2.0)},
      {"butterworth2 highpass", Transformed(Butterworth(2), FilterKind::Highpass, 3.0, 0.0)},
      {"chebyshev3 bandstop", Transformed(Chebyshev3(), FilterKind::Bandstop, 2.0, 1.0)},
      {"zero pair", ZeroPair2()},
      {"allpass", PoleZeroGain{{Complex(-1.0, 0.0)}, {Complex(1.0, 0.0)}, 1.0}},
      {"negative gain", PoleZeroGain{{Complex(-2.0, 0.0)}, {}, -3.0}},
  };
}

// The phase is arg H up to whole turns and has no 360 degree step between neighbours of a
// fine list; it jumps by 180 degrees only across a zero on the j omega axis.
TEST(PoleZeroResponse, PhaseIsArgHWithoutWholeTurnSteps) {
  std::vector<double> omegas;
  for (int i = 0; i <= 2000; ++i) omegas.push_back(std::pow(10.0, -2.0 + 4.0 * i / 2000.0));
  for (const auto& [name, h] : SampleFilters()) {
    const std::vector<double> phases = PoleZeroPhaseAlong(h, omegas);
    ASSERT_EQ(phases.size(), omegas.size());
    for (std::size_t i = 0; i < omegas.size(); ++i) {
      const double arg = std::arg(EvaluateAt(h, Complex(0.0, omegas[i]))) * 180.0 / kPi;
      const double turns = (phases[i] - arg) / 360.0;
      EXPECT_NEAR(turns, std::round(turns), 1e-9) << name << " at " << omegas[i];
      if (i == 0) continue;
      // Crossing a zero on the axis flips the sign of H: +180 degrees each.
      const auto crossed = std::count_if(h.zeros.begin(), h.zeros.end(), [&](Complex z) {
        return z.real() == 0.0 && z.imag() > omegas[i - 1] && z.imag() <= omegas[i];
      });
      EXPECT_NEAR(phases[i] - phases[i - 1], 180.0 * static_cast<double>(crossed), 20.0) << name;
    }
  }
}

TEST(PoleZeroResponse, ButterworthPhaseOnACoarseList) {
  for (int order = 1; order <= 8; ++order) {
    const std::vector<double> phases = PoleZeroPhaseAlong(Butterworth(order), {1e-3, 1.0, 1e3});
    EXPECT_NEAR(phases[0], 0.0, 0.1 * order);
    EXPECT_NEAR(phases[1], -45.0 * order, 1e-9);
    EXPECT_NEAR(phases[2], -90.0 * order, 0.1 * order);
  }
}

TEST(PoleZeroResponse, GroupDelayIsTheSlopeOfThePhase) {
  for (const auto& [name, h] : SampleFilters()) {
    for (double omega : {0.05, 0.4, 1.0, 1.9, 2.3, 9.5, 11.0, 80.0}) {
      const double step = 1e-5 * omega;
      const Complex above = EvaluateAt(h, Complex(0.0, omega + step));
      const Complex below = EvaluateAt(h, Complex(0.0, omega - step));
      const double slope = std::arg(above / below) / (2.0 * step);
      const double delay = PoleZeroGroupDelay(h, omega);
      EXPECT_NEAR(delay, -slope, 1e-6 * std::max(1.0, std::abs(slope))) << name << " " << omega;
    }
  }
}

TEST(PoleZeroResponse, FirstOrderGroupDelayClosedForm) {
  for (double wg : {1.0, 2 * kPi * 1000.0}) {
    const PoleZeroGain lp = Transformed(Butterworth(1), FilterKind::Lowpass, wg, 0.0);
    for (double x : {0.0, 0.5, 1.0, 7.0}) {
      EXPECT_NEAR(PoleZeroGroupDelay(lp, x * wg), 1.0 / wg / (1.0 + x * x), 1e-14 / wg);
    }
  }
  // A zero on the axis adds nothing, also exactly at it.
  EXPECT_NEAR(PoleZeroGroupDelay(ZeroPair2(), 2.0), PoleZeroGroupDelay(Butterworth(2), 2.0), 1e-15);
}

TEST(PoleZeroResponse, GainDbStaysFiniteOnZerosAndPoles) {
  const PoleZeroGain notch = ZeroPair2();
  EXPECT_EQ(PoleZeroGainDb(notch, 2.0), -2e301);
  const PoleZeroGain resonator{{Complex(0.0, 1.0), Complex(0.0, -1.0)}, {}, 1.0};
  EXPECT_EQ(PoleZeroGainDb(resonator, 1.0), 2e301);
  EXPECT_EQ(PoleZeroGainDb(PoleZeroGain{{Complex(-1.0, 0.0)}, {}, 0.0}, 1.0), -2e301);
  // A 40th-order product overflows double; the sum of logarithms does not.
  const PoleZeroGain high = Transformed(Butterworth(20), FilterKind::Bandpass, 1e5, 1e4);
  const double dB = PoleZeroGainDb(high, 1e5);
  EXPECT_NEAR(dB, 0.0, 1e-6);
}

TEST(PoleZeroResponse, StepResponseClosedForms) {
  const double wg = 2 * kPi * 1000.0;
  const PoleZeroGain first = Transformed(Butterworth(1), FilterKind::Lowpass, wg, 0.0);
  const PoleZeroGain second = Butterworth(2);
  const PoleZeroGain highpass2 = Transformed(Butterworth(2), FilterKind::Highpass, 1.0, 0.0);
  const PoleZeroGain doubled{{Complex(-1.0, 0.0), Complex(-1.0, 0.0)}, {}, 1.0};
  const PoleZeroGain tripled{{Complex(-1.0, 0.0), Complex(-1.0, 0.0), Complex(-1.0, 0.0)}, {}, 1.0};
  const PoleZeroGain nearly_doubled{
      {Complex(-1.0, 0.0), Complex(-1.0 - 1e-10, 0.0)}, {}, 1.0 + 1e-10};
  const double r = 1.0 / std::numbers::sqrt2;  // damping and damped frequency of Butterworth 2
  struct Case {
    const char* name;
    const PoleZeroGain& h;
    double t;
    double expected;
    double tolerance;
  };
  std::vector<Case> cases;
  for (double x : {0.0, 0.5, 1.0, 3.0, 20.0}) {
    cases.push_back({"first order", first, x / wg, 1.0 - std::exp(-x), 1e-13});
    cases.push_back({"butterworth2", second, x,
                     1.0 - std::exp(-r * x) * (std::cos(r * x) + std::sin(r * x)), 1e-13});
    cases.push_back(
        {"highpass2", highpass2, x, std::exp(-r * x) * (std::cos(r * x) - std::sin(r * x)), 1e-13});
    cases.push_back({"doubled", doubled, x, 1.0 - std::exp(-x) * (1.0 + x), 1e-13});
    cases.push_back({"tripled", tripled, x, 1.0 - std::exp(-x) * (1.0 + x + 0.5 * x * x), 1e-13});
    cases.push_back({"nearly doubled", nearly_doubled, x, 1.0 - std::exp(-x) * (1.0 + x), 1e-8});
  }
  for (const Case& c : cases) {
    EXPECT_NEAR(PoleZeroStep(c.h, c.t), c.expected, c.tolerance) << c.name << " at " << c.t;
  }
}

TEST(PoleZeroResponse, StepStartsAtTheHighFrequencyGainAndSettlesAtTheDcGain) {
  PoleZeroGain loud_first{{Complex(-1.0, 0.0)}, {}, 2.5};
  PoleZeroGain linkwitz_riley4 = Butterworth(2);
  linkwitz_riley4.poles.insert(linkwitz_riley4.poles.end(), linkwitz_riley4.poles.begin(),
                               linkwitz_riley4.poles.end());
  struct Case {
    const char* name;
    PoleZeroGain h;
    double initial, final;
  };
  const Case cases[] = {
      {"gain 2.5", loud_first, 0.0, 2.5},
      {"linkwitz-riley 4", linkwitz_riley4, 0.0, 1.0},
      {"butterworth5 bandpass", Transformed(Butterworth(5), FilterKind::Bandpass, 3.0, 1.0), 0.0,
       0.0},
      {"zero pair", ZeroPair2(), 0.25, 1.0},
      {"chebyshev3 bandstop", Transformed(Chebyshev3(), FilterKind::Bandstop, 2.0, 1.0), 1.0, 1.0},
      {"butterworth4 highpass", Transformed(Butterworth(4), FilterKind::Highpass, 1.0, 0.0), 1.0,
       0.0},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(PoleZeroStep(c.h, 0.0), c.initial, 1e-12) << c.name;
    EXPECT_NEAR(PoleZeroStep(c.h, 1e3), c.final, 1e-12) << c.name;
    EXPECT_NEAR(PoleZeroStep(c.h, 1e300), c.final, 1e-12) << c.name;
    EXPECT_EQ(PoleZeroStep(c.h, -1e-9), 0.0) << c.name;
  }
}

}  // namespace
}  // namespace morvane
