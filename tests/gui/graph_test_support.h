#pragma once

// Shared by the graph window tests: a desktop that records instead of beeping, blocking or
// printing, a started design with its graph windows, and a way to answer a modal dialog.

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/platform_services.h"
#include "design/design_session.h"
#include "graphs/graph_output_services.h"
#include "graphs/graph_window.h"
#include "graphs/graph_windows.h"

namespace morvane::gui::test {

class RecordingPlatform : public PlatformServices {
 public:
  void Beep() override { ++beeps; }
  void ShowMessage(QWidget*, const QString& text) override { messages << text; }

  int beeps = 0;
  QStringList messages;
};

class RecordingOutput : public GraphOutputServices {
 public:
  QString AskBitmapFileName(QWidget*, const QString& initialName) override {
    offeredNames << initialName;
    return answer;
  }
  QString AskExportFileName(QWidget*, GraphFileFormat format, const QString& initialName) override {
    offeredExports << qMakePair(format, initialName);
    return answer;
  }
  bool PrintPicture(QWidget*, const QImage& picture) override {
    printed = picture;
    return true;
  }

  QString answer;  // the name the "user" picks; empty cancels
  QStringList offeredNames;
  QList<QPair<GraphFileFormat, QString>> offeredExports;
  QImage printed;
};

// A design started as the program starts it (MFB lowpass, no design file) and its graphs.
struct GraphFixture {
  explicit GraphFixture(FilterType type = FilterType::Lowpass) {
    session.Start();
    if (type != session.Type()) session.SelectFilterType(type);
  }

  GraphWindow& Window(GraphKind kind) { return graphs.Window(kind); }
  GraphWindow& Show(GraphKind kind) {
    switch (kind) {
      case GraphKind::Gain:
        graphs.ShowGain();
        break;
      case GraphKind::Phase:
        graphs.ShowPhase();
        break;
      case GraphKind::GroupDelay:
        graphs.ShowGroupDelay();
        break;
      case GraphKind::TimeResponse:
        graphs.ShowTimeResponse();
        break;
    }
    if (!QTest::qWaitForWindowExposed(&Window(kind))) qWarning("graph window not exposed");
    return Window(kind);
  }
  DesignState& State() { return session.MutableState(); }

  DesignSession session;
  RecordingPlatform platform;
  RecordingOutput output;
  GraphWindows graphs{session, platform, output};
};

template <typename T>
T* Child(const QObject& parent, const char* name) {
  T* child = parent.findChild<T*>(name);
  if (!child) qFatal("no control %s", name);
  return child;
}

// Answers the next modal dialog once it is up: `act` gets it and must close it. A dialog
// that is still open afterwards is rejected, so a failing test cannot hang.
inline void WhenModal(std::function<void(QDialog&)> act, int triesLeft = 200) {
  QTimer::singleShot(triesLeft == 200 ? 0 : 10, [act, triesLeft] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      if (triesLeft > 0) {
        WhenModal(act, triesLeft - 1);
      } else {
        qWarning("no modal dialog to answer");
      }
      return;
    }
    act(*dialog);
    if (dialog->isVisible()) {
      qWarning("modal dialog left open");
      dialog->reject();
    }
  });
}

// Types `text` into the dialog's field as the user does and presses the named button.
inline void TypeAndPress(QDialog& dialog, const char* field, const QString& text,
                         const char* button) {
  auto* edit = Child<QLineEdit>(dialog, field);
  edit->selectAll();
  QTest::keyClicks(edit, text);
  Child<QPushButton>(dialog, button)->click();
}

}  // namespace morvane::gui::test
