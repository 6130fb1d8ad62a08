#include "graphs/graph_image.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

namespace morvane::gui {

GraphImage::GraphImage(QWidget* parent) : QWidget(parent) {
  setObjectName("Image");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::CrossCursor);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setMinimumSize(1, 1);
}

void GraphImage::FitBitmap() {
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = (QSizeF(size()) * ratio).toSize();
  if (bitmap_.size() == pixels && bitmap_.devicePixelRatio() == ratio) return;
  bitmap_ = QImage(pixels, QImage::Format_RGB32);
  bitmap_.setDevicePixelRatio(ratio);
  bitmap_.fill(Qt::white);
}

void GraphImage::ShowRubberBand(QPoint from, QPoint to) {
  if (!rubberBand_) rubberBand_ = new QRubberBand(QRubberBand::Rectangle, this);
  rubberBand_->setGeometry(QRect(from, to).normalized());
  rubberBand_->show();
}

void GraphImage::HideRubberBand() {
  if (rubberBand_) rubberBand_->hide();
}

void GraphImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.drawImage(0, 0, bitmap_);
}

void GraphImage::resizeEvent(QResizeEvent*) {
  emit resized();
}

void GraphImage::mouseMoveEvent(QMouseEvent* event) {
  emit mouseMoved(event->position().toPoint());
}

void GraphImage::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (event->button() == Qt::LeftButton) emit leftPressed(p);
  if (event->button() == Qt::RightButton) emit rightPressed(p);
}

void GraphImage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) emit rightReleased(event->position().toPoint());
}

void GraphImage::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit doubleClicked(event->position().toPoint());
}

void GraphImage::enterEvent(QEnterEvent*) {
  emit entered();
}

}  // namespace morvane::gui
