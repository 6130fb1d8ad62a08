#pragma once

// The tolerance analysis of the filter a window shows: tolerances per part class, the
// distribution, runs and seed, and optionally a mask for the yield; Run analyses on a worker
// thread with its progress shown (the window stays responsive, Cancel stops it), and the
// result is shown as text and, as bands, in the graph windows.
//
// The window asks its subject for the filter each time it runs, and after every design of its
// owner (SubjectMayHaveChanged) withdraws the bands when the filter is no longer the one
// analysed.

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "graphs/tolerance_bands.h"
#include "tolerance/tolerance_filter.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QThread;
class QTimer;

namespace morvane::gui {

struct ToleranceSubject {
  std::vector<ToleranceFilter> filters;  // the first is analysed (a diplexer's lowpass output)
  bool cascade = false;                  // parts named with their section ("R1_2")
  ToleranceMask mask;                    // what the mask fields start with
};

class ToleranceWindow : public QDialog {
  Q_OBJECT

 public:
  using Subject = std::function<std::optional<ToleranceSubject>()>;
  using BandsSink = std::function<void(std::shared_ptr<const ToleranceBands>)>;

  ToleranceWindow(Subject subject, BandsSink showBands, QWidget* parent = nullptr);
  // A running analysis is cancelled and waited for.
  ~ToleranceWindow() override;

  void Run();
  void Cancel();
  bool Running() const { return thread_ != nullptr; }
  void SubjectMayHaveChanged();

  QString ReportText() const;
  // The last finished analysis (tests).
  const std::optional<MonteCarloResult>& Result() const { return result_; }

 signals:
  void analysisEnded();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  struct Job;
  void BuildControls();
  std::optional<MonteCarloRequest> RequestFromControls(const ToleranceFilter& filter);
  void ShowProgress();
  void AnalysisEnded();
  void SetRunning(bool running);

  Subject subject_;
  BandsSink showBands_;
  QSpinBox* runs_ = nullptr;
  QComboBox* resistors_ = nullptr;
  QComboBox* capacitors_ = nullptr;
  QComboBox* inductors_ = nullptr;
  QComboBox* distribution_ = nullptr;
  QSpinBox* seed_ = nullptr;
  QCheckBox* useMask_ = nullptr;
  QLineEdit* mask_[4] = {};
  QCheckBox* bandsInGraphs_ = nullptr;
  QPushButton* run_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  QPlainTextEdit* report_ = nullptr;
  QTimer* progressTimer_ = nullptr;
  QThread* thread_ = nullptr;
  std::shared_ptr<Job> job_;
  std::optional<MonteCarloResult> result_;
  std::vector<double> analysedValues_;  // of the filter the bands belong to
};

}  // namespace morvane::gui
