// The transfer of a circuit as built from its part values: against closed forms, against a
// second nodal solver written here (op amps as amplifiers of gain 1e8, solved directly at each
// frequency, no polynomials), and against the figures every section design promises; the root
// finder against known roots; circuits that cannot be analysed refused.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>

#include "cascade/cascade_design.h"
#include "circuit/built_figures.h"
#include "circuit/circuit_transfer.h"
#include "numerics/polynomial_roots.h"

namespace morvane {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// V(out)/V(in) by plain nodal analysis at one frequency: every node but ground and the input
// an unknown, each op amp an amplifier of gain 1e8 driving its output node through 1 Ohm.
// (Its finite gain and the rounding of so large a factor leave up to some 1e-5 dB.)
Complex DirectTransfer(const Circuit& c, double f) {
  constexpr double kAmplifierGain = 1e8;
  constexpr double kOutputConductance = 1.0;
  std::map<std::string, int> index;
  const auto node = [&](const std::string& name) {
    if (name == "0" || name == "in") return -1;
    return index.try_emplace(name, static_cast<int>(index.size())).first->second;
  };
  for (const CircuitPart& p : c.parts) node(p.a), node(p.b);
  for (const CircuitOpAmp& a : c.opAmps) node(a.plus), node(a.minus), node(a.output);
  const std::size_t n = index.size();
  std::vector<std::vector<Complex>> a(n, std::vector<Complex>(n + 1, 0.0));
  const Complex s(0.0, kTwoPi * f);
  const auto voltage = [&](const std::string& name) { return name == "in" ? 1.0 : 0.0; };
  // Current y * (V(from) - V(to)) leaving `from`.
  const auto stamp = [&](const std::string& from, const std::string& to, Complex y) {
    if (from == "0" || from == "in") return;
    const int row = index[from];
    a[row][row] += y;
    if (to == "0" || to == "in") {
      a[row][n] += y * voltage(to);
    } else {
      a[row][index[to]] -= y;
    }
  };
  for (const CircuitPart& p : c.parts) {
    const Complex y = p.name[0] == 'R'   ? Complex(1.0 / p.value)
                      : p.name[0] == 'C' ? s * p.value
                                         : 1.0 / (s * p.value);
    stamp(p.a, p.b, y);
    stamp(p.b, p.a, y);
  }
  for (const CircuitOpAmp& amp : c.opAmps) {
    // Output current g (A (V+ - V-) - Vout) into the output node.
    const int row = index[amp.output];
    a[row][row] += kOutputConductance;
    for (const auto& [name, sign] : {std::pair(amp.plus, 1.0), std::pair(amp.minus, -1.0)}) {
      const Complex y = sign * kOutputConductance * kAmplifierGain;
      if (name == "0") continue;
      if (name == "in") {
        a[row][n] += y;
      } else {
        a[row][index[name]] -= y;
      }
    }
  }
  for (std::size_t k = 0; k < n; ++k) {
    std::size_t pivot = k;
    for (std::size_t r = k + 1; r < n; ++r) {
      if (std::abs(a[r][k]) > std::abs(a[pivot][k])) pivot = r;
    }
    std::swap(a[k], a[pivot]);
    for (std::size_t r = 0; r < n; ++r) {
      if (r == k) continue;
      const Complex factor = a[r][k] / a[k][k];
      for (std::size_t col = k; col <= n; ++col) a[r][col] -= factor * a[k][col];
    }
  }
  const auto out = static_cast<std::size_t>(index["out"]);
  return a[out][n] / a[out][out];
}

double Db(Complex h) {
  return 20.0 * std::log10(std::abs(h));
}

// Every section kind in every topology that builds it, as a cascade designs it.
struct SectionCase {
  const char* name;
  Approximation approximation;
  FilterKind kind;
  int order;
  Topology topology;
};

const SectionCase kSectionCases[] = {
    {"mfb lowpass", Approximation::Butterworth, FilterKind::Lowpass, 5, Topology::Mfb},
    {"mfb highpass", Approximation::Chebyshev, FilterKind::Highpass, 4, Topology::Mfb},
    {"mfb bandpass", Approximation::Butterworth, FilterKind::Bandpass, 2, Topology::Mfb},
    {"pfb lowpass", Approximation::Bessel, FilterKind::Lowpass, 5, Topology::Pfb},
    {"pfb highpass", Approximation::Butterworth, FilterKind::Highpass, 4, Topology::Pfb},
    {"pfb bandpass", Approximation::Chebyshev, FilterKind::Bandpass, 2, Topology::Pfb},
    {"pfb notches", Approximation::Elliptic, FilterKind::Lowpass, 4, Topology::Pfb},
    {"pfb twin-T", Approximation::Butterworth, FilterKind::Bandstop, 1, Topology::Pfb},
    {"fliege notch", Approximation::Chebyshev, FilterKind::Bandstop, 1, Topology::Fliege},
    {"svf3 lowpass", Approximation::Chebyshev, FilterKind::Lowpass, 4, Topology::Svf3},
    {"svf3 bandpass", Approximation::Butterworth, FilterKind::Bandpass, 2, Topology::Svf3},
    {"svf4 highpass", Approximation::Butterworth, FilterKind::Highpass, 3, Topology::Svf4},
    {"svf4 notches", Approximation::Elliptic, FilterKind::Bandpass, 3, Topology::Svf4},
    {"svf4 inverse chebyshev", Approximation::InverseChebyshev, FilterKind::Lowpass, 5,
     Topology::Svf4},
    {"fliege bandpass", Approximation::Butterworth, FilterKind::Bandpass, 3, Topology::Fliege},
    {"fliege lowpass", Approximation::Butterworth, FilterKind::Lowpass, 4, Topology::Fliege},
};

class SectionTransfer : public testing::TestWithParam<SectionCase> {};

// As designed, every section's circuit has the f0, Q, zero and gain its plan asks for, and
// the solver's curve is the direct solution's.
TEST_P(SectionTransfer, BuiltFiguresAreTheDesignedOnes) {
  const SectionCase& c = GetParam();
  CascadeRequest r;
  r.approximation = c.approximation;
  r.kind = c.kind;
  r.order = c.order;
  r.fg = r.fm = 2.2e3;
  r.bandwidth = 400.0;
  r.gain = 3.0;
  r.topology = c.topology;
  const CascadeDesign d = DesignCascade(r);
  ASSERT_EQ(d.problem, "") << c.name;
  for (const CascadeSection& section : d.sections) {
    const std::string& kind = section.plan.kind;
    const auto h = CircuitTransfer(section.circuit.circuit);
    ASSERT_TRUE(h) << c.name << " " << kind;
    const auto f = FiguresOf(*h, ReferenceOfSectionKind(kind), IsNotchSectionKind(kind));
    ASSERT_TRUE(f) << c.name << " " << kind;
    EXPECT_NEAR(f->f0, section.plan.f0, 1e-9 * section.plan.f0) << c.name << " " << kind;
    EXPECT_NEAR(f->q, section.plan.q, 1e-9 * section.plan.q) << c.name << " " << kind;
    const double gain = section.circuit.inverting ? -section.circuit.gain : section.circuit.gain;
    EXPECT_NEAR(f->gain, gain, 1e-9 * std::abs(gain)) << c.name << " " << kind;
    ASSERT_EQ(f->fz.has_value(), section.plan.fz.has_value()) << c.name << " " << kind;
    if (f->fz) {
      EXPECT_NEAR(*f->fz, *section.plan.fz, 1e-9 * *f->fz) << c.name << " " << kind;
    }
    for (double ratio : {0.01, 0.3, 0.9, 1.0, 1.1, 3.0, 100.0}) {
      const double at = ratio * section.plan.f0;
      const Complex direct = DirectTransfer(section.circuit.circuit, at);
      const Complex built = EvaluateAt(*h, Complex(0.0, kTwoPi * at));
      if (Db(direct) < -100.0) continue;  // at a notch's zero both are rounding
      EXPECT_NEAR(Db(built), Db(direct), 1e-4) << c.name << " " << kind << " at " << at;
      EXPECT_NEAR(std::arg(built / direct), 0.0, 1e-5) << c.name << " " << kind << " at " << at;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sections, SectionTransfer, testing::ValuesIn(kSectionCases),
                         [](const testing::TestParamInfo<SectionCase>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) {
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

// Two textbook forms with arbitrary (unrounded, mismatched) values.
TEST(CircuitTransfer, ClosedForms) {
  const double r1 = 12.3e3, r2 = 4.56e3, r3 = 78.9e3, c1 = 10.1e-9, c2 = 2.34e-9;
  // MFB lowpass: H = -(1/R1) / (s^2 C1 C2 R2 + s C2 R2 (1/R1 + 1/R2 + 1/R3) + 1/R3).
  Circuit mfb;
  mfb.opAmps = {{"0", "n", "out"}};
  mfb.parts = {{"R1", "in", "a", r1},
               {"C1", "a", "0", c1},
               {"R2", "a", "n", r2},
               {"C2", "out", "n", c2},
               {"R3", "a", "out", r3}};
  // Sallen-Key lowpass with K = 1 + R3/R4: H = K / (s^2 R1 R2 C1 C2 + s (R1 C2 + R2 C2 +
  // R1 C1 (1 - K)) + 1).
  const double r4 = 33.3e3, k = 1.0 + r3 / r4;
  Circuit sk;
  sk.opAmps = {{"p", "n", "out"}};
  sk.parts = {{"R1", "in", "a", r1}, {"R2", "a", "p", r2},   {"C1", "a", "out", c1},
              {"C2", "p", "0", c2},  {"R3", "out", "n", r3}, {"R4", "n", "0", r4}};
  const auto mfbForm = [&](Complex s) {
    return -(1.0 / r1) / (s * s * c1 * c2 * r2 + s * c2 * r2 * (1 / r1 + 1 / r2 + 1 / r3) + 1 / r3);
  };
  const auto skForm = [&](Complex s) {
    return k / (s * s * r1 * r2 * c1 * c2 + s * (r1 * c2 + r2 * c2 + r1 * c1 * (1 - k)) + 1.0);
  };
  const auto mfbH = CircuitTransfer(mfb);
  const auto skH = CircuitTransfer(sk);
  ASSERT_TRUE(mfbH && skH);
  EXPECT_EQ(mfbH->denominator.size(), 3u);
  EXPECT_EQ(mfbH->numerator.size(), 1u);
  for (double f : {1.0, 100.0, 1e3, 3e3, 1e4, 1e6}) {
    const Complex s(0.0, kTwoPi * f);
    EXPECT_NEAR(std::abs(EvaluateAt(*mfbH, s) / mfbForm(s) - 1.0), 0.0, 1e-12) << f;
    EXPECT_NEAR(std::abs(EvaluateAt(*skH, s) / skForm(s) - 1.0), 0.0, 1e-12) << f;
  }
  // In s: the MFB lowpass's constant term over its s^2 term is 1 / (R2 R3 C1 C2).
  const std::vector<double> d = CoefficientsInS(mfbH->denominator, mfbH->scale);
  EXPECT_NEAR(d[0] / d[2], 1.0 / (r2 * r3 * c1 * c2), 1e-9 * d[0] / d[2]);
}

// An LC lowpass between terminations: the solver's inductors against the direct solution.
TEST(CircuitTransfer, LadderWithInductors) {
  Circuit ladder;
  ladder.parts = {{"RG", "in", "1", 50.0},  {"C1", "1", "0", 2.2e-9},  {"L2", "1", "2", 15e-6},
                  {"C3", "2", "0", 4.7e-9}, {"L4", "2", "out", 12e-6}, {"RL", "out", "0", 50.0}};
  const auto h = CircuitTransfer(ladder);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->denominator.size(), 5u);  // fourth order
  for (double f : {1e3, 1e5, 1e6, 2e6, 5e6, 3e7}) {
    EXPECT_NEAR(Db(EvaluateAt(*h, Complex(0.0, kTwoPi * f))), Db(DirectTransfer(ladder, f)), 1e-6)
        << f;
  }
  EXPECT_NEAR(EvaluateAt(*h, 0.0).real(), 0.5, 1e-12);  // the divider RL / (RG + RL)
}

TEST(CircuitTransfer, RefusesWhatCannotBeAnalysed) {
  const Circuit follower{
      {}, {{"R1", "in", "p", 1e3}, {"C1", "p", "0", 1e-9}}, {{"p", "out", "out"}}};
  ASSERT_TRUE(CircuitTransfer(follower));
  struct Bad {
    const char* why;
    Circuit circuit;
  };
  const Bad bad[] = {
      {"zero resistor", {{}, {{"R1", "in", "out", 0.0}, {"R2", "out", "0", 1e3}}, {}}},
      {"infinite capacitor", {{}, {{"R1", "in", "out", 1e3}, {"C1", "out", "0", INFINITY}}, {}}},
      {"part of no kind", {{}, {{"X1", "in", "out", 1e3}, {"R2", "out", "0", 1e3}}, {}}},
      {"no output node", {{}, {{"R1", "in", "a", 1e3}, {"R2", "a", "0", 1e3}}, {}}},
      {"op amp driving ground", {{}, {{"R1", "in", "out", 1e3}}, {{"out", "in", "0"}}}},
      {"floating output", {{}, {{"C1", "out", "x", 1e-9}, {"R1", "in", "0", 1e3}}, {}}},
  };
  for (const Bad& b : bad) EXPECT_FALSE(CircuitTransfer(b.circuit)) << b.why;
}

// Roots against known ones: distinct real roots over four decades, a double root, roots on
// the unit circle of a 20th-order Butterworth polynomial, and roots at zero.
TEST(PolynomialRoots, KnownRoots) {
  const auto expand = [](const std::vector<Complex>& roots) {
    std::vector<Complex> c{1.0};
    for (const Complex& r : roots) {
      std::vector<Complex> next(c.size() + 1, 0.0);
      for (std::size_t i = 0; i < c.size(); ++i) {
        next[i + 1] += c[i];
        next[i] -= r * c[i];
      }
      c = next;
    }
    std::vector<double> real;
    for (const Complex& x : c) real.push_back(x.real());
    return real;
  };
  std::vector<Complex> butterworth;
  for (int k = 0; k < 20; ++k) {
    butterworth.push_back(std::polar(1.0, std::numbers::pi * (2.0 * k + 21.0) / 40.0));
  }
  const std::vector<std::vector<Complex>> cases = {
      {-1.0, -10.0, -100.0, -1000.0, -1e4},
      {-2.0, -2.0, Complex(-1.0, 3.0), Complex(-1.0, -3.0)},
      butterworth,
      {0.0, 0.0, Complex(0.0, 5.0), Complex(0.0, -5.0), -0.5},
  };
  for (const auto& roots : cases) {
    const std::vector<Complex> found = PolynomialRoots(expand(roots));
    ASSERT_EQ(found.size(), roots.size());
    for (const Complex& r : roots) {
      double nearest = INFINITY;
      for (const Complex& z : found) nearest = std::min(nearest, std::abs(z - r));
      EXPECT_LT(nearest, 1e-6 * std::max(1.0, std::abs(r))) << r;
    }
  }
}

}  // namespace
}  // namespace morvane
