#include "graphs/graph_button_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <functional>

#include "ui/glyphs.h"

namespace morvane::gui {

namespace {

constexpr int kSize = 16;

// Drawn at the pixels of whatever screen shows it, so the glyph stays sharp at 1.5x and 2x.
QIcon Draw(const std::function<void(QPainter&)>& paint) {
  return PaintedIcon(QSize(kSize, kSize), [paint](QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
  });
}

void Arrow(QPainter& p, QPointF from, QPointF to) {
  p.drawLine(from, to);
  const QPointF d = (to - from) / std::max(1.0, QLineF(from, to).length());
  const QPointF n(-d.y(), d.x());
  p.drawLine(to, to - 3 * d + 2.5 * n);
  p.drawLine(to, to - 3 * d - 2.5 * n);
}

QIcon CloseGlyph() {
  return Draw([](QPainter& p) {
    p.setPen(QPen(QColor(160, 0, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
  });
}

// A window frame and an arrow out of it (increase) or into it (decrease).
QIcon SizeGlyph(bool increase) {
  return Draw([increase](QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(QColor(0, 0, 160), 1.5));
    if (increase) {
      Arrow(p, QPointF(5, 11), QPointF(12, 4));
    } else {
      Arrow(p, QPointF(12, 4), QPointF(5, 11));
    }
  });
}

QIcon StandardSizeGlyph() {
  return Draw([](QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(0, 0, 160));
    p.drawRect(QRectF(1.5, 1.5, 13, 3));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 4.5, 13, 10));
  });
}

QIcon DotsGlyph() {
  return Draw([](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 255));
    const QPointF dots[] = {{2, 13}, {5, 10}, {8, 6}, {11, 4}, {14, 3.5}};
    for (QPointF d : dots) p.drawEllipse(d, 1.4, 1.4);
  });
}

// A tuning knob with its pointer.
QIcon SweepGlyph() {
  return Draw([](QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(192, 192, 192));
    p.drawEllipse(QPointF(8, 8), 6, 6);
    p.setPen(QPen(QColor(200, 0, 0), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(11.5, 4.5));
  });
}

}  // namespace

QIcon GraphButtonGlyph(std::string_view button) {
  if (button == "CloseButton") return CloseGlyph();
  if (button == "VergroessernButton") return SizeGlyph(true);
  if (button == "VerkleinernButton") return SizeGlyph(false);
  if (button == "StandardgrButton") return StandardSizeGlyph();
  if (button == "DotButton") return DotsGlyph();
  if (button == "SweepButton") return SweepGlyph();
  return {};
}

}  // namespace morvane::gui
