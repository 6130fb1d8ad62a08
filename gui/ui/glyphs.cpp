#include "ui/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <initializer_list>

namespace morvane::gui {

namespace {

const QColor kNavy(0, 0, 128);
const QColor kMaroon(128, 0, 0);

QPixmap Blank(QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A curve through points of the unit square (y = 0 at the top) over a pair of axes.
QPixmap Curve(std::initializer_list<QPointF> points, QSize size, const QColor& colour = kNavy) {
  QPixmap pixmap = Blank(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const double w = size.width() - 3, h = size.height() - 3;
  p.setPen(QPen(Qt::darkGray, 1));
  p.drawLine(QPointF(1.5, 0.5), QPointF(1.5, h + 1.5));
  p.drawLine(QPointF(1.5, h + 1.5), QPointF(w + 2.5, h + 1.5));
  QPainterPath path;
  bool first = true;
  for (QPointF q : points) {
    const QPointF at(2 + q.x() * w, 1 + q.y() * h);
    first ? path.moveTo(at) : path.lineTo(at);
    first = false;
  }
  p.setPen(QPen(colour, 1.5));
  p.drawPath(path);
  return pixmap;
}

QPixmap Exit() {
  QPixmap pixmap = Blank({20, 20});
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor(160, 110, 60));
  p.drawRect(3, 2, 9, 16);  // door
  p.setPen(QPen(Qt::darkGreen, 2));
  p.drawLine(9, 10, 18, 10);
  p.drawLine(18, 10, 15, 7);
  p.drawLine(18, 10, 15, 13);
  return pixmap;
}

QPixmap Disk() {
  QPixmap pixmap = Blank({20, 20});
  QPainter p(&pixmap);
  p.setPen(Qt::black);
  p.setBrush(kNavy);
  p.drawRect(2, 2, 15, 15);
  p.setBrush(Qt::white);
  p.drawRect(5, 3, 9, 6);
  p.setBrush(Qt::lightGray);
  p.drawRect(6, 12, 7, 5);
  return pixmap;
}

QPixmap Folder() {
  QPixmap pixmap = Blank({20, 20});
  QPainter p(&pixmap);
  p.setPen(Qt::black);
  p.setBrush(QColor(230, 190, 60));
  p.drawRect(2, 6, 15, 11);
  p.drawRect(2, 4, 6, 2);
  return pixmap;
}

QPixmap Calculator() {
  QPixmap pixmap = Blank({20, 20});
  QPainter p(&pixmap);
  p.setPen(Qt::black);
  p.setBrush(Qt::lightGray);
  p.drawRect(4, 1, 12, 17);
  p.setBrush(QColor(200, 230, 200));
  p.drawRect(6, 3, 8, 4);
  p.setBrush(Qt::darkGray);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) p.drawRect(6 + 3 * column, 9 + 3 * row, 1, 1);
  }
  return pixmap;
}

QPixmap Run() {
  QPixmap pixmap = Blank({20, 20});
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(2, 3, 12, 11);
  p.setBrush(Qt::darkGreen);
  p.drawPolygon(QPolygonF({QPointF(9, 8), QPointF(18, 12.5), QPointF(9, 17)}));
  return pixmap;
}

QPixmap Copy() {
  QPixmap pixmap = Blank({20, 20});
  QPainter p(&pixmap);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(2, 2, 10, 12);
  p.drawRect(7, 6, 10, 12);
  return pixmap;
}

QPixmap Arrow(bool up) {
  QPixmap pixmap = Blank({7, 4});
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  const QPolygonF upward({QPointF(0, 4), QPointF(3.5, 0), QPointF(7, 4)});
  const QPolygonF downward({QPointF(0, 0), QPointF(3.5, 4), QPointF(7, 0)});
  p.drawPolygon(up ? upward : downward);
  return pixmap;
}

}  // namespace

QIcon SpeedBarGlyph(std::string_view button) {
  if (button == "ExitBtn") return QIcon(Exit());
  if (button == "SpeedButtonINISave") return QIcon(Disk());
  if (button == "SpeedButtonINILaden") return QIcon(Folder());
  if (button == "RechenButton") return QIcon(Calculator());
  if (button == "ExecButton") return QIcon(Run());
  if (button == "SweepButton") {
    return QIcon(Curve({{0, 0.2}, {0.3, 0.2}, {0.3, 0.5}, {0.6, 0.5}, {0.6, 0.8}, {1, 0.8}},
                       {20, 20}, kMaroon));
  }
  if (button == "ButtonCopy") return QIcon(Copy());
  return {};
}

QIcon SpinArrowGlyph(bool up) {
  return QIcon(Arrow(up));
}

QPixmap ResponseShapeIcon(FilterType type) {
  const QSize size(24, 16);
  switch (type) {
    case FilterType::Lowpass:
      return Curve({{0, 0.2}, {0.45, 0.2}, {0.6, 0.35}, {0.75, 0.8}, {1, 0.95}}, size);
    case FilterType::Highpass:
      return Curve({{0, 0.95}, {0.25, 0.8}, {0.4, 0.35}, {0.55, 0.2}, {1, 0.2}}, size);
    case FilterType::Bandpass:
      return Curve(
          {{0, 0.95}, {0.3, 0.7}, {0.45, 0.25}, {0.5, 0.2}, {0.55, 0.25}, {0.7, 0.7}, {1, 0.95}},
          size);
    case FilterType::Bandstop:
      return Curve(
          {{0, 0.2}, {0.35, 0.22}, {0.45, 0.5}, {0.5, 0.95}, {0.55, 0.5}, {0.65, 0.22}, {1, 0.2}},
          size);
    case FilterType::Allpass:
      return Curve({{0, 0.3}, {1, 0.3}}, size);
    case FilterType::EllipticLowpass:
      return Curve(
          {{0, 0.2}, {0.4, 0.2}, {0.55, 0.5}, {0.65, 0.95}, {0.72, 0.65}, {0.85, 0.7}, {1, 0.75}},
          size);
  }
  return {};
}

QPixmap ReadoutIcon(int row) {
  const QSize size(16, 14);
  switch (row) {
    case 0:
      return Curve({{0, 0.2}, {0.45, 0.2}, {0.6, 0.35}, {0.75, 0.8}, {1, 0.95}}, size);
    case 1:
      return Curve({{0, 0.2}, {0.45, 0.2}, {1, 0.95}}, size);
    case 2:
      return Curve({{0, 0.15}, {0.35, 0.2}, {0.65, 0.8}, {1, 0.85}}, size);
    default:
      return Curve({{0, 0.75}, {0.35, 0.65}, {0.5, 0.2}, {0.65, 0.65}, {1, 0.8}}, size);
  }
}

QIcon ProgramIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(QColor(255, 255, 232));
  {
    QPainter p(&pixmap);
    p.setPen(QPen(kMaroon, 1));
    p.drawRect(0, 0, 31, 31);
    p.drawPixmap(
        3, 6,
        Curve({{0, 0.2}, {0.45, 0.2}, {0.6, 0.35}, {0.75, 0.8}, {1, 0.95}}, {26, 20}, kMaroon));
  }
  return QIcon(pixmap);
}

}  // namespace morvane::gui
