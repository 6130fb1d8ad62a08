#pragma once

// Where the symbols and texts of a circuit go, in grid units: what the painter draws and
// what it must fit into its target.

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

#include "schematic/schematic_model.h"

namespace morvane::gui::schematic {

// Pixels per grid unit at the natural size.
inline constexpr double kUnit = 10.0;

// The font of names and captions at the natural size.
QFont LabelFont();

struct TextBox {
  QRectF box;  // from the baseline up to the height of a capital
  QString text;
};

// Names of parts and captions, placed beside their symbols.
std::vector<TextBox> TextBoxes(const FlatCircuit& circuit);

// Where a text of `size` goes beside a part, on the part's side (see Side); the box as in
// TextBox.
QRectF LabelBoxBeside(const Part& part, QSizeF size);

// The symbol's body without its leads; empty for a part drawn as lines only.
QRectF BodyBox(const Part& part);

// Everything drawn, with a margin for the pen.
QRectF Extent(const FlatCircuit& circuit);

// Half the body's length along a two-terminal part and half its width across.
struct BodySize {
  double along;
  double across;
};
BodySize TwoTerminalBody(Symbol symbol);

}  // namespace morvane::gui::schematic
