#pragma once

// A line of the status bar that stays for a while whatever the mouse passes over: the hints
// of the controls take the rest of the bar, and would wipe an ordinary status message the
// moment the mouse crosses a control.

#include "app/status_notice.h"

class QTimer;

namespace morvane::gui {

class TimedNotice : public StatusNotice {
  Q_OBJECT

 public:
  explicit TimedNotice(QWidget* parent = nullptr);

  // Shows the text (elided to the label's width, whole as tooltip) for `ms` milliseconds.
  void Show(const QString& text, int ms);
  // The whole text while shown, empty otherwise.
  QString Notice() const;

 signals:
  // Shown or gone: the status bar shares its width anew.
  void shownOrHidden();

 private:
  QTimer* timer_;
};

}  // namespace morvane::gui
