#pragma once

// A control that paints a banded colour gradient from left to right: a row of equal upright
// bands, each one step further from the begin colour towards the end colour.

#include <QColor>
#include <QWidget>

namespace morvane::gui {

class GradientFill : public QWidget {
  Q_OBJECT

 public:
  explicit GradientFill(QWidget* parent = nullptr);

  void SetColours(const QColor& begin, const QColor& end);
  // At least one band; one band is the begin colour alone.
  void SetBands(int bands);
  int Bands() const { return bands_; }

  // Colour of band 0 .. Bands() - 1: the first is the begin colour, the last the end colour.
  QColor BandColour(int band) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor begin_{255, 255, 0};
  QColor end_{128, 128, 0};
  int bands_ = 64;
};

}  // namespace morvane::gui
