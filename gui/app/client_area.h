#pragma once

// The main window's client area, between the menu bar and the status bar. At the size the
// window opens with, every region sits at its designed place; a larger window gives the extra
// room to the circuit notebook (both ways) and to the information panel (across), and moves
// the column beside the notebook, the frequency response and the tab set along.

#include <QRect>
#include <QWidget>
#include <array>

namespace morvane::gui {

struct RegionPlaces {
  QRect speedBar;
  QRect input;
  QRect information;
  QRect frequencyResponse;
  QRect notebook;
  QRect filterTypes;
  std::array<QRect, 3> buttons;  // OK, Exit, Help
  QRect tabs;
};

// The client area's size at which every region has its designed place.
inline constexpr QSize kDesignedClientSize{782, 518};

// The regions' places for a client area of `size`; below the designed size, the designed
// places (the window does not get smaller than that).
RegionPlaces PlaceRegions(QSize size);

class ClientArea : public QWidget {
  Q_OBJECT

 public:
  explicit ClientArea(QWidget* parent = nullptr);

  // The widgets of the regions, placed on every resize from here on.
  struct Regions {
    QWidget* speedBar = nullptr;
    QWidget* input = nullptr;
    QWidget* information = nullptr;
    QWidget* frequencyResponse = nullptr;
    QWidget* notebook = nullptr;
    QWidget* filterTypes = nullptr;
    std::array<QWidget*, 3> buttons{};
    QWidget* tabs = nullptr;
  };
  void SetRegions(const Regions& regions);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceAll();

  Regions regions_;
};

}  // namespace morvane::gui
