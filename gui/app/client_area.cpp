#include "app/client_area.h"

#include <algorithm>

namespace morvane::gui {

namespace {

// The designed places (the regions below the speed bar and above the tab set).
constexpr QRect kSpeedBar(0, 0, 782, 30);
constexpr QRect kInputGroup(2, 32, 262, 162);
constexpr QRect kInformation(266, 32, 306, 162);
constexpr QRect kFrequencyResponse(574, 32, 206, 162);
constexpr QRect kNotebook(2, 196, 590, 290);
constexpr QRect kFilterTypePanel(596, 196, 184, 142);
constexpr int kButtonLeft = 612, kButtonWidth = 152, kButtonHeight = 32;
constexpr std::array<int, 3> kButtonTops{362, 404, 446};
// The seven tab captions need more than the notebook's width: the tab set runs along the
// whole window beneath the notebook and the column beside it.
constexpr QRect kTabSet(2, 488, 778, 28);

}  // namespace

RegionPlaces PlaceRegions(QSize size) {
  const int wider = std::max(0, size.width() - kDesignedClientSize.width());
  const int taller = std::max(0, size.height() - kDesignedClientSize.height());
  RegionPlaces p;
  p.speedBar = kSpeedBar.adjusted(0, 0, wider, 0);
  p.input = kInputGroup;
  p.information = kInformation.adjusted(0, 0, wider, 0);
  p.frequencyResponse = kFrequencyResponse.translated(wider, 0);
  p.notebook = kNotebook.adjusted(0, 0, wider, taller);
  p.filterTypes = kFilterTypePanel.translated(wider, 0);
  for (std::size_t i = 0; i < p.buttons.size(); ++i) {
    p.buttons[i] = QRect(kButtonLeft + wider, kButtonTops[i] + taller, kButtonWidth, kButtonHeight);
  }
  p.tabs = kTabSet.adjusted(0, taller, wider, taller);
  return p;
}

ClientArea::ClientArea(QWidget* parent) : QWidget(parent) {
  setObjectName("ClientArea");
  setMinimumSize(kDesignedClientSize);
}

void ClientArea::SetRegions(const Regions& regions) {
  regions_ = regions;
  PlaceAll();
}

void ClientArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceAll();
}

void ClientArea::PlaceAll() {
  const RegionPlaces p = PlaceRegions(size());
  const auto place = [](QWidget* w, const QRect& r) {
    if (w) w->setGeometry(r);
  };
  place(regions_.speedBar, p.speedBar);
  place(regions_.input, p.input);
  place(regions_.information, p.information);
  place(regions_.frequencyResponse, p.frequencyResponse);
  place(regions_.notebook, p.notebook);
  place(regions_.filterTypes, p.filterTypes);
  for (std::size_t i = 0; i < p.buttons.size(); ++i) place(regions_.buttons[i], p.buttons[i]);
  place(regions_.tabs, p.tabs);
}

}  // namespace morvane::gui
