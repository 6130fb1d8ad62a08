#include "ui/about_box.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "morvane/version.h"
#include "ui/glyphs.h"
#include "ui/gradient_fill.h"
#include "ui/window_placement.h"

namespace morvane::gui {

namespace {

QIcon AboutIcon() {
  const QIcon icon = QApplication::windowIcon();
  return icon.isNull() ? ProgramIcon() : icon;
}

QLabel* MakeText(const char* name, const QString& text, int pixelSize, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  QFont font = label->font();
  font.setPixelSize(pixelSize);
  font.setBold(true);
  label->setFont(font);
  return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("TAboutBox");
  setWindowTitle("Information");
  setAttribute(Qt::WA_DeleteOnClose);

  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* fill = new GradientFill(panel);
  fill->setObjectName("GradientFill1");
  fill->SetColours(QColor(255, 255, 0), QColor(128, 128, 0));
  auto* panelLayout = new QVBoxLayout(panel);
  panelLayout->setContentsMargins(2, 2, 2, 2);
  panelLayout->addWidget(fill);

  auto* icon = new QLabel(fill);
  icon->setObjectName("ProgramIcon");
  icon->setPixmap(AboutIcon().pixmap(32, 32));
  auto* content = new QGridLayout(fill);
  content->setContentsMargins(20, 20, 20, 20);
  content->setHorizontalSpacing(20);
  content->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  content->addWidget(MakeText("ProductName", "Morvane", 26, fill), 0, 1);
  content->addWidget(MakeText("Version", "Version " + QString::fromUtf8(kVersion), 14, fill), 1, 1);
  content->setColumnStretch(1, 1);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKButton");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(panel);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  panel->setMinimumSize(280, 120);
}

AboutBox* OpenAboutBox(QWidget* parent) {
  auto* box = new AboutBox(parent);
  box->setWindowModality(Qt::ApplicationModal);
  box->adjustSize();
  CentreOnScreen(box);
  box->show();
  return box;
}

}  // namespace morvane::gui
