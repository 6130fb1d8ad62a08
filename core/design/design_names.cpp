#include "design/design_names.h"

#include <array>
#include <string>

namespace morvane {

namespace {

struct TypeName {
  FilterType type;
  std::string_view name;
};

constexpr std::array kTypeNames{
    TypeName{FilterType::Lowpass, "lowpass"},   TypeName{FilterType::Highpass, "highpass"},
    TypeName{FilterType::Bandpass, "bandpass"}, TypeName{FilterType::Bandstop, "bandstop"},
    TypeName{FilterType::Allpass, "allpass"},   TypeName{FilterType::EllipticLowpass, "elliptic"}};

constexpr std::array<std::string_view, kTopologyCount> kTopologyNames{
    "mfb", "pfb", "svf3", "svf4", "fliege", "lc", "diplexer"};

}  // namespace

std::string_view TopologyName(Topology topology) {
  const auto index = static_cast<std::size_t>(topology) - 1;
  return index < kTopologyNames.size() ? kTopologyNames[index] : kTopologyNames[0];
}

std::optional<Topology> TopologyNamed(std::string_view name) {
  for (std::size_t i = 0; i < kTopologyNames.size(); ++i) {
    if (kTopologyNames[i] == name || std::to_string(i + 1) == name) {
      return static_cast<Topology>(i + 1);
    }
  }
  return std::nullopt;
}

std::string_view FilterTypeName(FilterType type) {
  for (const auto& t : kTypeNames) {
    if (t.type == type) return t.name;
  }
  return "lowpass";
}

std::optional<FilterType> FilterTypeNamed(std::string_view name) {
  for (const auto& t : kTypeNames) {
    if (t.name == name) return t.type;
  }
  return std::nullopt;
}

}  // namespace morvane
