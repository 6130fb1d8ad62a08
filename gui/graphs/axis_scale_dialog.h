#pragma once

// The axis-scale dialog: one value (an axis end or the origin) edited within limits. The
// window that asks reads Value() back after the dialog closed; Cancel gives the value it
// had when shown.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace morvane::gui {

class PlatformServices;
class SpinButton;

class AxisScaleDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AxisScaleDialog(PlatformServices& platform, QWidget* parent = nullptr);

  // Sets up a showing: label ("xmax=", "yo=", ...), value and accepted range.
  void Prepare(const QString& label, double value, double lower, double upper);
  // Prepare, place the top-left corner at `topLeft` (kept on the screen), run modally,
  // return Value().
  double Ask(const QString& label, double value, double lower, double upper, QPoint topLeft);

  double Value() const { return value_; }
  double LowerLimit() const { return lower_; }
  double UpperLimit() const { return upper_; }

  void accept() override;
  void reject() override;

 private:
  void EditChange(const QString& text);
  void SpinButtonUpClick();
  void SpinButtonDownClick();
  void ShowValue(int width, int decimals);

  PlatformServices& platform_;
  QLabel* namenLabel_;
  QLineEdit* edit_;
  SpinButton* spinButton_;
  QPushButton* okBtn_;
  QPushButton* cancelBtn_;
  double value_ = 0.0;
  double lower_ = 0.0;
  double upper_ = 0.0;
  double savedValue_ = 0.0;
};

}  // namespace morvane::gui
