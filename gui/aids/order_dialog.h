#pragma once

// The filter order dialog: the least order of a Butterworth or Chebyshev lowpass for a
// tolerance scheme. Modeless; it works on the scheme kept in the design state and changes
// nothing of the design itself.

#include <QDialog>
#include <map>
#include <string_view>

#include "design/design_state.h"

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

 protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* BuildInputRegion();
  QWidget* BuildTypeRegion();
  QWidget* BuildOutputRegion();
  // A change of an entry's text, by the user or by FormActivate.
  void EntryChange(std::string_view field, const QString& text);

  OrderCalculatorInputs& scheme_;
  std::map<std::string_view, QLineEdit*> entries_;
  QRadioButton* chebyshev_ = nullptr;
  QLineEdit* N_ = nullptr;
  QLineEdit* nr_ = nullptr;
};

}  // namespace morvane::gui
