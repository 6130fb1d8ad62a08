#include "app/main_window.h"

namespace morvane::gui {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("TSDIAppForm");
  setWindowTitle("Morvane");
  setFixedSize(782, 540);
}

}  // namespace morvane::gui
