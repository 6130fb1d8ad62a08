#pragma once

// The graph windows of the program and what they share: the four windows, the axis-scale
// dialog, the sweep-mode and sweep factor dialogs and the graph help box, created once with
// the main window and shown from its buttons (SecondaryWindows passes the main window's
// requests for them on to Open).

#include <QObject>
#include <memory>

#include "app/secondary_window.h"
#include "graphs/graph_kind.h"
#include "graphs/tolerance_bands.h"

class QWidget;

namespace morvane {
class DesignSession;
class DesignResponseSource;
struct AxisState;
}  // namespace morvane

namespace morvane::gui {

class AxisScaleDialog;
class GraphHelpBox;
class GraphOutputServices;
class GraphWindow;
class PlatformServices;
class SweepFactorDialog;
class SweepModeDialog;
class SweepTarget;
struct GraphContext;

class GraphWindows : public QObject {
  Q_OBJECT

 public:
  // `parent` owns this object (it may be null) and is where the sweep factor dialog
  // appears. The session must outlive this object.
  GraphWindows(DesignSession& session, PlatformServices& platform, QWidget* parent = nullptr);
  // With another way to save and print pictures (tests).
  GraphWindows(DesignSession& session, PlatformServices& platform, GraphOutputServices& output,
               QWidget* parent = nullptr);
  ~GraphWindows() override;

  void ShowGain();
  void ShowPhase();
  void ShowGroupDelay();
  void ShowTimeResponse();
  // Modal; sets the design state's Sweep.
  void ShowSweepFactorDialog();

  // The four graph windows and the sweep factor dialog; false, nothing shown, for any other
  // window.
  bool Open(SecondaryWindow window);

  GraphWindow& Window(GraphKind kind);
  // The axes of the window drawn or turned to last (each window has its own).
  AxisState& Axes();
  // The design changed (every recalculation of the main window, the op amp chosen): open
  // windows fill and draw anew, each within its own axes.
  void SourceChanged();
  // The tolerance band the windows draw from now on (none: no band); open windows redraw.
  void SetToleranceBands(std::shared_ptr<const ToleranceBands> bands);
  AxisScaleDialog& AxisDialog();
  SweepModeDialog& SweepMode();
  SweepFactorDialog& SweepFactor();
  GraphHelpBox& HelpBox();

 signals:
  // The sweep mode wrote fg, Q and D into the design state; the main window recalculates
  // with them (SecondaryWindows connects it).
  void designTuned();

 private:
  GraphWindows(DesignSession& session, PlatformServices& platform,
               std::unique_ptr<GraphOutputServices> ownOutput, GraphOutputServices* output,
               QWidget* parent);

  DesignSession& session_;
  QWidget* parentWidget_;
  std::unique_ptr<GraphOutputServices> ownOutput_;
  std::unique_ptr<AxisScaleDialog> axisDialog_;
  std::unique_ptr<SweepModeDialog> sweepMode_;
  std::unique_ptr<SweepFactorDialog> sweepFactor_;
  std::unique_ptr<GraphHelpBox> helpBox_;
  std::unique_ptr<DesignResponseSource> source_;
  std::unique_ptr<SweepTarget> sweepTarget_;
  std::unique_ptr<GraphContext> context_;
  // Last, so the windows go before what they use.
  std::unique_ptr<GraphWindow> windows_[4];
};

}  // namespace morvane::gui
