#include "app/print_layout.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>

namespace morvane::gui {

QRect PrintedPictureRect(QSize picture, QRect page) {
  if (picture.isEmpty() || page.isEmpty()) return {};
  const qint64 width = picture.width(), height = picture.height();
  const qint64 pageWidth = page.width(), pageHeight = page.height();
  const qint64 widthAtPageHeight = width * pageHeight / height;
  if (widthAtPageHeight < pageWidth) {
    return {page.topLeft(), QSize(static_cast<int>(widthAtPageHeight), page.height())};
  }
  return {page.topLeft(), QSize(page.width(), static_cast<int>(height * pageWidth / width))};
}

bool PaintPictureOnPage(QPaintDevice& device, const QImage& picture) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  // The painter's origin is the top-left corner of the printable area.
  const QRect page(0, 0, device.width(), device.height());
  painter.drawImage(PrintedPictureRect(picture.size(), page), picture);
  return painter.end();
}

}  // namespace morvane::gui
