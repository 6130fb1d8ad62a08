#include "app/speed_bar.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <array>
#include <string_view>

#include "app/window_look.h"
#include "ui/glyphs.h"

namespace morvane::gui {

namespace {

struct SpeedButton {
  std::string_view name;
  std::string_view caption;  // empty: glyph only
  std::string_view hint;
};

constexpr std::array kButtons{
    SpeedButton{"ExitBtn", "", "Exit"},
    SpeedButton{"SpeedButtonINISave", "", "Save INI file"},
    SpeedButton{"SpeedButtonINILaden", "", "Load INI file"},
    SpeedButton{"RechenButton", "", "Make calculations"},
    SpeedButton{"ExecButton", "", "Call another program"},
    SpeedButton{"SweepButton", "", "Modify sweep factor"},
    SpeedButton{"ButtonCopy", "", "Copy window contents to clipboard"},
    SpeedButton{"InfoBtn", "Info", "Help on circuit topology"},
    SpeedButton{"VdbBtn", "V(f)", "Graphic output of frequency response"},
    SpeedButton{"PhiBtn", "Phi(f)", "Graphic output of phase shift"},
    SpeedButton{"tgrBtn", "tgr(f)", "Graphic output of group delay"},
    SpeedButton{"htBtn", "s(t)", "Graphic output of pulse and step response"},
    SpeedButton{"BitBtnOrd", "Order", "Calculate filter order"},
    SpeedButton{"CascadeBtn", "Stages", "Design a multi-stage filter"},
};

// The glyph buttons form the first group; a gap sets the captioned ones apart.
constexpr std::string_view kLastGlyphButton = "ButtonCopy";

}  // namespace

QWidget* MakeSpeedBar(QWidget* parent) {
  auto* bar = new QWidget(parent);
  bar->setObjectName("SpeedBar");
  bar->setFixedHeight(kSpeedBarHeight);
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(3, 2, 3, 2);
  layout->setSpacing(1);
  for (const SpeedButton& b : kButtons) {
    auto* button = new QToolButton(bar);
    button->setObjectName(Text(b.name));
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::NoFocus);
    SetHint(button, Text(b.hint));
    if (b.caption.empty()) {
      button->setIcon(SpeedBarGlyph(b.name));
      button->setIconSize(QSize(20, 20));
      button->setFixedSize(26, 26);
    } else {
      button->setText(Text(b.caption));
      button->setFixedSize(46, 26);
    }
    layout->addWidget(button);
    if (b.name == kLastGlyphButton) layout->addSpacing(10);
  }
  layout->addStretch(1);
  return bar;
}

}  // namespace morvane::gui
