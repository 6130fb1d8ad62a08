#include "graphs/qpainter_canvas.h"

#include <QPen>
#include <QRect>
#include <QString>
#include <algorithm>

namespace morvane::render {

namespace {

QColor ToQColor(Colour c) {
  return QColor(c.r, c.g, c.b);
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The rectangle from one corner up to, not including, the other, whichever way round they
// come; empty when the corners share a row or a column.
QRect Span(int x0, int y0, int x1, int y1) {
  const int left = std::min(x0, x1);
  const int top = std::min(y0, y1);
  return QRect(left, top, std::max(x0, x1) - left, std::max(y0, y1) - top);
}

}  // namespace

QPainterCanvas::QPainterCanvas(QImage& image)
    : image_(image), painter_(&image), metrics_(GraphFont(), &image) {
  // Pixel-exact like the bitmap it stands for: no smoothing of lines and outlines.
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setFont(GraphFont());
  SetPen(pen_);
  painter_.setBrush(brush_);
}

QPainterCanvas::~QPainterCanvas() = default;

QFont QPainterCanvas::GraphFont() {
  QFont font;
  font.setFamilies({"Microsoft Sans Serif", "DejaVu Sans", "Arial", "Helvetica"});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  font.setBold(true);
  return font;
}

// In the image's own coordinates: a bitmap for a 2x screen has twice the pixels of the
// picture drawn into it.
int QPainterCanvas::Width() const {
  return qRound(image_.deviceIndependentSize().width());
}

int QPainterCanvas::Height() const {
  return qRound(image_.deviceIndependentSize().height());
}

void QPainterCanvas::SetPen(const Pen& pen) {
  pen_ = pen;
  QPen qpen(ToQColor(pen.colour));
  // One pixel of the picture: two device pixels wide on a 2x bitmap.
  const double width = pen.style == PenStyle::Wide ? 3.0 : pen.style == PenStyle::Bold ? 2.0 : 1.0;
  qpen.setWidthF(width * std::max(1.0, image_.devicePixelRatio()));
  qpen.setCosmetic(true);
  if (pen.style == PenStyle::Dotted) qpen.setDashPattern({1.0, 2.0});
  painter_.setPen(qpen);
}

void QPainterCanvas::SetBrushColour(Colour colour) {
  brush_ = ToQColor(colour);
  painter_.setBrush(brush_);
}

void QPainterCanvas::SetFontColour(Colour colour) {
  fontColour_ = ToQColor(colour);
}

void QPainterCanvas::Line(int x0, int y0, int x1, int y1) {
  // A cosmetic one-pixel line of the raster engine includes its last pixel.
  painter_.drawLine(x0, y0, x1, y1);
}

void QPainterCanvas::FillRect(int x0, int y0, int x1, int y1) {
  const QRect r = Span(x0, y0, x1, y1);
  if (!r.isEmpty()) painter_.fillRect(r, brush_);
}

void QPainterCanvas::Rectangle(int x0, int y0, int x1, int y1) {
  // A one-pixel outline of w x h pixels is drawn by a rectangle one pixel smaller.
  const QRect r = Span(x0, y0, x1, y1);
  if (!r.isEmpty()) painter_.drawRect(r.adjusted(0, 0, -1, -1));
}

void QPainterCanvas::Ellipse(int x0, int y0, int x1, int y1) {
  const QRect r = Span(x0, y0, x1, y1);
  if (!r.isEmpty()) painter_.drawEllipse(r.adjusted(0, 0, -1, -1));
}

void QPainterCanvas::Text(int x, int y, std::string_view text) {
  const QString s = ToQString(text);
  const QRect box(0, 0, metrics_.horizontalAdvance(s), metrics_.height());
  painter_.translate(x, y);
  if (angle_ != 0) painter_.rotate(-angle_ / 10.0);
  painter_.fillRect(box, brush_);
  painter_.setPen(fontColour_);
  painter_.drawText(0, metrics_.ascent(), s);
  painter_.resetTransform();
  SetPen(pen_);
}

TextSize QPainterCanvas::TextExtent(std::string_view text) const {
  return {metrics_.horizontalAdvance(ToQString(text)), metrics_.height()};
}

}  // namespace morvane::render
