#pragma once

// The Multi-stage Filter window's part of the random session: random user actions on the
// window (typing hostile text, spinning, the choices, the two boxes, the section order, a
// section's topology, selecting rows, its graphs), the window checked after each against the
// design of its own entries, and now and then against morvane-cli cascade --json.

#include <QMap>
#include <QString>

#include "support/session_texts.h"

class QWidget;

namespace morvane::gui {
class CascadeWindow;
class SecondaryWindows;
}  // namespace morvane::gui

namespace morvane::gui::test {

class CascadeSession {
 public:
  // `main` is the main window, whose Tools menu and speed bar open the multi-stage window.
  CascadeSession(QWidget& main, SecondaryWindows& windows, HostileTexts& texts,
                 const QString& folder);

  // One action on the window; opens it first (menu, speed bar or the order dialog's button)
  // when it is not open. Returns what it did.
  QString Step();
  // Empty when the window shows the design of its entries and nothing it shows breaks a rule.
  // Nothing to check before the window was first opened.
  QString Check();
  // The window's design and texts against morvane-cli's for the same entries; `compared`
  // stays false when no entry text reproduces a value or the window was never opened.
  QString CompareWithCli(const QString& cli, bool& compared);

 private:
  QString Open();
  QString TypeIntoField();
  QString Spin();
  QString Choose();
  QString ToggleBox();  // the scheme box or the rounding box
  QString TypeSectionOrder();
  QString ChooseSectionTopology();
  QString SelectRow();
  QString GraphCommand();

  QString CheckFields();
  QString CheckTable();
  QString CheckTextsAreNumbers();

  QWidget& main_;
  SecondaryWindows& windows_;
  HostileTexts& texts_;
  QString folder_;
  static constexpr int kCheckAfterOthers = 50;
  bool opened_ = false;
  bool stepped_ = false;
  int othersSinceCheck_ = 0;
  // The last text the user put into a field; a field shows that or the value it holds.
  QMap<QString, QString> typed_;
};

}  // namespace morvane::gui::test
