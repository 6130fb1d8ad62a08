#pragma once

// The help box of the graph windows: how to change scales and sizes. Modeless; OK hides it.

#include <QDialog>

namespace morvane::gui {

class GraphHelpBox : public QDialog {
  Q_OBJECT

 public:
  explicit GraphHelpBox(QWidget* parent = nullptr);
};

}  // namespace morvane::gui
