#pragma once

// The main window. It holds no design values of its own: the DesignSession owns the state,
// the choices and the text of every field and grid, and runs every handler. The window
// mirrors the session's texts, passes the user's edits and clicks to it, and does what only
// widgets can: pages, check marks, visible rows, captions, pictures.

#include <QMainWindow>
#include <QStringList>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_menu.h"
#include "app/secondary_window.h"
#include "design/design_session.h"

class QImage;
class QLabel;
class QLineEdit;

namespace morvane::gui {

class AlignedGrid;
class PlatformServices;
class StatusNotice;
class TimedNotice;
struct ToolProgram;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Client area below the menu bar.
  static constexpr QSize kClientSize{782, 540};

  explicit MainWindow(PlatformServices& services, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Start-up of the design: MFB lowpass (highpass for "H", bandpass for "B"), the design
  // file's values, one full recalculation. The same file is written when the window closes.
  void Initialize(const QString& firstArgument, const QString& designFile);

  DesignSession& Session() { return session_; }
  const QString& DesignFile() const { return designFile_; }

  void SelectTopology(Topology topology);
  void SelectFilterType(FilterType type);
  void SelectResistorSeries(int series);
  void SelectCapacitorSeries(int series);
  void MakeCalculations();
  // Undo of the last edit in the focused entry field; the restored text counts as typed.
  void Undo();

 signals:
  // Every user edit passed to the session, after the session handled it.
  void entryTyped(const QString& field, const QString& text);
  // A command that opens another window (graphs, dialogs); SecondaryWindows answers it.
  void windowRequested(SecondaryWindow window);
  // After every recalculation of the design.
  void recalculated();
  // Options > Op Amp…: the session has the part picked (the graph windows draw it anew).
  void opAmpChosen();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildRegions();
  void BuildStatusBar();
  // The notices at the status bar's right end share what the hints leave.
  void ShareStatusBar();
  void ConnectEntries();
  void ConnectSpinButtons();
  void ConnectCommands();
  void ConnectSelection();
  void ConnectPageControls();
  void ConnectWindowCommands();
  void ConnectSession();
  void ConnectFileCommands();
  void ConnectOutputCommands();
  void ConnectPrograms();

  void ShowField(std::string_view field, const std::string& text);
  void ShowCell(std::string_view grid, int column, int row, const std::string& text);
  void ShowNotice(const std::string& text);
  void QueueMessage(const std::string& text);
  // What the start message adds about an unreadable design file (design_file_io.h).
  std::string KeepUnreadableFile();
  void ShowPendingMessages();
  void MirrorSession();

  void ShowTopology(Topology topology);
  void ShowInputRows(Topology topology);
  void ShowFilterType(FilterType type);
  // Every control of the page, type, series, check boxes, options and LC orders set from the
  // session, as after opening a design file.
  void ShowChoices();
  void ShowSeriesChecks();
  void SetStayInFront(bool on);
  // The active page's characterisation line: the stage as built while resistors are rounded;
  // and the line under it, the stage with the op amp chosen.
  void ShowAsBuilt();
  // The real-amplifier figures, the large signal and the headroom warnings; `whole` adds the
  // pre-distortion outcome (for the line's hint).
  QStringList RealAmplifierLines(bool whole) const;

  // Design files, circuit export and netlist (main_window_files.cpp).
  void SpeedButtonINISaveClick();
  void SpeedButtonINILadenClick();
  void SpeedButtonExportClick();
  void SpiceExport1Click();
  // Printing and the clipboard (main_window_output.cpp).
  void Drucken1Click();
  void Druckereinstellung1Click();
  void ButtonCopyClick();
  void RenewPrintHint();
  QImage ClientAreaPicture();
  // Program starts (main_window_programs.cpp).
  void ExecuteProgram();
  void StartTool(const ToolProgram& tool);
  void RenewToolItems();
  void ShowStatus(const QString& text);

  // The child control of that name; throws for a name the window does not have.
  template <typename T>
  T* Find(std::string_view name) const;

  PlatformServices& services_;
  DesignSession session_;
  QString designFile_;
  // The circuit file last exported from the LC page: the series/parallel program opens it.
  QString exportedCircuit_;
  std::map<std::string, QLineEdit*, std::less<>> fields_;
  std::map<std::string, AlignedGrid*, std::less<>> grids_;
  MenuGroups menus_{};
  StatusNotice* notice_ = nullptr;
  TimedNotice* programNotice_ = nullptr;  // a program that could not be started
  std::vector<std::string> pendingMessages_;
};

template <typename T>
T* MainWindow::Find(std::string_view name) const {
  const QString key = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  T* child = findChild<T*>(key);
  if (!child) throw std::logic_error("main window has no control " + std::string(name));
  return child;
}

}  // namespace morvane::gui
