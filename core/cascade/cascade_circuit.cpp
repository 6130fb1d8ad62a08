#include "cascade/cascade_circuit.h"

#include <charconv>

#include "cascade/cascade_design.h"

namespace morvane {

std::string CascadeNodeName(const std::string& node, int number, int count) {
  if (node == "0") return node;
  if (node == "in") return number == 1 ? "in" : "s" + std::to_string(number - 1);
  if (node == "out") return number == count ? "out" : "s" + std::to_string(number);
  return node + "_" + std::to_string(number);
}

std::optional<int> SectionOfName(const std::string& name) {
  const auto mark = name.rfind('_');
  if (mark == std::string::npos || mark + 1 == name.size()) return std::nullopt;
  int section = 0;
  const char* end = name.data() + name.size();
  const auto [next, error] = std::from_chars(name.data() + mark + 1, end, section);
  if (error != std::errc() || next != end || section < 1) return std::nullopt;
  return section;
}

Circuit JoinedCascadeCircuit(const CascadeDesign& design) {
  Circuit whole;
  if (!design.problem.empty()) return whole;
  const int count = static_cast<int>(design.sections.size());
  for (int k = 1; k <= count; ++k) {
    const Circuit& c = design.sections[static_cast<std::size_t>(k - 1)].circuit.circuit;
    const std::string suffix = "_" + std::to_string(k);
    for (const CircuitPart& part : c.parts) {
      whole.parts.push_back({part.name + suffix, CascadeNodeName(part.a, k, count),
                             CascadeNodeName(part.b, k, count), part.value});
    }
    for (std::size_t i = 0; i < c.opAmps.size(); ++i) {
      const CircuitOpAmp& amp = c.opAmps[i];
      whole.opAmps.push_back({CascadeNodeName(amp.plus, k, count),
                              CascadeNodeName(amp.minus, k, count),
                              CascadeNodeName(amp.output, k, count)});
      whole.opAmpNames.push_back(OpAmpName(c, i) + suffix);
    }
  }
  return whole;
}

}  // namespace morvane
