#pragma once

// Component values no one could build. A design may ask for a 2.5E+24 Ω resistor or a
// 1 fF capacitor; the window still shows such values as they are, and these warnings say
// which components lie outside the range of parts one can buy.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

enum class ComponentKind { Resistor, Capacitor, Inductor };

// The values of one kind of component that can be bought; both limits can be.
struct BuildableRange {
  ComponentKind kind;
  double lowest;
  double highest;
  std::string_view lowestText;   // "1 Ω"
  std::string_view highestText;  // "100 MΩ"
  std::string_view noun;         // "resistor"
  std::string_view unit;         // "Ω"
};

const BuildableRange& BuildableRangeOf(ComponentKind kind);

// One component value as the window shows it: in a field, or in the value column of a grid.
struct ShownComponent {
  std::string_view field;  // the field, or the grid
  int row = 0;             // the grid row; 0 for a field
  std::string name;        // as the page names it: "R5", "L2", "lowpass part C3"
  ComponentKind kind = ComponentKind::Resistor;
  double value = 0.0;
};

// A component that cannot be bought, where the window shows it and what to say about it.
struct ComponentWarning {
  std::string field;  // the field, or the grid
  int row = 0;        // the grid row (its value column shows the component); 0 for a field
  std::string message;
  bool operator==(const ComponentWarning&) const = default;
};

// "R5 = 2.5E+24 Ω is above 100 MΩ: no such resistor can be bought"; empty for a value that
// can be bought. A value that is no number counts as below the range.
std::string OutOfRangeMessage(std::string_view name, ComponentKind kind, double value);

// The components that cannot be bought, in the order given.
std::vector<ComponentWarning> UnbuildableComponents(std::span<const ShownComponent> components);

}  // namespace morvane
