#include "schematic/schematic_layout.h"

#include <QFontMetricsF>
#include <cmath>

namespace morvane::gui::schematic {

namespace {

constexpr double kLabelGap = 0.25;
constexpr double kTerminalRadius = 0.25;

QPointF Q(GridPoint p) {
  return {p.x, p.y};
}

bool IsHorizontal(const Part& p) {
  return std::abs(p.a.y - p.b.y) < 1e-9;
}

QRectF Around(QPointF centre, double halfWidth, double halfHeight) {
  return {centre.x() - halfWidth, centre.y() - halfHeight, 2 * halfWidth, 2 * halfHeight};
}

// A box of the text's size whose anchor point is set by the caller.
QRectF SizedBox(const QString& text) {
  const QFontMetricsF metrics(LabelFont());
  return {0, 0, metrics.horizontalAdvance(text) / kUnit, metrics.capHeight() / kUnit};
}

QRectF PartLabelBox(const Part& p, const QString& text) {
  return LabelBoxBeside(p, SizedBox(text).size());
}

}  // namespace

QRectF LabelBoxBeside(const Part& p, QSizeF size) {
  QRectF box(QPointF(0, 0), size);
  const QPointF mid = (Q(p.a) + Q(p.b)) / 2;
  if (p.symbol == Symbol::Terminal) {
    const double d = kTerminalRadius + kLabelGap;
    switch (p.side) {
      case Side::Left:
        box.moveCenter(mid - QPointF(d + box.width() / 2, 0));
        break;
      case Side::Above:
        box.moveCenter(mid - QPointF(0, d + box.height() / 2));
        break;
      case Side::Below:
        box.moveCenter(mid + QPointF(0, d + box.height() / 2));
        break;
      default:
        box.moveCenter(mid + QPointF(d + box.width() / 2, 0));
    }
    return box;
  }
  const double d = TwoTerminalBody(p.symbol).across + kLabelGap;
  if (IsHorizontal(p)) {
    const bool below = p.side == Side::Below;
    box.moveCenter(mid + QPointF(0, (below ? 1 : -1) * (d + box.height() / 2)));
  } else {
    const bool left = p.side == Side::Left;
    box.moveCenter(mid + QPointF((left ? -1 : 1) * (d + box.width() / 2), 0));
  }
  return box;
}

QFont LabelFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(13);
  // Unhinted, so the text keeps its proportions at every scale.
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

BodySize TwoTerminalBody(Symbol symbol) {
  switch (symbol) {
    case Symbol::Resistor:
      return {0.8, 0.3};
    case Symbol::Capacitor:
      return {0.18, 0.6};
    case Symbol::Inductor:
      return {0.9, 0.25};
    case Symbol::Source:
      return {0.7, 0.7};
    case Symbol::Gap:
      return {0.8, 0.1};
    default:
      return {0, 0};
  }
}

std::vector<TextBox> TextBoxes(const FlatCircuit& circuit) {
  std::vector<TextBox> boxes;
  for (const Part& p : circuit.parts) {
    if (p.label.empty()) continue;
    const QString text = QString::fromUtf8(p.label.data(), static_cast<qsizetype>(p.label.size()));
    boxes.push_back({PartLabelBox(p, text), text});
  }
  for (const Caption& c : circuit.captions) {
    const QString text = QString::fromUtf8(c.text.data(), static_cast<qsizetype>(c.text.size()));
    QRectF box = SizedBox(text);
    box.moveCenter(Q(c.at) + QPointF(box.width() / 2, 0));
    boxes.push_back({box, text});
  }
  return boxes;
}

QRectF BodyBox(const Part& p) {
  switch (p.symbol) {
    case Symbol::OpAmp: {
      const bool left = p.amp == Amp::MinusOnTopPointingLeft;
      const double x0 = left ? p.a.x - 3.6 : p.a.x + 1;
      return {x0, p.a.y - 0.7, 2.6, 3.4};
    }
    case Symbol::Ground:
      return {p.a.x - 0.5, p.a.y + 0.4, 1.0, 0.4};
    case Symbol::Terminal:
      return Around(Q(p.a), kTerminalRadius, kTerminalRadius);
    default: {
      const BodySize s = TwoTerminalBody(p.symbol);
      const QPointF mid = (Q(p.a) + Q(p.b)) / 2;
      return IsHorizontal(p) ? Around(mid, s.along, s.across) : Around(mid, s.across, s.along);
    }
  }
}

QRectF Extent(const FlatCircuit& circuit) {
  QRectF extent;
  auto add = [&](const QRectF& r) { extent = extent.isNull() ? r : extent.united(r); };
  auto addPoint = [&](GridPoint p) { add(Around(Q(p), 0.2, 0.2)); };
  for (const Part& p : circuit.parts) {
    add(BodyBox(p));
    addPoint(p.a);
    addPoint(p.b);
    if (p.symbol == Symbol::OpAmp) addPoint(OpAmpPins(p).out);
  }
  for (const auto& line : circuit.wires) {
    for (GridPoint p : line) addPoint(p);
  }
  // Boxes end at the baseline; "Highpass" reaches below it.
  const double descent = QFontMetricsF(LabelFont()).descent() / kUnit;
  for (const TextBox& t : TextBoxes(circuit)) add(t.box.adjusted(0, 0, 0, descent));
  return extent.adjusted(-0.3, -0.3, 0.3, 0.3);
}

}  // namespace morvane::gui::schematic
