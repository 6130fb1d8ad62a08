// The menus and the button bar of a graph window, built from tables.

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QToolButton>

#include "graphs/graph_context.h"
#include "graphs/graph_controls.h"
#include "graphs/graph_profile.h"
#include "graphs/graph_window.h"
#include "graphs/response_source.h"

namespace morvane::gui {

void GraphWindow::BuildMenus(QMenuBar* menuBar) {
  using Command = MenuCommand<GraphWindow>;
  // Ctrl+A draws: the sweep mode, which the program once gave the same keys, goes without,
  // since one key cannot start two commands.
  static constexpr Command kCommands[] = {
      {"&File", "Save1", "&Save as BMP", "Ctrl+S", &GraphWindow::Save1Click},
      {"&File", "SavePng1", "Save as P&NG…", "", &GraphWindow::SavePng1Click},
      {"&File", "SaveSvg1", "Save as S&VG…", "", &GraphWindow::SaveSvg1Click},
      {"&File", "ExportCsv1", "&Export CSV…", "", &GraphWindow::ExportCsv1Click},
      {"&File", "Print1", "&Print", "Ctrl+P", &GraphWindow::Print1Click},
      {"&File", "Exit1", "E&xit", "Ctrl+F4", nullptr},
      {"&Graphic", "Zeichnen1", "&Draw", "Ctrl+A", &GraphWindow::Zeichnen1Click},
      {"&Graphic", "Copy1", "&Copy", "Ctrl+C", &GraphWindow::Copy1Click},
      {"&Graphic", "Vergroessern1", "&Increase Window Size", "", &GraphWindow::Vergroessern1Click},
      {"&Graphic", "Verkleinern1", "&Decrease Window Size", "", &GraphWindow::Verkleinern1Click},
      {"&Graphic", "Standardgroesse1", "&Standard Size", "Ctrl+N",
       &GraphWindow::Standardgroesse1Click},
      {"&Scales", "xAutoskalierung1", "&x-Autoscale", "", &GraphWindow::xAutoskalierung1Click},
      {"&Scales", "yAutoskalierung1", "&y-Autoscale", "", &GraphWindow::yAutoskalierung1Click},
      {"&Scales", "Autoskalierung1", "xy-&Autoscale", "", &GraphWindow::Autoskalierung1Click},
      {"&Scales", "xlog1", "&x-logarithmic", "", &GraphWindow::xlog1Click},
      {"&Scales", "Ursprungfestlegen1", "&Define Origin", "",
       &GraphWindow::Ursprungfestlegen1Click},
      {"&Parameters", "Abstimmodus1", "&Sweep Mode", "", &GraphWindow::Abstimmodus1Click},
      {"&Help", "HilfezumProgramm1", "&Help for Graphic Usage", "F1",
       &GraphWindow::HilfezumProgramm1Click},
  };

  AddMenuCommands<GraphWindow>(this, menuBar, kCommands);
  xlog1_ = menuBar->findChild<QAction*>("xlog1");
  xlog1_->setCheckable(true);
  xlog1_->setEnabled(profile_.xLogAvailable);
  menuBar->findChild<QAction*>("Abstimmodus1")->setEnabled(context_.sweepTarget != nullptr);

  if (!context_.source.OffersSections()) return;
  // The Graphic menu: the one that holds Draw.
  auto* graphicMenu = qobject_cast<QMenu*>(menuBar->findChild<QAction*>("Zeichnen1")->parent());
  showSections1_ = graphicMenu->addAction("Show S&ections");
  showSections1_->setObjectName("ShowSections1");
  showSections1_->setIconText("Sections");
  showSections1_->setToolTip("Each section's own curve as a thin line");
  showSections1_->setCheckable(true);
  connect(showSections1_, &QAction::triggered, this, &GraphWindow::ShowSections1Click);
}

void GraphWindow::BuildButtonBar(QHBoxLayout* bar) {
  using Button = BarButton<GraphWindow>;
  static constexpr Button kButtons[] = {
      {"CloseButton", "", "Close graphic", nullptr},
      {"VergroessernButton", "", "Increase", &GraphWindow::Vergroessern1Click},
      {"VerkleinernButton", "", "Decrease", &GraphWindow::Verkleinern1Click},
      {"StandardgrButton", "", "Standard size", &GraphWindow::Standardgroesse1Click},
      {"xlogButton", "x-log", "Switch between linear and logarithmic", &GraphWindow::xlog1Click},
      {"AutoskButton", "Auto", "xy-Autoscale", &GraphWindow::Autoskalierung1Click},
      {"DotButton", "", "Dots on/off", &GraphWindow::DotButtonClick},
      {"ZoomInButton", "+", "Zoom in", &GraphWindow::ZoomInButtonClick},
      {"ZoomOutButton", "-", "Zoom out", &GraphWindow::ZoomOutButtonClick},
      {"SweepButton", "", "Sweep parameters", &GraphWindow::Abstimmodus1Click},
  };
  AddBarButtons<GraphWindow>(this, buttonBar_, bar, kButtons);
  buttonBar_->findChild<QToolButton*>("xlogButton")->setEnabled(profile_.xLogAvailable);
  buttonBar_->findChild<QToolButton*>("SweepButton")->setEnabled(context_.sweepTarget != nullptr);
  if (showSections1_) {
    auto* sections = new QToolButton(buttonBar_);
    sections->setObjectName("SectionsButton");
    sections->setFocusPolicy(Qt::NoFocus);
    sections->setAutoRaise(true);
    sections->setMinimumSize(26, 26);
    // Checked and unchecked with the menu item; it shows the item's icon text.
    sections->setDefaultAction(showSections1_);
    bar->addWidget(sections);
  }
  bar->addStretch(1);

  if (kind_ != GraphKind::TimeResponse) return;
  auto* step = new QRadioButton("s(t)", buttonBar_);
  step->setObjectName("RadioButtonst");
  step->setToolTip("Step response");
  step->setChecked(true);
  radioButtonht_ = new QRadioButton("h(t)", buttonBar_);
  radioButtonht_->setObjectName("RadioButtonht");
  radioButtonht_->setToolTip("Pulse response");
  for (QRadioButton* radio : {step, radioButtonht_}) {
    radio->setFocusPolicy(Qt::NoFocus);
    // Only the button that becomes checked refills, once per choice.
    connect(radio, &QRadioButton::toggled, this, [this](bool on) {
      if (on) RadioButtonClick();
    });
    bar->addWidget(radio);
  }
}

}  // namespace morvane::gui
