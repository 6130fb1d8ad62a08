#include "graphs/cascade_graphs.h"

#include <QWidget>

#include "cascade/cascade_design.h"
#include "graphs/axis_scale_dialog.h"
#include "graphs/graph_context.h"
#include "graphs/graph_help_box.h"
#include "graphs/graph_output_services.h"
#include "graphs/graph_window.h"
#include "graphs/pole_zero_window.h"
#include "graphs/sweep_mode_dialog.h"

namespace morvane::gui {

namespace {

int IndexOf(GraphKind kind) {
  return static_cast<int>(kind) - 1;
}

}  // namespace

CascadeGraphs::CascadeGraphs(PlatformServices& platform, SweepTarget* sweep, QObject* parent)
    : CascadeGraphs(platform, std::make_unique<DesktopGraphOutput>(), nullptr, sweep, parent) {}

CascadeGraphs::CascadeGraphs(PlatformServices& platform, GraphOutputServices& output,
                             SweepTarget* sweep, QObject* parent)
    : CascadeGraphs(platform, nullptr, &output, sweep, parent) {}

CascadeGraphs::CascadeGraphs(PlatformServices& platform,
                             std::unique_ptr<GraphOutputServices> ownOutput,
                             GraphOutputServices* output, SweepTarget* sweep, QObject* parent)
    : QObject(parent),
      ownOutput_(std::move(ownOutput)),
      axisDialog_(std::make_unique<AxisScaleDialog>(platform)),
      sweepMode_(sweep ? std::make_unique<SweepModeDialog>(platform) : nullptr),
      helpBox_(std::make_unique<GraphHelpBox>()) {
  GraphOutputServices& out = ownOutput_ ? *ownOutput_ : *output;
  context_.reset(new GraphContext{source_,
                                  sweep,
                                  platform,
                                  out,
                                  *axisDialog_,
                                  sweepMode_.get(),
                                  *helpBox_,
                                  {},
                                  nullptr,
                                  qobject_cast<QWidget*>(parent)});
  for (GraphKind kind : kGraphKinds) {
    windows_[IndexOf(kind)] = std::make_unique<GraphWindow>(kind, *context_);
  }
  poleZero_ = std::make_unique<PoleZeroWindow>(platform, out);
  if (sweepMode_) {
    connect(sweepMode_.get(), &SweepModeDialog::drawRequested, this,
            [this](GraphKind target, double x1, double x2) { Window(target).ApplyTuning(x1, x2); });
  }
}

CascadeGraphs::~CascadeGraphs() = default;

void CascadeGraphs::SetCascade(const CascadeDesign& design) {
  bands_.reset();
  source_ = CascadeSourceOf(design, opAmp_);
  for (auto& window : windows_) window->SourceChanged();
  poleZero_->SetRoots(source_.Transfer());
}

void CascadeGraphs::SetOpAmp(const CascadeDesign& design, std::optional<OpAmpModel> opAmp) {
  opAmp_ = std::move(opAmp);
  source_ = CascadeSourceOf(design, opAmp_);
  source_.SetToleranceBands(bands_);
  for (auto& window : windows_) window->SourceChanged();
}

void CascadeGraphs::SetToleranceBands(std::shared_ptr<const ToleranceBands> bands) {
  bands_ = bands;
  source_.SetToleranceBands(std::move(bands));
  for (auto& window : windows_) window->BandsChanged();
}

void CascadeGraphs::Open(GraphKind kind) {
  Window(kind).Open();
}

void CascadeGraphs::OpenPoleZero() {
  poleZero_->Open();
}

bool CascadeGraphs::Open(int what) {
  constexpr int kPoleZero = 4;
  if (what == kPoleZero) {
    OpenPoleZero();
    return true;
  }
  if (what < 0 || what > kPoleZero) return false;
  // The graph kinds count from 1 in the same order.
  Open(static_cast<GraphKind>(what + 1));
  return true;
}

void CascadeGraphs::HideAll() {
  for (auto& window : windows_) window->hide();
  poleZero_->hide();
}

GraphWindow& CascadeGraphs::Window(GraphKind kind) {
  return *windows_[IndexOf(kind)];
}

AxisState& CascadeGraphs::Axes() {
  return context_->current ? context_->current->MutableAxes()
                           : Window(GraphKind::Gain).MutableAxes();
}

}  // namespace morvane::gui
