#pragma once

// The program's help box: how to use it and which circuits to prefer, on a light-yellow
// panel. Made once; OK hides it.

#include <QDialog>

namespace morvane::gui {

class HelpBox : public QDialog {
  Q_OBJECT

 public:
  explicit HelpBox(QWidget* parent = nullptr);
};

}  // namespace morvane::gui
