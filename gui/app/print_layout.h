#pragma once

// Where a window's picture goes on a printed page: as large as the page allows with its
// proportions kept, at the page's top-left corner.

#include <QRect>
#include <QSize>

class QImage;
class QPaintDevice;

namespace morvane::gui {

// The picture's place on `page` (the printable area, in device pixels). Fits the page height
// when the width scaled to it still fits, the page width otherwise.
QRect PrintedPictureRect(QSize picture, QRect page);

// Paints the picture on one page of `device` (a printer or a PDF writer). False when the
// device cannot be painted on.
bool PaintPictureOnPage(QPaintDevice& device, const QImage& picture);

}  // namespace morvane::gui
