#include "app/main_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <array>
#include <span>
#include <string_view>

#include "app/window_look.h"
#include "design/design_state.h"

namespace morvane::gui {

namespace {

enum class Group { None, Topology, FilterType, ResistorSeries, CapacitorSeries, Toggle };

struct Item {
  std::string_view name;  // empty: a separator
  std::string_view caption = {};
  std::string_view shortcut = {};
  std::string_view hint = {};
  Group group = Group::None;
  int value = 0;
  bool checked = false;
  std::span<const Item> submenu = {};
};

struct Menu {
  std::string_view name;
  std::string_view caption;
  std::span<const Item> items;
};

constexpr Item kSeparator{""};

constexpr int Type(FilterType type) {
  return static_cast<int>(type);
}

constexpr std::array kFile{
    Item{"Drucken1", "&Print"},
    Item{"Druckereinstellung1", "Printer &Setup"},
    Item{"SpiceExport1", "Export SPICE Netlist…", {}, "Write the circuit as a SPICE netlist"},
    kSeparator,
    Item{"ExitItem", "&Exit", "Alt+X", "Exit program"},
};

constexpr std::array kEdit{
    Item{"Rechnen1", "&Calculate"},
    Item{"Undo1", "&Undo", "Ctrl+Z"},
};

constexpr std::array kResistorSeries{
    Item{"E6R1", "E&6 Series", {}, {}, Group::ResistorSeries, 1},
    Item{"E12R1", "E&12 Series", {}, {}, Group::ResistorSeries, 2},
    Item{"E24R1", "E&24 Series", {}, {}, Group::ResistorSeries, 3},
    Item{"E48R1", "E&48 Series", {}, {}, Group::ResistorSeries, 4, true},
    Item{"E96R1", "E&96 Series", {}, {}, Group::ResistorSeries, 5},
};

constexpr std::array kCapacitorSeries{
    Item{"E6C1", "E&6 Series", {}, {}, Group::CapacitorSeries, 1, true},
    Item{"E12C1", "E&12 Series", {}, {}, Group::CapacitorSeries, 2},
    Item{"E24C1", "E&24 Series", {}, {}, Group::CapacitorSeries, 3},
    Item{"E48C1", "E&48 Series", {}, {}, Group::CapacitorSeries, 4},
    Item{"E96C1", "E&96 Series", {}, {}, Group::CapacitorSeries, 5},
};

constexpr std::array kOptions{
    Item{"MFBinv1", "&MFB inverting", {}, {}, Group::Topology, 1, true},
    Item{"PFBninv1", "&PFB noninverting", {}, {}, Group::Topology, 2},
    Item{"SVF3OP1", "&SVF (3 Op Amps)", {}, {}, Group::Topology, 3},
    Item{"SVF4OP1", "SVF (&4 op amps)", {}, {}, Group::Topology, 4},
    Item{"Fliege2OP1", "&Fliege (2 op amps)", {}, {}, Group::Topology, 5},
    Item{"PassivesLCFilter1", "Passive &LC Filter", {}, {}, Group::Topology, 6},
    Item{"LCDiplexer1", "LC &Diplexer", {}, {}, Group::Topology, 7},
    kSeparator,
    Item{"Tiefpass1", "&Lowpass", {}, {}, Group::FilterType, Type(FilterType::Lowpass), true},
    Item{"ElliptischerTiefpass1",
         "&Elliptical Lowpass",
         {},
         {},
         Group::FilterType,
         Type(FilterType::EllipticLowpass)},
    Item{"Hochpass1", "&Highpass", {}, {}, Group::FilterType, Type(FilterType::Highpass)},
    Item{"Bandpass1", "&Bandpass", {}, {}, Group::FilterType, Type(FilterType::Bandpass)},
    Item{"Bandsperre1", "Band&stop", {}, {}, Group::FilterType, Type(FilterType::Bandstop)},
    Item{"Allpass1", "&Allpass", {}, {}, Group::FilterType, Type(FilterType::Allpass)},
    kSeparator,
    Item{"SweepFaktor1", "&Sweep Factor", "Ctrl+S"},
    kSeparator,
    Item{"NormreiheR1",
         "Standard Series for &Resistors",
         {},
         {},
         Group::None,
         0,
         false,
         kResistorSeries},
    Item{"NormreiheC1",
         "Standard Series for &Capacitors",
         {},
         {},
         Group::None,
         0,
         false,
         kCapacitorSeries},
    Item{"RoundResistors1",
         "&Round Resistors to the Series",
         {},
         "Every resistor of the stage rounded to the nearest value of its series, as it is built",
         Group::Toggle},
    Item{"ValueSearch1",
         "Search Standard &Values…",
         {},
         "Other capacitors of the series and resistor roundings that come closest to the design"},
    Item{"OpAmp1",
         "&Op Amp…",
         {},
         "The stage with a real op amp: its curves and figures beside the ideal"},
    Item{"Predistort1",
         "&Pre-distort for the Op Amp",
         {},
         "MFB and PFB stages designed so that with the chosen op amp they meet f0 and Q",
         Group::Toggle},
};

constexpr std::array kTools{
    Item{"Ausfhren1", "&Execute"},
    Item{"Filterordnungberechnen1", "Calculate &Filter Order"},
    Item{"MultiStageFilter1", "&Multi-stage Filter…", "Ctrl+M",
         "Design a whole filter as a chain of first- and second-order sections"},
    Item{"ToleranceAnalysis1", "&Tolerance Analysis…", "Ctrl+T",
         "Monte Carlo of the parts' tolerances: spread, sensitivities and yield"},
    Item{"Noise1",
         "&Noise…",
         {},
         "Output noise of the stage: density, RMS over a band and each part's share"},
    kSeparator,
    Item{"Zwischenablage1", "&Clipboard"},
    Item{"Taschenrechner1", "&Calculator"},
    Item{"RCFilter1", "&RC Filters"},
    Item{"LCFilter1", "&LC Filters"},
    Item{"ENormreihen1", "&E-Series"},
    Item{"SerienParallelschaltungen1", "&Series and Parallel Circuits"},
};

constexpr std::array kHelp{
    Item{"Hilfe1", "&Help", "F1"},
    Item{"Schaltungsvorschlag1", "&Circuit Proposal", "Ctrl+F1"},
    Item{"ImVordergrundbleiben1", "Always Stay in &Front", {}, {}, Group::Toggle},
    kSeparator,
    Item{"About1", "&Info..."},
};

constexpr std::array kMenus{
    Menu{"FileMenu", "&File", kFile},        Menu{"Bearbeiten1", "&Edit", kEdit},
    Menu{"Optionen1", "&Options", kOptions}, Menu{"Tools1", "&Tools", kTools},
    Menu{"Help1", "&Help", kHelp},
};

QActionGroup* GroupFor(Group group, const MenuGroups& groups) {
  switch (group) {
    case Group::Topology:
      return groups.topology;
    case Group::FilterType:
      return groups.filterType;
    case Group::ResistorSeries:
      return groups.resistorSeries;
    case Group::CapacitorSeries:
      return groups.capacitorSeries;
    default:
      return nullptr;
  }
}

void AddItems(QMenu* menu, std::span<const Item> items, const MenuGroups& groups) {
  for (const Item& item : items) {
    if (item.name.empty()) {
      menu->addSeparator();
      continue;
    }
    if (!item.submenu.empty()) {
      QMenu* sub = menu->addMenu(Text(item.caption));
      sub->setObjectName(Text(item.name));
      sub->menuAction()->setObjectName(Text(item.name));
      AddItems(sub, item.submenu, groups);
      continue;
    }
    QAction* action = menu->addAction(Text(item.caption));
    action->setObjectName(Text(item.name));
    if (!item.shortcut.empty()) action->setShortcut(QKeySequence(Text(item.shortcut)));
    if (!item.hint.empty()) action->setStatusTip(Text(item.hint));
    if (item.group != Group::None) {
      action->setCheckable(true);
      action->setChecked(item.checked);
      action->setData(item.value);
    }
    if (QActionGroup* group = GroupFor(item.group, groups)) group->addAction(action);
  }
}

QActionGroup* MakeGroup(const char* name, QObject* parent) {
  auto* group = new QActionGroup(parent);
  group->setObjectName(name);
  group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
  return group;
}

}  // namespace

MenuGroups BuildMainMenu(QMainWindow* window) {
  const MenuGroups groups{
      MakeGroup("TopologyMenuGroup", window), MakeGroup("FilterTypeMenuGroup", window),
      MakeGroup("ResistorSeriesMenuGroup", window), MakeGroup("CapacitorSeriesMenuGroup", window)};
  QMenuBar* bar = window->menuBar();
  bar->setObjectName("MainMenu");
  for (const Menu& m : kMenus) {
    QMenu* menu = bar->addMenu(Text(m.caption));
    menu->setObjectName(Text(m.name));
    AddItems(menu, m.items, groups);
  }
  return groups;
}

}  // namespace morvane::gui
