#include "schematic/section_drawing.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <span>
#include <utility>

#include "numerics/value_text.h"
#include "schematic/circuit_tables.h"

namespace morvane::gui::schematic {

namespace {

using namespace tables;

// The n-th part labelled `from` in the drawing (counting from 1 in table order) is the
// circuit's `to`.
struct Rename {
  std::string_view from;
  int occurrence;
  std::string_view to;
};

constexpr Rename kPfbBandpassNames[] = {{"R1", 2, "R1B"}};
constexpr Rename kTwinTNames[] = {{"C1", 2, "C1B"}, {"R1", 2, "R1B"}};
constexpr Rename kEllipticNames[] = {{"2R1", 1, "R1A"}, {"2R1", 2, "R1B"}};
constexpr Rename kSvf4Names[] = {{"R3", 1, "R3B"}, {"R4", 1, "R4B"}};
constexpr Rename kFliegeNotchNames[] = {{"R4", 2, "R4B"}};

// The page terminals by the node they are: input, output and the state-variable taps.
constexpr std::pair<std::string_view, std::string_view> kTerminalNodes[] = {
    {"Vi", "in"}, {"Vo", "out"}, {"HP", "hp"}, {"BP", "bp"}, {"LP", "lp"}, {"BS", "bs"}};

// Parts a design may leave out. Without R4 the gain network is R3 alone (or nothing): R4 and
// its ground go. Without R3 too the amplifier is a follower: R3 becomes a wire from the
// output to the inverting input. Without a divider R1G goes with its ground.
constexpr std::string_view kGainNetwork[] = {"R4"};
constexpr std::string_view kFollower[] = {"R3"};
constexpr std::string_view kDividerAndGainNetwork[] = {"R1G", "R4"};

// The page drawings were laid out for names alone; widened by half, a name with its value
// below it fits beside each part.
constexpr double kPageWidening = 1.5;

struct Recipe {
  const Circuit* drawing = nullptr;
  std::span<const Rename> renames = {};
  std::string_view outputTap = "Vo";  // the drawing's terminal that is the section output
  std::span<const std::string_view> mayLeaveOut = {};
  std::span<const std::string_view> mayShort = {};
  double widening = kPageWidening;
};

Recipe Amplified(const Circuit& drawing, std::span<const Rename> renames = {}) {
  return {&drawing, renames, "Vo", kGainNetwork, kFollower};
}

// The section drawings (circuits_sections.cpp) have room for the values already.
Recipe Own(const Circuit& drawing, std::span<const std::string_view> mayLeaveOut = {}) {
  return {&drawing,
          {},
          "out",
          mayLeaveOut,
          mayLeaveOut.empty() ? std::span<const std::string_view>{} : kFollower,
          1.2};
}

// The state-variable pages draw every output; the section's is the one of its kind.
std::optional<Recipe> StateVariable(Topology topology, std::string_view kind) {
  const bool three = topology == Topology::Svf3;
  const Circuit& drawing = three ? kSvf3 : kSvf4;
  const std::span<const Rename> renames = three ? std::span<const Rename>{} : kSvf4Names;
  if (kind == "lowpass") return Recipe{&drawing, renames, "LP"};
  if (kind == "highpass") return Recipe{&drawing, renames, "HP"};
  if (kind == "bandpass") return Recipe{&drawing, renames, "BP"};
  return std::nullopt;
}

std::optional<Recipe> SecondOrder(Topology topology, std::string_view kind, bool divided) {
  const bool low = kind == "lowpass", high = kind == "highpass";
  switch (topology) {
    case Topology::Mfb:
      return Recipe{low ? &kMfbLowpass : high ? &kMfbHighpass : &kMfbBandpass};
    case Topology::Pfb:
      if (low) {
        return divided ? Own(kDividedSallenKeyLowpass, kDividerAndGainNetwork)
                       : Amplified(kPfbLowpass);
      }
      if (high) return Amplified(kPfbHighpass);
      return divided ? Own(kDividedPfbBandpass, kDividerAndGainNetwork)
                     : Amplified(kPfbBandpass, kPfbBandpassNames);
    case Topology::Svf3:
    case Topology::Svf4:
      return StateVariable(topology, kind);
    case Topology::Fliege:
      return Recipe{low ? &kFliegeLowpass : high ? &kFliegeHighpass : &kFliegeBandpass};
    default:
      return std::nullopt;
  }
}

std::optional<Recipe> Notch(Topology topology, std::string_view kind) {
  if (topology == Topology::Svf4) return Own(kStateVariableNotch);
  if (topology == Topology::Pfb && kind == "lowpass-notch") {
    return Amplified(kPfbEllipticLowpass, kEllipticNames);
  }
  if (topology == Topology::Pfb && kind == "notch") return Amplified(kPfbBandstop, kTwinTNames);
  if (topology == Topology::Fliege && kind == "notch") {
    return Recipe{&kFliegeBandstop, kFliegeNotchNames};
  }
  return std::nullopt;
}

std::optional<Recipe> RecipeFor(Topology topology, std::string_view kind, bool divided) {
  if (kind == "first-order-lowpass") {
    if (topology == Topology::Mfb) return Own(kInvertingFirstOrderLowpass);
    return Own(kFirstOrderLowpass, kDividerAndGainNetwork);
  }
  if (kind == "first-order-highpass") {
    if (topology == Topology::Mfb) return Own(kInvertingFirstOrderHighpass);
    return Own(kFirstOrderHighpass, kGainNetwork);
  }
  if (kind == "lowpass" || kind == "highpass" || kind == "bandpass") {
    return SecondOrder(topology, kind, divided);
  }
  if (kind == "lowpass-notch" || kind == "highpass-notch" || kind == "notch") {
    return Notch(topology, kind);
  }
  return std::nullopt;
}

bool Listed(std::span<const std::string_view> names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsTwoTerminal(const Part& p) {
  return p.symbol == Symbol::Resistor || p.symbol == Symbol::Capacitor ||
         p.symbol == Symbol::Inductor;
}

// Spreads the drawing sideways by `factor`. Symbols keep their size: an op amp stays 4 wide,
// and a wire from its output reaches out to where the output used to lead on.
void Widen(FlatCircuit& flat, double factor) {
  std::vector<std::vector<GridPoint>> stubs;
  for (Part& p : flat.parts) {
    if (p.symbol == Symbol::OpAmp) {
      const GridPoint out = OpAmpPins(p).out;
      p.a.x *= factor;
      p.b = p.a;
      stubs.push_back({OpAmpPins(p).out, {out.x * factor, out.y}});
    } else {
      p.a.x *= factor;
      p.b.x *= factor;
    }
  }
  for (auto& line : flat.wires) {
    for (GridPoint& g : line) g.x *= factor;
  }
  for (Caption& c : flat.captions) c.at.x *= factor;
  flat.wires.insert(flat.wires.end(), stubs.begin(), stubs.end());
}

void NameParts(FlatCircuit& flat, const Recipe& recipe) {
  std::map<std::string_view, int> seen;
  for (Part& p : flat.parts) {
    if (p.symbol == Symbol::Terminal) {
      if (p.label == recipe.outputTap) {
        p.label = "out";
        continue;
      }
      for (const auto& [page, node] : kTerminalNodes) {
        if (p.label == page) p.label = node;
      }
      continue;
    }
    const int occurrence = ++seen[p.label];
    for (const Rename& r : recipe.renames) {
      if (r.from == p.label && r.occurrence == occurrence) {
        p.label = r.to;
        break;
      }
    }
  }
}

// Takes away what the circuit lacks; false when the drawing has a part the circuit lacks
// that no design leaves out.
bool LeaveOutAbsentParts(FlatCircuit& flat, const Recipe& recipe,
                         const std::set<std::string, std::less<>>& names) {
  std::vector<Part> kept;
  for (const Part& p : flat.parts) {
    if (!IsTwoTerminal(p) || names.count(p.label)) {
      kept.push_back(p);
    } else if (Listed(recipe.mayShort, p.label)) {
      flat.wires.push_back({p.a, p.b});
    } else if (!Listed(recipe.mayLeaveOut, p.label)) {
      return false;
    }
  }
  flat.parts = std::move(kept);
  return true;
}

bool Same(GridPoint a, GridPoint b) {
  return std::abs(a.x - b.x) < 1e-6 && std::abs(a.y - b.y) < 1e-6;
}

// Strictly between the ends of an axis-parallel segment.
bool Inside(GridPoint x, GridPoint p, GridPoint q) {
  const auto between = [](double v, double a, double b) {
    return v > std::min(a, b) + 1e-6 && v < std::max(a, b) - 1e-6;
  };
  if (std::abs(p.y - q.y) < 1e-6) return std::abs(x.y - p.y) < 1e-6 && between(x.x, p.x, q.x);
  if (std::abs(p.x - q.x) < 1e-6) return std::abs(x.x - p.x) < 1e-6 && between(x.y, p.y, q.y);
  return false;
}

// The points where lines end: each pin and each end of a wire segment, once per line.
std::vector<GridPoint> LineEnds(const FlatCircuit& flat) {
  std::vector<GridPoint> ends;
  for (const auto& line : flat.wires) {
    for (std::size_t i = 1; i < line.size(); ++i) {
      ends.push_back(line[i - 1]);
      ends.push_back(line[i]);
    }
  }
  for (const Part& p : flat.parts) {
    if (IsTwoTerminal(p)) {
      ends.push_back(p.a);
      ends.push_back(p.b);
    } else if (p.symbol == Symbol::OpAmp) {
      const AmpPins pins = OpAmpPins(p);
      ends.insert(ends.end(), {pins.minus, pins.plus, pins.out});
    } else if (p.symbol == Symbol::Ground) {
      ends.push_back(p.a);
    }
  }
  return ends;
}

bool OnAnyWire(const FlatCircuit& flat, GridPoint x) {
  for (const auto& line : flat.wires) {
    for (std::size_t i = 1; i < line.size(); ++i) {
      if (Inside(x, line[i - 1], line[i])) return true;
    }
  }
  return false;
}

// Grounds whose part went: nothing ends at them any more.
void RemoveLooseGrounds(FlatCircuit& flat) {
  FlatCircuit others = flat;
  std::erase_if(others.parts, [](const Part& p) { return p.symbol == Symbol::Ground; });
  const std::vector<GridPoint> ends = LineEnds(others);
  std::erase_if(flat.parts, [&](const Part& p) {
    if (p.symbol != Symbol::Ground) return false;
    const bool touched =
        std::any_of(ends.begin(), ends.end(), [&](GridPoint e) { return Same(e, p.a); }) ||
        OnAnyWire(others, p.a);
    return !touched;
  });
}

// Every part of the circuit drawn once, nothing more, and as many op amps.
bool DrawsExactly(const FlatCircuit& flat, const morvane::Circuit& circuit) {
  std::multiset<std::string, std::less<>> drawn, built;
  std::size_t amps = 0;
  for (const Part& p : flat.parts) {
    if (IsTwoTerminal(p)) drawn.emplace(p.label);
    if (p.symbol == Symbol::OpAmp) ++amps;
  }
  for (const CircuitPart& part : circuit.parts) built.insert(part.name);
  return drawn == built && amps == circuit.opAmps.size();
}

}  // namespace

std::vector<GridPoint> JunctionDots(const FlatCircuit& flat) {
  const std::vector<GridPoint> ends = LineEnds(flat);
  const auto key = [](GridPoint p) {
    return std::pair{std::lround(p.x * 8), std::lround(p.y * 8)};
  };
  std::map<std::pair<long, long>, std::pair<GridPoint, int>> arms;
  for (GridPoint e : ends) {
    auto& [point, count] = arms.try_emplace(key(e), e, 0).first->second;
    ++count;
  }
  std::vector<GridPoint> dots;
  for (const auto& [k, entry] : arms) {
    const auto& [point, count] = entry;
    // A wire passing straight through a point joins it with two lines.
    const int through = OnAnyWire(flat, point) ? 2 : 0;
    if (count + through >= 3) dots.push_back(point);
  }
  return dots;
}

std::string PartValueText(double value) {
  const std::string text = FormatValue(7, 2, value);
  const std::size_t start = text.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : text.substr(start);
}

std::optional<SectionDrawing> DrawSection(Topology topology, std::string_view kind,
                                          const morvane::Circuit& circuit) {
  std::set<std::string, std::less<>> names;
  for (const CircuitPart& part : circuit.parts) names.insert(part.name);
  if (names.empty()) return std::nullopt;
  const std::optional<Recipe> recipe = RecipeFor(topology, kind, names.count("R1G") > 0);
  if (!recipe) return std::nullopt;
  SectionDrawing drawing;
  FlatCircuit& flat = drawing.flat;
  flat = Flatten(*recipe->drawing);
  if (recipe->widening != 1.0) Widen(flat, recipe->widening);
  NameParts(flat, *recipe);
  if (!LeaveOutAbsentParts(flat, *recipe, names)) return std::nullopt;
  RemoveLooseGrounds(flat);
  if (!DrawsExactly(flat, circuit)) return std::nullopt;
  flat.dots = JunctionDots(flat);
  for (const Part& p : flat.parts) {
    std::string& value = drawing.values.emplace_back();
    if (!IsTwoTerminal(p)) continue;
    for (const CircuitPart& part : circuit.parts) {
      if (part.name == p.label) value = PartValueText(part.value);
    }
  }
  return drawing;
}

}  // namespace morvane::gui::schematic
