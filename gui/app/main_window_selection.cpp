// What a switch of topology, filter type or standard series changes in the widgets. The
// session switches the design; the tables of which controls follow live in the core.

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <initializer_list>

#include "app/main_window.h"
#include "app/stage_pages.h"
#include "app/window_look.h"
#include "design/field_names.h"
#include "design/selection_rules.h"
#include "ui/circuit_pictures.h"

namespace morvane::gui {

namespace {

void CheckActionWithData(QActionGroup* group, int value) {
  for (QAction* action : group->actions()) {
    if (action->data().toInt() == value) action->setChecked(true);
  }
}

struct Diagram {
  DiagramPlace place;
  std::string_view label;
};

constexpr Diagram kTypeDiagrams[] = {{DiagramPlace::Mfb, "Image1"},
                                     {DiagramPlace::Pfb, "Image2"},
                                     {DiagramPlace::Fliege, "Image5"},
                                     {DiagramPlace::LcLadder, "ImageLC"}};

}  // namespace

void MainWindow::SelectTopology(Topology topology) {
  ShowTopology(topology);
  const FilterType before = session_.Type();
  session_.SelectTopology(topology);
  // The page took its first type in place of one it does not design.
  if (session_.Type() != before) ShowFilterType(session_.Type());
}

void MainWindow::SelectFilterType(FilterType type) {
  ShowFilterType(type);
  session_.SelectFilterType(type);
}

void MainWindow::SelectResistorSeries(int series) {
  session_.SelectResistorSeries(series);
  ShowSeriesChecks();
}

void MainWindow::SelectCapacitorSeries(int series) {
  session_.SelectCapacitorSeries(series);
  ShowSeriesChecks();
}

void MainWindow::ShowTopology(Topology topology) {
  const int page = static_cast<int>(topology) - 1;
  Find<QStackedWidget>("Notebook1")->setCurrentIndex(page);
  {
    auto* tabs = Find<QTabBar>("TabSet1");
    const QSignalBlocker block(tabs);  // the tab follows; it does not select again
    tabs->setCurrentIndex(page);
  }
  CheckActionWithData(menus_.topology, static_cast<int>(topology));

  // The types the topology does not offer are disabled (the session never leaves one checked).
  auto* buttons = Find<QButtonGroup>("FilterTypeButtons");
  for (QAbstractButton* button : buttons->buttons()) {
    button->setEnabled(OffersType(topology, static_cast<FilterType>(buttons->id(button))));
  }
  for (QAction* action : menus_.filterType->actions()) {
    action->setEnabled(OffersType(topology, static_cast<FilterType>(action->data().toInt())));
  }
  ShowInputRows(topology);
}

void MainWindow::ShowInputRows(Topology topology) {
  const InputRows rows = InputRowsFor(topology, session_.Choices().ladderChebyshev);
  auto show = [this](std::initializer_list<std::string_view> names, bool visible) {
    for (auto name : names) Find<QWidget>(name)->setVisible(visible);
  };
  show({"LabelQ", "QEingabe", "SpinButtonQ"}, rows.quality);
  show({"LabelVu", "VuEingabe", "SpinButtonVu", "LabelWellEinheit"}, rows.gain);
  show({"LabelD_RL", "DEingabe", "SpinButtonD"}, rows.damping);
  show({"LabelRLEinheit"}, rows.loadUnit);
  Find<QLabel>("LabelVu")->setText(Text(rows.gainCaption));
  Find<QLabel>("LabelWellEinheit")->setText(Text(rows.gainUnit));
  Find<QLabel>("LabelD_RL")->setText(Text(rows.dampingCaption));
  Find<QWidget>("InfoBtn")->setEnabled(rows.proposal);
}

void MainWindow::ShowFilterType(FilterType type) {
  const FrequencyLabels labels = FrequencyLabelsFor(type);
  auto* fg = Find<QLabel>("Labelfg");
  fg->setText(Text(labels.fgCaption));
  SetHint(fg, Text(labels.fgHint));
  auto* fo = Find<QLabel>("Labelfo");
  fo->setText(Text(labels.foCaption));
  SetHint(fo, Text(labels.foHint));

  const bool elliptic = ShowsEllipticControls(type);
  Find<QLabel>("q2Label")->setVisible(elliptic);
  auto* ratio = Find<QLineEdit>("q2Eingabe");
  ratio->setVisible(elliptic);
  ratio->setEnabled(elliptic);
  auto* equalCapacitors = Find<QCheckBox>("CCheckBox2");
  equalCapacitors->setVisible(!elliptic);
  equalCapacitors->setEnabled(!elliptic);

  CheckActionWithData(menus_.filterType, static_cast<int>(type));
  Find<QButtonGroup>("FilterTypeButtons")->button(static_cast<int>(type))->setChecked(true);

  for (const Diagram& d : kTypeDiagrams) {
    const std::string_view name = DiagramFor(d.place, type);
    if (name.empty()) continue;  // the page does not design this type: keep its picture
    auto* picture = Find<QLabel>(d.label);
    picture->setPixmap(CircuitPicture(name, picture->contentsRect().size()));
    picture->setProperty(kPictureNameProperty, Text(name));
  }
}

void MainWindow::ShowSeriesChecks() {
  CheckActionWithData(menus_.resistorSeries, session_.State().ESeriesR);
  CheckActionWithData(menus_.capacitorSeries, session_.State().ESeriesC);
}

void MainWindow::ShowChoices() {
  const DesignState& s = session_.State();
  const DesignChoices& c = session_.Choices();
  ShowTopology(s.topology);
  ShowFilterType(c.type);
  ShowSeriesChecks();
  for (const field::CheckBox& box : field::CheckBoxes()) {
    auto* check = Find<QCheckBox>(box.name);
    const QSignalBlocker block(check);
    check->setChecked(c.*box.option);
  }
  const auto checkOnly = [](QAbstractButton* button) {
    if (!button) return;
    const QSignalBlocker block(button);
    button->setChecked(true);
  };
  checkOnly(Find<QButtonGroup>("LadderApproximationButtons")->button(c.ladderChebyshev ? 1 : 0));
  checkOnly(
      Find<QButtonGroup>("DiplexerApproximationButtons")->button(c.diplexerChebyshev ? 1 : 0));
  checkOnly(Find<QButtonGroup>("DiplexerOrderButtons")->button(c.diplexerOrder));
  auto* order = Find<QScrollBar>("ScrollBar1");
  {
    const QSignalBlocker block(order);
    order->setValue(s.LCOrder);
  }
  auto* rounding = Find<QAction>("RoundResistors1");
  const QSignalBlocker block(rounding);
  rounding->setChecked(c.roundResistors);
  ShowInputRows(s.topology);
}

}  // namespace morvane::gui
