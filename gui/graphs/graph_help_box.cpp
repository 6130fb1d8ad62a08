#include "graphs/graph_help_box.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvane::gui {

namespace {

struct HelpParagraph {
  const char* heading;
  const char* text;
};

constexpr HelpParagraph kParagraphs[] = {
    {"Change axis scale :",
     "If the mouse pointer is near the end of an axis you may press the left mouse button. "
     "The other way is to define a rectangle while pressing the right mouse button."},
    {"", "An auto scale is implemented and also you may switch between linear and logarithmic."},
    {"Change size :", "You may use either the mouse or the special buttons."},
    {"Miscellaneous :",
     "By double-clicking you may define the origin. There is also a copy function available."},
};

}  // namespace

GraphHelpBox::GraphHelpBox(QWidget* parent) : QDialog(parent) {
  setObjectName("GRHilfeBox");
  setWindowTitle("Help for Graphics");
  setModal(false);

  QString html;
  for (const HelpParagraph& p : kParagraphs) {
    if (*p.heading) html += QString("<p><b>%1</b><br>").arg(p.heading);
    html += QString("%1</p>").arg(p.text);
  }
  auto* panel = new QLabel(html, this);
  panel->setObjectName("Panel");
  panel->setWordWrap(true);
  panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  panel->setMargin(8);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKButton");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::hide);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  setFixedWidth(380);
}

}  // namespace morvane::gui
