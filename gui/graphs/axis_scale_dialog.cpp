#include "graphs/axis_scale_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/platform_services.h"
#include "graphs/axis_rounding.h"
#include "graphs/dialog_placement.h"
#include "graphs/held_value.h"
#include "numerics/step_rounding.h"
#include "numerics/value_text.h"
#include "ui/spin_button.h"

namespace morvane::gui {

AxisScaleDialog::AxisScaleDialog(PlatformServices& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
  setObjectName("XmaxDlg1");
  setWindowTitle("Axis Scale");
  namenLabel_ = new QLabel("xmax=", this);
  namenLabel_->setObjectName("NamenLabel");
  edit_ = new QLineEdit(this);
  edit_->setObjectName("Edit");
  edit_->setFixedWidth(80);
  spinButton_ = new SpinButton("SpinButton", "", this);
  okBtn_ = new QPushButton("OK", this);
  okBtn_->setObjectName("OKBtn");
  okBtn_->setDefault(true);
  cancelBtn_ = new QPushButton("Cancel", this);
  cancelBtn_->setObjectName("CancelBtn");

  auto* layout = new QGridLayout(this);
  layout->addWidget(namenLabel_, 0, 0);
  layout->addWidget(edit_, 0, 1);
  layout->addWidget(spinButton_, 0, 2);
  layout->addWidget(okBtn_, 1, 0, 1, 2);
  layout->addWidget(cancelBtn_, 2, 0, 1, 2);
  setFixedSize(sizeHint());

  connect(edit_, &QLineEdit::textEdited, this, &AxisScaleDialog::EditChange);
  connect(spinButton_, &SpinButton::up, this, &AxisScaleDialog::SpinButtonUpClick);
  connect(spinButton_, &SpinButton::down, this, &AxisScaleDialog::SpinButtonDownClick);
  connect(okBtn_, &QPushButton::clicked, this, &AxisScaleDialog::accept);
  connect(cancelBtn_, &QPushButton::clicked, this, &AxisScaleDialog::reject);
}

void AxisScaleDialog::Prepare(const QString& label, double value, double lower, double upper) {
  namenLabel_->setText(label);
  value_ = value;
  lower_ = lower;
  upper_ = upper;
  savedValue_ = value_;
  ShowValue(7, 2);
  edit_->selectAll();
  edit_->setFocus();
}

double AxisScaleDialog::Ask(const QString& label, double value, double lower, double upper,
                            QPoint topLeft) {
  Prepare(label, value, lower, upper);
  PlaceOnScreen(*this, topLeft);
  exec();
  return value_;
}

// The value typed, spun or shown; not the text read back, which would round a value the user
// left alone to the digits shown.
void AxisScaleDialog::accept() {
  value_ = HeldWithin(value_, lower_, upper_);
  QDialog::accept();
}

// Cancel, Escape and the close box alike give back the value the dialog was shown with.
void AxisScaleDialog::reject() {
  value_ = savedValue_;
  ShowValue(7, 2);
  QDialog::reject();
}

void AxisScaleDialog::EditChange(const QString& text) {
  const double read = ReadValue(text.toStdString());
  if (read < lower_ || read > upper_) platform_.Beep();
  value_ = HeldWithin(read, lower_, upper_);
}

// Spinning steps by about one percent to two significant digits; from 0 it starts at a
// thousandth of the range. A negative value steps as the mirror image, so that up always
// raises the value (-60 goes to -59, not -61). The limits apply only when the value is taken.
void AxisScaleDialog::SpinButtonUpClick() {
  if (value_ > 0.0) {
    value_ = CeilTwoDigits(1.01 * value_);
  } else if (value_ < 0.0) {
    value_ = -FloorTwoDigits(-value_ / 1.01);
  } else {
    value_ = CeilOneDigit(0.001 * upper_);
  }
  ShowValue(6, 1);
}

void AxisScaleDialog::SpinButtonDownClick() {
  if (value_ > 0.0) {
    value_ = FloorTwoDigits(value_ / 1.01);
  } else if (value_ < 0.0) {
    value_ = -CeilTwoDigits(-1.01 * value_);
  } else {
    value_ = lower_ >= 0.0 ? FloorOneDigit(0.001 * upper_) : -FloorOneDigit(0.001 * -lower_);
  }
  ShowValue(6, 1);
}

void AxisScaleDialog::ShowValue(int width, int decimals) {
  edit_->setText(QString::fromStdString(" " + FormatValue(width, decimals, value_)));
}

}  // namespace morvane::gui
