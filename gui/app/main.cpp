#include <QApplication>

#include "app/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Morvane");
  morvane::gui::MainWindow window;
  window.show();
  return QApplication::exec();
}
