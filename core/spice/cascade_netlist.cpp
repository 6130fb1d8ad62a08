#include <algorithm>
#include <string>

#include "cascade/cascade_design.h"
#include "spice/netlist.h"
#include "spice/netlist_lines.h"

namespace morvane {

namespace {

// A node of section `number` (1-based) of `count`: its input is the previous output, its
// output "s<number>" or "out" for the last; ground stays; every other node gets the number.
std::string NodeOf(const std::string& node, int number, int count) {
  if (node == "0") return node;
  if (node == "in") return number == 1 ? "in" : "s" + std::to_string(number - 1);
  if (node == "out") return number == count ? "out" : "s" + std::to_string(number);
  return node + "_" + std::to_string(number);
}

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
  if (options.opAmpSubcircuit.empty()) {
    netlist += "* op amps: ideal, voltage gain " + SpiceNumber(options.idealOpAmpGain) + "\n";
  } else {
    netlist += "* op amps: subcircuit " + options.opAmpSubcircuit + " (pins in+ in- out)\n";
  }
  netlist += OpAmpInclude(options);
  netlist += "V1 in 0 DC 0 AC 1\n";
  for (int k = 1; k <= count; ++k) {
    const CascadeSection& s = design.sections[static_cast<std::size_t>(k - 1)];
    netlist += SectionHeader(k, s);
    const std::string suffix = "_" + std::to_string(k);
    for (const CircuitPart& part : s.circuit.circuit.parts) {
      netlist += PartLine(part.name + suffix, NodeOf(part.a, k, count), NodeOf(part.b, k, count),
                          part.value);
    }
    int index = 1;
    for (const CircuitOpAmp& amp : s.circuit.circuit.opAmps) {
      const CircuitOpAmp renamed{NodeOf(amp.plus, k, count), NodeOf(amp.minus, k, count),
                                 NodeOf(amp.output, k, count)};
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
