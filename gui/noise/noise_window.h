#pragma once

// The Noise window of a filter: the band (From, To), the points, the temperature and the op
// amp; the RMS noise at the output over the band (µV, dBV), the same referred to the input,
// each part's, op amp's and, for a multi-stage filter, section's share, largest first; and
// the density graph (output and input-referred) on the plot engine, saved as PNG, SVG or CSV,
// printed or copied as the graph windows do.
//
// The window asks its subject for the circuit whenever it analyses: on showing, on every
// entry typed and after every design of its owner (SubjectMayHaveChanged; a hidden window
// waits until it is shown). The band follows the filter's frequencies until the user types
// From or To; Filter's Band follows them again. A bad entry shows its message in the window.

#include <QDialog>
#include <QImage>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "circuit/circuit.h"
#include "graphs/axis_state.h"
#include "graphs/graph_output_services.h"
#include "noise/noise_analysis.h"
#include "noise/noise_summary.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace morvane::gui {

class GraphImage;
class PlatformServices;

struct NoiseSubject {
  Circuit circuit;
  // Why there is nothing to analyse (a passive page, a design that cannot be built); empty
  // when the circuit is there.
  std::string unavailable;
  double fLowest = 0.0;  // the filter's lowest and highest frequencies, Hz, for the band
  double fHighest = 0.0;
  std::optional<OpAmpModel> opAmp;  // the amplifier the owner builds with; none: ideal
};

class NoiseWindow : public QDialog {
  Q_OBJECT

 public:
  using Subject = std::function<NoiseSubject()>;

  // The services must outlive the window; without `output` it uses the desktop's dialogs.
  NoiseWindow(Subject subject, PlatformServices& platform, GraphOutputServices* output = nullptr,
              QWidget* parent = nullptr);
  ~NoiseWindow() override;

  // The owner designed anew: an open window analyses again, a hidden one when shown.
  void SubjectMayHaveChanged();
  void Recalculate();

  // The last analysis (its problem says why there is none) and what the window shows of it.
  const NoiseAnalysis& Analysis() const { return analysis_; }
  const NoiseSummary& Summary() const { return summary_; }
  // The request the fields give, or the message a bad entry shows.
  const QString& Message() const { return message_; }
  const QImage& Picture() const;
  std::string SvgPicture() const;
  std::string Csv() const;
  const QString& LastExportName(GraphFileFormat format) const {
    return lastExportNames_[static_cast<std::size_t>(format)];
  }

 protected:
  void showEvent(QShowEvent* event) override;
  // Turning to the window analyses again: an op amp chosen meanwhile counts.
  void changeEvent(QEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildResults();
  QWidget* BuildGraph();
  void FollowFilterBand();
  void ShowBand(const NoiseRequest& band);
  // The request from the fields; the message of the first bad one.
  std::optional<NoiseRequest> RequestFromFields(QString& problem) const;
  std::optional<OpAmpModel> ChosenOpAmp(const NoiseSubject& subject) const;
  void ShowResults();
  void ShowShares(QTableWidget* table, const std::vector<NoiseShare>& shares);
  void Draw();
  void ExportAs(GraphFileFormat format);

  Subject subject_;
  PlatformServices& platform_;
  std::unique_ptr<GraphOutputServices> ownOutput_;
  GraphOutputServices& output_;
  bool followBand_ = true;
  bool stale_ = true;
  NoiseAnalysis analysis_;
  NoiseSummary summary_;
  QString message_;
  AxisState axes_;
  std::array<QString, 3> lastExportNames_;

  QLineEdit* from_ = nullptr;
  QLineEdit* to_ = nullptr;
  QSpinBox* points_ = nullptr;
  QLineEdit* celsius_ = nullptr;
  QComboBox* opAmp_ = nullptr;
  QLabel* messageLine_ = nullptr;
  QLabel* rms_ = nullptr;
  QLabel* inputRms_ = nullptr;
  QTableWidget* parts_ = nullptr;
  QTableWidget* sections_ = nullptr;
  QLabel* sectionsHeading_ = nullptr;
  GraphImage* image_ = nullptr;
};

}  // namespace morvane::gui
