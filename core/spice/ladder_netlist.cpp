#include <cstdio>
#include <string>
#include <vector>

#include "lc/lc_ladder.h"
#include "spice/netlist.h"

namespace morvane {

namespace {

// Seventeen significant digits carry every value exactly through the text; plain exponent
// form, since SPICE reads a trailing "M" as milli.
std::string Header(const DesignState& s, const DesignChoices& in, std::size_t order) {
  const bool highpass = in.type == FilterType::Highpass;
  std::string text = "* Morvane LC ladder\n";
  text += std::string("* ") + (in.ladderChebyshev ? "Chebyshev" : "Butterworth") +
          (highpass ? " highpass" : " lowpass") + ", n = " + std::to_string(order) + "\n";
  if (in.ladderChebyshev) text += "* ripple: " + SpiceNumber(s.rippleDb) + " dB\n";
  text += "* fg (-3 dB): " + SpiceNumber(s.fg) + " Hz\n";
  text += "* RG = Zin: " + SpiceNumber(s.Zin) + " ohm\n";
  text += "* RL: " + SpiceNumber(s.RL) + " ohm\n";
  if (order % 2 == 1 && s.RL < s.Zin) text += "* mirrored: the network for RL > RG turned round\n";
  if (in.ladderChebyshev) {
    const double w = ChebyshevCutOffScale(static_cast<int>(order), s.rippleDb);
    text += "* ripple-band edge: " + SpiceNumber(highpass ? s.fg * w : s.fg / w) + " Hz\n";
  }
  return text;
}

}  // namespace

// Empty when the design has no valid network (as LadderElements), so nothing is simulated
// that the page does not show.
std::string LadderNetlist(const DesignState& s, const DesignChoices& in,
                          const NetlistOptions& options) {
  const std::vector<LadderElement> elements = LadderElements(s, in);
  if (elements.empty()) return {};
  const double fStart = options.fStart > 0.0 ? options.fStart : s.fg / 100.0;
  const double fStop = options.fStop > 0.0 ? options.fStop : s.fg * 100.0;
  const int points = options.pointsPerDecade > 0 ? options.pointsPerDecade : 50;

  std::size_t seriesLeft = 0;
  for (const LadderElement& e : elements) seriesLeft += e.shunt ? 0 : 1;

  std::string netlist = Header(s, in, elements.size());
  netlist += "V1 in 0 DC 0 AC 1\n";
  // Shunt elements hang from the current node; a series element leads to the next one, the
  // last of them to "out" across RL.
  std::string node = seriesLeft == 0 ? "out" : "n1";
  netlist += "RG in " + node + " " + SpiceNumber(s.Zin) + "\n";
  int nextNode = 2;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const LadderElement& e = elements[i];
    const std::string name = std::string(1, e.kind) + std::to_string(i + 1);
    if (e.shunt) {
      netlist += name + " " + node + " 0 " + SpiceNumber(e.value) + "\n";
      continue;
    }
    const std::string next = --seriesLeft == 0 ? "out" : "n" + std::to_string(nextNode++);
    netlist += name + " " + node + " " + next + " " + SpiceNumber(e.value) + "\n";
    node = next;
  }
  netlist += "RL out 0 " + SpiceNumber(s.RL) + "\n";
  netlist += ".ac dec " + std::to_string(points) + " " + SpiceNumber(fStart) + " " +
             SpiceNumber(fStop) + "\n";
  netlist += ".end\n";
  return netlist;
}

}  // namespace morvane
