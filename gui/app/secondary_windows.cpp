#include "app/secondary_windows.h"

#include <QAbstractButton>
#include <QAction>

#include "aids/order_dialog.h"
#include "aids/proposal_dialog.h"
#include "app/main_window.h"
#include "cascade/cascade_window.h"
#include "graphs/graph_windows.h"
#include "help/help_pages.h"
#include "help/help_window.h"
#include "noise/noise_subjects.h"
#include "noise/noise_window.h"
#include "tolerance/tolerance_window.h"
#include "tolerance/value_search_dialog.h"
#include "ui/about_box.h"
#include "ui/window_placement.h"

namespace morvane::gui {

SecondaryWindows::SecondaryWindows(MainWindow& window, PlatformServices& services)
    : window_(window), services_(services) {
  proposal_ = new ProposalDialog(&window);
  order_ = new OrderDialog(window.Session().MutableState(), &window);
  graphs_ = new GraphWindows(window.Session(), services, &window);
  help_ = new HelpWindow(&window);
  connect(&window, &MainWindow::windowRequested, this, &SecondaryWindows::Open);
  // The Multi-stage Filter window is no value of SecondaryWindow, which the graph windows
  // switch over too: its commands come here directly.
  connect(window.findChild<QAction*>("MultiStageFilter1"), &QAction::triggered, this,
          &SecondaryWindows::OpenCascade);
  connect(window.findChild<QAbstractButton*>("CascadeBtn"), &QAbstractButton::clicked, this,
          &SecondaryWindows::OpenCascade);
  connect(window.findChild<QAction*>("ToleranceAnalysis1"), &QAction::triggered, this,
          [this] { ShowInFront(&Tolerance()); });
  connect(window.findChild<QAction*>("Noise1"), &QAction::triggered, this,
          [this] { ShowInFront(&Noise()); });
  connect(window.findChild<QAction*>("ValueSearch1"), &QAction::triggered, this, [this] {
    ValueSearch().Search();
    ShowInFront(&ValueSearch());
  });
  connect(&window, &MainWindow::opAmpChosen, graphs_, &GraphWindows::SourceChanged);
  connect(&window, &MainWindow::opAmpChosen, this, [this] {
    if (noise_) noise_->SubjectMayHaveChanged();
  });
  // Open graphs follow every recalculation within their own axes; the sweep mode's values go
  // back into the main window's entries (whose recalculation the graphs follow in turn).
  connect(&window, &MainWindow::recalculated, graphs_, &GraphWindows::SourceChanged);
  connect(graphs_, &GraphWindows::designTuned, &window, &MainWindow::MakeCalculations);
  connect(&window, &MainWindow::recalculated, this, [this] {
    if (tolerance_) tolerance_->SubjectMayHaveChanged();
    if (noise_) noise_->SubjectMayHaveChanged();
  });
  connect(order_, &OrderDialog::multiStageFilterRequested, this,
          [this](Approximation approximation, const ToleranceScheme& scheme, int leastOrder) {
            Cascade().TakeToleranceScheme(approximation, scheme, leastOrder);
            OpenCascade();
          });
  // OK goes to a multi-stage window already made, and brings it up if it is shown.
  connect(order_, &OrderDialog::schemeAccepted, this,
          [this](Approximation approximation, const ToleranceScheme& scheme, int leastOrder) {
            if (!cascade_) return;
            cascade_->TakeToleranceScheme(approximation, scheme, leastOrder);
            if (cascade_->isVisible()) ShowInFront(cascade_.get());
          });
}

SecondaryWindows::~SecondaryWindows() = default;

CascadeWindow& SecondaryWindows::Cascade() {
  if (!cascade_) {
    cascade_ = std::make_unique<CascadeWindow>(services_);
    cascade_->adjustSize();
    CentreOnScreen(cascade_.get());
  }
  return *cascade_;
}

ToleranceWindow& SecondaryWindows::Tolerance() {
  if (!tolerance_) {
    const DesignSession& session = window_.Session();
    const auto subject = [&session]() -> std::optional<ToleranceSubject> {
      const OrderCalculatorInputs& o = session.State().order;
      return ToleranceSubject{PageToleranceFilters(session.State(), session.Choices()),
                              false,
                              {o.OrderF1, o.OrderD1, o.OrderF2, o.OrderD2}};
    };
    tolerance_ = new ToleranceWindow(
        subject, [this](auto bands) { graphs_->SetToleranceBands(std::move(bands)); }, &window_);
  }
  return *tolerance_;
}

NoiseWindow& SecondaryWindows::Noise() {
  if (!noise_) {
    const DesignSession& session = window_.Session();
    noise_ = new NoiseWindow([&session] { return StageNoiseSubject(session); }, services_, nullptr,
                             &window_);
  }
  return *noise_;
}

ValueSearchDialog& SecondaryWindows::ValueSearch() {
  if (!valueSearch_) valueSearch_ = new ValueSearchDialog(window_.Session(), &window_);
  return *valueSearch_;
}

void SecondaryWindows::OpenCascade() {
  ShowInFront(&Cascade());
}

bool SecondaryWindows::Open(SecondaryWindow window) {
  switch (window) {
    case SecondaryWindow::FilterOrder:
      ShowInFront(order_);
      return true;
    case SecondaryWindow::TopologyProposal:
      ShowInFront(proposal_);
      return true;
    case SecondaryWindow::Help:
      help_->ShowPage(HelpPageFor(window_.Session().State().topology));
      return true;
    case SecondaryWindow::About:
      OpenAboutBox(&window_);
      return true;
    case SecondaryWindow::SweepFactor:
    case SecondaryWindow::GainGraph:
    case SecondaryWindow::PhaseGraph:
    case SecondaryWindow::GroupDelayGraph:
    case SecondaryWindow::TimeResponseGraph:
      return graphs_->Open(window);
  }
  return false;
}

}  // namespace morvane::gui
