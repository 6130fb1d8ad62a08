#pragma once

// The picture of a lowpass tolerance scheme beside the order entries: attenuation over
// frequency, the pass band up to f1 and the stop band from f2 with their forbidden areas
// hatched, and a response that just fits between them.

#include <QWidget>

namespace morvane::gui {

class ToleranceSchemePicture : public QWidget {
  Q_OBJECT

 public:
  explicit ToleranceSchemePicture(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace morvane::gui
