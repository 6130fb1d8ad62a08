#include <algorithm>
#include <string>

#include "cascade/cascade_circuit.h"
#include "cascade/cascade_design.h"
#include "spice/netlist.h"
#include "spice/netlist_lines.h"

namespace morvane {

namespace {

std::string SectionHeader(int number, const CascadeSection& s) {
  std::string text =
      "* section " + std::to_string(number) + ": " + s.plan.kind + ", " + s.circuit.name + "\n";
  text += "*   f0 " + SpiceNumber(s.plan.f0) + " Hz, Q " + SpiceNumber(s.plan.q);
  if (s.plan.fz) text += ", fz " + SpiceNumber(*s.plan.fz) + " Hz";
  text += ", gain " + std::string(s.circuit.inverting ? "-" : "") + SpiceNumber(s.plan.gain) + "\n";
  for (const std::string& note : s.circuit.circuit.notes) text += "*   " + note + "\n";
  return text;
}

// The frequencies of the sweep: two decades either side of the sections' frequencies.
std::pair<double, double> Sweep(const CascadeDesign& design, const NetlistOptions& options) {
  double low = design.sections.front().plan.f0;
  double high = low;
  for (const CascadeSection& s : design.sections) {
    low = std::min({low, s.plan.f0, s.plan.fz.value_or(s.plan.f0)});
    high = std::max({high, s.plan.f0, s.plan.fz.value_or(s.plan.f0)});
  }
  return {options.fStart > 0.0 ? options.fStart : low / 100.0,
          options.fStop > 0.0 ? options.fStop : high * 100.0};
}

std::string ControlBlock() {
  return ".control\n"
         "set width=200\n"
         "set height=100000\n"
         "run\n"
         "let gain_db = vdb(out)\n"
         "let phase_deg = 180 / pi * cph(out)\n"
         "print frequency gain_db phase_deg\n"
         ".endc\n";
}

}  // namespace

std::string CascadeNetlist(const CascadeDesign& design, const NetlistOptions& options) {
  if (!design.problem.empty() || design.sections.empty()) return {};
  const int count = static_cast<int>(design.sections.size());
  std::string netlist = "* Morvane active filter: " + std::to_string(design.order) + " poles in " +
                        std::to_string(count) + " sections\n";
  netlist += "* pass-band gain " + std::string(design.inverting ? "-" : "") +
             SpiceNumber(design.gain) + "\n";
  netlist += OpAmpComment(options);
  netlist += OpAmpInclude(options);
  netlist += "V1 in 0 DC 0 AC 1\n";
  for (int k = 1; k <= count; ++k) {
    const CascadeSection& s = design.sections[static_cast<std::size_t>(k - 1)];
    netlist += SectionHeader(k, s);
    const std::string suffix = "_" + std::to_string(k);
    for (const CircuitPart& part : s.circuit.circuit.parts) {
      netlist += PartLine(part.name + suffix, CascadeNodeName(part.a, k, count),
                          CascadeNodeName(part.b, k, count), part.value);
    }
    int index = 1;
    for (const CircuitOpAmp& amp : s.circuit.circuit.opAmps) {
      const CircuitOpAmp renamed{CascadeNodeName(amp.plus, k, count),
                                 CascadeNodeName(amp.minus, k, count),
                                 CascadeNodeName(amp.output, k, count)};
      netlist += OpAmpLine(std::to_string(k) + "_" + std::to_string(index++), renamed, options);
    }
  }
  const auto [fStart, fStop] = Sweep(design, options);
  netlist += AcSweepCard(fStart, fStop, options.pointsPerDecade);
  if (options.controlBlock) netlist += ControlBlock();
  netlist += ".end\n";
  return netlist;
}

}  // namespace morvane
