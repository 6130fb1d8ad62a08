#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "design/page_presenter.h"
#include "design/recalculate.h"
#include "lc/lc_diplexer.h"
#include "lc/lc_ladder.h"
#include "numerics/standard_series.h"
#include "spice/netlist.h"

namespace morvane {

namespace {

// A PFB R4 from here up is shown as infinite and left out of the circuit.
constexpr double kInfiniteR4 = 1e14;
constexpr double kIdealOpAmpGain = 1e6;

// Seventeen significant digits carry every value exactly through the text; plain exponent
// form, since SPICE reads a trailing "M" as milli.
struct Part {
  std::string name;  // R... or C...
  std::string a;
  std::string b;
  double value;
};

struct OpAmp {
  std::string plus;
  std::string minus;
  std::string output;
};

struct Circuit {
  std::vector<std::string> notes;  // comment lines telling how the parts are laid out
  std::vector<Part> parts;
  std::vector<OpAmp> opAmps;
};

const char* TopologyName(Topology t) {
  switch (t) {
    case Topology::Mfb:
      return "MFB inverting";
    case Topology::Pfb:
      return "PFB noninverting";
    case Topology::Svf3:
      return "SVF with 3 op amps";
    case Topology::Svf4:
      return "SVF with 4 op amps";
    case Topology::Fliege:
      return "Fliege with 2 op amps";
    case Topology::LcLadder:
      return "LC ladder";
    case Topology::Diplexer:
      return "LC diplexer";
  }
  return "?";
}

const char* TypeName(FilterType type) {
  switch (type) {
    case FilterType::Lowpass:
      return "lowpass";
    case FilterType::Highpass:
      return "highpass";
    case FilterType::Bandpass:
      return "bandpass";
    case FilterType::Bandstop:
      return "bandstop";
    case FilterType::Allpass:
      return "allpass";
    case FilterType::EllipticLowpass:
      return "elliptical lowpass";
  }
  return "?";
}

bool Designs(Topology t, FilterType type) {
  switch (t) {
    case Topology::Mfb:
    case Topology::Svf3:
      return type == FilterType::Lowpass || type == FilterType::Highpass ||
             type == FilterType::Bandpass;
    case Topology::Svf4:
      return type != FilterType::Allpass && type != FilterType::EllipticLowpass;
    case Topology::Fliege:
      return type != FilterType::EllipticLowpass;
    case Topology::Pfb:
      return true;
    default:
      return false;
  }
}

// Inverting stage, node A joins the input element and both feedback paths.
Circuit Mfb(const DesignState& s, FilterType type) {
  Circuit c;
  c.opAmps = {{"0", "n", "out"}};
  switch (type) {
    case FilterType::Lowpass:
      c.parts = {{"R1", "in", "a", s.R1},
                 {"C1", "a", "0", s.C1},
                 {"R2", "a", "n", s.R2},
                 {"C2", "out", "n", s.C2},
                 {"R3", "a", "out", s.R3}};
      break;
    case FilterType::Highpass:
      c.parts = {{"C1", "in", "a", s.C1},
                 {"R1", "a", "0", s.R1},
                 {"C2", "a", "n", s.C2},
                 {"R2", "out", "n", s.R2},
                 {"C3", "a", "out", s.C3}};
      break;
    default:  // bandpass
      c.parts = {{"R1", "in", "a", s.R1},
                 {"R2", "a", "0", s.R2},
                 {"C2", "a", "n", s.C2},
                 {"R3", "out", "n", s.R3},
                 {"C1", "a", "out", s.C1}};
      break;
  }
  return c;
}

// Gain K = 1 + R3/R4 from the output to the inverting input n; R4 may be absent.
void PfbGainNetwork(const DesignState& s, Circuit& c) {
  c.parts.push_back({"R3", "out", "n", s.R3});
  if (s.R4 < kInfiniteR4) {
    c.parts.push_back({"R4", "n", "0", s.R4});
  } else {
    c.notes.push_back("R4 infinite: left out");
  }
}

// Noninverting stage: p is the op amp's noninverting input, n its inverting input.
Circuit Pfb(const DesignState& s, FilterType type) {
  Circuit c;
  c.opAmps = {{"p", "n", "out"}};
  switch (type) {
    case FilterType::Lowpass:
      c.parts = {{"R1", "in", "a", s.R1},
                 {"R2", "a", "p", s.R2},
                 {"C1", "a", "out", s.C1},
                 {"C2", "p", "0", s.C2}};
      PfbGainNetwork(s, c);
      break;
    case FilterType::Highpass:
      c.parts = {{"C1", "in", "a", s.C1},
                 {"C2", "a", "p", s.C2},
                 {"R1", "a", "out", s.R1},
                 {"R2", "p", "0", s.R2}};
      PfbGainNetwork(s, c);
      break;
    case FilterType::Bandpass:
      c.notes.push_back("R1B: the second resistor of value R1");
      c.parts = {{"R1", "in", "a", s.R1},
                 {"C1", "a", "0", s.C1},
                 {"C2", "a", "p", s.C2},
                 {"R2", "p", "0", s.R2},
                 {"R1B", "a", "out", s.R1}};
      PfbGainNetwork(s, c);
      break;
    case FilterType::Bandstop:
      c.notes.push_back("twin-T: C1, C1B and R1, R1B in series, junctions t and r");
      c.parts = {{"C1", "in", "t", s.C1}, {"C1B", "t", "p", s.C1}, {"R1", "in", "r", s.R1},
                 {"R1B", "r", "p", s.R1}, {"C2", "r", "0", s.C2},  {"R2", "t", "out", s.R2}};
      PfbGainNetwork(s, c);
      break;
    case FilterType::Allpass:
      c.parts = {{"R1", "in", "x", s.R1},  {"C2", "x", "p", s.C2},  {"C1", "x", "out", s.C1},
                 {"R2", "p", "out", s.R2}, {"R3", "in", "n", s.R3}, {"R4", "n", "0", s.R4}};
      break;
    case FilterType::EllipticLowpass:
      c.notes.push_back("R1A, R1B: the two resistors 2*R1 dividing the input into node a");
      c.parts = {{"R1A", "in", "a", 2.0 * s.R1}, {"R1B", "a", "0", 2.0 * s.R1},
                 {"R1", "a", "p", s.R1},         {"C1", "a", "out", s.C1},
                 {"C2", "p", "0", s.C2},         {"C3", "in", "p", s.C3},
                 {"R2", "in", "n", s.R2}};
      PfbGainNetwork(s, c);
      break;
  }
  return c;
}

// Three op amps: a summing amplifier (highpass output hp) and two integrators (bandpass bp,
// lowpass lp); the output asked for is named "out".
Circuit Svf3(const DesignState& s, FilterType type) {
  const std::string hp = type == FilterType::Highpass ? "out" : "hp";
  const std::string bp = type == FilterType::Bandpass ? "out" : "bp";
  const std::string lp = type == FilterType::Lowpass ? "out" : "lp";
  Circuit c;
  c.notes.push_back("outputs: highpass " + hp + ", bandpass " + bp + ", lowpass " + lp);
  c.parts = {{"R3", "in", "p1", s.R3}, {"R4", bp, "p1", s.R4}, {"R0", "p1", "0", s.R0},
             {"R6", hp, "n1", s.R6},   {"R5", lp, "n1", s.R5}, {"R1", hp, "n2", s.R1},
             {"C1", "n2", bp, s.C1},   {"R2", bp, "n3", s.R2}, {"C2", "n3", lp, s.C2}};
  c.opAmps = {{"p1", "n1", hp}, {"0", "n2", bp}, {"0", "n3", lp}};
  return c;
}

// Four op amps: two inverting summers (bandstop bs, highpass hp), two integrators (bp, lp).
Circuit Svf4(const DesignState& s, FilterType type) {
  const std::string bs = type == FilterType::Bandstop ? "out" : "bs";
  const std::string hp = type == FilterType::Highpass ? "out" : "hp";
  const std::string bp = type == FilterType::Bandpass ? "out" : "bp";
  const std::string lp = type == FilterType::Lowpass ? "out" : "lp";
  Circuit c;
  c.notes.push_back("outputs: bandstop " + bs + ", highpass " + hp + ", bandpass " + bp +
                    ", lowpass " + lp);
  c.notes.push_back("R3B, R4B: the feedback resistors of value R3 and R4");
  c.parts = {{"R0", "in", "n1", s.R0}, {"R3", bp, "n1", s.R3}, {"R3B", bs, "n1", s.R3},
             {"R5", bs, "n2", s.R5},   {"R4", lp, "n2", s.R4}, {"R4B", hp, "n2", s.R4},
             {"R1", hp, "n3", s.R1},   {"C1", "n3", bp, s.C1}, {"R2", bp, "n4", s.R2},
             {"C2", "n4", lp, s.C2}};
  c.opAmps = {{"0", "n1", bs}, {"0", "n2", hp}, {"0", "n3", bp}, {"0", "n4", lp}};
  return c;
}

// p: noninverting input of op amp 1, whose output is the stage output; m: output of op amp
// 2; n: the joined inverting inputs; g: noninverting input of op amp 2.
Circuit Fliege(const DesignState& s, FilterType type) {
  Circuit c;
  c.opAmps = {{"p", "n", "out"}, {"g", "n", "m"}};
  c.parts = {{"R5", "p", "m", s.R5}, {"R2", "out", "g", s.R2}};
  const std::string r1From =
      type == FilterType::Bandstop || type == FilterType::Allpass ? "in" : "0";
  switch (type) {
    case FilterType::Lowpass:
      c.parts.insert(c.parts.end(), {{"R3", "in", "p", s.R3},
                                     {"C1", "p", "m", s.C1},
                                     {"R4", "m", "n", s.R4},
                                     {"C2", "n", "out", s.C2}});
      break;
    case FilterType::Highpass:
    case FilterType::Allpass:
      c.parts.insert(c.parts.end(), {{"C1", "in", "p", s.C1},
                                     {"R4", "p", "0", s.R4},
                                     {"C2", "m", "n", s.C2},
                                     {"R3", "n", "out", s.R3}});
      break;
    case FilterType::Bandpass:
      c.parts.insert(c.parts.end(), {{"R4", "in", "p", s.R4},
                                     {"C1", "p", "0", s.C1},
                                     {"C2", "m", "n", s.C2},
                                     {"R3", "n", "out", s.R3}});
      break;
    case FilterType::Bandstop:
      c.notes.push_back("R4B: the second R4, from p to ground");
      c.parts.insert(c.parts.end(), {{"R4", "in", "p", s.R4},
                                     {"C1", "in", "p", s.C1},
                                     {"R4B", "p", "0", s.R4},
                                     {"C2", "m", "n", s.C2},
                                     {"R3", "n", "out", s.R3}});
      break;
    case FilterType::EllipticLowpass:
      break;
  }
  c.parts.push_back({"R1", "g", r1From, s.R1});
  return c;
}

Circuit Build(const DesignState& s, FilterType type) {
  switch (s.topology) {
    case Topology::Mfb:
      return Mfb(s, type);
    case Topology::Pfb:
      return Pfb(s, type);
    case Topology::Svf3:
      return Svf3(s, type);
    case Topology::Svf4:
      return Svf4(s, type);
    default:
      return Fliege(s, type);
  }
}

bool UsableValue(double x) {
  return std::isfinite(x) && x > 0.0;
}

std::string Header(const DesignState& s, const DesignChoices& in, const NetlistOptions& options) {
  const FilterType type = in.type;
  const bool band = type == FilterType::Bandpass || type == FilterType::Bandstop;
  std::string text =
      std::string("* Morvane ") + TopologyName(s.topology) + " " + TypeName(type) + "\n";
  text +=
      std::string("* fg (") + (band ? "centre" : "cut-off") + "): " + SpiceNumber(s.fg) + " Hz\n";
  if (!band) text += "* fo (resonance): " + SpiceNumber(s.fo) + " Hz\n";
  text += "* Q: " + SpiceNumber(s.Q) + "\n";
  text += "* Vu entered: " + SpiceNumber(s.Vu) + ", realised: " + SpiceNumber(s.VuActual) + "\n";
  text += "* Zin: " + SpiceNumber(s.Zin) + " ohm\n";
  text += std::string("* series: resistors ") + SeriesName(s.ESeriesR) + ", capacitors " +
          SeriesName(s.ESeriesC) + "\n";
  switch (s.topology) {
    case Topology::Mfb:
      text +=
          std::string("* try equal capacitors: ") + (in.mfbEqualCapacitors ? "yes" : "no") + "\n";
      break;
    case Topology::Pfb:
      text +=
          std::string("* offset compensation: ") + (in.offsetCompensation ? "yes" : "no") + "\n";
      if (type == FilterType::EllipticLowpass) text += "* fn/fo: " + SpiceNumber(s.fnfp) + "\n";
      break;
    case Topology::Svf3:
    case Topology::Svf4:
    case Topology::Fliege: {
      const bool automatic = s.topology == Topology::Svf3   ? in.svf3AutomaticCapacitance
                             : s.topology == Topology::Svf4 ? in.svf4AutomaticCapacitance
                                                            : in.fliegeAutomaticCapacitance;
      text += std::string("* capacitances: ") + (automatic ? "calculated" : "entered") + "\n";
      break;
    }
    default:
      break;
  }
  if (options.opAmpSubcircuit.empty()) {
    text += "* op amps: ideal, voltage gain " + SpiceNumber(kIdealOpAmpGain) + "\n";
  } else {
    text += "* op amps: subcircuit " + options.opAmpSubcircuit + " (pins in+ in- out)\n";
  }
  return text;
}

}  // namespace

std::string ActiveStageNetlistProblem(const DesignState& s, const DesignChoices& in) {
  if (!IsActiveTopology(s.topology)) {
    return std::string(TopologyName(s.topology)) + " is not an active stage";
  }
  if (!Designs(s.topology, in.type)) {
    return std::string("the ") + TopologyName(s.topology) + " stage does not design the " +
           TypeName(in.type);
  }
  if (s.topology == Topology::Pfb) {
    // A PFB design that cannot be built leaves the values of the last one in the state.
    const StageDesign design = DesignStageOf(Topology::Pfb, s, in);
    if (!design.Realizable()) return std::string(NotRealizableNotice(design.notRealizable));
  }
  for (const Part& part : Build(s, in.type).parts) {
    if (!UsableValue(part.value))
      return part.name + " is " + SpiceNumber(part.value) + ": not buildable";
  }
  return {};
}

std::string ActiveStageNetlist(const DesignState& s, const DesignChoices& in,
                               const NetlistOptions& options) {
  if (!ActiveStageNetlistProblem(s, in).empty()) return {};
  const double fStart = options.fStart > 0.0 ? options.fStart : s.fg / 100.0;
  double fStop = options.fStop > 0.0 ? options.fStop : s.fg * 100.0;
  int points = options.pointsPerDecade > 0 ? options.pointsPerDecade : 50;
  // ngspice never ends a decade sweep shorter than one step: make room for one.
  const double decades = std::log10(fStop / fStart);
  if (!(decades > 1e-6)) {
    fStop = fStart * std::pow(10.0, 1.0 / points);
  } else if (points * decades < 1.0) {
    points = static_cast<int>(std::ceil(1.0000001 / decades));
  }
  const Circuit circuit = Build(s, in.type);

  std::string netlist = Header(s, in, options);
  for (const std::string& note : circuit.notes) netlist += "* " + note + "\n";
  if (!options.opAmpSubcircuit.empty() && !options.opAmpInclude.empty()) {
    netlist += ".include \"" + options.opAmpInclude + "\"\n";
  }
  netlist += "V1 in 0 DC 0 AC 1\n";
  for (const Part& part : circuit.parts) {
    netlist += part.name + " " + part.a + " " + part.b + " " + SpiceNumber(part.value) + "\n";
  }
  int index = 1;
  for (const OpAmp& amp : circuit.opAmps) {
    const std::string n = std::to_string(index++);
    if (options.opAmpSubcircuit.empty()) {
      netlist += "E" + n + " " + amp.output + " 0 " + amp.plus + " " + amp.minus + " " +
                 SpiceNumber(kIdealOpAmpGain) + "\n";
    } else {
      netlist += "X" + n + " " + amp.plus + " " + amp.minus + " " + amp.output + " " +
                 options.opAmpSubcircuit + "\n";
    }
  }
  netlist += ".ac dec " + std::to_string(points) + " " + SpiceNumber(fStart) + " " +
             SpiceNumber(fStop) + "\n";
  netlist += ".end\n";
  return netlist;
}

std::string DesignNetlistProblem(const DesignState& s, const DesignChoices& in) {
  switch (s.topology) {
    case Topology::LcLadder:
      return LadderElements(s, in).empty() ? "the LC ladder has no network for these entries"
                                           : std::string();
    case Topology::Diplexer:
      return DiplexerElements(s, in, true).empty() ? "the LC diplexer has no network"
                                                   : std::string();
    default:
      return ActiveStageNetlistProblem(s, in);
  }
}

std::string DesignNetlist(const DesignState& s, const DesignChoices& in,
                          const NetlistOptions& options) {
  switch (s.topology) {
    case Topology::LcLadder:
      return LadderNetlist(s, in, options);
    case Topology::Diplexer:
      return DiplexerNetlist(s, in, options);
    default:
      return ActiveStageNetlist(s, in, options);
  }
}

}  // namespace morvane
