#pragma once

// A notice at the status bar's right end: the whole text as its tooltip, shown elided to
// whatever width the bar gives it, so that it never runs over its neighbours or the hints.

#include <QLabel>

namespace morvane::gui {

class StatusNotice : public QLabel {
  Q_OBJECT

 public:
  explicit StatusNotice(QWidget* parent = nullptr);

  // Shows the text; an empty text hides the notice.
  void SetNotice(const QString& text);
  // The whole text, as set.
  const QString& WholeText() const { return whole_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Elide();

  QString whole_;
};

// The widths the two notices may take in a status bar `barWidth` wide: the hints on the left
// keep at least a third of it; the notices shown share the rest equally.
struct NoticeWidths {
  int program = 0;
  int design = 0;
};
NoticeWidths NoticeRoom(int barWidth, bool programShown, bool designShown);

}  // namespace morvane::gui
