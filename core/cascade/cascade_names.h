#pragma once

// The names of a cascade's choices as the command line, the design file and the window's
// choice lists spell them: "butterworth", "lowpass", "first", "mfb", "E24". One table each,
// read without regard to letter case.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cascade/cascade_design.h"

namespace morvane {

template <typename Choice>
struct ChoiceName {
  Choice choice;
  std::string_view name;
};

std::span<const ChoiceName<Approximation>> ApproximationNames();
std::span<const ChoiceName<FilterKind>> FilterKindNames();
std::span<const ChoiceName<GainSplit>> GainSplitNames();
std::span<const ChoiceName<Topology>> SectionTopologyNames();  // the five active topologies

std::string_view NameOf(Approximation choice);
std::string_view NameOf(FilterKind choice);
std::string_view NameOf(GainSplit choice);

std::optional<Approximation> ApproximationNamed(std::string_view name);
std::optional<FilterKind> FilterKindNamed(std::string_view name);
std::optional<GainSplit> GainSplitNamed(std::string_view name);
std::optional<Topology> SectionTopologyNamed(std::string_view name);
// "E6" .. "E96" as series codes 1..5.
std::optional<int> SeriesNamed(std::string_view name);

// "a, b or c": the names of a table, for messages that say what is allowed.
template <typename Choice>
std::string AllowedNames(std::span<const ChoiceName<Choice>> names);

}  // namespace morvane
