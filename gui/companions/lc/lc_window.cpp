#include "companions/lc/lc_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>
#include <complex>
#include <numbers>
#include <utility>
#include <vector>

#include "app/window_look.h"
#include "companions/companion_fields.h"
#include "graphs/graph_image.h"

namespace morvane::gui {

namespace {

constexpr int kFieldWidth = 120;
constexpr int kCurvePoints = 600;

const char* CircuitNote(ResonantCircuit circuit) {
  return circuit == ResonantCircuit::Series
             ? "L, C and the loss R in series: R is the whole series resistance."
             : "L with its loss R in series, parallel to C: R is the coil's resistance.";
}

QString ImpedanceText(std::complex<double> z) {
  return QuantityText(std::abs(z), "\u03a9") + "  \u2220 " +
         DecimalText(std::arg(z) * 180.0 / std::numbers::pi, 2, "\u00b0");
}

QString Dash() {
  return QString::fromUtf8("–");
}

}  // namespace

LcWindow::LcWindow(QWidget* parent) : QWidget(parent) {
  setObjectName("LcWindow");
  // The title the desktop shows once: the program's display name.
  setWindowTitle("Morvane LC Filters");
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kSilver);
  setPalette(colours);
  setAutoFillBackground(true);
  BuildControls();
  resize(1000, 640);
  Recalculate();
}

void LcWindow::BuildControls() {
  circuitChoice_ = new QComboBox(this);
  circuitChoice_->setObjectName("LcCircuit");
  circuitChoice_->addItems({"Series resonant circuit", "Parallel resonant circuit"});
  circuitChoice_->setCurrentIndex(1);
  unknown_ = new QComboBox(this);
  unknown_->setObjectName("LcUnknown");
  unknown_->addItems({"f0 from L and C", "L from f0 and C", "C from f0 and L"});
  f0_ = MakeEntryField("LcF0", kFieldWidth, this);
  l_ = MakeEntryField("LcL", kFieldWidth, this);
  l_->setText("10u");
  c_ = MakeEntryField("LcC", kFieldWidth, this);
  c_->setText("100n");
  loss_ = new QComboBox(this);
  loss_->setObjectName("LcLoss");
  loss_->addItems({"None (ideal parts)", "Resistance R (\u03a9)", "Coil Q at f0"});
  loss_->setCurrentIndex(2);
  lossValue_ = MakeEntryField("LcLossValue", kFieldWidth, this);
  lossValue_->setText("50");
  frequency_ = MakeEntryField("LcFrequency", kFieldWidth, this);
  frequency_->setText("100k");
  frequency_->setToolTip("The frequency of the reactances XL and XC");

  auto* form = new QFormLayout;
  form->addRow("C&ircuit", circuitChoice_);
  form->addRow("Co&mpute", unknown_);
  form->addRow("&f0 (Hz)", f0_);
  form->addRow("&L (H)", l_);
  form->addRow("&C (F)", c_);
  form->addRow("L&oss", loss_);
  lossLabel_ = new QLabel(this);
  lossLabel_->setBuddy(lossValue_);
  form->addRow(lossLabel_, lossValue_);
  form->addRow("&Reactances at (Hz)", frequency_);

  message_ = MakeMessageLine("LcMessage", this);
  note_ = new QLabel(this);
  note_->setObjectName("LcNote");
  note_->setWordWrap(true);

  auto* left = new QVBoxLayout;
  left->addWidget(MakeHeading("Resonant circuit", this));
  left->addLayout(form);
  left->addWidget(note_);
  left->addWidget(message_);
  left->addWidget(BuildResults());
  left->addStretch(1);

  magnitude_ = new GraphImage(this);
  magnitude_->setObjectName("LcMagnitudeGraph");
  phase_ = new GraphImage(this);
  phase_->setObjectName("LcPhaseGraph");
  auto* graphs = new QVBoxLayout;
  for (GraphImage* image : {magnitude_, phase_}) {
    image->setMinimumSize(420, 240);
    graphs->addWidget(image, 1);
    connect(image, &GraphImage::resized, this, &LcWindow::DrawGraphs);
  }
  auto* whole = new QHBoxLayout(this);
  whole->addLayout(left, 0);
  whole->addLayout(graphs, 1);

  for (QLineEdit* field : {f0_, l_, c_, lossValue_, frequency_}) {
    connect(field, &QLineEdit::textEdited, this, &LcWindow::Recalculate);
  }
  for (QComboBox* choice : {circuitChoice_, unknown_, loss_}) {
    connect(choice, &QComboBox::currentIndexChanged, this, &LcWindow::Recalculate);
  }
  ShowUnknown();
}

QWidget* LcWindow::BuildResults() {
  auto* box = new QGroupBox("Resonance", this);
  auto* form = new QFormLayout(box);
  const auto field = [&](const char* name) { return MakeResultField(name, 190, box); };
  q_ = field("LcQ");
  bandwidth_ = field("LcBandwidth");
  lossR_ = field("LcLossR");
  impedanceAtF0_ = field("LcImpedanceAtF0");
  zeroPhase_ = field("LcZeroPhase");
  xl_ = field("LcXL");
  xc_ = field("LcXC");
  form->addRow("Q", q_);
  form->addRow("Bandwidth f0/Q", bandwidth_);
  form->addRow("Loss R", lossR_);
  form->addRow("Z at f0", impedanceAtF0_);
  zeroPhase_->setToolTip("Where the impedance is real, and the impedance there");
  form->addRow("Resistive", zeroPhase_);
  form->addRow("XL", xl_);
  form->addRow("XC", xc_);
  return box;
}

QString LcWindow::Message() const {
  return message_->text();
}

// The computed one of f0, L, C is a silver result field; the two given are entries.
void LcWindow::ShowUnknown() {
  const int unknown = unknown_->currentIndex();
  QLineEdit* fields[] = {f0_, l_, c_};
  for (int i = 0; i < 3; ++i) {
    const bool computed = i == unknown;
    fields[i]->setReadOnly(computed);
    fields[i]->setFocusPolicy(computed ? Qt::ClickFocus : Qt::StrongFocus);
    QPalette colours = fields[i]->palette();
    colours.setColor(QPalette::Base, computed ? kSilver : kLightYellow);
    fields[i]->setPalette(colours);
  }
}

void LcWindow::Recalculate() {
  ShowUnknown();
  const auto circuit = static_cast<ResonantCircuit>(circuitChoice_->currentIndex());
  const auto unknown = static_cast<ResonanceUnknown>(unknown_->currentIndex());
  const auto loss = static_cast<LossEntry>(loss_->currentIndex());
  note_->setText(QString::fromUtf8(CircuitNote(circuit)));
  lossValue_->setEnabled(loss != LossEntry::None);
  lossLabel_->setText(loss == LossEntry::CoilQ ? "Coil &Q" : "Loss &R (\u03a9)");

  struct Given {
    QLineEdit* field;
    const char* name;
    bool needed;
  };
  const Given given[] = {
      {f0_, "f0", unknown != ResonanceUnknown::Frequency},
      {l_, "L", unknown != ResonanceUnknown::Inductance},
      {c_, "C", unknown != ResonanceUnknown::Capacitance},
      {lossValue_, loss == LossEntry::CoilQ ? "Q" : "R", loss != LossEntry::None},
  };
  double values[4] = {0.0, 0.0, 0.0, 0.0};
  QString problem;
  for (int i = 0; i < 4 && problem.isEmpty(); ++i) {
    if (!given[i].needed) continue;
    const EntryReading reading = ReadEntry(given[i].field, given[i].name);
    problem = reading.problem;
    if (reading.empty()) problem = QString("Enter %1.").arg(given[i].name);
    values[i] = reading.value.value_or(0.0);
  }
  const EntryReading at = ReadEntry(frequency_, "The frequency of the reactances");
  double reactanceFrequency = at.value.value_or(0.0);

  result_ = {};
  if (problem.isEmpty()) {
    result_ = SolveResonance({circuit, unknown, values[0], values[1], values[2], loss, values[3]});
    if (!result_.problem.empty()) {
      problem = QString::fromStdString(result_.problem);
      problem += ".";
    }
  } else {
    result_.problem = problem.toStdString();
  }
  if (problem.isEmpty() && !at.problem.isEmpty()) problem = at.problem;
  if (problem.isEmpty() && at.value && !(reactanceFrequency > 0.0)) {
    problem = "The frequency of the reactances must be greater than 0.";
  }
  if (!(reactanceFrequency > 0.0)) reactanceFrequency = 0.0;
  ShowMessage(message_, problem);
  ShowResults(reactanceFrequency);
  DrawGraphs();
}

void LcWindow::ShowResults(double reactanceFrequency) {
  const Resonance& s = result_;
  const bool shown = s.problem.empty();
  QLineEdit* computed[] = {f0_, l_, c_};
  const double computedValue[] = {s.f0, s.l, s.c};
  const char* units[] = {"Hz", "H", "F"};
  const int unknown = unknown_->currentIndex();
  computed[unknown]->setText(shown ? QuantityText(computedValue[unknown], units[unknown]) : Dash());
  if (!shown) {
    for (QLineEdit* field : {q_, bandwidth_, lossR_, impedanceAtF0_, zeroPhase_, xl_, xc_}) {
      field->setText(Dash());
    }
    return;
  }
  const bool parallel = circuitChoice_->currentIndex() == 1;
  q_->setText(s.q ? DecimalText(*s.q, 2, "") : QString("unbounded (no loss)"));
  bandwidth_->setText(s.bandwidth ? QuantityText(*s.bandwidth, "Hz") : QString("0 (no loss)"));
  lossR_->setText(QuantityText(s.r, "\u03a9"));
  impedanceAtF0_->setText(s.impedanceAtF0 ? ImpedanceText(*s.impedanceAtF0)
                                          : QString("unbounded (no loss)"));
  if (s.zeroPhaseFrequency && s.zeroPhaseImpedance) {
    zeroPhase_->setText(QuantityText(*s.zeroPhaseImpedance, "\u03a9") + " at " +
                        QuantityText(*s.zeroPhaseFrequency, "Hz"));
  } else {
    zeroPhase_->setText(parallel && s.q ? QString("nowhere (Q \u2264 1)")
                                        : QString("unbounded at f0 (no loss)"));
  }
  const bool reactances = reactanceFrequency > 0.0;
  xl_->setText(reactances ? QuantityText(InductiveReactance(reactanceFrequency, s.l), "\u03a9")
                          : Dash());
  xc_->setText(reactances ? QuantityText(CapacitiveReactance(reactanceFrequency, s.c), "\u03a9")
                          : Dash());
}

void LcWindow::DrawGraphs() {
  FrequencyPanel magnitude{"Impedance |Z|", "\u03a9"};
  magnitude.scale = PanelScale::Decades;
  magnitude.colour = kBlue;
  FrequencyPanel phase{"Phase of Z", "\u00b0"};
  phase.colour = kGreen;
  phase.leastSpan = 180.0;
  phase.step = 45.0;
  if (result_.problem.empty()) {
    std::vector<double> frequencies = DecadesAround(result_.f0, 1, 1, kCurvePoints);
    // The tip of the resonance; not without loss, where the parallel circuit's is unbounded.
    if (result_.r > 0.0) frequencies = WithFrequency(std::move(frequencies), result_.f0);
    const ImpedanceCurves curves =
        ResonantImpedanceCurves(static_cast<ResonantCircuit>(circuitChoice_->currentIndex()),
                                result_.l, result_.c, result_.r, frequencies);
    magnitude.f = phase.f = curves.f;
    magnitude.y = curves.magnitude;
    phase.y = curves.phaseDegrees;
  } else {
    magnitude.problem = phase.problem = result_.problem;
  }
  DrawPanel(magnitude_, magnitude);
  DrawPanel(phase_, phase);
}

}  // namespace morvane::gui
