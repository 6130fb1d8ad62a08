#include <array>

#include "schematic/circuit_tables.h"
#include "schematic/schematic_model.h"

namespace morvane::gui::schematic {

namespace {

using namespace tables;

struct Named {
  std::string_view name;
  const Circuit* circuit;
};

// The names the window loads by topology and filter type, the fixed pictures of the SVF and
// diplexer pages, and the single ladders for pages that show odd and even order apart.
constexpr std::array kPictures{
    Named{"mfbtp", &kMfbLowpass},
    Named{"mfbhp", &kMfbHighpass},
    Named{"mfbbp", &kMfbBandpass},
    Named{"pfbtp", &kPfbLowpass},
    Named{"pfbelltp", &kPfbEllipticLowpass},
    Named{"pfbhp", &kPfbHighpass},
    Named{"pfbbp", &kPfbBandpass},
    Named{"pfbbs", &kPfbBandstop},
    Named{"pfbap", &kPfbAllpass},
    Named{"svf3", &kSvf3},
    Named{"svf4", &kSvf4},
    Named{"f2optp", &kFliegeLowpass},
    Named{"f2ophp", &kFliegeHighpass},
    Named{"f2opbp", &kFliegeBandpass},
    Named{"f2opbs", &kFliegeBandstop},
    Named{"f2opap", &kFliegeAllpass},
    Named{"lctp", &kLadderLowpass},
    Named{"lchp", &kLadderHighpass},
    Named{"lcodd", &kLadderLowpassOdd},
    Named{"lceven", &kLadderLowpassEven},
    Named{"lchpodd", &kLadderHighpassOdd},
    Named{"lchpeven", &kLadderHighpassEven},
    Named{"diplexer", &kDiplexer},
};

// Other spellings of the SVF pictures.
constexpr std::array kAliases{Named{"svf3op", &kSvf3}, Named{"svf4op", &kSvf4}};

constexpr auto kNames = [] {
  std::array<std::string_view, kPictures.size()> names{};
  for (std::size_t i = 0; i < kPictures.size(); ++i) names[i] = kPictures[i].name;
  return names;
}();

}  // namespace

const Circuit* FindCircuit(std::string_view name) {
  for (const Named& n : kPictures) {
    if (n.name == name) return n.circuit;
  }
  for (const Named& n : kAliases) {
    if (n.name == name) return n.circuit;
  }
  return nullptr;
}

std::span<const std::string_view> CircuitNames() {
  return kNames;
}

namespace {

void FlattenInto(const Circuit& c, GridPoint offset, FlatCircuit& out) {
  for (Part p : c.parts) {
    p.a = p.a + offset;
    p.b = p.b + offset;
    out.parts.push_back(p);
  }
  for (const Wire& w : c.wires) {
    std::vector<GridPoint>& line = out.wires.emplace_back();
    for (GridPoint p : w.Points()) line.push_back(p + offset);
  }
  for (GridPoint d : c.dots) out.dots.push_back(d + offset);
  for (Caption t : c.captions) {
    t.at = t.at + offset;
    out.captions.push_back(t);
  }
  for (const Inset& i : c.insets) FlattenInto(*i.circuit, offset + i.offset, out);
}

}  // namespace

FlatCircuit Flatten(const Circuit& circuit) {
  FlatCircuit flat;
  FlattenInto(circuit, {}, flat);
  return flat;
}

}  // namespace morvane::gui::schematic
