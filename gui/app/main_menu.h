#pragma once

// The main menu, built from one table. Every item is a QAction named as in the design
// (Drucken1, MFBinv1, Tiefpass1, E48R1, ...). The items of each choice form an exclusive
// group whose actions carry the choice in data(): the topology number, the FilterType, or
// the series code 1 (E6) .. 5 (E96).

class QActionGroup;
class QMainWindow;

namespace morvane::gui {

struct MenuGroups {
  QActionGroup* topology;
  QActionGroup* filterType;
  QActionGroup* resistorSeries;
  QActionGroup* capacitorSeries;
};

MenuGroups BuildMainMenu(QMainWindow* window);

}  // namespace morvane::gui
