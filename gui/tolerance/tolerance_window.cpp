#include "tolerance/tolerance_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>

#include "numerics/number_text.h"
#include "numerics/value_text.h"
#include "tolerance/tolerance_report.h"

namespace morvane::gui {

namespace {

constexpr int kDefaultRuns = 1000;
constexpr int kMostRuns = 1000000;
constexpr int kProgressIntervalMs = 50;

// The tolerances offered per part class, percent, and the one each starts with.
struct ToleranceChoices {
  const char* name;
  std::vector<double> percents;
  double initial;
};
const ToleranceChoices kResistorChoices{"ToleranceResistors", {0.1, 0.5, 1, 2, 5}, 1.0};
const ToleranceChoices kCapacitorChoices{"ToleranceCapacitors", {1, 2, 5, 10, 20}, 5.0};
const ToleranceChoices kInductorChoices{"ToleranceInductors", {1, 2, 5, 10, 20}, 5.0};

QComboBox* ToleranceChoice(const ToleranceChoices& choices, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(choices.name);
  for (double p : choices.percents) {
    box->addItem(QString::fromStdString(FormatFixedTrimmed(1, p) + " %"), p);
    if (p == choices.initial) box->setCurrentIndex(box->count() - 1);
  }
  return box;
}

double Percent(const QComboBox* box) {
  return box->currentData().toDouble();
}

}  // namespace

// The analysis as the worker thread runs it; the window keeps it until the thread has ended.
struct ToleranceWindow::Job {
  std::vector<ToleranceSection> sections;
  MonteCarloRequest request;
  bool cascade = false;
  std::vector<double> values;
  std::atomic<int> done{0};
  std::atomic<bool> cancel{false};
  MonteCarloResult result;
};

ToleranceWindow::ToleranceWindow(Subject subject, BandsSink showBands, QWidget* parent)
    : QDialog(parent), subject_(std::move(subject)), showBands_(std::move(showBands)) {
  setObjectName("ToleranceWindow");
  setWindowTitle("Tolerance Analysis");
  BuildControls();
  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(kProgressIntervalMs);
  connect(progressTimer_, &QTimer::timeout, this, &ToleranceWindow::ShowProgress);
}

ToleranceWindow::~ToleranceWindow() {
  if (thread_) {
    job_->cancel = true;
    thread_->wait();
  }
}

void ToleranceWindow::BuildControls() {
  auto* form = new QFormLayout;
  runs_ = new QSpinBox(this);
  runs_->setObjectName("ToleranceRuns");
  runs_->setRange(2, kMostRuns);
  runs_->setValue(kDefaultRuns);
  runs_->setGroupSeparatorShown(false);
  form->addRow("&Runs", runs_);
  resistors_ = ToleranceChoice(kResistorChoices, this);
  capacitors_ = ToleranceChoice(kCapacitorChoices, this);
  inductors_ = ToleranceChoice(kInductorChoices, this);
  form->addRow("R&esistors", resistors_);
  form->addRow("&Capacitors", capacitors_);
  form->addRow("&Inductors", inductors_);
  distribution_ = new QComboBox(this);
  distribution_->setObjectName("ToleranceDistribution");
  distribution_->addItem("Uniform within the tolerance");
  distribution_->addItem("Gaussian, the tolerance at 3 sigma");
  form->addRow("&Distribution", distribution_);
  seed_ = new QSpinBox(this);
  seed_->setObjectName("ToleranceSeed");
  seed_->setRange(0, std::numeric_limits<int>::max());
  seed_->setValue(1);
  form->addRow("&Seed", seed_);

  auto* maskBox = new QGroupBox("Yield against a tolerance scheme", this);
  maskBox->setObjectName("ToleranceMaskBox");
  auto* maskGrid = new QGridLayout(maskBox);
  useMask_ = new QCheckBox("&Count the runs that meet the scheme", maskBox);
  useMask_->setObjectName("ToleranceUseMask");
  maskGrid->addWidget(useMask_, 0, 0, 1, 4);
  const char* names[] = {"f1 (Hz)", "d1 (dB)", "f2 (Hz)", "d2 (dB)"};
  for (int i = 0; i < 4; ++i) {
    mask_[i] = new QLineEdit(maskBox);
    mask_[i]->setObjectName(QString("ToleranceMask%1").arg(i + 1));
    maskGrid->addWidget(new QLabel(names[i], maskBox), 1 + i / 2, (i % 2) * 2);
    maskGrid->addWidget(mask_[i], 1 + i / 2, (i % 2) * 2 + 1);
  }

  bandsInGraphs_ = new QCheckBox("Draw the &band in the gain, phase and delay graphs", this);
  bandsInGraphs_->setObjectName("ToleranceBandsInGraphs");
  bandsInGraphs_->setChecked(true);

  run_ = new QPushButton("&Run", this);
  run_->setObjectName("ToleranceRun");
  run_->setDefault(true);
  cancel_ = new QPushButton("&Cancel", this);
  cancel_->setObjectName("ToleranceCancel");
  cancel_->setEnabled(false);
  auto* close = new QPushButton("Close", this);
  connect(run_, &QPushButton::clicked, this, &ToleranceWindow::Run);
  connect(cancel_, &QPushButton::clicked, this, &ToleranceWindow::Cancel);
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("ToleranceProgress");
  progress_->setRange(0, kDefaultRuns);
  progress_->setValue(0);
  status_ = new QLabel(this);
  status_->setObjectName("ToleranceStatus");
  status_->setWordWrap(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(progress_, 1);
  buttons->addWidget(run_);
  buttons->addWidget(cancel_);
  buttons->addWidget(close);

  report_ = new QPlainTextEdit(this);
  report_->setObjectName("ToleranceReport");
  report_->setReadOnly(true);
  report_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  report_->setLineWrapMode(QPlainTextEdit::NoWrap);
  report_->setMinimumSize(640, 240);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(maskBox);
  layout->addWidget(bandsInGraphs_);
  layout->addLayout(buttons);
  layout->addWidget(status_);
  layout->addWidget(report_, 1);
}

void ToleranceWindow::showEvent(QShowEvent* event) {
  // The mask starts with the owner's scheme each time the window is shown, unless in use.
  if (!useMask_->isChecked()) {
    if (const auto subject = subject_()) {
      // Frequencies with their prefix letter, attenuations in plain decibels.
      const ToleranceMask& m = subject->mask;
      const auto frequency = [](double f) {
        return QString::fromStdString(FormatValue(7, 2, f)).trimmed();
      };
      const QString texts[] = {frequency(m.f1), QString::fromStdString(GeneralText(m.d1, 6)),
                               frequency(m.f2), QString::fromStdString(GeneralText(m.d2, 6))};
      for (int i = 0; i < 4; ++i) mask_[i]->setText(texts[i]);
    }
  }
  QDialog::showEvent(event);
}

std::optional<MonteCarloRequest> ToleranceWindow::RequestFromControls(
    const ToleranceFilter& filter) {
  MonteCarloRequest r;
  r.runs = runs_->value();
  r.tolerances.resistorPercent = Percent(resistors_);
  r.tolerances.capacitorPercent = Percent(capacitors_);
  r.tolerances.inductorPercent = Percent(inductors_);
  r.tolerances.distribution = distribution_->currentIndex() == 1 ? ToleranceDistribution::Gaussian
                                                                 : ToleranceDistribution::Uniform;
  r.tolerances.seed = static_cast<std::uint64_t>(seed_->value());
  r.phaseAndDelay = true;
  r = RequestAround(filter, r);
  if (useMask_->isChecked()) {
    double v[4];
    for (int i = 0; i < 4; ++i) {
      const ValueReading reading = ReadValueInDetail(mask_[i]->text().toStdString());
      if (!reading.readable || !(reading.value > 0.0)) {
        status_->setText(QString("The scheme's %1 is not a positive number: \"%2\".")
                             .arg(QString(i % 2 ? "d%1" : "f%1").arg(i / 2 + 1), mask_[i]->text()));
        return std::nullopt;
      }
      v[i] = reading.value;
    }
    if (!(v[3] > v[1])) {
      status_->setText("The scheme needs d2 above d1.");
      return std::nullopt;
    }
    r.mask = ToleranceMask{v[0], v[1], v[2], v[3]};
  }
  return r;
}

void ToleranceWindow::Run() {
  if (thread_) return;
  const auto subject = subject_();
  if (!subject || subject->filters.empty()) {
    status_->setText("This page has no circuit to analyse.");
    return;
  }
  const ToleranceFilter& filter = subject->filters.front();
  auto sections = ToleranceSectionsOf(filter.circuits);
  if (!sections) {
    status_->setText("The filter's circuit cannot be analysed.");
    return;
  }
  auto request = RequestFromControls(filter);
  if (!request) return;
  job_ = std::make_shared<Job>();
  Job* job = job_.get();
  job->sections = std::move(*sections);
  job->request = std::move(*request);
  job->cascade = subject->cascade;
  job->values = PartValuesOf(subject->filters);
  job->request.progress = [job](int done) {
    job->done = done;
    return !job->cancel;
  };
  progress_->setRange(0, job->request.runs);
  progress_->setValue(0);
  status_->setText(subject->filters.size() > 1 ? "Running (the lowpass output)…" : "Running…");
  thread_ = QThread::create(
      [keep = job_] { keep->result = RunMonteCarlo(keep->sections, keep->request); });
  thread_->setParent(this);  // deleted with the window, after the destructor has waited
  connect(thread_, &QThread::finished, this, &ToleranceWindow::AnalysisEnded);
  SetRunning(true);
  thread_->start();
}

void ToleranceWindow::Cancel() {
  if (job_) job_->cancel = true;
}

void ToleranceWindow::SetRunning(bool running) {
  run_->setEnabled(!running);
  cancel_->setEnabled(running);
  if (running) {
    progressTimer_->start();
  } else {
    progressTimer_->stop();
  }
}

void ToleranceWindow::ShowProgress() {
  if (job_) progress_->setValue(job_->done);
}

void ToleranceWindow::AnalysisEnded() {
  thread_->deleteLater();
  thread_ = nullptr;
  SetRunning(false);
  const std::shared_ptr<Job> job = std::move(job_);
  if (job->result.cancelled) {
    progress_->setValue(0);
    status_->setText("Cancelled: the previous result stays.");
    emit analysisEnded();
    return;
  }
  progress_->setValue(progress_->maximum());
  result_ = std::move(job->result);
  const std::string report =
      ToleranceReport(job->sections, *result_, job->request.tolerances, job->cascade, false) +
      SensitivityTable(job->sections, job->cascade);
  report_->setPlainText(QString::fromStdString(report));
  status_->setText(QString("Done: %1 runs.").arg(result_->runs));
  const auto subject = subject_();
  if (!subject || PartValuesOf(subject->filters) != job->values) {
    status_->setText(QString("Done: %1 runs of the design as it was when Run was pressed; it "
                             "has changed since, so the graphs show no band.")
                         .arg(result_->runs));
    showBands_(nullptr);
    emit analysisEnded();
    return;
  }
  analysedValues_ = job->values;
  if (bandsInGraphs_->isChecked()) {
    showBands_(std::make_shared<const ToleranceBands>(BandsOf(*result_)));
  } else {
    showBands_(nullptr);
  }
  emit analysisEnded();
}

void ToleranceWindow::SubjectMayHaveChanged() {
  if (analysedValues_.empty()) return;
  const auto subject = subject_();
  if (subject && PartValuesOf(subject->filters) == analysedValues_) return;
  analysedValues_.clear();
  showBands_(nullptr);
  if (result_) status_->setText("The design has changed since: Run again for its spread.");
}

QString ToleranceWindow::ReportText() const {
  return report_->toPlainText();
}

}  // namespace morvane::gui
