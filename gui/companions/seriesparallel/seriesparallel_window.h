#pragma once

// The window of morvane-seriesparallel: a ladder of real inductors and capacitors between RG
// and RL, opened from the circuit file the LC page exports (or the window's own saves), its
// elements with their parasitics in an editable table, and its gain, phase, group delay,
// input impedance or return loss beside the ideal ladder's on the plot engine.

#include <QMainWindow>
#include <QString>

#include "graphs/axis_state.h"
#include "graphs/network_picture.h"
#include "network/ladder_network.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;
class QTableWidgetItem;

namespace morvane::gui {

class GraphImage;

class SeriesParallelWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Starts with the example ladder (ExampleLadder).
  explicit SeriesParallelWindow(QWidget* parent = nullptr);

  // Opens a circuit file; a file that cannot be read or holds no circuit leaves no ladder and
  // its message in the window. Returns whether the ladder was read.
  bool OpenFile(const QString& path);
  // Writes the ladder into `path`, keeping the file's other lines; the message on failure.
  bool SaveFile(const QString& path);

  const LadderNetwork& Network() const { return network_; }
  bool HasNetwork() const { return hasNetwork_; }
  const NetworkCurves& Curves() const { return curves_; }
  QString Message() const;
  bool Modified() const { return modified_; }

  // Table columns.
  enum Column { kName, kArrangement, kValue, kLx, kRx, kCx, kSelfResonance, kQuality, kColumns };

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  QWidget* BuildEntries();
  QWidget* BuildGraph();
  void ShowNetwork();
  void FillRow(int row);
  void CellEdited(QTableWidgetItem* item);
  void TerminationEdited();
  void SetDefaultBand();
  void Recalculate();
  void Draw();
  void DrawSketch();
  void SetMessage(const QString& text);
  void UpdateTitle();
  void AskOpen();
  // Asks whether to save a changed ladder first; false when the user cancels or the save fails.
  bool MaySetAside();
  bool AskSaveAs();

  LadderNetwork network_;
  bool hasNetwork_ = false;
  bool modified_ = false;
  bool filling_ = false;
  QString path_;
  QString fileMessage_;   // why the last file could not be opened or saved
  QString entryMessage_;  // the entry or cell last refused

  QLineEdit* rg_ = nullptr;
  QLineEdit* rl_ = nullptr;
  QLineEdit* f_ = nullptr;
  QCheckBox* turnedRound_ = nullptr;
  QLineEdit* from_ = nullptr;
  QLineEdit* to_ = nullptr;
  QSpinBox* points_ = nullptr;
  QCheckBox* logarithmic_ = nullptr;
  QTableWidget* table_ = nullptr;
  QComboBox* quantity_ = nullptr;
  QLabel* message_ = nullptr;
  QLabel* summary_ = nullptr;
  GraphImage* image_ = nullptr;
  GraphImage* sketch_ = nullptr;  // the ladder's schematic
  NetworkCurves curves_;
  AxisState axes_;
};

}  // namespace morvane::gui
