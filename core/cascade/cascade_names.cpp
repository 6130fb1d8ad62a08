#include "cascade/cascade_names.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "numerics/standard_series.h"

namespace morvane {

namespace {

constexpr ChoiceName<Approximation> kApproximations[] = {
    {Approximation::Butterworth, "butterworth"},
    {Approximation::Chebyshev, "chebyshev"},
    {Approximation::Bessel, "bessel"},
    {Approximation::LinkwitzRiley, "linkwitz-riley"},
    {Approximation::InverseChebyshev, "inverse-chebyshev"},
    {Approximation::Elliptic, "elliptic"}};

constexpr ChoiceName<FilterKind> kKinds[] = {{FilterKind::Lowpass, "lowpass"},
                                             {FilterKind::Highpass, "highpass"},
                                             {FilterKind::Bandpass, "bandpass"},
                                             {FilterKind::Bandstop, "bandstop"}};

constexpr ChoiceName<GainSplit> kSplits[] = {
    {GainSplit::First, "first"}, {GainSplit::Last, "last"}, {GainSplit::Equal, "equal"}};

constexpr ChoiceName<Topology> kTopologies[] = {{Topology::Mfb, "mfb"},
                                                {Topology::Pfb, "pfb"},
                                                {Topology::Svf3, "svf3"},
                                                {Topology::Svf4, "svf4"},
                                                {Topology::Fliege, "fliege"}};

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

template <typename Choice>
std::optional<Choice> Named(std::span<const ChoiceName<Choice>> names, std::string_view name) {
  for (const auto& entry : names) {
    if (SameLetters(entry.name, name)) return entry.choice;
  }
  return std::nullopt;
}

template <typename Choice>
std::string_view Name(std::span<const ChoiceName<Choice>> names, Choice choice) {
  for (const auto& entry : names) {
    if (entry.choice == choice) return entry.name;
  }
  return "?";
}

}  // namespace

std::span<const ChoiceName<Approximation>> ApproximationNames() {
  return kApproximations;
}
std::span<const ChoiceName<FilterKind>> FilterKindNames() {
  return kKinds;
}
std::span<const ChoiceName<GainSplit>> GainSplitNames() {
  return kSplits;
}
std::span<const ChoiceName<Topology>> SectionTopologyNames() {
  return kTopologies;
}

std::string_view NameOf(Approximation choice) {
  return Name(ApproximationNames(), choice);
}
std::string_view NameOf(FilterKind choice) {
  return Name(FilterKindNames(), choice);
}
std::string_view NameOf(GainSplit choice) {
  return Name(GainSplitNames(), choice);
}

std::optional<Approximation> ApproximationNamed(std::string_view name) {
  return Named(ApproximationNames(), name);
}
std::optional<FilterKind> FilterKindNamed(std::string_view name) {
  return Named(FilterKindNames(), name);
}
std::optional<GainSplit> GainSplitNamed(std::string_view name) {
  return Named(GainSplitNames(), name);
}
std::optional<Topology> SectionTopologyNamed(std::string_view name) {
  return Named(SectionTopologyNames(), name);
}

std::optional<int> SeriesNamed(std::string_view name) {
  for (int code = kSeriesE6; code <= kSeriesE96; ++code) {
    if (SameLetters(SeriesName(code), name)) return code;
  }
  return std::nullopt;
}

template <typename Choice>
std::string AllowedNames(std::span<const ChoiceName<Choice>> names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " or " : ", ";
    text += names[i].name;
  }
  return text;
}

template std::string AllowedNames(std::span<const ChoiceName<Approximation>>);
template std::string AllowedNames(std::span<const ChoiceName<FilterKind>>);
template std::string AllowedNames(std::span<const ChoiceName<GainSplit>>);
template std::string AllowedNames(std::span<const ChoiceName<Topology>>);

}  // namespace morvane
