#include "schematic/schematic_painter.h"

#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "schematic/schematic_layout.h"
#include "schematic/schematic_model.h"

namespace morvane::gui {

namespace {

using namespace schematic;

constexpr double kLine = 0.12;
constexpr double kPlate = 0.16;
constexpr double kDotRadius = 0.18;

QPointF Q(GridPoint p) {
  return {p.x, p.y};
}

QPen Pen(double width, Qt::PenCapStyle cap = Qt::RoundCap) {
  return QPen(Qt::black, width, Qt::SolidLine, cap, Qt::RoundJoin);
}

void DrawInductorHumps(QPainter& p, QPointF start, bool horizontal, double length) {
  constexpr int kHumps = 4;
  const double d = length / kHumps;
  QPainterPath path(start);
  for (int i = 0; i < kHumps; ++i) {
    if (horizontal) {
      path.arcTo(QRectF(start.x() + i * d, start.y() - d / 2, d, d), 180, -180);
    } else {
      path.arcTo(QRectF(start.x() - d / 2, start.y() + i * d, d, d), 90, 180);
    }
  }
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

void DrawSine(QPainter& p, QPointF centre, double r) {
  QPainterPath path(centre - QPointF(r, 0));
  path.cubicTo(centre + QPointF(-r / 2, -r), centre + QPointF(-r / 2, 0), centre);
  path.cubicTo(centre + QPointF(r / 2, 0), centre + QPointF(r / 2, r), centre + QPointF(r, 0));
  p.drawPath(path);
}

void DrawTwoTerminal(QPainter& p, const Part& part) {
  const QPointF a = Q(part.a), b = Q(part.b);
  const bool horizontal = std::abs(a.y() - b.y()) < 1e-9;
  // Work from the lower end, so a part reads the same whichever way its pins are listed.
  const QPointF lo = horizontal ? (a.x() < b.x() ? a : b) : (a.y() < b.y() ? a : b);
  const QPointF hi = lo == a ? b : a;
  const QPointF u = horizontal ? QPointF(1, 0) : QPointF(0, 1);
  const QPointF across = horizontal ? QPointF(0, 1) : QPointF(1, 0);
  const QPointF mid = (lo + hi) / 2;
  const BodySize body = TwoTerminalBody(part.symbol);
  p.setPen(Pen(kLine));
  p.setBrush(Qt::NoBrush);
  p.drawLine(lo, mid - u * body.along);
  p.drawLine(mid + u * body.along, hi);
  switch (part.symbol) {
    case Symbol::Resistor:
      p.drawPolygon(QPolygonF{mid - u * body.along - across * body.across,
                              mid + u * body.along - across * body.across,
                              mid + u * body.along + across * body.across,
                              mid - u * body.along + across * body.across});
      break;
    case Symbol::Capacitor:
      p.setPen(Pen(kPlate, Qt::FlatCap));
      for (double side : {-1.0, 1.0}) {
        const QPointF plate = mid + u * body.along * side;
        p.drawLine(plate - across * body.across, plate + across * body.across);
      }
      break;
    case Symbol::Inductor:
      DrawInductorHumps(p, mid - u * body.along, horizontal, 2 * body.along);
      break;
    case Symbol::Source:
      p.setBrush(Qt::white);
      p.drawEllipse(mid, body.along, body.along);
      DrawSine(p, mid, body.along * 0.55);
      break;
    case Symbol::Gap:
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::black);
      for (double k : {-0.45, 0.0, 0.45}) p.drawEllipse(mid + u * k, 0.09, 0.09);
      break;
    default:
      break;
  }
}

void DrawOpAmp(QPainter& p, const Part& part) {
  const AmpPins pins = OpAmpPins(part);
  const double dir = part.amp == Amp::MinusOnTopPointingLeft ? -1 : 1;
  const QPointF a = Q(part.a);
  const QPointF back = a + QPointF(dir, 0);
  const QPointF tip = a + QPointF(3.6 * dir, 1);
  p.setPen(Pen(kLine));
  p.drawLine(Q(pins.minus), Q(pins.minus) + QPointF(dir, 0));
  p.drawLine(Q(pins.plus), Q(pins.plus) + QPointF(dir, 0));
  p.drawLine(tip, Q(pins.out));
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF{back - QPointF(0, 0.7), back + QPointF(0, 2.7), tip});
  // The input signs, just inside the triangle's back.
  p.setPen(Pen(0.09, Qt::FlatCap));
  const double x0 = back.x() + 0.3 * dir, x1 = back.x() + 0.8 * dir;
  const double xm = (x0 + x1) / 2;
  for (GridPoint in : {pins.minus, pins.plus}) {
    p.drawLine(QPointF(x0, in.y), QPointF(x1, in.y));
  }
  p.drawLine(QPointF(xm, pins.plus.y - 0.25), QPointF(xm, pins.plus.y + 0.25));
}

void DrawGround(QPainter& p, GridPoint at) {
  const QPointF a = Q(at);
  p.setPen(Pen(kLine));
  p.drawLine(a, a + QPointF(0, 0.4));
  p.setPen(Pen(kLine, Qt::FlatCap));
  const double halfWidths[] = {0.5, 0.32, 0.14};
  for (int i = 0; i < 3; ++i) {
    const double y = a.y() + 0.4 + 0.2 * i;
    p.drawLine(QPointF(a.x() - halfWidths[i], y), QPointF(a.x() + halfWidths[i], y));
  }
}

void DrawPart(QPainter& p, const Part& part) {
  switch (part.symbol) {
    case Symbol::OpAmp:
      DrawOpAmp(p, part);
      break;
    case Symbol::Ground:
      DrawGround(p, part.a);
      break;
    case Symbol::Terminal:
      p.setPen(Pen(kLine));
      p.setBrush(Qt::white);
      p.drawEllipse(Q(part.a), 0.25, 0.25);
      break;
    default:
      DrawTwoTerminal(p, part);
  }
}

void DrawTexts(QPainter& p, const FlatCircuit& circuit) {
  // Text is set at its natural pixel size, so the font need not come in fractions.
  p.save();
  p.scale(1 / kUnit, 1 / kUnit);
  p.setFont(LabelFont());
  p.setPen(Qt::black);
  for (const TextBox& t : TextBoxes(circuit)) {
    p.drawText(QPointF(t.box.left() * kUnit, t.box.bottom() * kUnit), t.text);
  }
  p.restore();
}

}  // namespace

void PaintCircuit(QPainter& painter, const QRectF& target, std::string_view resourceName) {
  const Circuit* circuit = FindCircuit(resourceName);
  if (!circuit || target.isEmpty()) return;
  const FlatCircuit flat = Flatten(*circuit);
  const QRectF extent = Extent(flat);
  const double scale = std::min(target.width() / extent.width(), target.height() / extent.height());
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.translate(target.center());
  painter.scale(scale, scale);
  painter.translate(-extent.center());
  DrawCircuitSymbols(painter, flat);
  DrawTexts(painter, flat);
  painter.restore();
}

QPen CircuitLinePen() {
  return Pen(kLine);
}

void DrawCircuitSymbols(QPainter& painter, const schematic::FlatCircuit& flat) {
  painter.save();
  painter.setPen(Pen(kLine));
  painter.setBrush(Qt::NoBrush);
  for (const auto& line : flat.wires) {
    QPolygonF polyline;
    for (GridPoint g : line) polyline << Q(g);
    painter.drawPolyline(polyline);
  }
  for (const Part& part : flat.parts) DrawPart(painter, part);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  for (GridPoint d : flat.dots) painter.drawEllipse(Q(d), kDotRadius, kDotRadius);
  painter.restore();
}

QSizeF CircuitNaturalSize(std::string_view resourceName) {
  const Circuit* circuit = FindCircuit(resourceName);
  if (!circuit) return {};
  return Extent(Flatten(*circuit)).size() * kUnit;
}

bool HasCircuit(std::string_view resourceName) {
  return FindCircuit(resourceName) != nullptr;
}

QPixmap RenderCircuit(std::string_view resourceName, QSize size, qreal devicePixelRatio) {
  if (!HasCircuit(resourceName) || size.isEmpty()) return {};
  QPixmap pixmap(size * devicePixelRatio);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::white);
  QPainter painter(&pixmap);
  PaintCircuit(painter, QRectF(QPointF(0, 0), QSizeF(size)), resourceName);
  return pixmap;
}

}  // namespace morvane::gui
