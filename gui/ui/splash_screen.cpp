#include "ui/splash_screen.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QScreen>

#include "morvane/version.h"
#include "ui/glyphs.h"

namespace morvane::gui {

namespace {

const QColor kLightYellow(255, 255, 232);

}  // namespace

SplashScreen::SplashScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName("SplashScreen");
  setFixedSize(263, 161);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kLightYellow);
  setPalette(colours);

  auto* panel = new QFrame(this);
  panel->setObjectName("SplashPanel");
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setGeometry(8, 8, 247, 145);

  auto* icon = new QLabel(panel);
  icon->setObjectName("SplashIcon");
  icon->setPixmap(ProgramIcon().pixmap(32, 32));
  auto* name = new QLabel("Morvane", panel);
  name->setObjectName("SplashProgramName");
  QFont large = name->font();
  large.setPixelSize(26);
  large.setBold(true);
  name->setFont(large);
  name->setStyleSheet("color: rgb(128, 0, 0)");
  auto* version = new QLabel("Version " + QString::fromUtf8(kVersion), panel);
  version->setObjectName("SplashVersion");

  auto* layout = new QGridLayout(panel);
  layout->setContentsMargins(16, 16, 16, 16);
  layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  layout->addWidget(name, 0, 1, Qt::AlignLeft | Qt::AlignBottom);
  layout->addWidget(version, 1, 1, Qt::AlignLeft | Qt::AlignTop);
  layout->setColumnStretch(1, 1);
}

void SplashScreen::ShowNow() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  show();
  repaint();
  QApplication::processEvents();
}

}  // namespace morvane::gui
