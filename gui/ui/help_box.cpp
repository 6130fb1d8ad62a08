#include "ui/help_box.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/window_placement.h"

namespace morvane::gui {

namespace {

struct HelpLine {
  const char* text;  // UTF-8
  bool heading;
};

constexpr HelpLine kLines[] = {
    {"1. Usage", true},
    {"First choose the topology using the tabs.", false},
    {"Then make your design entry. Immediately you get the results of the calculations.", false},
    {"You may also export data to other programs using the clipboard function via Ctrl-C.", false},
    {"With the Exit button you may quit the program.", false},
    {"2. Information", true},
    {"You can build nearly every type of filter from sections of 1st or 2nd order. The "
     "circuits with one op amp seem to be quite attractive, but they have some drawbacks.",
     false},
    {"At high frequencies or high Q factors you shouldn't use the one-op-amp circuits.", false},
    {"By pressing the Info button you can get an individual proposal for the circuit topology.",
     false},
};

}  // namespace

HelpBox::HelpBox(QWidget* parent) : QDialog(parent) {
  setObjectName("THilfeBox");
  setWindowTitle("Help for Morvane");

  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setAutoFillBackground(true);
  QPalette colours = panel->palette();
  colours.setColor(QPalette::Window, QColor(255, 255, 232));
  colours.setColor(QPalette::WindowText, Qt::black);
  panel->setPalette(colours);
  panel->setFixedWidth(480);

  auto* lines = new QVBoxLayout(panel);
  lines->setContentsMargins(12, 10, 12, 12);
  int number = 0;
  for (const HelpLine& line : kLines) {
    auto* label = new QLabel(QString::fromUtf8(line.text), panel);
    label->setObjectName(QString("HelpLine%1").arg(++number));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    if (line.heading) {
      QFont bold = label->font();
      bold.setBold(true);
      label->setFont(bold);
      if (number > 1) lines->addSpacing(8);
    }
    lines->addWidget(label);
  }

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKButton");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::hide);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(panel);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  adjustSize();
  CentreOnScreen(this);
}

}  // namespace morvane::gui
