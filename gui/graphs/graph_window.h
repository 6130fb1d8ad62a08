#pragma once

// One graph window: gain, phase, group delay or time response of the current design or of a
// multi-stage filter, whichever its set's ResponseSource gives. The four are one class;
// GraphProfile holds what sets them apart. A window is created once, hidden when closed, and
// shown again from its owner. It asks the source when it fills its curve (on showing, Draw,
// an x-axis end changed in a frequency window, the sweep mode, the s(t)/h(t) choice, a new
// source) and otherwise only redraws its samples. A source with sections adds "Show
// Sections", which draws each section's own curve under the filter's; the sweep mode tunes
// what the set's SweepTarget offers (the main window's fg and Q, a multi-stage filter's fg or
// fm and B).
//
// Each window owns its axes: whatever another window of the set draws, resizing, Draw, the
// zoom and a new design keep the ranges this one shows. Only the curve style is shared. The
// window drawn or turned to (activated, pointed into) last is the set's current one.

#include <QImage>
#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "graphs/axis_state.h"
#include "graphs/curve_buffer.h"
#include "graphs/graph_axis_rules.h"
#include "graphs/graph_kind.h"
#include "graphs/graph_output_services.h"
#include "graphs/graph_picture.h"
#include "graphs/graph_profile.h"
#include "graphs/tolerance_bands.h"

class QAction;
class QLabel;
class QMenuBar;
class QRadioButton;
class QHBoxLayout;

namespace morvane::gui {

struct GraphContext;
class GraphImage;

class GraphWindow : public QWidget {
  Q_OBJECT

 public:
  // Client area below the menu bar when created; the smallest window.
  static constexpr QSize kClientSize{522, 306};
  static constexpr QSize kMinimumSize{400, 350};
  static constexpr int kButtonBarHeight = 32;
  static constexpr int kPanelHeight = 25;

  GraphWindow(GraphKind kind, GraphContext& context);
  ~GraphWindow() override;

  GraphKind Kind() const { return kind_; }
  const GraphProfile& Profile() const { return profile_; }
  // From the main window: a hidden window is shown with its starting axes and a fresh
  // curve; an open one is only brought to the front.
  void Open();

  // Fill means sampling the response into the buffer; draw means painting the picture.
  void RefillAndDraw();
  void DrawGraph();
  // The sweep mode's values stored in the design by the set's SweepTarget, then fill and
  // draw. Nothing without a target.
  void ApplyTuning(double first, double second);
  // The source has changed: an open window takes back the axes of its own last drawing,
  // fills and draws again; a hidden one starts afresh when it is next opened.
  void SourceChanged();
  // The source's tolerance bands changed: the picture is drawn again from the samples it has,
  // the curve not sampled anew (so the design's state is not touched).
  void BandsChanged();

  // The thin curves of the source's sections (a source with sections only).
  bool SectionsShown() const;
  void ShowSections(bool shown);

  const CurveBuffer& Buffer() const { return buffer_; }
  // One buffer per section while the sections are shown, else none.
  const std::vector<CurveBuffer>& SectionBuffers() const { return sectionBuffers_; }
  // The curve of the circuit as built beside the design's, or null (see ResponseSource).
  const CurveBuffer* AsBuiltCurve() const;
  // The curve with the source's real op amp beside the design's, or null (see ResponseSource).
  const CurveBuffer* OpAmpSamples() const;
  // The same with its name, as the drawing and the exports take it.
  std::optional<OpAmpCurve> OpAmpCurveShown() const;
  const QImage& Picture() const;
  // The axes as this window's last drawing left them.
  const AxisState& DrawnAxes() const { return drawnAxes_; }
  // This window's own axes, as its next drawing takes them.
  AxisState& MutableAxes() { return axes_; }
  const QString& LastFileName() const { return lastFileName_; }
  const QString& LastExportName(GraphFileFormat format) const {
    return lastExportNames_[static_cast<std::size_t>(format)];
  }
  bool PulseSelected() const;
  // The picture on screen as an SVG document, drawn again from the same axes and samples.
  std::string SvgPicture() const;

 signals:
  // The sweep mode changed the design (the main window's fg, Q and D).
  void designTuned();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  // graph_window_controls.cpp
  void BuildMenus(QMenuBar* menuBar);
  void BuildButtonBar(QHBoxLayout* bar);

  // graph_window.cpp
  void FormShow();
  void Refill();
  void FormResize();
  void FitBitmap();
  void FillSectionCurves();
  void TakeBand();
  void BecomeCurrent();
  void PlaceBesideAnchor();
  void Save1Click();
  void SavePng1Click();
  void SaveSvg1Click();
  void ExportCsv1Click();
  void Print1Click();
  void Copy1Click();
  void Zeichnen1Click();
  void Vergroessern1Click();
  void Verkleinern1Click();
  void Standardgroesse1Click();
  void xAutoskalierung1Click();
  void yAutoskalierung1Click();
  void Autoskalierung1Click();
  void xlog1Click();
  void Abstimmodus1Click();
  void HilfezumProgramm1Click();
  void ZoomInButtonClick();
  void ZoomOutButtonClick();
  void DotButtonClick();
  void RadioButtonClick();
  void ShowSections1Click();

  // graph_window_export.cpp
  void ExportAs(GraphFileFormat format);
  bool WriteExport(GraphFileFormat format, const QString& name, QString& error) const;

  // graph_window_mouse.cpp
  void ImageMouseMove(QPoint pixel);
  void ImageMouseDown(QPoint pixel);
  void ImageRightDown(QPoint pixel);
  void ImageRightUp(QPoint pixel);
  void Ursprungfestlegen1Click();
  bool EditAxisEnd(AxisEnd end, QPoint dialogAt);

  GraphKind kind_;
  const GraphProfile& profile_;
  GraphContext& context_;
  AxisState axes_;
  CurveBuffer buffer_;
  std::vector<CurveBuffer> sectionBuffers_;
  CurveBuffer asBuiltBuffer_;
  bool asBuiltShown_ = false;
  CurveBuffer opAmpBuffer_;
  std::string opAmpName_;              // empty: no curve with a real op amp
  std::optional<SpreadCurve> spread_;  // the tolerance band the source holds, for this window
  QString lastFileName_;
  std::array<QString, 3> lastExportNames_;
  // The axes as this window's last drawing left them.
  AxisState drawnAxes_;
  bool drawn_ = false;
  bool placed_ = false;
  bool rightDrag_ = false;
  QPoint rightDragFrom_;

  QMenuBar* menuBar_ = nullptr;
  QWidget* buttonBar_ = nullptr;
  GraphImage* image_ = nullptr;
  QLabel* currentPanel_ = nullptr;
  QAction* xlog1_ = nullptr;
  QAction* showSections1_ = nullptr;
  QRadioButton* radioButtonht_ = nullptr;
};

}  // namespace morvane::gui
