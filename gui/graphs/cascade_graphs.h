#pragma once

// The graph windows of a multi-stage filter, for the window that designs it: gain, phase,
// group delay and time response (the graph windows of the main window, drawn from a
// CascadeResponseSource, with "Show Sections" for each section's own curve and a sweep mode
// that tunes what the multi-stage window's SweepTarget offers), and the pole-zero plot.
//
// A set of its own, beside the main window's GraphWindows: both can be open at once to
// compare the single stage with the cascade, and the axes the four windows of a set share
// never carry one filter's ranges over to the other's windows.
//
// Use from the multi-stage window:
//   auto* graphs = new CascadeGraphs(platform, &sweep, this);  // once; owned by the window
//   graphs->SetCascade(design);     // after every recalculation, also for a design with a
//                                   // problem (the windows then show their axes only)
//   graphs->Open(what);             // the int of graphRequested (CascadeWindow's CascadeGraph)
// SetCascade copies the transfers it needs, so the design may go right after the call. The
// open windows are sampled and drawn again at once, each with its own axes kept (zoom,
// ranges, origin); hidden ones start with axes fitted to the filter when next opened. An
// order-20 filter with every window open takes a few milliseconds.

#include <QObject>
#include <memory>
#include <optional>

#include "graphs/cascade_response_source.h"
#include "graphs/graph_kind.h"
#include "graphs/tolerance_bands.h"
#include "opamp/opamp_model.h"

class QWidget;

namespace morvane {
struct AxisState;
struct CascadeDesign;
}  // namespace morvane

namespace morvane::gui {

class AxisScaleDialog;
class GraphHelpBox;
class GraphOutputServices;
class GraphWindow;
class PlatformServices;
class PoleZeroWindow;
class SweepModeDialog;
class SweepTarget;
struct GraphContext;

class CascadeGraphs : public QObject {
  Q_OBJECT

 public:
  // `parent` owns this object (it may be null); the windows have no parent widget, they are
  // windows of their own. The platform and the sweep target (what the sweep mode tunes;
  // null: no sweep mode) must outlive this object.
  explicit CascadeGraphs(PlatformServices& platform, SweepTarget* sweep = nullptr,
                         QObject* parent = nullptr);
  // With another way to save and print pictures (tests).
  CascadeGraphs(PlatformServices& platform, GraphOutputServices& output,
                SweepTarget* sweep = nullptr, QObject* parent = nullptr);
  ~CascadeGraphs() override;

  // The filter to show from now on; open windows are redrawn with their axes kept.
  void SetCascade(const CascadeDesign& design);
  // The same filter (the design last set) with another op amp (none: ideal ones only): the
  // windows draw its curve beside the filter's; the tolerance band stays.
  void SetOpAmp(const CascadeDesign& design, std::optional<OpAmpModel> opAmp);

  // The tolerance band the windows draw until the next cascade; open windows redraw.
  void SetToleranceBands(std::shared_ptr<const ToleranceBands> bands);

  void Open(GraphKind kind);
  void OpenPoleZero();
  // By the number of the multi-stage window's Graphs menu (its CascadeGraph): 0 gain, 1 phase,
  // 2 group delay, 3 step response, 4 pole-zero plot; false, nothing shown, for any other.
  bool Open(int what);
  // Hides every window of the set (e.g. when the multi-stage window closes).
  void HideAll();

  const CascadeResponseSource& Source() const { return source_; }
  GraphWindow& Window(GraphKind kind);
  PoleZeroWindow& PoleZero() { return *poleZero_; }
  // The axes of the window drawn or turned to last (each window has its own).
  AxisState& Axes();

 private:
  CascadeGraphs(PlatformServices& platform, std::unique_ptr<GraphOutputServices> ownOutput,
                GraphOutputServices* output, SweepTarget* sweep, QObject* parent);

  CascadeResponseSource source_;
  std::optional<OpAmpModel> opAmp_;
  std::shared_ptr<const ToleranceBands> bands_;
  std::unique_ptr<GraphOutputServices> ownOutput_;
  std::unique_ptr<AxisScaleDialog> axisDialog_;
  std::unique_ptr<SweepModeDialog> sweepMode_;
  std::unique_ptr<GraphHelpBox> helpBox_;
  std::unique_ptr<GraphContext> context_;
  // Last, so the windows go before what they use.
  std::unique_ptr<GraphWindow> windows_[4];
  std::unique_ptr<PoleZeroWindow> poleZero_;
};

}  // namespace morvane::gui
