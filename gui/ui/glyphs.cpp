#include "ui/glyphs.h"

#include <QApplication>
#include <QDirIterator>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>
#include <functional>
#include <utility>
#include <vector>

namespace morvane::gui {

namespace {

const QColor kNavy(0, 0, 128);
const QColor kMaroon(128, 0, 0);

// A glyph paints itself in the coordinates of its logical size, whatever the pixel size.
using Painting = std::function<void(QPainter&)>;

QPixmap Render(QSize logical, QSize pixels, const Painting& painting) {
  QPixmap pixmap(pixels);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.scale(qreal(pixels.width()) / logical.width(), qreal(pixels.height()) / logical.height());
  painting(p);
  return pixmap;
}

// Paints the glyph at the pixel size the screen asks for, so it stays sharp at 1.5x and 2x
// where a pixmap of the logical size would be enlarged and blurred.
class GlyphEngine : public QIconEngine {
 public:
  GlyphEngine(QSize size, Painting painting) : size_(size), painting_(std::move(painting)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap pixmap = this->pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
    pixmap.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect.topLeft(), pixmap);
  }

  // `size` in device pixels: QIcon multiplies by the pixel ratio before it asks.
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap pixmap = Render(size_, actualSize(size, mode, state), painting_);
    if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
      QStyleOption option;
      option.palette = QApplication::palette();
      pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
    }
    return pixmap;
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    return size_.scaled(size, Qt::KeepAspectRatio);
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {size_}; }
  bool isNull() override { return false; }
  QIconEngine* clone() const override { return new GlyphEngine(size_, painting_); }

 private:
  QSize size_;
  Painting painting_;
};

// For a label: drawn at the pixel ratio of the screens, as the circuit pictures are.
QPixmap GlyphPixmap(QSize size, const Painting& painting) {
  const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
  QPixmap pixmap = Render(size, (QSizeF(size) * ratio).toSize(), painting);
  pixmap.setDevicePixelRatio(ratio);
  return pixmap;
}

// A curve through points of the unit square (y = 0 at the top) over a pair of axes.
void Curve(QPainter& p, const std::vector<QPointF>& points, QSize size,
           const QColor& colour = kNavy) {
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
}

void Exit(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor(160, 110, 60));
  p.drawRect(3, 2, 9, 16);  // door
  p.setPen(QPen(Qt::darkGreen, 2));
  p.drawLine(9, 10, 18, 10);
  p.drawLine(18, 10, 15, 7);
  p.drawLine(18, 10, 15, 13);
}

void Disk(QPainter& p) {
  p.setPen(Qt::black);
  p.setBrush(kNavy);
  p.drawRect(2, 2, 15, 15);
  p.setBrush(Qt::white);
  p.drawRect(5, 3, 9, 6);
  p.setBrush(Qt::lightGray);
  p.drawRect(6, 12, 7, 5);
}

void Folder(QPainter& p) {
  p.setPen(Qt::black);
  p.setBrush(QColor(230, 190, 60));
  p.drawRect(2, 6, 15, 11);
  p.drawRect(2, 4, 6, 2);
}

void Calculator(QPainter& p) {
  p.setPen(Qt::black);
  p.setBrush(Qt::lightGray);
  p.drawRect(4, 1, 12, 17);
  p.setBrush(QColor(200, 230, 200));
  p.drawRect(6, 3, 8, 4);
  p.setBrush(Qt::darkGray);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) p.drawRect(6 + 3 * column, 9 + 3 * row, 1, 1);
  }
}

void Run(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(2, 3, 12, 11);
  p.setBrush(Qt::darkGreen);
  p.drawPolygon(QPolygonF({QPointF(9, 8), QPointF(18, 12.5), QPointF(9, 17)}));
}

void Copy(QPainter& p) {
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(2, 2, 10, 12);
  p.drawRect(7, 6, 10, 12);
}

void Arrow(QPainter& p, bool up) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  const QPolygonF upward({QPointF(0, 4), QPointF(3.5, 0), QPointF(7, 4)});
  const QPolygonF downward({QPointF(0, 0), QPointF(3.5, 4), QPointF(7, 0)});
  p.drawPolygon(up ? upward : downward);
}

// A glyph of a response curve over a pair of axes.
QIcon CurveGlyph(std::vector<QPointF> points, QSize size, const QColor& colour = kNavy) {
  return PaintedIcon(size, [=](QPainter& p) { Curve(p, points, size, colour); });
}

QPixmap CurvePixmap(std::vector<QPointF> points, QSize size) {
  return GlyphPixmap(size, [=](QPainter& p) { Curve(p, points, size); });
}

}  // namespace

QIcon PaintedIcon(QSize size, std::function<void(QPainter&)> painting) {
  return QIcon(new GlyphEngine(size, std::move(painting)));
}

QIcon SpeedBarGlyph(std::string_view button) {
  constexpr QSize kSize(20, 20);
  if (button == "ExitBtn") return PaintedIcon(kSize, Exit);
  if (button == "SpeedButtonINISave") return PaintedIcon(kSize, Disk);
  if (button == "SpeedButtonINILaden") return PaintedIcon(kSize, Folder);
  if (button == "RechenButton") return PaintedIcon(kSize, Calculator);
  if (button == "ExecButton") return PaintedIcon(kSize, Run);
  if (button == "SweepButton") {
    return CurveGlyph({{0, 0.2}, {0.3, 0.2}, {0.3, 0.5}, {0.6, 0.5}, {0.6, 0.8}, {1, 0.8}}, kSize,
                      kMaroon);
  }
  if (button == "ButtonCopy") return PaintedIcon(kSize, Copy);
  return {};
}

QIcon SpinArrowGlyph(bool up) {
  return PaintedIcon({7, 4}, [up](QPainter& p) { Arrow(p, up); });
}

QPixmap ResponseShapeIcon(FilterType type) {
  const QSize size(24, 16);
  switch (type) {
    case FilterType::Lowpass:
      return CurvePixmap({{0, 0.2}, {0.45, 0.2}, {0.6, 0.35}, {0.75, 0.8}, {1, 0.95}}, size);
    case FilterType::Highpass:
      return CurvePixmap({{0, 0.95}, {0.25, 0.8}, {0.4, 0.35}, {0.55, 0.2}, {1, 0.2}}, size);
    case FilterType::Bandpass:
      return CurvePixmap(
          {{0, 0.95}, {0.3, 0.7}, {0.45, 0.25}, {0.5, 0.2}, {0.55, 0.25}, {0.7, 0.7}, {1, 0.95}},
          size);
    case FilterType::Bandstop:
      return CurvePixmap(
          {{0, 0.2}, {0.35, 0.22}, {0.45, 0.5}, {0.5, 0.95}, {0.55, 0.5}, {0.65, 0.22}, {1, 0.2}},
          size);
    case FilterType::Allpass:
      return CurvePixmap({{0, 0.3}, {1, 0.3}}, size);
    case FilterType::EllipticLowpass:
      return CurvePixmap(
          {{0, 0.2}, {0.4, 0.2}, {0.55, 0.5}, {0.65, 0.95}, {0.72, 0.65}, {0.85, 0.7}, {1, 0.75}},
          size);
  }
  return {};
}

QPixmap ReadoutIcon(int row) {
  const QSize size(16, 14);
  switch (row) {
    case 0:
      return CurvePixmap({{0, 0.2}, {0.45, 0.2}, {0.6, 0.35}, {0.75, 0.8}, {1, 0.95}}, size);
    case 1:
      return CurvePixmap({{0, 0.2}, {0.45, 0.2}, {1, 0.95}}, size);
    case 2:
      return CurvePixmap({{0, 0.15}, {0.35, 0.2}, {0.65, 0.8}, {1, 0.85}}, size);
    default:
      return CurvePixmap({{0, 0.75}, {0.35, 0.65}, {0.5, 0.2}, {0.65, 0.65}, {1, 0.8}}, size);
  }
}

// The icon of resources/icons/morvane.svg in the sizes of the icon theme, built into the
// program (cmake/program_icon.cmake).
QIcon ProgramIcon() {
  QIcon icon;
  QDirIterator sizes(":/icons", {"morvane-*.png"}, QDir::Files);
  while (sizes.hasNext()) icon.addFile(sizes.next());
  return icon;
}

}  // namespace morvane::gui
