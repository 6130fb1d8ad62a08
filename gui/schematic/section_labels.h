#pragma once

// The texts of a section drawing: each part's name with its value below it, each terminal's
// node name, placed beside their symbols in grid units. Values are wider than the names the
// page drawings were laid out for, so a text may move to the other side of its part or put
// its value beside the name, and all texts shrink together until none touches another text,
// a symbol or a line.

#include <QRectF>
#include <QString>
#include <vector>

#include "schematic/section_drawing.h"

namespace morvane::gui::schematic {

struct ValueLabel {
  QRectF box;  // from the top of the name's capitals to the (last) baseline
  QString name;
  QString value;  // empty for a terminal
  Side side = Side::Above;
  bool oneLine = false;  // the value beside the name, where two lines find no room
};

struct LabelledDrawing {
  SectionDrawing drawing;
  std::vector<ValueLabel> labels;
  double textScale = 1.0;  // of LabelFont: the texts are drawn this much smaller
};

// The smallest text scale tried; below it the texts stay at this size, clear or not.
inline constexpr double kLeastTextScale = 0.5;

// The texts at the largest scale up to `mostScale` at which they stand clear.
LabelledDrawing LabelDrawing(SectionDrawing drawing, double mostScale = 1.0);

// The texts at exactly `textScale`, and how many of them touch something.
std::vector<ValueLabel> PlaceLabels(const SectionDrawing& drawing, double textScale,
                                    int* clashes = nullptr);

// What a text may not touch: every line as thick as the pen and every symbol's body.
std::vector<QRectF> Obstacles(const FlatCircuit& flat);

// Everything drawn, texts included, with a margin for the pen.
QRectF LabelledExtent(const LabelledDrawing& labelled);

// Height of a line of label text, and the capital height, in grid units at `textScale`.
double LabelLineSpacing(double textScale);
double LabelCapHeight(double textScale);

}  // namespace morvane::gui::schematic
