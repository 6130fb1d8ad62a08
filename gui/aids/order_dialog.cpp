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
    {"Pass Band :", order_field::f1Eingabe, "Frequency f1", "Hz"},
    {nullptr, order_field::d1Eingabe, "Damping at f1", "dB"},
    {"Stop Band :", order_field::f2Eingabe, "Frequency f2", "Hz"},
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
  auto* note = new QLabel(
      "Steeper filter edges are possible placing zeroes in stop band region (Cauer Filters)", this);
  note->setObjectName("NoteLabel");
  note->setWordWrap(true);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKBtn");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &OrderDialog::FormActivate);
  auto* close = new QPushButton("Close", this);
  close->setObjectName("CancelBtn");
  SetHint(close, "Quit menu");
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  auto* multiStage = new QPushButton("Multi-stage Filter…", this);
  multiStage->setObjectName("MultiStageBtn");
  SetHint(multiStage, "Design the whole filter of this order as a chain of sections");
  connect(multiStage, &QPushButton::clicked, this, &OrderDialog::HandOverScheme);

  auto* lower = new QHBoxLayout;
  lower->addWidget(type);
  lower->addWidget(output, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(multiStage);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(input);
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
    const std::string_view field = e.field;
    connect(entry, &QLineEdit::textChanged, this,
            [this, field](const QString& text) { EntryChange(field, text); });
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
  chebyshev_ = new QRadioButton("Chebychev", region);
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
  for (const OrderFieldText& f : OrderEntryTexts(scheme_)) {
    entries_.at(f.field)->setText(QString::fromStdString(f.text));
  }
  ComputeOrder();
}

void OrderDialog::ComputeOrder() {
  const OrderResult result =
      morvane::ComputeOrder(scheme_, chebyshev_->isChecked() ? OrderApproximation::Chebyshev
                                                             : OrderApproximation::Butterworth);
  N_->setText(QString::fromStdString(result.NAusgabe));
  nr_->setText(QString::fromStdString(result.nrAusgabe));
}

void OrderDialog::HandOverScheme() {
  const bool chebyshev = chebyshev_->isChecked();
  const OrderResult result = morvane::ComputeOrder(
      scheme_, chebyshev ? OrderApproximation::Chebyshev : OrderApproximation::Butterworth);
  emit multiStageFilterRequested(
      chebyshev ? Approximation::Chebyshev : Approximation::Butterworth,
      {scheme_.OrderF1, scheme_.OrderD1, scheme_.OrderF2, scheme_.OrderD2},
      static_cast<int>(std::min(result.nr, 1e9)));
}

void OrderDialog::EntryChange(std::string_view field, const QString& text) {
  // The text stays as typed; only the scheme takes the clamped value.
  StoreOrderEntry(field, text.toStdString(), scheme_);
  ComputeOrder();
}

void OrderDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // "Close" keeps the focus from the last closing; Enter must mean OK again.
  entries_.at(order_field::f1Eingabe)->setFocus();
}

void OrderDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

}  // namespace morvane::gui
