#pragma once

// The filter order dialog: the least order of a Butterworth or Chebyshev lowpass for a
// tolerance scheme. Modeless; the order is worked out from what the four fields show, and a
// possible scheme is kept in the design state (nothing of the design itself changes).

#include <QDialog>
#include <map>
#include <optional>
#include <string_view>

#include "design/design_state.h"
#include "filters/least_order.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace morvane::gui {

class OrderDialog : public QDialog {
  Q_OBJECT

 public:
  explicit OrderDialog(DesignState& state, QWidget* parent = nullptr);

  // Each activation: the four entries written from the kept scheme when it is not the one
  // they last gave (at the first opening), then the order.
  void FormActivate();
  // Reads the four fields and writes NAusgabe, nrAusgabe and the problem line.
  void ComputeOrder();

 signals:
  // "Multi-stage Filter…": the checked approximation, the scheme (f1, d1, f2, d2) and the least
  // order shown (0 when the scheme has none), for a whole filter of that order.
  void multiStageFilterRequested(morvane::Approximation approximation,
                                 const morvane::ToleranceScheme& scheme, int leastOrder);
  // OK on a possible scheme, just before the dialog closes: the same, for a multi-stage
  // window already made.
  void schemeAccepted(morvane::Approximation approximation, const morvane::ToleranceScheme& scheme,
                      int leastOrder);

 protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* BuildInputRegion();
  QWidget* BuildTypeRegion();
  QWidget* BuildOutputRegion();
  void HandOverScheme();
  void Accept();
  Approximation CheckedApproximation() const;
  int LeastOrderShown() const;

  OrderCalculatorInputs& scheme_;
  // The scheme the fields gave last; the kept one differs only before the first opening.
  std::optional<OrderCalculatorInputs> fromFields_;
  bool writing_ = false;
  std::map<std::string_view, QLineEdit*> entries_;
  QRadioButton* chebyshev_ = nullptr;
  QLineEdit* N_ = nullptr;
  QLineEdit* nr_ = nullptr;
  QLabel* problem_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* multiStage_ = nullptr;
};

}  // namespace morvane::gui
