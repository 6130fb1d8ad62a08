// The five active stages built in ngspice from the netlists the program writes: the simulated
// gain and phase must be what the program draws (MagnitudeAt times the realised gain, the
// readout Vuf, and PhaseAt), and a bandstop or elliptical lowpass must have its zero where the
// curve has it. Designs are made through DesignSession, as the user makes them.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "design/design_session.h"
#include "design/field_names.h"
#include "graphs/response.h"
#include "ngspice_runner.h"
#include "spice/netlist.h"

namespace morvane {
namespace {

using FT = FilterType;
using Cplx = std::complex<double>;

// The op amps are voltage sources of gain A = 1e6 (frequency independent, so 1 MHz is no
// harder than 10 Hz). They leave an error of about (noise gain) x Q / A near a resonance,
// and the noise gain of a stage grows with its gain (the MFB lowpass with its capacitor
// ratio 4 Q^2 (Vu + 1)). With gain times Q at most 100 that stays below 0.03 dB and 0.1
// degrees, inside the tolerances below; what is left is the design. Gain 10 at Q = 20 goes
// beyond it (up to 0.07 dB): OpAmpGainIsTheWholeRemainder shows those cases apart.
constexpr double kGainToleranceDb = 0.05;
constexpr double kPhaseToleranceDegrees = 0.2;
constexpr double kMaxGainTimesQ = 100.0;
// Compared where the drawn response is no more than this below its peak.
constexpr double kCompareRangeDb = 40.0;
// A zero: the simulated response passes within this of 0 (relative to the pass band), at the
// drawn frequency within this relative distance. A = 1e6 leaves about -62 dB at Q = 20; a
// zero missed by one per cent of an element is near -40 dB, the faulty one was -24 dB.
constexpr double kNotchDepthDb = -50.0;
constexpr double kNotchPlace = 1e-4;

struct Case {
  Topology topology;
  FT type;
  double fg;
  double Q;
  double Vu;
  double Zin;
  int seriesR;
  int seriesC;
  bool box;                // the page's check box: equal capacitors (MFB), offset
                           // compensation (PFB), capacitances calculated (SVF, Fliege)
  double capacitance = 0;  // the capacitance typed when the box is cleared (SVF, Fliege)
  double R3 = 1000.0;      // PFB entry
  double fnfp = 2.0;       // PFB elliptical lowpass
  // PFB "Try Equal Capacitors", a second box on that page.
  bool pfbEqualCapacitors = true;
};

const char* TypeName(FT type) {
  switch (type) {
    case FT::Lowpass:
      return "lowpass";
    case FT::Highpass:
      return "highpass";
    case FT::Bandpass:
      return "bandpass";
    case FT::Bandstop:
      return "bandstop";
    case FT::Allpass:
      return "allpass";
    case FT::EllipticLowpass:
      return "elliptical lowpass";
  }
  return "?";
}

std::string Text(double x) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", x);
  return text;
}

std::string Describe(const Case& c) {
  std::ostringstream text;
  text << "topology " << static_cast<int>(c.topology) << " " << TypeName(c.type) << ": fg=" << c.fg
       << " Q=" << c.Q << " Vu=" << c.Vu << " Zin=" << c.Zin << " E-series R/C " << c.seriesR << "/"
       << c.seriesC << " box=" << c.box;
  if (!c.box && c.capacitance > 0) text << " C1=" << Text(c.capacitance);
  if (c.topology == Topology::Pfb) text << " R3=" << c.R3;
  if (c.type == FT::EllipticLowpass) text << " fn/fo=" << c.fnfp;
  if (!c.pfbEqualCapacitors) text << " unequal C";
  return text.str();
}

struct Designed {
  DesignState s;
  DesignChoices in;
  std::string notice;
  int beeps = 0;
};

const char* CheckBoxOf(Topology t) {
  switch (t) {
    case Topology::Mfb:
      return "CCheckBox1";
    case Topology::Pfb:
      return "RCheckBox2";
    case Topology::Svf3:
      return "CCheckBox3";
    case Topology::Svf4:
      return "CCheckBox4";
    default:
      return "CCheckBox5";
  }
}

std::string_view CapacitanceEntryOf(Topology t) {
  switch (t) {
    case Topology::Svf3:
      return field::C12Eingabe3;
    case Topology::Svf4:
      return field::C12Eingabe4;
    default:
      return field::C12Eingabe5;
  }
}

// What the user does: page, type, series, box, then the entries typed in.
Designed Design(const Case& c) {
  DesignSession session;
  session.Start();
  session.SelectTopology(c.topology);
  session.SelectFilterType(c.type);
  session.SelectResistorSeries(c.seriesR);
  session.SelectCapacitorSeries(c.seriesC);
  session.SetCheckBox(CheckBoxOf(c.topology), c.box);
  if (!c.pfbEqualCapacitors) session.SetCheckBox("CCheckBox2", false);
  session.TypeEntry(field::fgEingabe, Text(c.fg));
  session.TypeEntry(field::QEingabe, Text(c.Q));
  session.TypeEntry(field::VuEingabe, Text(c.Vu));
  session.TypeEntry(field::ZinEingabe, Text(c.Zin));
  if (c.topology == Topology::Pfb) {
    session.TypeEntry(field::R32Eingabe, Text(c.R3));
    session.TypeEntry(field::q2Eingabe, Text(c.fnfp));
  }
  const bool entersCapacitance = c.topology == Topology::Svf3 || c.topology == Topology::Svf4 ||
                                 c.topology == Topology::Fliege;
  if (entersCapacitance && !c.box) {
    session.TypeEntry(CapacitanceEntryOf(c.topology), Text(c.capacitance));
  }
  return {session.State(), session.Choices(), session.CurrentNotice(), session.BeepCount()};
}

// Output of the stage against the drawn curve: the MFB stage inverts every type, the SVF
// bandpass and bandstop outputs follow an inverting integrator or summer.
bool Inverting(Topology t, FT type) {
  if (t == Topology::Mfb) return true;
  if (t == Topology::Svf3) return type == FT::Bandpass;
  if (t == Topology::Svf4) return type == FT::Bandpass || type == FT::Bandstop;
  return false;
}

double Db(double x) {
  return 20.0 * std::log10(x);
}

double Drawn(const Designed& d, double f) {
  return MagnitudeAt(d.s, d.in.type, f) * d.s.VuActual;
}

// The peak of the drawn response, searched densely over the compared range.
double DrawnPeak(const Designed& d, double fStart, double fStop) {
  double peak = 0.0;
  constexpr int kSamples = 4000;
  for (int i = 0; i <= kSamples; ++i) {
    peak = std::max(peak, Drawn(d, fStart * std::pow(fStop / fStart, double(i) / kSamples)));
  }
  // A resonance narrower than the grid: at the reference frequency itself.
  return std::max(peak, Drawn(d, ReferenceFrequency(d.s, d.in.type)));
}

struct Sweep {
  double fStart;
  double fStop;
  int perDecade;
};

// Two decades either side of the reference frequency, dense enough to resolve the resonance.
Sweep WideSweep(const Designed& d) {
  const double f0 = ReferenceFrequency(d.s, d.in.type);
  return {f0 / 100.0, f0 * 100.0, static_cast<int>(std::max(15.0, 8.0 * d.s.Q))};
}

bool HasZero(FT type) {
  return type == FT::Bandstop || type == FT::EllipticLowpass;
}

double ZeroFrequency(const Designed& d) {
  const double f0 = ReferenceFrequency(d.s, d.in.type);
  return d.in.type == FT::EllipticLowpass ? d.s.fnfp * f0 : f0;
}

// A narrow band around the drawn zero.
Sweep NotchSweep(const Designed& d) {
  const double fz = ZeroFrequency(d);
  return {fz / 1.002, fz * 1.002, 20000};
}

NetlistOptions Options(const Sweep& sweep) {
  NetlistOptions o;
  o.fStart = sweep.fStart;
  o.fStop = sweep.fStop;
  o.pointsPerDecade = sweep.perDecade;
  return o;
}

struct Measured {
  bool ok = false;
  std::string error;
  int compared = 0;
  double gainDb = 0.0;        // largest |simulated - drawn| in dB
  double gainAt = 0.0;        // Hz
  double phaseDegrees = 0.0;  // largest |simulated - drawn| (mod 360), degrees
  double phaseAt = 0.0;
  double notchDepthDb = 0.0;  // closest approach to 0, dB re the realised gain
  double notchPlace = 0.0;    // (found - drawn) / drawn
};

double PhaseError(double simulated, double drawn) {
  return std::fabs(std::remainder(simulated - drawn, 360.0));
}

// The zero between two neighbouring samples, from the straight line through the complex
// values: H is linear in f near a simple zero. Returns the distance of the line from 0 and
// the frequency of its closest approach.
void LocateZero(const sim::AcResult& r, double passBand, Measured& m) {
  const auto& v = r.Voltage("out");
  std::size_t k = 0;
  for (std::size_t i = 1; i < v.size(); ++i) {
    if (std::abs(v[i]) < std::abs(v[k])) k = i;
  }
  const std::size_t a = k == 0 ? 0 : k - 1;
  const std::size_t b = std::min(a + 2, v.size() - 1);
  const Cplx slope = (v[b] - v[a]) / (r.frequency[b] - r.frequency[a]);
  // Least |v[a] + slope*t| over real t.
  const double t = -std::real(v[a] * std::conj(slope)) / std::norm(slope);
  m.notchDepthDb = Db(std::abs(v[a] + slope * t) / passBand);
  m.notchPlace = r.frequency[a] + t;
}

// The ideal op amps with another gain, to tell their share of a difference from the design's.
std::string WithOpAmpGain(const std::string& netlist, const std::string& gain) {
  std::istringstream lines(netlist);
  std::string line;
  std::string out;
  while (std::getline(lines, line)) {
    if (!line.empty() && line[0] == 'E') line = line.substr(0, line.rfind(' ') + 1) + gain;
    out += line + "\n";
  }
  return out;
}

struct Run {
  Designed d;
  std::size_t wide;
  std::size_t notch;  // index of the notch job, or npos
};

// Designs every case, runs the netlists in ngspice and measures them against the drawn
// response. An empty opAmpGain keeps the netlists as written.
std::vector<Measured> Simulate(const std::vector<Case>& cases, std::vector<Designed>& designs,
                               const std::string& opAmpGain = {}) {
  std::vector<Run> runs;
  std::vector<sim::AcJob> jobs;
  const auto add = [&](const Designed& d, const Sweep& sweep) {
    std::string netlist = DesignNetlist(d.s, d.in, Options(sweep));
    if (!opAmpGain.empty()) netlist = WithOpAmpGain(netlist, opAmpGain);
    jobs.push_back({netlist, {"out"}});
    return jobs.size() - 1;
  };
  for (const Case& c : cases) {
    Run run{Design(c), 0, std::string::npos};
    if (!DesignNetlistProblem(run.d.s, run.d.in).empty()) {
      runs.push_back(run);
      continue;
    }
    run.wide = add(run.d, WideSweep(run.d));
    if (HasZero(c.type)) run.notch = add(run.d, NotchSweep(run.d));
    runs.push_back(run);
  }
  const std::vector<sim::AcResult> results = sim::RunAc(jobs, 2);

  std::vector<Measured> measured(cases.size());
  designs.clear();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Run& run = runs[i];
    Measured& m = measured[i];
    designs.push_back(run.d);
    const std::string problem = DesignNetlistProblem(run.d.s, run.d.in);
    if (!problem.empty()) {
      m.error = "no netlist: " + problem;
      continue;
    }
    const sim::AcResult& r = results[run.wide];
    if (!r.Ok()) {
      m.error = r.error;
      continue;
    }
    const Sweep sweep = WideSweep(run.d);
    const double floor = Db(DrawnPeak(run.d, sweep.fStart, sweep.fStop)) - kCompareRangeDb;
    const double flip = Inverting(cases[i].topology, cases[i].type) ? 180.0 : 0.0;
    const auto& v = r.Voltage("out");
    for (std::size_t k = 0; k < r.frequency.size(); ++k) {
      const double f = r.frequency[k];
      const double drawnDb = Db(Drawn(run.d, f));
      if (!(drawnDb >= floor)) continue;
      ++m.compared;
      const double gainError = std::fabs(Db(std::abs(v[k])) - drawnDb);
      if (gainError > m.gainDb) {
        m.gainDb = gainError;
        m.gainAt = f;
      }
      const double simulatedPhase = std::arg(v[k]) * 180.0 / std::numbers::pi;
      const double drawnPhase = PhaseAt(run.d.s, run.d.in.type, f) + flip;
      const double phaseError = PhaseError(simulatedPhase, drawnPhase);
      if (phaseError > m.phaseDegrees) {
        m.phaseDegrees = phaseError;
        m.phaseAt = f;
      }
    }
    if (run.notch != std::string::npos) {
      const sim::AcResult& n = results[run.notch];
      if (!n.Ok()) {
        m.error = n.error;
        continue;
      }
      LocateZero(n, run.d.s.VuActual, m);
      m.notchPlace = m.notchPlace / ZeroFrequency(run.d) - 1.0;
    }
    m.ok = true;
  }
  return measured;
}

// A grid over one stage and type: the entry lists have lengths 5, 6, 7, 4, 3 and 5, so that
// 30 cases meet every pair of fg and Q and vary the rest across them.
std::vector<Case> Grid(Topology t, FT type) {
  const double fgs[] = {10.0, 220.0, 1000.0, 33e3, 1e6};
  const double Qs[] = {0.3, 0.5, 0.7071, 2.0, 7.5, 20.0};
  const double Vus[] = {0.5, 1.0, 1.5, 3.3, 10.0, 2.0, 47.0};
  const double Zins[] = {100.0, 1000.0, 22e3, 1e6};
  const double R3s[] = {1000.0, 4700.0, 100e3};
  const double ratios[] = {1.1, 1.5, 2.0, 3.3, 10.0};
  std::vector<Case> cases;
  for (int i = 0; i < 30; ++i) {
    Case c{t,
           type,
           fgs[i % 5],
           Qs[i % 6],
           Vus[i % 7],
           Zins[i % 4],
           1 + (i + i / 5) % 5,
           1 + (2 * i + i / 6) % 5,
           (i / 2) % 2 == 0};
    if (c.Vu * c.Q > kMaxGainTimesQ) c.Vu = 3.3;
    // Typed capacitance: within a decade either way of the automatic choice.
    c.capacitance = (0.1 + 0.3 * (i % 4)) / (2 * std::numbers::pi * c.fg * c.Zin);
    c.R3 = R3s[i % 3];
    c.fnfp = ratios[(i + i / 5) % 5];
    cases.push_back(c);
  }
  return cases;
}

void Report(const Case& c, const Measured& m) {
  std::printf("  %-104s %.1e dB %.1e deg", Describe(c).c_str(), m.gainDb, m.phaseDegrees);
  if (HasZero(c.type)) std::printf("  zero %.1f dB at %+.1e", m.notchDepthDb, m.notchPlace);
  std::printf("\n");
}

// Every case must be simulated and match; the PFB elliptical lowpass may refuse a design
// (Q too low for fn/fo), as the page says, and then writes no netlist.
void ExpectDrawn(const std::vector<Case>& cases) {
  std::vector<Designed> designs;
  const std::vector<Measured> measured = Simulate(cases, designs);
  std::size_t refused = 0;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(Describe(c));
    const Measured& m = measured[i];
    if (c.type == FT::EllipticLowpass && !designs[i].notice.empty()) {
      EXPECT_EQ(DesignNetlistProblem(designs[i].s, designs[i].in), designs[i].notice);
      EXPECT_TRUE(DesignNetlist(designs[i].s, designs[i].in, {}).empty());
      ++refused;
      continue;
    }
    ASSERT_TRUE(m.ok) << m.error;
    EXPECT_EQ(designs[i].notice, "");
    EXPECT_EQ(designs[i].beeps, 0);
    EXPECT_GE(m.compared, 20);
    EXPECT_LE(m.gainDb, kGainToleranceDb) << "at " << m.gainAt << " Hz";
    EXPECT_LE(m.phaseDegrees, kPhaseToleranceDegrees) << "at " << m.phaseAt << " Hz";
    if (HasZero(c.type)) {
      EXPECT_LE(m.notchDepthDb, kNotchDepthDb);
      EXPECT_LE(std::fabs(m.notchPlace), kNotchPlace);
    }
    const bool zeroMissed = HasZero(c.type) && (m.notchDepthDb > kNotchDepthDb ||
                                                std::fabs(m.notchPlace) > kNotchPlace);
    if (m.gainDb > kGainToleranceDb || m.phaseDegrees > kPhaseToleranceDegrees || zeroMissed) {
      Report(c, m);
    }
  }
  EXPECT_LE(refused, cases.size() / 2);
  double gain = 0.0;
  double phase = 0.0;
  double depth = -300.0;
  double place = 0.0;
  for (const Measured& m : measured) {
    if (!m.ok) continue;
    gain = std::max(gain, m.gainDb);
    phase = std::max(phase, m.phaseDegrees);
    depth = std::max(depth, m.notchDepthDb);
    place = std::max(place, std::fabs(m.notchPlace));
  }
  std::printf("  topology %d %s: %zu cases (%zu refused), up to %.1e dB, %.1e degrees",
              static_cast<int>(cases[0].topology), TypeName(cases[0].type), cases.size(), refused,
              gain, phase);
  if (HasZero(cases[0].type)) std::printf(", zeros below %.1f dB within %.0e", depth, place);
  std::printf("\n");
}

TEST(ActiveStageSimulation, Mfb) {
  for (FT type : {FT::Lowpass, FT::Highpass, FT::Bandpass}) ExpectDrawn(Grid(Topology::Mfb, type));
}

TEST(ActiveStageSimulation, Pfb) {
  for (FT type :
       {FT::Lowpass, FT::Highpass, FT::Bandpass, FT::Bandstop, FT::Allpass, FT::EllipticLowpass}) {
    ExpectDrawn(Grid(Topology::Pfb, type));
  }
}

TEST(ActiveStageSimulation, Svf3) {
  for (FT type : {FT::Lowpass, FT::Highpass, FT::Bandpass}) ExpectDrawn(Grid(Topology::Svf3, type));
}

TEST(ActiveStageSimulation, Svf4) {
  for (FT type : {FT::Lowpass, FT::Highpass, FT::Bandpass, FT::Bandstop}) {
    ExpectDrawn(Grid(Topology::Svf4, type));
  }
}

TEST(ActiveStageSimulation, Fliege) {
  for (FT type : {FT::Lowpass, FT::Highpass, FT::Bandpass, FT::Bandstop, FT::Allpass}) {
    ExpectDrawn(Grid(Topology::Fliege, type));
  }
}

// Without "Try Equal Capacitors" the PFB lowpass is the follower with unequal capacitors and
// the highpass the follower with equal ones: gain 1 and no R4 in the netlist.
TEST(ActiveStageSimulation, PfbFollowersWithoutEqualCapacitors) {
  for (FT type : {FT::Lowpass, FT::Highpass}) {
    std::vector<Case> cases = Grid(Topology::Pfb, type);
    for (Case& c : cases) c.pfbEqualCapacitors = false;
    ExpectDrawn(cases);
  }
}

// The elliptical lowpass as first built (R4 = Rx || Ry) had its zero only 24 dB deep and
// missed the curve by 1.5 dB at fo (Q 0.7071, fn/fo 2). Now across Q and fn/fo.
TEST(ActiveStageSimulation, PfbEllipticalLowpassHasItsZero) {
  std::vector<Case> cases;
  for (double Q : {0.7071, 1.0, 3.0, 20.0}) {
    for (double ratio : {1.1, 1.6, 2.0, 2.5070645778427125, 5.0, 100.0}) {
      for (double fg : {10.0, 1e6}) {
        cases.push_back(
            {Topology::Pfb, FT::EllipticLowpass, fg, Q, 1.0, 4700.0, 4, 1, true, 0, 1000.0, ratio});
      }
    }
  }
  ExpectDrawn(cases);
}

// Where the op amps' gain of 1e6 alone moves the response beyond the grid's tolerance: gain
// 10 at Q = 20 (most in the MFB stages, whose noise gain is largest) and the three-op-amp
// SVF at its least gain 0.334 (its summer then amplifies its own error 500 times). With a
// gain of 1e9 the same netlists match the curves a thousand times closer, so the design is
// right and the remainder is the op amp. (At 1e12 ngspice's rounding shows instead.)
TEST(ActiveStageSimulation, OpAmpGainIsTheWholeRemainder) {
  const struct {
    Topology t;
    FT type;
    double Q;
    double Vu;
  } stages[] = {
      {Topology::Mfb, FT::Lowpass, 20.0, 10.0},     {Topology::Mfb, FT::Highpass, 20.0, 10.0},
      {Topology::Mfb, FT::Bandpass, 20.0, 10.0},    {Topology::Pfb, FT::Lowpass, 20.0, 10.0},
      {Topology::Svf3, FT::Lowpass, 20.0, 10.0},    {Topology::Svf3, FT::Lowpass, 7.5, 0.2},
      {Topology::Svf3, FT::Highpass, 20.0, 0.2},    {Topology::Svf4, FT::Bandstop, 20.0, 10.0},
      {Topology::Fliege, FT::Bandpass, 20.0, 10.0}, {Topology::Fliege, FT::Bandstop, 20.0, 10.0}};
  std::vector<Case> cases;
  for (const auto& stage : stages) {
    for (double fg : {220.0, 1e6}) {
      cases.push_back({stage.t, stage.type, fg, stage.Q, stage.Vu, 1e6, 4, 4, false, 1.6e-7 / fg});
    }
  }
  std::vector<Designed> designs;
  const std::vector<Measured> real = Simulate(cases, designs);
  const std::vector<Measured> ideal = Simulate(cases, designs, "1e9");
  double worstGain = 0.0;
  double worstPhase = 0.0;
  double shallowest = -300.0;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(Describe(cases[i]));
    ASSERT_TRUE(real[i].ok && ideal[i].ok) << real[i].error << ideal[i].error;
    EXPECT_LE(real[i].gainDb, 1.0);
    EXPECT_LE(real[i].phaseDegrees, 3.0);
    EXPECT_LE(ideal[i].gainDb, 0.002);
    EXPECT_LE(ideal[i].phaseDegrees, 0.01);
    if (HasZero(cases[i].type)) {
      EXPECT_LE(real[i].notchDepthDb, kNotchDepthDb);
      EXPECT_LE(ideal[i].notchDepthDb, -80.0);
      shallowest = std::max(shallowest, real[i].notchDepthDb);
    }
    worstGain = std::max(worstGain, real[i].gainDb);
    worstPhase = std::max(worstPhase, real[i].phaseDegrees);
  }
  std::printf("  op amp gain 1e6: up to %.3f dB, %.3f degrees, zeros at most %.1f dB deep\n",
              worstGain, worstPhase, shallowest);
}

// Types a stage does not design have no circuit; the reason is the page's.
TEST(ActiveStageNetlist, NoCircuitForATypeTheStageDoesNotDesign) {
  const struct {
    Topology t;
    FT type;
    const char* problem;
  } cases[] = {
      {Topology::Mfb, FT::Bandstop, "the MFB inverting stage does not design the bandstop"},
      {Topology::Mfb, FT::EllipticLowpass,
       "the MFB inverting stage does not design the elliptical lowpass"},
      {Topology::Svf3, FT::Allpass, "the SVF with 3 op amps stage does not design the allpass"},
      {Topology::Svf4, FT::Allpass, "the SVF with 4 op amps stage does not design the allpass"},
      {Topology::Fliege, FT::EllipticLowpass,
       "the Fliege with 2 op amps stage does not design the elliptical lowpass"},
      {Topology::Pfb, FT::EllipticLowpass, "Elliptical lowpass not realizable: raise Q above 0.5"},
  };
  for (const auto& c : cases) {
    const Designed d = Design({c.t, c.type, 1000.0, 0.5, 1.0, 1000.0, 4, 1, true});
    EXPECT_EQ(DesignNetlistProblem(d.s, d.in), c.problem);
    EXPECT_EQ(DesignNetlist(d.s, d.in, {}), "");
    EXPECT_EQ(ActiveStageNetlist(d.s, d.in, {}), "");
  }
}

// The passive pages go to their own writers; the active writer has nothing for them.
TEST(ActiveStageNetlist, DispatchCoversTheLcPages) {
  for (Topology t : {Topology::LcLadder, Topology::Diplexer}) {
    DesignSession session;
    session.Start();
    session.SelectTopology(t);
    const DesignState& s = session.State();
    const DesignChoices& in = session.Choices();
    const std::string expected =
        t == Topology::LcLadder ? LadderNetlist(s, in, {}) : DiplexerNetlist(s, in, {});
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(DesignNetlist(s, in, {}), expected);
    EXPECT_EQ(DesignNetlistProblem(s, in), "");
    EXPECT_EQ(ActiveStageNetlist(s, in, {}), "");
  }
}

// A user's op amp subcircuit (pins in+ in- out) in place of the ideal sources: here one made
// of the same ideal source, so both netlists must give the same response. A swapped pin
// would make the stages unstable or silent.
TEST(ActiveStageNetlist, OpAmpSubcircuitKeepsThePinOrder) {
  char dir[] = "/tmp/morvane-opamp-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string library = std::string(dir) + "/ideal.lib";
  {
    std::ofstream file(library);
    file << ".subckt IDEALOA inp inn out\nE1 out 0 inp inn 1000000\n.ends IDEALOA\n";
  }
  std::vector<sim::AcJob> jobs;
  const struct {
    Topology t;
    FT type;
  } stages[] = {{Topology::Mfb, FT::Bandpass},
                {Topology::Pfb, FT::EllipticLowpass},
                {Topology::Svf3, FT::Lowpass},
                {Topology::Svf4, FT::Bandstop},
                {Topology::Fliege, FT::Allpass}};
  for (const auto& stage : stages) {
    const Designed d = Design({stage.t, stage.type, 1000.0, 2.0, 2.0, 1000.0, 4, 1, true});
    NetlistOptions options;
    options.pointsPerDecade = 5;
    const std::string ideal = DesignNetlist(d.s, d.in, options);
    options.opAmpSubcircuit = "IDEALOA";
    options.opAmpInclude = library;
    const std::string user = DesignNetlist(d.s, d.in, options);
    ASSERT_FALSE(ideal.empty());
    EXPECT_NE(user.find("X1 "), std::string::npos);
    EXPECT_EQ(user.find("\nE1 "), std::string::npos);
    jobs.push_back({ideal, {"out"}});
    jobs.push_back({user, {"out"}});
  }
  const auto results = sim::RunAc(jobs, 2);
  for (std::size_t i = 0; i < jobs.size(); i += 2) {
    SCOPED_TRACE(jobs[i + 1].netlist);
    ASSERT_TRUE(results[i].Ok() && results[i + 1].Ok()) << results[i].error << results[i + 1].error;
    const auto& a = results[i].Voltage("out");
    const auto& b = results[i + 1].Voltage("out");
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t k = 0; k < a.size(); ++k)
      EXPECT_LT(std::abs(a[k] - b[k]), 1e-9 * std::abs(a[k]) + 1e-15);
  }
  std::remove(library.c_str());
  rmdir(dir);
}

// The header carries the design entries; values are plain numbers (SPICE reads "M" as
// milli), and an absent R4 is left out.
TEST(ActiveStageNetlist, TextOfAPfbHighpass) {
  const Designed d = Design({Topology::Pfb, FT::Highpass, 2.2e6, 0.7071, 1.0, 1e6, 4, 1, true});
  const std::string netlist = DesignNetlist(d.s, d.in, {});
  for (const char* line :
       {"* Morvane PFB noninverting highpass\n", "* fg (cut-off): 2200000 Hz\n",
        "* Q: 0.70709999999999995\n", "* Zin: 1000000 ohm\n",
        "* series: resistors E48, capacitors E6\n", "* offset compensation: yes\n",
        "* R4 infinite: left out\n", "V1 in 0 DC 0 AC 1\n", "E1 out 0 p n 1000000\n",
        ".ac dec 50 22000 220000000\n"}) {
    EXPECT_NE(netlist.find(line), std::string::npos) << line << "\n" << netlist;
  }
  EXPECT_EQ(netlist.find("\nR4 "), std::string::npos);
  std::istringstream lines(netlist);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '*' || line[0] == '.') continue;
    const std::string value = line.substr(line.rfind(' ') + 1);
    EXPECT_EQ(value.find_first_not_of("0123456789.e+-"), std::string::npos) << line;
  }
  EXPECT_EQ(netlist.substr(netlist.size() - 5), ".end\n");
}

// ngspice never ends a decade sweep shorter than one step; such a request must still give a
// netlist that runs.
TEST(ActiveStageNetlist, SweepShorterThanOneStepStillRuns) {
  const Designed d = Design({Topology::Fliege, FT::Bandpass, 1000.0, 2.0, 2.0, 1000.0, 4, 1, true});
  const struct {
    double fStart;
    double fStop;
    int points;
  } sweeps[] = {{1000.0, 1000.0, 10}, {1000.0, 1001.0, 10}, {1000.0, 999.0, 1}};
  std::vector<sim::AcJob> jobs;
  for (const auto& sweep : sweeps) {
    NetlistOptions options;
    options.fStart = sweep.fStart;
    options.fStop = sweep.fStop;
    options.pointsPerDecade = sweep.points;
    jobs.push_back({DesignNetlist(d.s, d.in, options), {"out"}});
  }
  const auto results = sim::RunAc(jobs, 2);
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    ASSERT_TRUE(results[i].Ok()) << results[i].error << jobs[i].netlist;
    EXPECT_GE(results[i].frequency.size(), 2u);
    EXPECT_DOUBLE_EQ(results[i].frequency.front(), 1000.0);
  }
}

}  // namespace
}  // namespace morvane
