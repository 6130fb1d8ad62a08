#pragma once

// The About box: program icon, name and version on a lowered panel with a yellow-to-olive
// gradient. Unlike the other secondary windows it is made afresh each time it is opened.

#include <QDialog>

namespace morvane::gui {

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);
};

// Creates an About box, centred on the screen and modal to the whole program, and returns at
// once; the box deletes itself when it closes.
AboutBox* OpenAboutBox(QWidget* parent);

}  // namespace morvane::gui
