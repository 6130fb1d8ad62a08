#pragma once

// Shared by the GUI tests: a platform that records instead of beeping or blocking, and a
// started main window driven through its widgets by name.

#include <QAction>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>
#include <memory>
#include <string_view>

#include "app/main_window.h"
#include "app/platform_services.h"
#include "design/field_names.h"
#include "ui/aligned_grid.h"

namespace morvane::gui::test {

class FakePlatformServices : public PlatformServices {
 public:
  void Beep() override { ++beeps; }
  void ShowMessage(QWidget*, const QString& text) override { messages << text; }

  int beeps = 0;
  QStringList messages;
};

// A main window started as the program starts it, without a design file, and shown.
struct StartedWindow {
  explicit StartedWindow(const QString& argument = {}) : window(services) {
    window.Initialize(argument, {});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) qWarning("main window not exposed");
  }

  template <typename T = QWidget>
  T* Get(const QString& name) const {
    T* child = window.findChild<T*>(name);
    if (!child) qFatal("no control %s", qPrintable(name));
    return child;
  }

  QLineEdit* Field(std::string_view name) const {
    return Get<QLineEdit>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  }

  // Replaces the field's text by typing, as the user does.
  void Type(std::string_view name, const QString& text) const {
    QLineEdit* edit = Field(name);
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty()) {
      QTest::keyClick(edit, Qt::Key_Delete);
    } else {
      QTest::keyClicks(edit, text);
    }
  }

  void Trigger(const QString& action) const { Get<QAction>(action)->trigger(); }

  const DesignState& State() { return window.Session().State(); }

  // Every field shows exactly the session's text.
  bool MirrorsSession() {
    for (const auto& [name, text] : window.Session().Fields()) {
      const QString shown = Field(name)->text();
      if (shown != QString::fromStdString(text)) {
        qWarning("%s shows \"%s\", the session has \"%s\"", name.c_str(), qPrintable(shown),
                 text.c_str());
        return false;
      }
    }
    return true;
  }

  FakePlatformServices services;
  MainWindow window;
};

}  // namespace morvane::gui::test
