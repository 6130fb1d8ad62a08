#pragma once

// Paints laid-out sections and chains (chain_layout.h) into any QPainter: fitted into a
// rectangle, or over the pages of a printer or PDF writer.

#include <QPainter>
#include <QRectF>

#include "schematic/chain_layout.h"

class QPagedPaintDevice;

namespace morvane::gui::schematic {

// The blocks [first, last) with the joins between them, as large as fits into `target`,
// centred. The terminal names of joined inputs and outputs are left out.
void PaintChainRange(QPainter& painter, const QRectF& target, const ChainDrawing& chain, int first,
                     int last);

// One block alone, with its caption and both terminal names, as large as fits into
// `target` but no larger than `mostUnit` device pixels per grid unit (0: no limit).
void PaintBlock(QPainter& painter, const QRectF& target, const ChainBlock& block,
                double mostUnit = 0);

// Device pixels per grid unit at which texts drawn at `textScale` are `points` high on a
// device of `dotsPerInch` (72 for screen pixels).
double UnitForTextSize(double textScale, double points, double dotsPerInch);

// The text scale of a block: its drawing's, or full size for a text.
double BlockTextScale(const ChainBlock& block);

// The chain over as many pages as it needs, in rows of whole sections (ChainPages at the
// page's width) down each page, its texts about 9 pt (smaller where a section alone is wider
// than a page). The number of pages painted; 0 when the device cannot be painted on.
int PrintChain(QPagedPaintDevice& device, const ChainDrawing& chain);

}  // namespace morvane::gui::schematic
