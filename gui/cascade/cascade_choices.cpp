#include "cascade/cascade_choices.h"

#include <algorithm>

#include "design/page_fields.h"

namespace morvane::gui {

namespace {

constexpr ChoiceName<Approximation> kApproximations[] = {
    {Approximation::Butterworth, "Butterworth"},
    {Approximation::Chebyshev, "Chebyshev"},
    {Approximation::Bessel, "Bessel"},
    {Approximation::LinkwitzRiley, "Linkwitz-Riley"},
    {Approximation::InverseChebyshev, "Inverse Chebyshev"},
    {Approximation::Elliptic, "Elliptic (Cauer)"}};

constexpr ChoiceName<FilterKind> kKinds[] = {{FilterKind::Lowpass, "Lowpass"},
                                             {FilterKind::Highpass, "Highpass"},
                                             {FilterKind::Bandpass, "Bandpass"},
                                             {FilterKind::Bandstop, "Bandstop"}};

constexpr ChoiceName<GainSplit> kSplits[] = {{GainSplit::First, "All in the first section"},
                                             {GainSplit::Last, "All in the last section"},
                                             {GainSplit::Equal, "Equal in every section"}};

// Section numbers beyond this are no section of any filter; a longer run of digits is held
// here rather than overflowing.
constexpr int kMostSectionNumber = 1000;

}  // namespace

std::span<const ChoiceName<Approximation>> ApproximationCaptions() {
  return kApproximations;
}

std::span<const ChoiceName<FilterKind>> FilterKindCaptions() {
  return kKinds;
}

std::span<const ChoiceName<GainSplit>> GainSplitCaptions() {
  return kSplits;
}

std::string TopologyChoiceCaption(Topology topology) {
  return std::string(TopologyCaption(topology));
}

bool UsesRipple(Approximation approximation) {
  return approximation == Approximation::Chebyshev || approximation == Approximation::Elliptic;
}

bool UsesStopband(Approximation approximation) {
  return approximation == Approximation::InverseChebyshev ||
         approximation == Approximation::Elliptic;
}

bool IsBandKind(FilterKind kind) {
  return kind == FilterKind::Bandpass || kind == FilterKind::Bandstop;
}

std::string SectionOrderText(const std::vector<int>& order) {
  std::string text;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i > 0) text += ",";
    text += std::to_string(order[i] + 1);
  }
  return text;
}

std::vector<int> ReadSectionOrder(std::string_view text) {
  std::vector<int> order;
  int number = 0;
  bool inNumber = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      number = std::min(kMostSectionNumber, number * 10 + (c - '0'));
      inNumber = true;
    } else if (inNumber) {
      order.push_back(number - 1);
      number = 0;
      inNumber = false;
    }
  }
  if (inNumber) order.push_back(number - 1);
  return order;
}

}  // namespace morvane::gui
