#include "graphs/sweep_mode_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/platform_services.h"
#include "graphs/dialog_placement.h"
#include "graphs/held_value.h"
#include "numerics/step_rounding.h"
#include "numerics/value_text.h"
#include "ui/spin_button.h"

namespace morvane::gui {

SweepModeDialog::SweepModeDialog(PlatformServices& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
  setObjectName("AbstimmDlg");
  setWindowTitle("Sweep Mode");
  x1Label_ = new QLabel("fg=", this);
  x1Label_->setObjectName("x1Label");
  x2Label_ = new QLabel("Q=", this);
  x2Label_->setObjectName("x2Label");
  x1Entry_ = {nullptr, &x1_, kX1Limits, kSpinFactor};
  x2Entry_ = {nullptr, &x2_, kX2Limits, kSpinFactor};

  auto* layout = new QGridLayout(this);
  setLayout(layout);
  AddEntry(0, x1Label_, "x1Eingabe", "SpinButton1", x1Entry_);
  x2Spin_ = AddEntry(1, x2Label_, "x2Eingabe", "SpinButton2", x2Entry_);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKBtn");
  auto* close = new QPushButton("Close", this);
  close->setObjectName("CancelBtn");
  auto* draw = new QPushButton("Draw", this);
  draw->setObjectName("ZeichenBtn");
  draw->setToolTip("Redraw graphic");
  draw->setDefault(true);
  layout->addWidget(draw, 2, 0, 1, 3);
  layout->addWidget(ok, 3, 0, 1, 3);
  layout->addWidget(close, 4, 0, 1, 3);
  setFixedSize(sizeHint());

  connect(ok, &QPushButton::clicked, this, &SweepModeDialog::accept);
  connect(close, &QPushButton::clicked, this, &SweepModeDialog::reject);
  connect(draw, &QPushButton::clicked, this, &SweepModeDialog::ZeichenBtnClick);
}

QWidget* SweepModeDialog::AddEntry(int row, QLabel* label, const QString& name,
                                   const QString& spinName, Entry& entry) {
  auto* grid = static_cast<QGridLayout*>(layout());
  entry.edit = new QLineEdit(this);
  entry.edit->setObjectName(name);
  entry.edit->setFixedWidth(80);
  auto* spin = new SpinButton(spinName, "", this);
  grid->addWidget(label, row, 0);
  grid->addWidget(entry.edit, row, 1);
  grid->addWidget(spin, row, 2);
  connect(entry.edit, &QLineEdit::textEdited, this,
          [this, &entry](const QString& text) { EntryChange(entry, text); });
  connect(spin, &SpinButton::up, this, [this, &entry] { Spin(entry, true); });
  connect(spin, &SpinButton::down, this, [this, &entry] { Spin(entry, false); });
  return spin;
}

void SweepModeDialog::Prepare(GraphKind target, const QString& x1Label, double x1, double x2) {
  Prepare(target, {{x1Label, x1, kX1Limits.lower, kX1Limits.upper},
                   SweepValue{"Q=", x2, kX2Limits.lower, kX2Limits.upper}});
}

void SweepModeDialog::Prepare(GraphKind target, const SweepValues& values) {
  target_ = target;
  const SweepValue second = values.second.value_or(SweepValue{{}, 0.0, 0.0, 0.0});
  x1Label_->setText(values.first.label);
  x2Label_->setText(second.label);
  x1Entry_.limits = {values.first.lower, values.first.upper};
  x2Entry_.limits = {second.lower, second.upper};
  x1Entry_.factor = kSpinFactor;
  x2Entry_.factor = kSpinFactor;
  x1_ = values.first.value;
  x2_ = second.value;
  x1Saved_ = x1_;
  x2Saved_ = x2_;
  ShowValue(x1Entry_);
  ShowValue(x2Entry_);
  for (QWidget* w :
       {static_cast<QWidget*>(x2Label_), static_cast<QWidget*>(x2Entry_.edit), x2Spin_}) {
    w->setVisible(values.second.has_value());
  }
  layout()->activate();
  setFixedSize(sizeHint());
}

void SweepModeDialog::Run(GraphKind target, const QString& x1Label, double x1, double x2,
                          QPoint topLeft) {
  Prepare(target, x1Label, x1, x2);
  PlaceOnScreen(*this, topLeft);
  exec();
}

void SweepModeDialog::Run(GraphKind target, const SweepValues& values, QPoint topLeft) {
  Prepare(target, values);
  PlaceOnScreen(*this, topLeft);
  exec();
}

void SweepModeDialog::accept() {
  TakeEntries();
  QDialog::accept();
}

// Close, Escape and the close box alike give back the values the dialog was shown with.
void SweepModeDialog::reject() {
  x1_ = x1Saved_;
  x2_ = x2Saved_;
  ShowValue(x1Entry_);
  ShowValue(x2Entry_);
  QDialog::reject();
}

void SweepModeDialog::EntryChange(Entry& entry, const QString& text) {
  const double read = ReadValue(text.toStdString());
  if (read < entry.limits.lower || read > entry.limits.upper) platform_.Beep();
  *entry.value = HeldWithin(read, entry.limits.lower, entry.limits.upper);
}

// Spinning does not apply the limits; Draw and OK do.
void SweepModeDialog::Spin(Entry& entry, bool up) {
  if (up) {
    StepUp(*entry.value, entry.factor);
  } else {
    StepDown(*entry.value, entry.factor);
  }
  ShowValue(entry);
}

// The values typed, spun or shown, held within their limits. A value that had to be held is
// shown as it is used. Not the texts read back: they would round a value left alone to the
// digits shown.
void SweepModeDialog::TakeEntries() {
  for (Entry* entry : {&x1Entry_, &x2Entry_}) {
    const double held = HeldWithin(*entry->value, entry->limits.lower, entry->limits.upper);
    if (held != *entry->value) {
      *entry->value = held;
      ShowValue(*entry);
    }
  }
}

void SweepModeDialog::ShowValue(const Entry& entry) {
  entry.edit->setText(QString::fromStdString(" " + FormatValue(7, 2, *entry.value)));
}

void SweepModeDialog::ZeichenBtnClick() {
  TakeEntries();
  emit drawRequested(target_, x1_, x2_);
}

}  // namespace morvane::gui
