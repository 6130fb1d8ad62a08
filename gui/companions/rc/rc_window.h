#pragma once

// The RC filters window (morvane-rc): the circuit (first-order lowpass or highpass, the
// second-order lowpass of two sections, Wien bandpass, twin-T notch), its frequency and R or
// C (or neither), the series to round to and a load; the values to build, the as-built
// frequency and its error, the loaded frequency and pass-band gain, and the gain and phase
// graphs on the plot engine. Every keystroke designs anew; a bad entry shows its message.

#include <QWidget>

#include "rc_filters/rc_filter.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace morvane::gui {

class GraphImage;

class RcWindow : public QWidget {
  Q_OBJECT

 public:
  explicit RcWindow(QWidget* parent = nullptr);

  void Recalculate();
  const RcDesign& Design() const { return design_; }
  // The message the window shows; empty when the design stands.
  QString Message() const;

 private:
  void BuildControls();
  QWidget* BuildResults();
  void ShowResults(const RcRequest& request);
  void DrawGraphs(const RcRequest& request);

  RcDesign design_;
  QComboBox* circuit_ = nullptr;
  QLabel* frequencyLabel_ = nullptr;
  QLineEdit* frequency_ = nullptr;
  QLineEdit* r_ = nullptr;
  QLineEdit* c_ = nullptr;
  QComboBox* series_ = nullptr;
  QLineEdit* load_ = nullptr;
  QLabel* message_ = nullptr;
  QLabel* note_ = nullptr;
  QLineEdit* builtR_ = nullptr;
  QLineEdit* builtC_ = nullptr;
  QLineEdit* builtFrequency_ = nullptr;
  QLineEdit* exact_ = nullptr;
  QLabel* exactLabel_ = nullptr;
  QLineEdit* error_ = nullptr;
  QLineEdit* loadedFrequency_ = nullptr;
  QLineEdit* loadedGain_ = nullptr;
  QLabel* builtFrequencyLabel_ = nullptr;
  QLabel* loadedFrequencyLabel_ = nullptr;
  GraphImage* gain_ = nullptr;
  GraphImage* phase_ = nullptr;
};

}  // namespace morvane::gui
