#pragma once

// The plot engine's canvas on a QImage. One canvas paints one drawing: it holds the painter
// open from construction to destruction, so the image must outlive it and must not be
// resized meanwhile.

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "graphs/canvas.h"

namespace morvane::render {

class QPainterCanvas : public Canvas {
 public:
  explicit QPainterCanvas(QImage& image);
  ~QPainterCanvas() override;
  QPainterCanvas(const QPainterCanvas&) = delete;
  QPainterCanvas& operator=(const QPainterCanvas&) = delete;

  // The bold sans-serif face of the graphs.
  static QFont GraphFont();

  int Width() const override;
  int Height() const override;

  Pen CurrentPen() const override { return pen_; }
  void SetPen(const Pen& pen) override;
  void SetBrushColour(Colour colour) override;
  void SetFontColour(Colour colour) override;
  void SetFontAngle(int tenthsOfDegree) override { angle_ = tenthsOfDegree; }

  void Line(int x0, int y0, int x1, int y1) override;
  void FillRect(int x0, int y0, int x1, int y1) override;
  void Rectangle(int x0, int y0, int x1, int y1) override;
  void Ellipse(int x0, int y0, int x1, int y1) override;
  void Text(int x, int y, std::string_view text) override;
  TextSize TextExtent(std::string_view text) const override;

 private:
  QImage& image_;
  QPainter painter_;
  QFontMetrics metrics_;
  Pen pen_;
  QColor brush_ = Qt::white;
  QColor fontColour_ = Qt::black;
  int angle_ = 0;
};

}  // namespace morvane::render
