#pragma once

// A cascade laid out as one drawing in grid units: each section's labelled drawing (or, for a
// section without one, a frame with its text) under a caption, side by side from the first
// section's "in" to the last one's "out", each output wired to the next section's input.

#include <QPointF>
#include <QRectF>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "cascade/cascade_design.h"
#include "schematic/section_labels.h"

namespace morvane::gui::schematic {

struct ChainBlock {
  std::optional<LabelledDrawing> drawing;  // none: the lines of `text` in a frame
  QStringList caption;                     // "1: lowpass, pfb", "f0 1.00 kHz, Q 0.7071"
  QStringList text;                        // why the section has no drawing, and its parts
  // In the block's own units (the drawing's grid); `shift` moves them into the chain.
  QRectF frame;       // the drawing with its texts, or the text's frame
  QRectF box;         // frame and caption
  QPointF captionAt;  // the caption's top-left corner
  QPointF in, out;
  bool outOnRight = true;  // false: the output is a tap inside the drawing
  QPointF shift;
};

struct ChainDrawing {
  std::vector<ChainBlock> blocks;
  // joins[k] runs from block k's output to block k + 1's input, in chain units; hops[k] are
  // the points where it crosses a line of block k without joining it (from a tap inside).
  std::vector<std::vector<QPointF>> joins;
  std::vector<std::vector<QPointF>> hops;
  double textScale = 1.0;  // of every text in the chain
};

// One section alone, numbered `number` in its caption (0: no number).
ChainBlock LayOutSection(const CascadeSection& section, int number, double mostTextScale = 1.0);

ChainDrawing LayOutChain(const CascadeDesign& design);

// Blocks laid out by LayOutSection, placed side by side and joined, texts at `textScale`.
ChainDrawing JoinBlocks(std::vector<ChainBlock> blocks, double textScale);

// The blocks [first, last) and the joins between them, in chain units.
QRectF RangeExtent(const ChainDrawing& chain, int first, int last);

// The blocks in each row `pageWidth` grid units wide, whole sections only, in order; a
// section wider than that has a row of its own.
std::vector<std::pair<int, int>> ChainPages(const ChainDrawing& chain, double pageWidth);

// The caption's line height and the height of both lines, in grid units.
double CaptionHeight(double textScale);

}  // namespace morvane::gui::schematic
