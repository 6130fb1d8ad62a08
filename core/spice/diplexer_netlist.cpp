#include <cstdio>
#include <string>
#include <vector>

#include "lc/lc_diplexer.h"
#include "spice/netlist.h"

namespace morvane {

namespace {

// Seventeen significant digits keep every value exact through the text.
// One branch from the common node to its loaded output: odd elements in series along the
// line, even ones from the line to ground. The order is odd, so a series element ends it.
void AppendBranch(std::string& netlist, const std::vector<LadderElement>& elements,
                  const std::string& tag, const std::string& nodePrefix,
                  const std::string& output) {
  std::string node = "common";
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const LadderElement& e = elements[i];
    const std::string name = std::string(1, e.kind) + tag + std::to_string(i + 1);
    if (e.shunt) {
      netlist += name + " " + node + " 0 " + SpiceNumber(e.value) + "\n";
      continue;
    }
    const std::string next = i + 1 == elements.size() ? output : nodePrefix + std::to_string(i + 1);
    netlist += name + " " + node + " " + next + " " + SpiceNumber(e.value) + "\n";
    node = next;
  }
}

}  // namespace

std::string DiplexerNetlist(const DesignState& s, const DesignChoices& in,
                            const NetlistOptions& options) {
  const auto lowpass = DiplexerElements(s, in, true);
  const auto highpass = DiplexerElements(s, in, false);
  const double R = s.Zin;
  const double fStart = options.fStart > 0.0 ? options.fStart : s.fg / 100.0;
  const double fStop = options.fStop > 0.0 ? options.fStop : s.fg * 100.0;
  const int points = options.pointsPerDecade > 0 ? options.pointsPerDecade : 50;

  std::string netlist = "* Morvane LC diplexer\n";
  netlist += std::string("* approximation: ") +
             (in.diplexerChebyshev ? "Chebyshev 0.1 dB" : "Butterworth") + "\n";
  netlist += "* order: " + std::to_string(lowpass.size()) + "\n";
  netlist += "* R = Zin: " + SpiceNumber(R) + " ohm\n";
  netlist += "* fg: " + SpiceNumber(s.fg) + " Hz\n";
  netlist += "V1 in 0 DC 0 AC 1\n";
  netlist += "RS in common " + SpiceNumber(R) + "\n";
  netlist += "* lowpass branch\n";
  AppendBranch(netlist, lowpass, "LP", "lp", "outlp");
  netlist += "RLLP outlp 0 " + SpiceNumber(R) + "\n";
  netlist += "* highpass branch\n";
  AppendBranch(netlist, highpass, "HP", "hp", "outhp");
  netlist += "RLHP outhp 0 " + SpiceNumber(R) + "\n";
  netlist += ".ac dec " + std::to_string(points) + " " + SpiceNumber(fStart) + " " +
             SpiceNumber(fStop) + "\n";
  netlist += ".end\n";
  return netlist;
}

}  // namespace morvane
