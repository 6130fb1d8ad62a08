#pragma once

// A circuit diagram as data: parts placed on a grid, wires as grid polylines, junction dots
// and free captions. The painter draws it; nothing here knows about Qt.
//
// Grid units throughout, y down. Two-terminal parts run from pin a to pin b, horizontally or
// vertically, and are drawn with their body centred and leads filling the rest. An op amp is
// placed by the end of its upper input lead: the inputs sit 2 apart, the output 4 to the
// side, halfway between them.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace morvane::gui::schematic {

struct GridPoint {
  double x = 0;
  double y = 0;
  friend constexpr bool operator==(GridPoint, GridPoint) = default;
};

constexpr GridPoint operator+(GridPoint p, GridPoint q) {
  return {p.x + q.x, p.y + q.y};
}

enum class Symbol : std::uint8_t {
  Resistor,
  Capacitor,
  Inductor,
  Source,  // voltage source, a circle with a sine
  Gap,     // "· · ·": the elements left out of a ladder
  OpAmp,
  Ground,
  Terminal,  // input or output, a small open circle
};

// Where a part's name goes. Auto: above a horizontal part, right of a vertical one.
enum class Side : std::uint8_t { Auto, Above, Below, Left, Right };

// Op amp drawing: which input is on top, and which way it points.
enum class Amp : std::uint8_t { MinusOnTop, PlusOnTop, MinusOnTopPointingLeft };

struct Part {
  Symbol symbol = Symbol::Resistor;
  GridPoint a;  // first pin; the point of a ground or terminal; the op amp's upper input
  GridPoint b;  // second pin of a two-terminal part
  std::string_view label;
  Side side = Side::Auto;
  Amp amp = Amp::MinusOnTop;
};

inline constexpr std::size_t kMaxWirePoints = 6;

struct Wire {
  std::array<GridPoint, kMaxWirePoints> points{};
  std::size_t count = 0;
  constexpr std::span<const GridPoint> Points() const { return {points.data(), count}; }
};

// A text of its own, such as a branch name; `at` is its left end, vertically centred.
struct Caption {
  GridPoint at;
  std::string_view text;
};

struct Circuit;

// Another circuit drawn into this one, shifted by `offset`.
struct Inset {
  const Circuit* circuit = nullptr;
  GridPoint offset;
};

struct Circuit {
  std::span<const Part> parts;
  std::span<const Wire> wires;
  std::span<const GridPoint> dots;
  std::span<const Caption> captions = {};
  std::span<const Inset> insets = {};
};

// The op amp's pins: inverting input, non-inverting input, output.
struct AmpPins {
  GridPoint minus;
  GridPoint plus;
  GridPoint out;
};

constexpr AmpPins OpAmpPins(const Part& p) {
  const GridPoint upper = p.a;
  const GridPoint lower = p.a + GridPoint{0, 2};
  const double dx = p.amp == Amp::MinusOnTopPointingLeft ? -4 : 4;
  const GridPoint out = p.a + GridPoint{dx, 1};
  if (p.amp == Amp::PlusOnTop) return {lower, upper, out};
  return {upper, lower, out};
}

// Table helpers, so that a circuit reads as a list.
constexpr Part R(GridPoint a, GridPoint b, std::string_view label, Side side = Side::Auto) {
  return {Symbol::Resistor, a, b, label, side};
}
constexpr Part C(GridPoint a, GridPoint b, std::string_view label, Side side = Side::Auto) {
  return {Symbol::Capacitor, a, b, label, side};
}
constexpr Part L(GridPoint a, GridPoint b, std::string_view label, Side side = Side::Auto) {
  return {Symbol::Inductor, a, b, label, side};
}
constexpr Part Source(GridPoint a, GridPoint b) {
  return {Symbol::Source, a, b, {}};
}
constexpr Part Gap(GridPoint a, GridPoint b) {
  return {Symbol::Gap, a, b, {}};
}
constexpr Part OpAmp(GridPoint upperInput, Amp amp = Amp::MinusOnTop) {
  return {Symbol::OpAmp, upperInput, upperInput, {}, Side::Auto, amp};
}
constexpr Part Ground(GridPoint at) {
  return {Symbol::Ground, at, at, {}};
}
constexpr Part Terminal(GridPoint at, std::string_view label, Side side) {
  return {Symbol::Terminal, at, at, label, side};
}
constexpr Wire W(std::initializer_list<GridPoint> points) {
  Wire w;
  for (GridPoint p : points) w.points[w.count++] = p;
  return w;
}

// A circuit with its insets resolved: everything in the grid of the outer circuit.
struct FlatCircuit {
  std::vector<Part> parts;
  std::vector<std::vector<GridPoint>> wires;
  std::vector<GridPoint> dots;
  std::vector<Caption> captions;
};
FlatCircuit Flatten(const Circuit& circuit);

// Two tables as one, for circuits that share a part of their description.
template <typename T, std::size_t N, std::size_t M>
constexpr std::array<T, N + M> Join(const std::array<T, N>& first, const std::array<T, M>& second) {
  std::array<T, N + M> all{};
  for (std::size_t i = 0; i < N; ++i) all[i] = first[i];
  for (std::size_t i = 0; i < M; ++i) all[N + i] = second[i];
  return all;
}

// The circuit drawn for a picture name, or null for a name without a picture.
const Circuit* FindCircuit(std::string_view name);

// Every picture name, each once (aliases left out).
std::span<const std::string_view> CircuitNames();

}  // namespace morvane::gui::schematic
