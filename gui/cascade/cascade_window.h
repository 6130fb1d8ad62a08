#pragma once

// The Multi-stage Filter window: a whole active filter designed as a chain of first- and
// second-order sections. Modeless, one for the whole run. Its state is a CascadeEntries;
// every change of an entry, choice or section topology designs it anew through
// DesignForWindow (window_design.h) and shows the sections, the figures of the whole filter
// and, in the status bar, what cannot be built and why.
//
// The graph windows and the circuit pictures plug in here: the Graphs menu asks for a graph
// by graphRequested, designChanged follows every design, sectionSelected every row the user
// selects, and the two areas below the table take the pictures.

#include <QMainWindow>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cascade/cascade_file.h"
#include "cascade/window_design.h"
#include "opamp/large_signal_summary.h"
#include "schematic/section_pictures.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QScrollArea;

namespace morvane::gui {

class CascadeGraphs;
class OpAmpChoice;
class ToleranceWindow;
class NoiseWindow;
class FunctionSweepTarget;

class PlatformServices;
class SectionTable;

// What the Graphs menu asks for (the int of graphRequested).
enum class CascadeGraph { Gain, Phase, GroupDelay, StepResponse, PoleZero };

class CascadeWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit CascadeWindow(PlatformServices& services, QWidget* parent = nullptr);
  ~CascadeWindow() override;

  const CascadeEntries& Entries() const { return entries_; }
  const CascadeDesign& Design() const { return shown_.design; }
  // Tools > Tolerance Analysis of the whole filter (made when first asked for).
  ToleranceWindow& Tolerance();
  // Tools > Noise of the whole filter (made when first asked for).
  NoiseWindow& Noise();
  // Replaces every entry (as opening a design file does), rewrites the fields and designs.
  void SetEntries(const CascadeEntries& entries);

  // From the filter order dialog: its approximation, tolerance scheme and least order. The
  // window then designs a lowpass of the least order for the scheme.
  void TakeToleranceScheme(Approximation approximation, const ToleranceScheme& scheme,
                           int leastOrder);

  // Where the picture of the selected section goes, and the scrolled picture of the chain.
  QWidget* sectionPictureArea() const { return sectionPicture_; }
  QScrollArea* chainArea() const { return chain_; }
  SectionTable* Table() const { return table_; }

  // The File menu's commands (also for tests).
  void SaveNetlist();
  void SavePartsList();
  void SaveToDesignFile();
  void OpenFromDesignFile();
  void Print();

 signals:
  // After every design, with the design now shown (also when it has a problem).
  void designChanged(const morvane::CascadeDesign& design);
  // The user selected the row of this section (0 for the first).
  void sectionSelected(int index);
  // Graphs > ...: the CascadeGraph asked for.
  void graphRequested(int what);
  // File > Print…. Unless something answers it, the window prints its own picture.
  void printRequested();

 private:
  void BuildMenus();
  void BuildStatusBar();
  QWidget* BuildClientArea();
  QFrame* BuildFilterRegion(QWidget* parent);
  QFrame* BuildCircuitRegion(QWidget* parent);
  QFrame* BuildFiguresRegion(QWidget* parent);
  QFrame* BuildSectionsRegion(QWidget* parent);
  QFrame* BuildPictureRegion(QWidget* parent);
  // An entry field with its label, spin button and unit in four columns of a grid row.
  void AddEntryRow(QGridLayout* grid, int row, std::string_view field, int column, QWidget* parent);
  // A choice list with its label.
  QComboBox* AddChoice(QGridLayout* grid, int row, const QString& name, const QString& caption,
                       const QString& hint, QWidget* parent);

  void ConnectControls();
  // The graph windows, the section's circuit and the chain follow every design.
  void ConnectPicturesAndGraphs();
  void MakeSweepTarget();
  void ShowSectionPicture(int index);
  // The user typed into a field, or spun it.
  void EntryTyped(std::string_view field, const QString& text);
  void EntrySpun(std::string_view field, bool up);
  void SectionOrderTyped(const QString& text);
  void TopologyChosen(int row, Topology topology);
  void AllSectionsTopologyChosen(int index);

  // Designs the entries and shows the result.
  void Recalculate(CascadeEdit edit = CascadeEdit::Other);
  void ShowDesign();
  void ShowFigures();
  void ShowStatus();
  // The large signal of the shown design with the chosen op amp: none with the ideal one, a
  // design with a problem, or a section the op amp makes unstable.
  std::optional<LargeSignalSummary> LargeSignalOfShown() const;
  void ShowActiveRows();
  void ShowAllSectionsChoice();
  // Every field and choice rewritten from the entries (opening a file, the hand-over).
  void ShowEntries();
  void ShowEntryText(std::string_view field);

  // A file that was not written or read: the message box the main window shows too.
  void ShowMessage(const QString& text);
  void PrintOwnPicture();

  PlatformServices& services_;
  CascadeEntries entries_;
  WindowDesign shown_;
  std::optional<LargeSignalSummary> largeSignal_;  // its headroom warnings join the notes
  std::map<std::string, QLineEdit*, std::less<>> fields_;
  std::map<std::string, std::vector<QWidget*>, std::less<>> rows_;  // a field's row
  QComboBox* approximation_ = nullptr;
  QComboBox* kind_ = nullptr;
  QCheckBox* useScheme_ = nullptr;
  QLineEdit* leastOrder_ = nullptr;
  QComboBox* split_ = nullptr;
  QComboBox* allSections_ = nullptr;
  QLineEdit* sectionOrder_ = nullptr;
  QComboBox* seriesR_ = nullptr;
  QComboBox* seriesC_ = nullptr;
  QCheckBox* roundResistors_ = nullptr;
  std::map<std::string, QLineEdit*, std::less<>> figures_;
  SectionTable* table_ = nullptr;
  SectionPicture* sectionPicture_ = nullptr;
  ChainPicture* chain_ = nullptr;
  std::unique_ptr<FunctionSweepTarget> sweep_;  // before the graphs, which use it
  CascadeGraphs* graphs_ = nullptr;
  ToleranceWindow* tolerance_ = nullptr;
  OpAmpChoice* opAmps_ = nullptr;  // Tools > Op Amp…
  QAction* predistort_ = nullptr;  // Tools > Pre-distort for the Op Amp
  NoiseWindow* noise_ = nullptr;
  int pictureSection_ = 0;  // the section whose circuit the picture shows
  QLabel* problemLine_ = nullptr;
  QLabel* warningLine_ = nullptr;
};

}  // namespace morvane::gui
