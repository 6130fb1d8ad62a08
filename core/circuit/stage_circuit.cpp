#include "circuit/circuit.h"

namespace morvane {

namespace {

// The part values, 0 where the design has none.
struct Values {
  double R0 = 0.0, R1 = 0.0, R2 = 0.0, R3 = 0.0, R4 = 0.0, R5 = 0.0, R6 = 0.0;
  double C1 = 0.0, C2 = 0.0, C3 = 0.0;
};

Values ValuesOf(const StageParts& p) {
  return {p.R0.value_or(0.0), p.R1.value_or(0.0), p.R2.value_or(0.0), p.R3.value_or(0.0),
          p.R4.value_or(0.0), p.R5.value_or(0.0), p.R6.value_or(0.0), p.C1.value_or(0.0),
          p.C2.value_or(0.0), p.C3.value_or(0.0)};
}

bool DesignsType(Topology t, FilterType type) {
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
Circuit Mfb(const Values& s, FilterType type) {
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
void PfbGainNetwork(const Values& s, Circuit& c) {
  c.parts.push_back({"R3", "out", "n", s.R3});
  if (s.R4 < kInfiniteR4) {
    c.parts.push_back({"R4", "n", "0", s.R4});
  } else {
    c.notes.push_back("R4 infinite: left out");
  }
}

// Noninverting stage: p is the op amp's noninverting input, n its inverting input.
Circuit Pfb(const Values& s, FilterType type) {
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
Circuit Svf3(const Values& s, FilterType type) {
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
Circuit Svf4(const Values& s, FilterType type) {
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
Circuit Fliege(const Values& s, FilterType type) {
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

Circuit Build(Topology topology, const Values& s, FilterType type) {
  switch (topology) {
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

}  // namespace

bool StageCircuitExists(Topology topology, FilterType type) {
  return DesignsType(topology, type);
}

Circuit StageCircuit(Topology topology, FilterType type, const StageParts& parts) {
  return Build(topology, ValuesOf(parts), type);
}

std::string OpAmpName(const Circuit& circuit, std::size_t index) {
  if (index < circuit.opAmpNames.size()) return circuit.opAmpNames[index];
  return "U" + std::to_string(index + 1);
}

}  // namespace morvane
