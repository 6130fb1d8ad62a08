#include "app/filter_type_panel.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <array>
#include <string_view>

#include "app/window_look.h"
#include "ui/glyphs.h"

namespace morvane::gui {

namespace {

struct TypeButton {
  FilterType type;
  std::string_view name;
  std::string_view caption;
  std::string_view iconHint;
  int row;
  int column;
};

constexpr std::array kButtons{
    TypeButton{FilterType::Lowpass, "TPRadioButton", "Lowpass", "Passes low frequencies", 0, 0},
    TypeButton{FilterType::Highpass, "HPRadioButton", "Highpass", "Passes high frequencies", 1, 0},
    TypeButton{FilterType::Bandpass, "BPRadioButton", "Bandpass",
               "Passes a band around a center frequency", 2, 0},
    TypeButton{FilterType::EllipticLowpass, "ellTPRadioButton", "ell. Lowpass",
               "Rejects high frequencies and has an additional zero", 0, 1},
    TypeButton{FilterType::Allpass, "APRadioButton", "Allpass",
               "Passes every frequency; only the phase shift depends on frequency", 1, 1},
    TypeButton{FilterType::Bandstop, "BSRadioButton", "Bandstop",
               "Rejects a band around a center frequency", 2, 1},
};

}  // namespace

QFrame* MakeFilterTypePanel(QWidget* parent) {
  QFrame* panel = MakeRegion("Panel1", {}, parent);
  auto* layout = new QGridLayout(panel);
  layout->setContentsMargins(6, 3, 4, 4);
  layout->setHorizontalSpacing(3);
  layout->setVerticalSpacing(0);
  layout->addWidget(MakeHeading("Filter Type", panel), 0, 0, 1, -1);
  auto* group = new QButtonGroup(panel);
  group->setObjectName("FilterTypeButtons");
  group->setExclusive(true);
  for (const TypeButton& b : kButtons) {
    QLabel* icon =
        MakeLabel(Text(b.name).replace("RadioButton", "Image"), {}, Text(b.iconHint), panel);
    icon->setPixmap(ResponseShapeIcon(b.type));
    auto* radio = new QRadioButton(Text(b.caption), panel);
    radio->setObjectName(Text(b.name));
    radio->setChecked(b.type == FilterType::Lowpass);
    group->addButton(radio, static_cast<int>(b.type));
    // The icon sits above its button: two columns of captions beside icons do not fit.
    layout->addWidget(icon, 1 + 2 * b.row, b.column, Qt::AlignLeft | Qt::AlignBottom);
    layout->addWidget(radio, 2 + 2 * b.row, b.column);
  }
  layout->setColumnStretch(0, 1);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(7, 1);
  return panel;
}

}  // namespace morvane::gui
