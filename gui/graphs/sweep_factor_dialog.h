#pragma once

// The sweep factor dialog: sets the factor by which the main window's spin buttons step a
// value. Its field keeps the text last typed between showings.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace morvane {
struct DesignState;
}

namespace morvane::gui {

class SweepFactorDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr double kLowest = 1.0001;
  static constexpr double kHighest = 10.0;

  explicit SweepFactorDialog(DesignState& state, QWidget* parent = nullptr);

  void accept() override;
  void reject() override;

 private:
  void ShowCurrentFactor();

  DesignState& state_;
  QLineEdit* sweepEingabe_;
};

}  // namespace morvane::gui
