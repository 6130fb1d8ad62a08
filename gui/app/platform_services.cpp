#include "app/platform_services.h"

#include <QApplication>
#include <QMessageBox>

namespace morvane::gui {

void DesktopServices::Beep() {
  QApplication::beep();
}

void DesktopServices::ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, QApplication::applicationDisplayName(), text);
}

}  // namespace morvane::gui
