#pragma once

// A pair of small up and down buttons beside an entry field. The buttons repeat while held
// and are named after the spin button ("SpinButtonfgUp", "SpinButtonfgDown").

#include <QWidget>

class QToolButton;

namespace morvane::gui {

class SpinButton : public QWidget {
  Q_OBJECT

 public:
  SpinButton(const QString& name, const QString& hint, QWidget* parent = nullptr);

  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 signals:
  void up();
  void down();

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace morvane::gui
