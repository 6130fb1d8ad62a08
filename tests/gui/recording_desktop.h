#pragma once

// A desktop that records the file dialogs, program starts, prints and clipboard pictures the
// main window asks for and answers as the test says, and a started window on it.

#include <QAbstractButton>
#include <QAction>
#include <QImage>
#include <QList>
#include <QStatusBar>
#include <QTest>

#include "app/main_window.h"
#include "app/timed_notice.h"
#include "gui_test_support.h"

namespace morvane::gui::test {

class RecordingDesktop : public FakePlatformServices {
 public:
  struct Asked {
    bool save;
    FileDialogRequest request;
  };

  QString AskOpenFile(QWidget*, const FileDialogRequest& request) override {
    asked.append({false, request});
    return answer;
  }
  QString AskSaveFile(QWidget*, const FileDialogRequest& request) override {
    asked.append({true, request});
    return answer;
  }
  bool StartProgram(const QString& path, const QStringList& arguments) override {
    started << QStringList{path} + arguments;
    return startWorks;
  }
  QStringList ProgramFolders() const override { return folders; }
  QString PrinterName() override { return printer; }
  void SetUpPrinter(QWidget*) override {
    ++printerSetUps;
    printer = printerAfterSetUp;
  }
  bool AskPrint(QWidget*) override {
    ++printDialogs;
    printer = printerAfterSetUp.isEmpty() ? printer : printerAfterSetUp;
    return printDialogAnswer;
  }
  bool PrintPicture(const QImage& picture, QString& error) override {
    printed << picture;
    if (!printWorks) error = "The printer is out of paper.";
    return printWorks;
  }
  void CopyPicture(const QImage& picture) override { copied << picture; }

  QString answer;  // what the next file dialog returns; empty: cancelled
  QList<Asked> asked;
  bool startWorks = true;
  QList<QStringList> started;  // path and arguments of each start
  QStringList folders;
  QString printer;
  QString printerAfterSetUp;
  int printerSetUps = 0;
  bool printWorks = true;
  int printDialogs = 0;
  bool printDialogAnswer = true;  // false: the print dialog is cancelled
  QList<QImage> printed;
  QList<QImage> copied;
};

// The window as the program starts it, without a design file, on a recording desktop that
// has this printer and these program folders from the start.
struct DesktopWindow {
  explicit DesktopWindow(const QString& printer = {}, const QStringList& folders = {})
      : services(Desktop(printer, folders)), window(services) {
    window.Initialize({}, {});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) qWarning("main window not exposed");
  }

  static RecordingDesktop Desktop(const QString& printer, const QStringList& folders) {
    RecordingDesktop desktop;
    desktop.printer = printer;
    desktop.folders = folders;
    return desktop;
  }

  template <typename T = QWidget>
  T* Get(const QString& name) const {
    T* child = window.findChild<T*>(name);
    if (!child) qFatal("no control %s", qPrintable(name));
    return child;
  }

  // Clicks the button or triggers the menu item of that name.
  void Use(const QString& control) const {
    if (auto* action = window.findChild<QAction*>(control)) {
      action->trigger();
    } else {
      Get<QAbstractButton>(control)->click();
    }
  }

  // The hint the status bar shows.
  QString Status() { return window.statusBar()->currentMessage(); }
  // What the status bar says about a program that did not start.
  QString ProgramNotice() { return Get<TimedNotice>("ProgramNotice")->Notice(); }

  RecordingDesktop services;
  MainWindow window;
};

}  // namespace morvane::gui::test
