#pragma once

// The LC resonant circuits window (morvane-lc): a series or parallel circuit; of f0, L and C
// the two given compute the third; a loss (a resistance, or the coil's Q at f0) gives the
// circuit's Q, bandwidth and impedance at resonance; the reactances of L and C at a frequency
// the user enters; the impedance magnitude and phase over frequency on the plot engine. Every
// keystroke computes anew; a bad entry shows its message.

#include <QWidget>

#include "resonance/resonant_circuit.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace morvane::gui {

class GraphImage;

class LcWindow : public QWidget {
  Q_OBJECT

 public:
  explicit LcWindow(QWidget* parent = nullptr);

  void Recalculate();
  const Resonance& Result() const { return result_; }
  QString Message() const;

 private:
  void BuildControls();
  QWidget* BuildResults();
  void ShowUnknown();
  void ShowResults(double reactanceFrequency);
  void DrawGraphs();

  Resonance result_;
  QComboBox* circuitChoice_ = nullptr;
  QComboBox* unknown_ = nullptr;
  QLineEdit* f0_ = nullptr;
  QLineEdit* l_ = nullptr;
  QLineEdit* c_ = nullptr;
  QComboBox* loss_ = nullptr;
  QLineEdit* lossValue_ = nullptr;
  QLabel* lossLabel_ = nullptr;
  QLineEdit* frequency_ = nullptr;
  QLabel* message_ = nullptr;
  QLabel* note_ = nullptr;
  QLineEdit* q_ = nullptr;
  QLineEdit* bandwidth_ = nullptr;
  QLineEdit* lossR_ = nullptr;
  QLineEdit* impedanceAtF0_ = nullptr;
  QLineEdit* zeroPhase_ = nullptr;
  QLineEdit* xl_ = nullptr;
  QLineEdit* xc_ = nullptr;
  GraphImage* magnitude_ = nullptr;
  GraphImage* phase_ = nullptr;
};

}  // namespace morvane::gui
