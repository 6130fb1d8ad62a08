#pragma once

// The drawing surface of a graph window: shows the window's bitmap at its top-left corner
// and reports the mouse in bitmap pixels. It draws nothing itself.

#include <QImage>
#include <QWidget>

class QRubberBand;

namespace morvane::gui {

class GraphImage : public QWidget {
  Q_OBJECT

 public:
  explicit GraphImage(QWidget* parent = nullptr);

  QImage& Bitmap() { return bitmap_; }
  const QImage& Bitmap() const { return bitmap_; }
  // A white bitmap of the pixels of the screen the image is on (twice the image's size at
  // 2x), to be drawn into in the image's own coordinates; one of that size is kept as it is.
  void FitBitmap();

  // Outline of the zoom rectangle while the right button drags.
  void ShowRubberBand(QPoint from, QPoint to);
  void HideRubberBand();

 signals:
  void resized();
  void mouseMoved(QPoint pixel);
  void leftPressed(QPoint pixel);
  void rightPressed(QPoint pixel);
  void rightReleased(QPoint pixel);
  void doubleClicked(QPoint pixel);
  void entered();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;

 private:
  QImage bitmap_;
  QRubberBand* rubberBand_ = nullptr;
};

}  // namespace morvane::gui
