// The LC ladder and the diplexer as circuits: the same parts between the same nodes as their
// netlists, and their transfer (CircuitTransfer) what the page draws for the ladder and what
// a chain analysis from the loads gives for the diplexer; their tolerance filters with the
// closed-form f0, Q and pass-band gain of the approximations.

#include "lc/lc_circuit.h"
#include "ladder_page.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <complex>
#include <numbers>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "circuit/circuit_transfer.h"
#include "lc/lc_diplexer.h"
#include "lc/lc_ladder.h"
#include "spice/netlist.h"
#include "spice/netlist_lines.h"
#include "tolerance/tolerance_filter.h"

namespace morvane {
namespace {

using Complex = std::complex<double>;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kDegrees = 180.0 / std::numbers::pi;
constexpr double kGainToleranceDb = 0.01;
constexpr double kPhaseToleranceDegrees = 0.1;
// Relative to fg: the pass band, around the corner and into the stop band.
constexpr double kFrequencies[] = {0.05, 0.3, 0.7, 0.95, 1.0, 1.05, 1.5, 3.0};

using testing::LadderCase;

std::string Describe(const LadderCase& c) {
  std::ostringstream text;
  text << (c.ripple > 0.0 ? "Chebyshev" : "Butterworth");
  if (c.ripple > 0.0) text << c.ripple << "dB";
  text << (c.type == FilterType::Highpass ? "_highpass" : "_lowpass") << "_n" << c.n << "_RG"
       << c.RG << "_RL" << c.RL;
  std::string name = text.str();
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

// A page's state and choices as its design left them.
struct Page {
  DesignState s;
  DesignChoices c;
};

Page Designed(const LadderCase& l) {
  const auto page = testing::DesignedLadderPage(l);
  return {page.s, page.in};
}

// Every order, both approximations and types, the load below, equal to and above the source
// where a ladder exists: an even order needs RL <= RG, an even Chebyshev order a load well
// below it (RG / 10 meets K < 1 up to 3 dB ripple).
std::vector<LadderCase> LadderCases() {
  std::vector<LadderCase> cases;
  for (int n = 2; n <= 10; ++n) {
    for (double ripple : {0.0, 0.5, 3.0}) {
      for (FilterType type : {FilterType::Lowpass, FilterType::Highpass}) {
        std::vector<double> loads{100.0};
        if (n % 2 == 1 || ripple == 0.0) loads.push_back(1000.0);
        if (n % 2 == 1) loads.push_back(3300.0);
        for (double RL : loads) cases.push_back({n, ripple, type, 1000.0, RL, 2500.0});
      }
    }
  }
  return cases;
}

// The part lines of a netlist: every line that names a resistor, capacitor or inductor.
std::multiset<std::string> NetlistParts(const std::string& netlist) {
  std::multiset<std::string> lines;
  std::istringstream in(netlist);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && (line[0] == 'R' || line[0] == 'C' || line[0] == 'L')) {
      lines.insert(line + "\n");
    }
  }
  return lines;
}

// The circuit's parts as netlist lines, its "out" written as `outputNode`.
std::multiset<std::string> CircuitParts(const Circuit& c, const std::string& outputNode) {
  const auto node = [&](const std::string& n) { return n == "out" ? outputNode : n; };
  std::multiset<std::string> lines;
  for (const CircuitPart& p : c.parts)
    lines.insert(PartLine(p.name, node(p.a), node(p.b), p.value));
  return lines;
}

double Db(double x) {
  return 20.0 * std::log10(x);
}

// The circuit's transfer against a reference at each of the frequencies: within 0.01 dB and
// 0.1 degrees.
template <typename Reference>
void ExpectTransfer(const Circuit& circuit, double fg, Reference reference) {
  const auto h = CircuitTransfer(circuit);
  ASSERT_TRUE(h);
  for (double x : kFrequencies) {
    const double f = x * fg;
    const Complex built = EvaluateAt(*h, Complex(0.0, kTwoPi * f));
    const Complex expected = reference(f);
    EXPECT_NEAR(Db(std::abs(built)), Db(std::abs(expected)), kGainToleranceDb) << "at " << f;
    EXPECT_NEAR(std::remainder((std::arg(built) - std::arg(expected)) * kDegrees, 360.0), 0.0,
                kPhaseToleranceDegrees)
        << "at " << f;
  }
}

class LadderCircuitTable : public ::testing::TestWithParam<LadderCase> {};

TEST_P(LadderCircuitTable, IsTheNetlistsCircuit) {
  const Page d = Designed(GetParam());
  const auto circuit = LadderCircuit(d.s, d.c);
  ASSERT_TRUE(circuit);
  EXPECT_EQ(CircuitParts(*circuit, "out"), NetlistParts(LadderNetlist(d.s, d.c, {})));
}

// The page draws the shape with the pass band at 0 dB; the circuit passes RL / (RG + RL)
// there.
TEST_P(LadderCircuitTable, TransferIsThePagesResponse) {
  const LadderCase& l = GetParam();
  const Page d = Designed(l);
  const auto circuit = LadderCircuit(d.s, d.c);
  ASSERT_TRUE(circuit);
  ExpectTransfer(*circuit, l.fg, [&](double f) {
    const PolarValue p = LadderResponse(d.s, l.type, f);
    return std::polar(p.magnitude * l.RL / (l.RG + l.RL), p.angle / kDegrees);
  });
}

// One section whose f0 and Q are those of the pole pair of the highest Q, k = 1 (at 1 on the
// unit circle for Butterworth, scaled so that the response is 3 dB down at fg for
// Chebyshev), and whose gain is RL / (RG + RL).
TEST_P(LadderCircuitTable, ToleranceFilterHasTheClosedFormFigures) {
  const LadderCase& l = GetParam();
  const Page d = Designed(l);
  const auto filters = PageToleranceFilters(d.s, d.c);
  ASSERT_EQ(filters.size(), 1u);
  const ToleranceFilter& f = filters[0];
  const bool highpass = l.type == FilterType::Highpass;
  EXPECT_EQ(f.kind, highpass ? FilterKind::Highpass : FilterKind::Lowpass);
  EXPECT_DOUBLE_EQ(f.passbandGain, l.RL / (l.RG + l.RL));
  EXPECT_EQ(f.cornerHz, l.fg);
  const auto sections = ToleranceSectionsOf(f.circuits);
  ASSERT_TRUE(sections);
  ASSERT_EQ(sections->size(), 1u);
  EXPECT_EQ(sections->at(0).kind, highpass ? "highpass" : "lowpass");

  const double theta = std::numbers::pi / (2.0 * l.n);
  Complex pole(-std::sin(theta), std::cos(theta));
  if (l.ripple > 0.0) {
    const double eps = std::sqrt(std::pow(10.0, l.ripple / 10.0) - 1.0);
    const double a = std::asinh(1.0 / eps) / l.n;
    const double w = std::cosh(std::acosh(1.0 / eps) / l.n);
    pole = Complex(pole.real() * std::sinh(a), pole.imag() * std::cosh(a)) / w;
  }
  const BuiltFigures& built = sections->at(0).nominal;
  const double f0 = highpass ? l.fg / std::abs(pole) : l.fg * std::abs(pole);
  EXPECT_NEAR(built.f0 / f0, 1.0, 1e-9);
  EXPECT_NEAR(built.q / (std::abs(pole) / (-2.0 * pole.real())), 1.0, 1e-9);
  EXPECT_NEAR(built.gain / f.passbandGain, 1.0, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(EveryOrder, LadderCircuitTable, ::testing::ValuesIn(LadderCases()),
                         [](const auto& info) { return Describe(info.param); });

TEST(LadderCircuit, NoNetworkNoCircuitAndNoFilter) {
  for (const LadderCase& l : {LadderCase{4, 1.0, FilterType::Lowpass, 1000.0, 1000.0, 1000.0},
                              LadderCase{6, 0.0, FilterType::Highpass, 1000.0, 2000.0, 1000.0}}) {
    const Page d = Designed(l);
    EXPECT_FALSE(LadderCircuit(d.s, d.c)) << Describe(l);
    EXPECT_TRUE(PageToleranceFilters(d.s, d.c).empty()) << Describe(l);
  }
}

struct DiplexerCase {
  int n;
  bool chebyshev;
  double R;
  double fg;
};

std::vector<DiplexerCase> DiplexerCases() {
  std::vector<DiplexerCase> cases;
  for (bool chebyshev : {false, true}) {
    for (int n : {3, 5, 7, 9}) {
      cases.push_back({n, chebyshev, 1000.0, 1000.0});
      cases.push_back({n, chebyshev, 50.0, 10e6});
    }
  }
  return cases;
}

Page DesignedDiplexer(const DiplexerCase& d) {
  Page x;
  x.s.topology = Topology::Diplexer;
  x.s.Zin = d.R;
  x.s.fg = d.fg;
  x.c.diplexerOrder = d.n;
  x.c.diplexerChebyshev = d.chebyshev;
  return x;
}

// A branch seen from the common node with its load R, walked back from the load with
// V(load) = 1: the voltage and current it takes at the common node.
struct BranchEnd {
  Complex v;
  Complex i;
};

BranchEnd WalkBack(const std::vector<LadderElement>& elements, double R, Complex s) {
  BranchEnd e{1.0, 1.0 / R};
  for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
    const Complex z = it->kind == 'L' ? s * it->value : 1.0 / (s * it->value);
    if (it->shunt) {
      e.i += e.v / z;
    } else {
      e.v += e.i * z;
    }
  }
  return e;
}

// V(load of one branch) / V(source): the source's R into both branches' admittances.
Complex ChainTransfer(const Page& d, DiplexerOutput output, double f) {
  const Complex s(0.0, kTwoPi * f);
  const double R = d.s.Zin;
  const BranchEnd lp = WalkBack(DiplexerElements(d.s, d.c, true), R, s);
  const BranchEnd hp = WalkBack(DiplexerElements(d.s, d.c, false), R, s);
  const Complex common = 1.0 / (1.0 + R * (lp.i / lp.v + hp.i / hp.v));
  return common / (output == DiplexerOutput::Lowpass ? lp.v : hp.v);
}

std::string Describe(const DiplexerCase& d) {
  return std::string(d.chebyshev ? "Chebyshev" : "Butterworth") + "_n" + std::to_string(d.n) +
         "_R" + std::to_string(static_cast<int>(d.R));
}

class DiplexerCircuitTable : public ::testing::TestWithParam<DiplexerCase> {};

TEST_P(DiplexerCircuitTable, BothOutputsAreTheNetlistsCircuit) {
  const Page d = DesignedDiplexer(GetParam());
  const std::multiset<std::string> netlist = NetlistParts(DiplexerNetlist(d.s, d.c, {}));
  EXPECT_EQ(CircuitParts(DiplexerCircuit(d.s, d.c, DiplexerOutput::Lowpass), "outlp"), netlist);
  EXPECT_EQ(CircuitParts(DiplexerCircuit(d.s, d.c, DiplexerOutput::Highpass), "outhp"), netlist);
}

TEST_P(DiplexerCircuitTable, TransferIsTheChainFromTheLoads) {
  const Page d = DesignedDiplexer(GetParam());
  for (DiplexerOutput output : {DiplexerOutput::Lowpass, DiplexerOutput::Highpass}) {
    SCOPED_TRACE(output == DiplexerOutput::Lowpass ? "lowpass" : "highpass");
    ExpectTransfer(DiplexerCircuit(d.s, d.c, output), d.s.fg,
                   [&](double f) { return ChainTransfer(d, output, f); });
  }
}

// Two analyses, lowpass and then highpass, each the whole diplexer with the parts in one
// order (a seed then builds the same diplexers for both), half the source voltage in the
// pass band; the highpass takes the mask mirrored about fg.
TEST_P(DiplexerCircuitTable, ToleranceFiltersAreBothOutputs) {
  const Page d = DesignedDiplexer(GetParam());
  const auto filters = PageToleranceFilters(d.s, d.c);
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0].output, "lowpass");
  EXPECT_EQ(filters[1].output, "highpass");
  EXPECT_EQ(filters[0].kind, FilterKind::Lowpass);
  EXPECT_EQ(filters[1].kind, FilterKind::Highpass);
  std::vector<std::string> names[2];
  for (int k = 0; k < 2; ++k) {
    ASSERT_EQ(filters[k].circuits.size(), 1u);
    for (const CircuitPart& p : filters[k].circuits[0].circuit.parts) names[k].push_back(p.name);
    const auto sections = ToleranceSectionsOf(filters[k].circuits);
    ASSERT_TRUE(sections);
    EXPECT_NEAR(sections->at(0).nominal.gain, filters[k].passbandGain, 1e-9);
  }
  EXPECT_EQ(names[0], names[1]);
  EXPECT_EQ(names[0].size(), 2u * GetParam().n + 3u);

  MonteCarloRequest request;
  request.mask = ToleranceMask{d.s.fg / 2.0, 1.0, d.s.fg * 4.0, 30.0};
  const MonteCarloRequest low = RequestAround(filters[0], request);
  const MonteCarloRequest high = RequestAround(filters[1], request);
  EXPECT_EQ(low.mask->f1, d.s.fg / 2.0);
  EXPECT_NEAR(high.mask->f1, d.s.fg * 2.0, 1e-9 * d.s.fg);
  EXPECT_NEAR(high.mask->f2, d.s.fg / 4.0, 1e-9 * d.s.fg);
  EXPECT_EQ(high.mask->d2, 30.0);
}

INSTANTIATE_TEST_SUITE_P(EveryOrder, DiplexerCircuitTable, ::testing::ValuesIn(DiplexerCases()),
                         [](const auto& info) { return Describe(info.param); });

}  // namespace
}  // namespace morvane
