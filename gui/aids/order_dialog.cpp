#include "aids/order_dialog.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "aids/filter_order.h"
#include "aids/tolerance_scheme.h"
#include "app/window_look.h"

namespace morvane::gui {

namespace {

constexpr int kEntryWidth = 72;
const QString kRegionHint = "Input for information needed to perform calculations";

struct EntryRow {
  const char* band;  // heading above the first row of a band, else null
  std::string_view field;
  const char* label;
  const char* unit;
};

constexpr EntryRow kEntryRows[] = {
    {"Pass Band:", order_field::f1Eingabe, "Frequency f1", "Hz"},
    {nullptr, order_field::d1Eingabe, "Damping at f1", "dB"},
    {"Stop Band:", order_field::f2Eingabe, "Frequency f2", "Hz"},
    {nullptr, order_field::d2Eingabe, "Damping at f2", "dB"},
};

// A raised region with its maroon heading; children go into the returned grid.
QGridLayout* MakeRegionGrid(const QString& name, const QString& heading, QWidget*& region,
                            QWidget* parent) {
  region = MakeRegion(name, kRegionHint, parent);
  auto* grid = new QGridLayout(region);
  grid->setContentsMargins(8, 4, 8, 8);
  grid->setVerticalSpacing(4);
  grid->addWidget(MakeHeading(heading, region), 0, 0, 1, -1);
  return grid;
}

bool SameScheme(const OrderCalculatorInputs& a, const OrderCalculatorInputs& b) {
  return a.OrderF1 == b.OrderF1 && a.OrderD1 == b.OrderD1 && a.OrderF2 == b.OrderF2 &&
         a.OrderD2 == b.OrderD2;
}

}  // namespace

OrderDialog::OrderDialog(DesignState& state, QWidget* parent)
    : QDialog(parent), scheme_(state.order) {
  setObjectName("TOrdDlg");
  setWindowTitle("Lowpass Filter Order");
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kSilver);
  setPalette(colours);

  // Built in tab order: the entries first, the buttons last.
  QWidget* input = BuildInputRegion();
  QWidget* type = BuildTypeRegion();
  QWidget* output = BuildOutputRegion();
  problem_ = new QLabel(this);
  problem_->setObjectName("OrderProblem");
  problem_->setWordWrap(true);
  problem_->setMinimumHeight(problem_->fontMetrics().height());
  QPalette warning = problem_->palette();
  warning.setColor(QPalette::WindowText, kMaroon);
  problem_->setPalette(warning);
  auto* note = new QLabel(
      "Steeper filter edges are possible placing zeroes in stop band region (Cauer Filters)", this);
  note->setObjectName("NoteLabel");
  note->setWordWrap(true);

  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("OKBtn");
  ok_->setDefault(true);
  SetHint(ok_, "Take the scheme over into the multi-stage window, if open, and close");
  connect(ok_, &QPushButton::clicked, this, &OrderDialog::Accept);
  auto* close = new QPushButton("Close", this);
  close->setObjectName("CancelBtn");
  SetHint(close, "Quit menu");
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  multiStage_ = new QPushButton("Multi-stage Filter…", this);
  multiStage_->setObjectName("MultiStageBtn");
  SetHint(multiStage_, "Design the whole filter of this order as a chain of sections");
  connect(multiStage_, &QPushButton::clicked, this, &OrderDialog::HandOverScheme);

  auto* lower = new QHBoxLayout;
  lower->addWidget(type);
  lower->addWidget(output, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(multiStage_);
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(input);
  layout->addWidget(problem_);
  layout->addLayout(lower);
  layout->addWidget(note);
  layout->addLayout(buttons);
}

QWidget* OrderDialog::BuildInputRegion() {
  QWidget* region = nullptr;
  QGridLayout* grid = MakeRegionGrid("InputPanel", "Input", region, this);
  int row = 1;
  for (const EntryRow& e : kEntryRows) {
    if (e.band) grid->addWidget(new QLabel(e.band, region), row++, 0, 1, 3);
    const QString name = Text(e.field);
    grid->addWidget(MakeLabel("Label" + QString(name).remove("Eingabe"), e.label, {}, region), row,
                    0);
    QLineEdit* entry = MakeEntryField(e.field, kEntryWidth, region);
    entries_[e.field] = entry;
    connect(entry, &QLineEdit::textChanged, this, [this] {
      if (!writing_) ComputeOrder();
    });
    grid->addWidget(entry, row, 1);
    grid->addWidget(new QLabel(e.unit, region), row++, 2);
  }
  grid->setColumnMinimumWidth(3, 12);
  grid->addWidget(new ToleranceSchemePicture(region), 1, 4, row - 1, 1, Qt::AlignCenter);
  return region;
}

QWidget* OrderDialog::BuildTypeRegion() {
  QWidget* region = nullptr;
  QGridLayout* grid = MakeRegionGrid("TypePanel", "Type", region, this);
  auto* butterworth = new QRadioButton("Butterworth", region);
  butterworth->setObjectName("RadioButtonB");
  butterworth->setChecked(true);
  chebyshev_ = new QRadioButton("Chebyshev", region);
  chebyshev_->setObjectName("RadioButtonT");
  auto* group = new QButtonGroup(region);
  group->addButton(butterworth);
  group->addButton(chebyshev_);
  connect(group, &QButtonGroup::buttonClicked, this, &OrderDialog::ComputeOrder);
  grid->addWidget(butterworth, 1, 0);
  grid->addWidget(chebyshev_, 2, 0);
  return region;
}

QWidget* OrderDialog::BuildOutputRegion() {
  QWidget* region = nullptr;
  QGridLayout* grid = MakeRegionGrid("OutputPanel", "Output", region, this);
  grid->addWidget(new QLabel("Minimum Filter Order", region), 1, 0, 1, 2);
  N_ = MakeResultField(order_field::NAusgabe, kEntryWidth, region);
  nr_ = MakeResultField(order_field::nrAusgabe, kEntryWidth, region);
  N_->setText("        -");
  nr_->setText("        -");
  grid->addWidget(N_, 2, 0);
  grid->addWidget(nr_, 2, 1);
  grid->setColumnStretch(2, 1);
  return region;
}

void OrderDialog::FormActivate() {
  if (!fromFields_ || !SameScheme(*fromFields_, scheme_)) {
    writing_ = true;
    for (const OrderFieldText& f : OrderEntryTexts(scheme_)) {
      entries_.at(f.field)->setText(QString::fromStdString(f.text));
    }
    writing_ = false;
  }
  ComputeOrder();
}

void OrderDialog::ComputeOrder() {
  const auto text = [this](std::string_view field) {
    return entries_.at(field)->text().toStdString();
  };
  const std::string f1 = text(order_field::f1Eingabe);
  const std::string d1 = text(order_field::d1Eingabe);
  const std::string f2 = text(order_field::f2Eingabe);
  const std::string d2 = text(order_field::d2Eingabe);
  const OrderSchemeReading reading = ReadOrderScheme({f1, d1, f2, d2});
  const OrderResult result =
      morvane::ComputeOrder(reading.scheme, CheckedApproximation() == Approximation::Chebyshev
                                                ? OrderApproximation::Chebyshev
                                                : OrderApproximation::Butterworth);
  const bool possible = reading.problem.empty();
  N_->setText(QString::fromStdString(possible ? result.NAusgabe : "        -"));
  nr_->setText(QString::fromStdString(possible ? result.nrAusgabe : "        -"));
  problem_->setText(QString::fromStdString(reading.problem));
  ok_->setEnabled(possible);
  multiStage_->setEnabled(possible);
  // Only a possible scheme is kept: the tolerance window and the next opening use it.
  if (possible) {
    scheme_ = reading.scheme;
    fromFields_ = reading.scheme;
  }
}

Approximation OrderDialog::CheckedApproximation() const {
  return chebyshev_->isChecked() ? Approximation::Chebyshev : Approximation::Butterworth;
}

int OrderDialog::LeastOrderShown() const {
  const OrderResult result =
      morvane::ComputeOrder(scheme_, CheckedApproximation() == Approximation::Chebyshev
                                         ? OrderApproximation::Chebyshev
                                         : OrderApproximation::Butterworth);
  return static_cast<int>(std::min(result.nr, 1e9));
}

void OrderDialog::HandOverScheme() {
  ComputeOrder();
  if (!problem_->text().isEmpty()) return;
  emit multiStageFilterRequested(
      CheckedApproximation(), {scheme_.OrderF1, scheme_.OrderD1, scheme_.OrderF2, scheme_.OrderD2},
      LeastOrderShown());
}

void OrderDialog::Accept() {
  ComputeOrder();
  if (!problem_->text().isEmpty()) return;
  emit schemeAccepted(CheckedApproximation(),
                      {scheme_.OrderF1, scheme_.OrderD1, scheme_.OrderF2, scheme_.OrderD2},
                      LeastOrderShown());
  close();
}

void OrderDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Filled on showing too: a window manager may show the dialog without activating it.
  FormActivate();
  // "Close" keeps the focus from the last closing; Enter must mean OK again.
  entries_.at(order_field::f1Eingabe)->setFocus();
}

void OrderDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

}  // namespace morvane::gui
