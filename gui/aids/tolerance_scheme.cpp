#include "aids/tolerance_scheme.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace morvane::gui {

namespace {

// Geometry of the picture in pixels: axes, band edges and attenuation levels.
constexpr QSize kSize{150, 110};
constexpr int kLeft = 10, kRight = 142, kTop = 6, kAxisY = 88;
constexpr int kF1 = 62, kF2 = 96;
constexpr int kPassLevel = 14, kStopLevel = 64;  // 0 dB is kTop + 4

QLabel* EdgeLabel(const char* text, int x, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString("LabelScheme") + text);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label->setGeometry(x - 15, kAxisY + 3, 30, 16);
  return label;
}

}  // namespace

ToleranceSchemePicture::ToleranceSchemePicture(QWidget* parent) : QWidget(parent) {
  setFixedSize(kSize);
  EdgeLabel("f1", kF1, this);
  EdgeLabel("f2", kF2, this);
}

void ToleranceSchemePicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setPen(Qt::gray);
  p.drawRect(rect().adjusted(0, 0, -1, -1));

  // Forbidden areas: below the pass-band limit up to f1, above the stop-band limit from f2.
  const QBrush hatch(QColor(128, 0, 0), Qt::BDiagPattern);
  p.fillRect(QRect(QPoint(kLeft + 1, kPassLevel), QPoint(kF1, kAxisY - 1)), hatch);
  p.fillRect(QRect(QPoint(kF2, kTop), QPoint(kRight, kStopLevel)), hatch);
  p.setPen(QPen(QColor(128, 0, 0), 1));
  p.drawLine(kLeft, kPassLevel, kF1, kPassLevel);
  p.drawLine(kF1, kPassLevel, kF1, kAxisY);
  p.drawLine(kF2, kTop, kF2, kStopLevel);
  p.drawLine(kF2, kStopLevel, kRight, kStopLevel);

  // A response that stays inside the pass band and has fallen far enough at f2.
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath response(QPointF(kLeft, kTop + 4));
  response.cubicTo(QPointF(kF1 - 10, kTop + 4), QPointF(kF1, kPassLevel - 2),
                   QPointF((kF1 + kF2) / 2.0, (kPassLevel + kStopLevel) / 2.0));
  response.cubicTo(QPointF(kF2 - 4, kStopLevel + 8), QPointF(kF2 + 12, kAxisY - 8),
                   QPointF(kRight, kAxisY - 4));
  p.setPen(QPen(QColor(0, 0, 128), 1.5));
  p.drawPath(response);
  p.setRenderHint(QPainter::Antialiasing, false);

  // Axes: frequency to the right, attenuation downwards.
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(kLeft, kTop - 2, kLeft, kAxisY);
  p.drawLine(kLeft, kAxisY, kRight + 4, kAxisY);
  p.drawLine(kRight + 4, kAxisY, kRight, kAxisY - 3);
  p.drawLine(kRight + 4, kAxisY, kRight, kAxisY + 3);
  p.drawLine(kF1, kAxisY, kF1, kAxisY + 3);
  p.drawLine(kF2, kAxisY, kF2, kAxisY + 3);
}

}  // namespace morvane::gui
