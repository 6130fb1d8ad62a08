#pragma once

// The help window: the program's help pages in a text browser with Contents, Back and
// Forward. Modeless, made once; F1 and the Help button bring it up at the page of the
// topology shown.

#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace morvane::gui {

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Shows the page (a file name of HelpPages()) and brings the window to the front; the
  // first time beside the window that owns it.
  void ShowPage(const QString& page);

  // The file name of the page shown, e.g. "mfb.html".
  QString CurrentPage() const;

 private:
  void ShowTitle();

  QTextBrowser* browser_ = nullptr;
  QPushButton* back_ = nullptr;
  QPushButton* forward_ = nullptr;
  bool placed_ = false;
};

}  // namespace morvane::gui
