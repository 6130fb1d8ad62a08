#pragma once

// Circuit diagrams drawn from their descriptions, sharp at every size: by picture name
// ("mfbtp", "pfbelltp", "svf3", "lctp", "diplexer", ...), into any paint device.

#include <QPainter>
#include <QPixmap>
#include <QRectF>
#include <QSizeF>
#include <string_view>

namespace morvane::gui {

namespace schematic {
struct FlatCircuit;
}

// Draws the circuit as large as fits into `target`, centred, keeping its proportions.
// Draws nothing for a name without a picture.
void PaintCircuit(QPainter& painter, const QRectF& target, std::string_view resourceName);

// The drawing's size in pixels at its natural scale; empty for an unknown name.
QSizeF CircuitNaturalSize(std::string_view resourceName);

bool HasCircuit(std::string_view resourceName);

// The circuit on white, `size` in device-independent pixels; null for an unknown name.
QPixmap RenderCircuit(std::string_view resourceName, QSize size, qreal devicePixelRatio);

// The wires, symbols and dots of a circuit, without texts, in grid units: the caller sets
// up the painter's transform.
void DrawCircuitSymbols(QPainter& painter, const schematic::FlatCircuit& circuit);

// The pen of wires and symbols, in grid units.
QPen CircuitLinePen();

}  // namespace morvane::gui
