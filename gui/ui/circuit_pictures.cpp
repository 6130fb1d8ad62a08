#include "ui/circuit_pictures.h"

#include <QGuiApplication>

#include "schematic/schematic_painter.h"

namespace morvane::gui {

QPixmap CircuitPicture(std::string_view name, QSize size) {
  if (name.empty() || !HasCircuit(name) || size.isEmpty()) return {};
  // Drawn as vectors at the screen's pixel ratio, so the schematic stays sharp at any scale.
  return RenderCircuit(name, size, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}

}  // namespace morvane::gui
