#include "graphs/sweep_factor_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "design/design_state.h"
#include "graphs/held_value.h"
#include "numerics/value_text.h"

namespace morvane::gui {

SweepFactorDialog::SweepFactorDialog(DesignState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
  setObjectName("SweepDlg");
  setWindowTitle("Sweep Factor");
  auto* label = new QLabel("Sweep Factor for Tuning ", this);
  // The text the program shipped with, not the state's initial 1.02.
  sweepEingabe_ = new QLineEdit("  1.05", this);
  sweepEingabe_->setObjectName("SweepEingabe");
  sweepEingabe_->setFixedWidth(80);
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKBtn");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("CancelBtn");

  auto* layout = new QGridLayout(this);
  layout->addWidget(label, 0, 0);
  layout->addWidget(sweepEingabe_, 0, 1);
  layout->addWidget(ok, 1, 0);
  layout->addWidget(cancel, 1, 1);
  setFixedSize(sizeHint());

  connect(ok, &QPushButton::clicked, this, &SweepFactorDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &SweepFactorDialog::reject);
}

void SweepFactorDialog::accept() {
  const double typed = ReadValue(sweepEingabe_->text().toStdString());
  state_.Sweep = HeldWithin(typed, kLowest, kHighest);
  // A factor held at a limit is shown as it now is, so the field never offers a factor
  // that is not in force.
  if (state_.Sweep != typed) ShowCurrentFactor();
  QDialog::accept();
}

void SweepFactorDialog::reject() {
  ShowCurrentFactor();
  QDialog::reject();
}

void SweepFactorDialog::ShowCurrentFactor() {
  sweepEingabe_->setText(QString::fromStdString(" " + FormatValue(7, 3, state_.Sweep)));
}

}  // namespace morvane::gui
