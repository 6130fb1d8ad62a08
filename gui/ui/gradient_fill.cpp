#include "ui/gradient_fill.h"

#include <QPainter>
#include <algorithm>

namespace morvane::gui {

namespace {

int Between(int from, int to, int step, int steps) {
  return from + (to - from) * step / steps;
}

}  // namespace

GradientFill::GradientFill(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientFill::SetColours(const QColor& begin, const QColor& end) {
  begin_ = begin;
  end_ = end;
  update();
}

void GradientFill::SetBands(int bands) {
  bands_ = std::max(1, bands);
  update();
}

QColor GradientFill::BandColour(int band) const {
  if (bands_ == 1) return begin_;
  const int step = std::clamp(band, 0, bands_ - 1);
  const int last = bands_ - 1;
  return QColor(Between(begin_.red(), end_.red(), step, last),
                Between(begin_.green(), end_.green(), step, last),
                Between(begin_.blue(), end_.blue(), step, last));
}

void GradientFill::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int w = width();
  // Band edges from whole-number division, so the bands tile the width without a gap.
  for (int band = 0; band < bands_; ++band) {
    const int left = band * w / bands_;
    const int right = (band + 1) * w / bands_;
    if (right > left) p.fillRect(left, 0, right - left, height(), BandColour(band));
  }
}

}  // namespace morvane::gui
