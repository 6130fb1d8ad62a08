#pragma once

// The filter order dialog: the least order of a Butterworth or Chebyshev lowpass for a
// tolerance scheme. Modeless; it works on the scheme kept in the design state and changes
// nothing of the design itself.

#include <QDialog>
#include <map>
#include <string_view>

#include "design/design_state.h"
#include "filters/least_order.h"

class QLineEdit;
class QRadioButton;

namespace morvane::gui {

class OrderDialog : public QDialog {
  Q_OBJECT

 public:
  explicit OrderDialog(DesignState& state, QWidget* parent = nullptr);

  // Each activation, and OK: the four entries rewritten from the scheme, then the order.
  void FormActivate();
  // Writes NAusgabe and nrAusgabe from the scheme and the checked approximation.
  void ComputeOrder();

 signals:
  // "Multi-stage Filter…": the checked approximation, the scheme (f1, d1, f2, d2) and the least
  // order shown (0 when the scheme has none), for a whole filter of that order.
  void multiStageFilterRequested(morvane::Approximation approximation,
                                 const morvane::ToleranceScheme& scheme, int leastOrder);

 protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* BuildInputRegion();
  QWidget* BuildTypeRegion();
  QWidget* BuildOutputRegion();
  // A change of an entry's text, by the user or by FormActivate.
  void EntryChange(std::string_view field, const QString& text);
  void HandOverScheme();

  OrderCalculatorInputs& scheme_;
  std::map<std::string_view, QLineEdit*> entries_;
  QRadioButton* chebyshev_ = nullptr;
  QLineEdit* N_ = nullptr;
  QLineEdit* nr_ = nullptr;
};

}  // namespace morvane::gui
