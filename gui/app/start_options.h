#pragma once

// The command line of the program: an optional first argument "H" or "B" preselecting the
// highpass or bandpass type, and options for scripts and tests.

#include <QString>
#include <QStringList>

namespace morvane::gui {

struct StartOptions {
  QString firstArgument;  // the first argument that is not an option
  bool splash = true;
  bool help = false;
  bool version = false;
  QString screenshot;  // save the main window as this picture after start-up, then quit
  int topology = 0;    // 1..7: show this page for the screenshot; 0 keeps the start page
  QString error;       // a usage error, empty when the command line is sound
};

// `arguments` without the program name.
StartOptions ParseStartOptions(const QStringList& arguments);

QString StartUsage();

}  // namespace morvane::gui
