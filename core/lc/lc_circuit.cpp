#include "lc/lc_circuit.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "lc/lc_diplexer.h"
#include "lc/lc_ladder.h"

namespace morvane {

namespace {

// Elements along a line from `node`: a shunt element hangs from the node the line has
// reached, a series one leads on to the node `nodeAfter` names for it (element index from
// 0), the last series one to `output`. Each is named by its kind, `tag` and its number.
void AppendLine(Circuit& c, const std::vector<LadderElement>& elements, const std::string& tag,
                std::string node, const std::string& output,
                const std::function<std::string(std::size_t)>& nodeAfter) {
  auto seriesLeft = std::count_if(elements.begin(), elements.end(),
                                  [](const LadderElement& e) { return !e.shunt; });
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const LadderElement& e = elements[i];
    const std::string name = std::string(1, e.kind) + tag + std::to_string(i + 1);
    if (e.shunt) {
      c.parts.push_back({name, node, "0", e.value});
      continue;
    }
    const std::string next = --seriesLeft == 0 ? output : nodeAfter(i);
    c.parts.push_back({name, node, next, e.value});
    node = next;
  }
}

bool HasSeriesElement(const std::vector<LadderElement>& elements) {
  return std::any_of(elements.begin(), elements.end(),
                     [](const LadderElement& e) { return !e.shunt; });
}

}  // namespace

std::optional<Circuit> LadderCircuit(const DesignState& s, const DesignChoices& c) {
  const LadderDesign ladder = DesignLadder(LadderInputOf(s, c.type, c.ladderChebyshev));
  const std::vector<LadderElement>& elements = ladder.elements;
  if (elements.empty()) return std::nullopt;
  Circuit circuit;
  circuit.notes.push_back("RG = Zin from the source, RL across the output");
  if (ladder.mirrored) circuit.notes.push_back("mirrored: the network for RL > RG turned round");
  // The first node is n1; each series element but the last leads to the next one.
  const std::string first = HasSeriesElement(elements) ? "n1" : "out";
  circuit.parts.push_back({"RG", "in", first, s.Zin});
  int nextNode = 2;
  AppendLine(circuit, elements, "", first, "out",
             [&nextNode](std::size_t) { return "n" + std::to_string(nextNode++); });
  circuit.parts.push_back({"RL", "out", "0", s.RL});
  return circuit;
}

Circuit DiplexerCircuit(const DesignState& s, const DesignChoices& c, DiplexerOutput output) {
  const bool lowpassOut = output == DiplexerOutput::Lowpass;
  const std::string outLp = lowpassOut ? "out" : "outlp";
  const std::string outHp = lowpassOut ? "outhp" : "out";
  Circuit circuit;
  circuit.notes.push_back(std::string("RS = Zin from the source to the common node; out is the ") +
                          (lowpassOut ? "lowpass" : "highpass") + " branch's load");
  circuit.parts.push_back({"RS", "in", "common", s.Zin});
  AppendLine(circuit, DiplexerElements(s, c, true), "LP", "common", outLp,
             [](std::size_t i) { return "lp" + std::to_string(i + 1); });
  circuit.parts.push_back({"RLLP", outLp, "0", s.Zin});
  AppendLine(circuit, DiplexerElements(s, c, false), "HP", "common", outHp,
             [](std::size_t i) { return "hp" + std::to_string(i + 1); });
  circuit.parts.push_back({"RLHP", outHp, "0", s.Zin});
  return circuit;
}

}  // namespace morvane
