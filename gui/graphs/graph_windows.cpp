#include "graphs/graph_windows.h"

#include <QWidget>

#include "design/design_session.h"
#include "graphs/axis_scale_dialog.h"
#include "graphs/design_response_source.h"
#include "graphs/dialog_placement.h"
#include "graphs/graph_context.h"
#include "graphs/graph_help_box.h"
#include "graphs/graph_output_services.h"
#include "graphs/graph_window.h"
#include "graphs/sweep_factor_dialog.h"
#include "graphs/sweep_mode_dialog.h"
#include "graphs/sweep_target.h"

namespace morvane::gui {

namespace {

int IndexOf(GraphKind kind) {
  return static_cast<int>(kind) - 1;
}

}  // namespace

GraphWindows::GraphWindows(DesignSession& session, PlatformServices& platform, QWidget* parent)
    : GraphWindows(session, platform, std::make_unique<DesktopGraphOutput>(), nullptr, parent) {}

GraphWindows::GraphWindows(DesignSession& session, PlatformServices& platform,
                           GraphOutputServices& output, QWidget* parent)
    : GraphWindows(session, platform, nullptr, &output, parent) {}

// The windows and dialogs have no parent widget: they are windows of their own, and the
// main window's controls stay the only ones under its names.
GraphWindows::GraphWindows(DesignSession& session, PlatformServices& platform,
                           std::unique_ptr<GraphOutputServices> ownOutput,
                           GraphOutputServices* output, QWidget* parent)
    : QObject(parent),
      session_(session),
      parentWidget_(parent),
      ownOutput_(std::move(ownOutput)),
      axisDialog_(std::make_unique<AxisScaleDialog>(platform)),
      sweepMode_(std::make_unique<SweepModeDialog>(platform)),
      sweepFactor_(std::make_unique<SweepFactorDialog>(session.MutableState())),
      helpBox_(std::make_unique<GraphHelpBox>()),
      source_(std::make_unique<DesignResponseSource>(session)),
      sweepTarget_(std::make_unique<SessionSweepTarget>(session)) {
  context_.reset(new GraphContext{*source_,
                                  sweepTarget_.get(),
                                  platform,
                                  ownOutput_ ? *ownOutput_ : *output,
                                  *axisDialog_,
                                  sweepMode_.get(),
                                  *helpBox_,
                                  {},
                                  nullptr,
                                  parent});
  for (GraphKind kind : kGraphKinds) {
    auto window = std::make_unique<GraphWindow>(kind, *context_);
    connect(window.get(), &GraphWindow::designTuned, this, &GraphWindows::designTuned);
    windows_[IndexOf(kind)] = std::move(window);
  }
  connect(sweepMode_.get(), &SweepModeDialog::drawRequested, this,
          [this](GraphKind target, double x1, double x2) { Window(target).ApplyTuning(x1, x2); });
}

GraphWindows::~GraphWindows() = default;

void GraphWindows::ShowGain() {
  Window(GraphKind::Gain).Open();
}

void GraphWindows::ShowPhase() {
  Window(GraphKind::Phase).Open();
}

void GraphWindows::ShowGroupDelay() {
  Window(GraphKind::GroupDelay).Open();
}

void GraphWindows::ShowTimeResponse() {
  Window(GraphKind::TimeResponse).Open();
}

void GraphWindows::ShowSweepFactorDialog() {
  if (parentWidget_) {
    sweepFactor_->adjustSize();
    const QPoint centre = parentWidget_->frameGeometry().center();
    PlaceOnScreen(*sweepFactor_,
                  centre - QPoint(sweepFactor_->width() / 2, sweepFactor_->height() / 2));
  }
  sweepFactor_->exec();
}

bool GraphWindows::Open(SecondaryWindow window) {
  switch (window) {
    case SecondaryWindow::GainGraph:
      ShowGain();
      return true;
    case SecondaryWindow::PhaseGraph:
      ShowPhase();
      return true;
    case SecondaryWindow::GroupDelayGraph:
      ShowGroupDelay();
      return true;
    case SecondaryWindow::TimeResponseGraph:
      ShowTimeResponse();
      return true;
    case SecondaryWindow::SweepFactor:
      ShowSweepFactorDialog();
      return true;
    case SecondaryWindow::TopologyProposal:
    case SecondaryWindow::FilterOrder:
    case SecondaryWindow::Help:
    case SecondaryWindow::About:
      break;
  }
  return false;
}

void GraphWindows::SetToleranceBands(std::shared_ptr<const ToleranceBands> bands) {
  source_->SetToleranceBands(std::move(bands));
  for (auto& window : windows_) window->BandsChanged();
}

// Following the design must not change it: what the curve fillers store in the state (fo
// from fg and Q, D = 0.5/Q for the time curve) is undone, so a recalculation with graphs open
// leaves the same design as one without.
void GraphWindows::SourceChanged() {
  const DesignState designed = session_.State();
  for (auto& window : windows_) window->SourceChanged();
  session_.MutableState() = designed;
}

GraphWindow& GraphWindows::Window(GraphKind kind) {
  return *windows_[IndexOf(kind)];
}

AxisState& GraphWindows::Axes() {
  return context_->current ? context_->current->MutableAxes()
                           : Window(GraphKind::Gain).MutableAxes();
}

AxisScaleDialog& GraphWindows::AxisDialog() {
  return *axisDialog_;
}

SweepModeDialog& GraphWindows::SweepMode() {
  return *sweepMode_;
}

SweepFactorDialog& GraphWindows::SweepFactor() {
  return *sweepFactor_;
}

GraphHelpBox& GraphWindows::HelpBox() {
  return *helpBox_;
}

}  // namespace morvane::gui
