#include "design/buildable_range.h"

#include <array>

#include "numerics/value_text.h"

namespace morvane {

namespace {

// The range of parts one can buy: resistors from 1 Ω to 100 MΩ, capacitors from 1 pF to
// 10 mF, inductors from 1 nH to 100 H. A design needing a value beyond these cannot be
// built from catalogue parts, even where its figures are right.
constexpr std::array kBuildableRanges{
    BuildableRange{ComponentKind::Resistor, 1.0, 100e6, "1 Ω", "100 MΩ", "resistor", "Ω"},
    BuildableRange{ComponentKind::Capacitor, 1e-12, 10e-3, "1 pF", "10 mF", "capacitor", "F"},
    BuildableRange{ComponentKind::Inductor, 1e-9, 100.0, "1 nH", "100 H", "inductor", "H"},
};

}  // namespace

const BuildableRange& BuildableRangeOf(ComponentKind kind) {
  for (const BuildableRange& range : kBuildableRanges) {
    if (range.kind == kind) return range;
  }
  return kBuildableRanges.front();
}

std::string OutOfRangeMessage(std::string_view name, ComponentKind kind, double value) {
  const BuildableRange& range = BuildableRangeOf(kind);
  const bool above = value > range.highest;
  // Written so that NaN fails it: a value that is no number cannot be bought either.
  const bool below = !(value >= range.lowest);
  if (!above && !below) return {};
  return std::string(name) + " = " + FormatQuantity(value, range.unit) + " is " +
         (above ? "above " : "below ") + std::string(above ? range.highestText : range.lowestText) +
         ": no such " + std::string(range.noun) + " can be bought";
}

std::vector<ComponentWarning> UnbuildableComponents(std::span<const ShownComponent> components) {
  std::vector<ComponentWarning> warnings;
  for (const ShownComponent& c : components) {
    std::string message = OutOfRangeMessage(c.name, c.kind, c.value);
    if (!message.empty()) warnings.push_back({std::string(c.field), c.row, std::move(message)});
  }
  return warnings;
}

}  // namespace morvane
