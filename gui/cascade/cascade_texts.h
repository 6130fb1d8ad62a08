#pragma once

// The texts the Multi-stage Filter window shows of a design: the cells of the section table
// and the figures of the whole filter, in the program's value texts (FormatValue) and free of
// any locale. A value that is not a finite number is never written: its text is "-".

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cascade/cascade_design.h"
#include "opamp/real_response.h"

namespace morvane::gui {

// "10.20 kΩ", "1.00 nF", "12.34 kHz": the value text, its prefix letter before the unit.
std::string QuantityText(double value, std::string_view unit);
// "+2.50", "-5.11m": a section's or the filter's gain as a value text, with its sign.
std::string SignedGainText(double gain, bool inverting);
// "R1 10.20k, R2 4.99k, C1 1.50n": a circuit's parts in their order.
std::string PartsText(const Circuit& circuit);

// The cells of one section's row, the topology column aside.
struct SectionRowTexts {
  std::string number;
  std::string kind;
  std::string f0;
  std::string q;
  std::string fz;  // empty without a zero
  std::string gain;
  std::string peaking;  // "3.01 dB at 1.00 kHz"
  std::string gbwp;
  std::string parts;
};
SectionRowTexts SectionRow(std::size_t index, const CascadeSection& section);

// With rounded resistors, the hints of a row's f0, Q, fz and gain cells: "As built: 9.87 kHz
// (-1.30 %)"; empty texts otherwise (and for fz without a zero).
struct AsBuiltHints {
  std::string f0, q, fz, gain;
};
AsBuiltHints AsBuiltHintsOf(const CascadeSection& section);

// With an op amp, a row's figures with it: f0, Q and the peaking ("9.87 kHz  Q 0.731
// 0.08 dB").
std::string OpAmpCellText(const RealAmplifierFigures& figures);

// The figures of the whole filter beside the table, one result field each.
enum class Figure {
  Order,
  Corner,
  LowerEdge,
  UpperEdge,
  Ripple,
  Attenuation,
  PassbandGain,
  Delay,
  LargestDelay,
  LargestDelayAt,
  RiseTime,
  Overshoot,
  Settling,
};

struct FigureRow {
  Figure figure;
  std::string_view name;  // objectName of the result field
  std::string_view label;
  std::string_view unit;
};
std::span<const FigureRow> FigureRows();

// The figure's text as its field shows it (blank when the design does not give it).
std::string FigureText(Figure figure, const CascadeDesign& design);

}  // namespace morvane::gui
