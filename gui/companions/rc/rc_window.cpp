#include "companions/rc/rc_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>

#include "app/window_look.h"
#include "companions/companion_fields.h"
#include "graphs/graph_image.h"
#include "numerics/standard_series.h"

namespace morvane::gui {

namespace {

constexpr int kFieldWidth = 110;
constexpr int kCurvePoints = 400;
constexpr int kDefaultSeries = 3;          // E24
constexpr double kDeepestGainSpan = 80.0;  // dB below the curve's top: a notch's depth is cut

// How the circuit is built from R and C, under the entries.
const char* BuildNote(RcCircuit circuit) {
  switch (circuit) {
    case RcCircuit::Lowpass:
      return "R in series, C to ground.";
    case RcCircuit::Highpass:
      return "C in series, R to ground.";
    case RcCircuit::TwoSectionLowpass:
      return "Two equal sections R, C, R, C; the second loads the first, so fg lies at "
             "0.374/(2\u03c0RC).";
    case RcCircuit::WienBandpass:
      return "R and C in series, then R parallel to C to ground; gain 1/3 at f0.";
    case RcCircuit::TwinTNotch:
      return "R, R with 2C to ground between them, beside C, C with R/2 to ground; build 2C "
             "and R/2 as two C and two R in parallel.";
  }
  return "";
}

QString GainText(double gain) {
  if (!(gain > 0.0) || !std::isfinite(gain)) return QString::fromUtf8("–");
  return DecimalText(20.0 * std::log10(gain), 2, "dB") + "  (" + DecimalText(gain, 3, "") + ")";
}

}  // namespace

RcWindow::RcWindow(QWidget* parent) : QWidget(parent) {
  setObjectName("RcWindow");
  // The title the desktop shows once: the program's display name.
  setWindowTitle("Morvane RC Filters");
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kSilver);
  setPalette(colours);
  setAutoFillBackground(true);
  BuildControls();
  resize(980, 620);
  Recalculate();
}

void RcWindow::BuildControls() {
  circuit_ = new QComboBox(this);
  circuit_->setObjectName("RcCircuit");
  for (RcCircuit circuit : kAllRcCircuits) circuit_->addItem(RcCircuitName(circuit));
  frequency_ = MakeEntryField("RcFrequency", kFieldWidth, this);
  frequency_->setText("1k");
  r_ = MakeEntryField("RcR", kFieldWidth, this);
  r_->setPlaceholderText("computed");
  r_->setToolTip("Leave empty to compute R from C");
  c_ = MakeEntryField("RcC", kFieldWidth, this);
  c_->setPlaceholderText("computed");
  c_->setToolTip(
      "Leave empty to compute C from R; with both empty, C is the series value that puts R "
      "nearest to 10 k\u03a9");
  series_ = new QComboBox(this);
  series_->setObjectName("RcSeries");
  series_->addItem("Exact values");
  for (int s = kSeriesE6; s <= kSeriesE96; ++s) series_->addItem(SeriesName(s));
  series_->setCurrentIndex(kDefaultSeries);
  load_ = MakeEntryField("RcLoad", kFieldWidth, this);
  load_->setText("100k");
  load_->setPlaceholderText("no load");
  load_->setToolTip("The resistance across the output; empty for an open output");

  auto* form = new QFormLayout;
  form->addRow("C&ircuit", circuit_);
  frequencyLabel_ = new QLabel("&fg (Hz)", this);
  frequencyLabel_->setBuddy(frequency_);
  form->addRow(frequencyLabel_, frequency_);
  form->addRow("&R (\u03a9)", r_);
  form->addRow("&C (F)", c_);
  form->addRow("&Series", series_);
  form->addRow("&Load RL (\u03a9)", load_);

  message_ = MakeMessageLine("RcMessage", this);
  note_ = new QLabel(this);
  note_->setObjectName("RcNote");
  note_->setWordWrap(true);

  auto* left = new QVBoxLayout;
  left->addWidget(MakeHeading("RC filter", this));
  left->addLayout(form);
  left->addWidget(note_);
  left->addWidget(message_);
  left->addWidget(BuildResults());
  left->addStretch(1);

  gain_ = new GraphImage(this);
  gain_->setObjectName("RcGainGraph");
  phase_ = new GraphImage(this);
  phase_->setObjectName("RcPhaseGraph");
  auto* graphs = new QVBoxLayout;
  for (GraphImage* image : {gain_, phase_}) {
    image->setMinimumSize(420, 240);
    graphs->addWidget(image, 1);
    connect(image, &GraphImage::resized, this, &RcWindow::Recalculate);
  }
  auto* whole = new QHBoxLayout(this);
  whole->addLayout(left, 0);
  whole->addLayout(graphs, 1);

  for (QLineEdit* field : {frequency_, r_, c_, load_}) {
    connect(field, &QLineEdit::textEdited, this, &RcWindow::Recalculate);
  }
  connect(circuit_, &QComboBox::currentIndexChanged, this, &RcWindow::Recalculate);
  connect(series_, &QComboBox::currentIndexChanged, this, &RcWindow::Recalculate);
}

QWidget* RcWindow::BuildResults() {
  auto* box = new QGroupBox("As built", this);
  auto* form = new QFormLayout(box);
  const auto field = [&](const char* name) { return MakeResultField(name, kFieldWidth, box); };
  builtR_ = field("RcBuiltR");
  builtC_ = field("RcBuiltC");
  exact_ = field("RcExact");
  exact_->setToolTip("The computed part's value before rounding to the series");
  builtFrequency_ = field("RcBuiltFrequency");
  error_ = field("RcError");
  loadedFrequency_ = field("RcLoadedFrequency");
  loadedGain_ = field("RcLoadedGain");
  builtFrequencyLabel_ = new QLabel(box);
  loadedFrequencyLabel_ = new QLabel(box);
  form->addRow("R", builtR_);
  form->addRow("C", builtC_);
  exactLabel_ = new QLabel("Exact", box);
  form->addRow(exactLabel_, exact_);
  form->addRow(builtFrequencyLabel_, builtFrequency_);
  form->addRow("Error", error_);
  form->addRow(loadedFrequencyLabel_, loadedFrequency_);
  form->addRow("Pass-band gain with RL", loadedGain_);
  return box;
}

QString RcWindow::Message() const {
  return message_->text();
}

void RcWindow::Recalculate() {
  const auto circuit = static_cast<RcCircuit>(circuit_->currentIndex());
  const bool centre = HasCentreFrequency(circuit);
  const QString name = centre ? "f0" : "fg";
  frequencyLabel_->setText(centre ? "&f0 (Hz)" : "&fg (Hz)");
  builtFrequencyLabel_->setText(name + " as built");
  loadedFrequencyLabel_->setText(name + " with RL");
  note_->setText(QString::fromUtf8(BuildNote(circuit)));

  const EntryReading f = ReadEntry(frequency_, name);
  const EntryReading r = ReadEntry(r_, "R");
  const EntryReading c = ReadEntry(c_, "C");
  const EntryReading load = ReadEntry(load_, "RL");
  QString problem;
  for (const EntryReading* reading : {&f, &r, &c, &load}) {
    if (problem.isEmpty()) problem = reading->problem;
  }
  if (problem.isEmpty() && f.empty()) problem = "Enter " + name + ".";

  RcRequest request{circuit, f.value.value_or(0.0),   r.value,
                    c.value, series_->currentIndex(), load.value};
  design_ = {};
  if (problem.isEmpty()) {
    design_ = DesignRcFilter(request);
    if (!design_.problem.empty()) {
      problem = QString::fromStdString(design_.problem);
      problem += ".";
    }
  } else {
    design_.problem = problem.toStdString();
  }
  ShowMessage(message_, problem);
  ShowResults(request);
  DrawGraphs(request);
}

void RcWindow::ShowResults(const RcRequest& request) {
  const bool shown = design_.problem.empty();
  const QString none = QString::fromUtf8("–");
  builtR_->setText(shown ? QuantityText(design_.r, "\u03a9") : none);
  builtC_->setText(shown ? QuantityText(design_.c, "F") : none);
  builtFrequency_->setText(shown ? QuantityText(design_.builtFrequency, "Hz") : none);
  exactLabel_->setText(design_.rComputed ? "R exact" : "C exact");
  exact_->setText(shown ? QuantityText(design_.exactValue, design_.rComputed ? "\u03a9" : "F")
                        : none);
  error_->setText(shown ? DecimalText(design_.errorPercent, 2, "%") : none);
  loadedFrequency_->setText(shown ? QuantityText(design_.loaded.frequency, "Hz") : none);
  loadedGain_->setText(shown ? GainText(design_.loaded.gain) : none);
  const QString computed = "computed, rounded to the series";
  builtR_->setToolTip(design_.rComputed ? computed : "as entered");
  builtC_->setToolTip(design_.cComputed
                          ? (request.c ? computed : "taken from the series for R near 10 k\u03a9")
                          : "as entered");
}

void RcWindow::DrawGraphs(const RcRequest& request) {
  FrequencyPanel gain{"Gain", "dB"};
  gain.colour = kBlue;
  gain.deepestSpan = kDeepestGainSpan;
  FrequencyPanel phase{"Phase", "\u00b0"};
  phase.colour = kGreen;
  phase.leastSpan = 90.0;
  phase.step = 45.0;
  if (design_.problem.empty()) {
    const RcCurves curves =
        RcResponseCurves(request.circuit, design_.r, design_.c, request.load,
                         WithFrequency(DecadesAround(design_.loaded.frequency, 2, 2, kCurvePoints),
                                       design_.loaded.frequency));
    gain.f = phase.f = curves.f;
    gain.y = curves.gainDb;
    phase.y = curves.phaseDegrees;
  } else {
    gain.problem = phase.problem = design_.problem;
  }
  DrawPanel(gain_, gain);
  DrawPanel(phase_, phase);
}

}  // namespace morvane::gui
