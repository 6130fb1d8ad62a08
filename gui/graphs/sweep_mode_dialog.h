#pragma once

// The sweep-mode dialog: the user tunes fg and Q while a graph window redraws on request.
// Draw hands the values to the target graph and keeps the dialog open; OK keeps the values,
// Close gives back those it was shown with. The caller stores X1(), X2() afterwards.

#include <QDialog>

#include "graphs/graph_kind.h"
#include "graphs/sweep_target.h"

class QLabel;
class QLineEdit;

namespace morvane::gui {

class PlatformServices;

class SweepModeDialog : public QDialog {
  Q_OBJECT

 public:
  struct Limits {
    double lower;
    double upper;
  };
  static constexpr Limits kX1Limits{0.001, 1e10};
  static constexpr Limits kX2Limits{0.05, 1000};
  static constexpr double kSpinFactor = 1.05;

  explicit SweepModeDialog(PlatformServices& platform, QWidget* parent = nullptr);

  // Sets up a showing for the target graph: the first value's label ("fg=", "fc="), the
  // values; limits and spin factors are set anew too.
  void Prepare(GraphKind target, const QString& x1Label, double x1, double x2);
  // Prepare, place at `topLeft`, run modally.
  void Run(GraphKind target, const QString& x1Label, double x1, double x2, QPoint topLeft);
  // The same for any two values with their own labels and limits; without a second value
  // the dialog shows one entry.
  void Prepare(GraphKind target, const SweepValues& values);
  void Run(GraphKind target, const SweepValues& values, QPoint topLeft);

  GraphKind TargetGraph() const { return target_; }
  double X1() const { return x1_; }
  double X2() const { return x2_; }

  void accept() override;
  void reject() override;

 signals:
  // Draw pressed: the target graph is to show the design with these values.
  void drawRequested(GraphKind target, double x1, double x2);

 private:
  struct Entry {
    QLineEdit* edit;
    double* value;
    Limits limits;
    double factor;
  };

  QWidget* AddEntry(int row, QLabel* label, const QString& name, const QString& spinName,
                    Entry& entry);
  void EntryChange(Entry& entry, const QString& text);
  void Spin(Entry& entry, bool up);
  void TakeEntries();
  void ShowValue(const Entry& entry);
  void ZeichenBtnClick();

  PlatformServices& platform_;
  QLabel* x1Label_;
  QLabel* x2Label_;
  QWidget* x2Spin_ = nullptr;
  double x1_ = 0.0;
  double x2_ = 0.0;
  double x1Saved_ = 0.0;
  double x2Saved_ = 0.0;
  Entry x1Entry_{};
  Entry x2Entry_{};
  GraphKind target_ = GraphKind::Gain;
};

}  // namespace morvane::gui
