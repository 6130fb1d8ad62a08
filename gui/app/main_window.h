#pragma once

#include <QMainWindow>

namespace morvane::gui {

// The main window; for now an empty frame with the program's caption.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace morvane::gui
