#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "circuit/circuit.h"
#include "design/page_presenter.h"
#include "design/recalculate.h"
#include "lc/lc_diplexer.h"
#include "lc/lc_ladder.h"
#include "numerics/standard_series.h"
#include "spice/netlist.h"
#include "spice/netlist_lines.h"

namespace morvane {

namespace {

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

StageParts PartsOf(const DesignState& s) {
  return {s.R0, s.R1, s.R2, s.R3, s.R4, s.R5, s.R6, s.C1, s.C2, s.C3};
}

Circuit Build(const DesignState& s, FilterType type) {
  return StageCircuit(s.topology, type, PartsOf(s));
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
  text += OpAmpComment(options);
  return text;
}

}  // namespace

std::string ActiveStageNetlistProblem(const DesignState& s, const DesignChoices& in) {
  if (!IsActiveTopology(s.topology)) {
    return std::string(TopologyName(s.topology)) + " is not an active stage";
  }
  if (!StageCircuitExists(s.topology, in.type)) {
    return std::string("the ") + TopologyName(s.topology) + " stage does not design the " +
           TypeName(in.type);
  }
  if (s.topology == Topology::Pfb) {
    // A PFB design that cannot be built leaves the values of the last one in the state.
    const StageDesign design = DesignStageOf(Topology::Pfb, s, in);
    if (!design.Realizable()) return std::string(NotRealizableNotice(design.notRealizable));
  }
  for (const CircuitPart& part : Build(s, in.type).parts) {
    if (!UsableValue(part.value))
      return part.name + " is " + SpiceNumber(part.value) + ": not buildable";
  }
  return {};
}

std::string ActiveStageNetlist(const DesignState& s, const DesignChoices& in,
                               const NetlistOptions& options) {
  if (!ActiveStageNetlistProblem(s, in).empty()) return {};
  const double fStart = options.fStart > 0.0 ? options.fStart : s.fg / 100.0;
  const double fStop = options.fStop > 0.0 ? options.fStop : s.fg * 100.0;
  const Circuit circuit = Build(s, in.type);

  std::string netlist = Header(s, in, options);
  for (const std::string& note : circuit.notes) netlist += "* " + note + "\n";
  netlist += OpAmpInclude(options);
  netlist += "V1 in 0 DC 0 AC 1\n";
  for (const CircuitPart& part : circuit.parts) {
    netlist += PartLine(part.name, part.a, part.b, part.value);
  }
  int index = 1;
  for (const CircuitOpAmp& amp : circuit.opAmps) {
    netlist += OpAmpLine(std::to_string(index++), amp, options);
  }
  netlist += AcSweepCard(fStart, fStop, options.pointsPerDecade);
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
