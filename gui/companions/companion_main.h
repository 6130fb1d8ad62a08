#pragma once

// What every companion program (morvane-rc, morvane-lc, morvane-eseries,
// morvane-seriesparallel) does before and around its window: --help and --version without a
// display, the program's name and icon, --screenshot FILE for the documentation's pictures,
// and a message instead of a crash when something throws.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

namespace morvane::gui {

struct CompanionProgram {
  const char* command;      // "morvane-rc": the executable's and the desktop entry's name
  const char* displayName;  // "Morvane RC Filters": the window title's program part
  const char* usage;        // the text of --help after the "Usage:" line
};

// Makes the window from the arguments left after the common options (a file name, for one).
// Returns nullptr and sets `error` when the arguments do not make sense.
using CompanionWindowMaker =
    std::function<std::unique_ptr<QWidget>(const QStringList& arguments, QString& error)>;

// The whole main() of a companion program.
int RunCompanion(int argc, char** argv, const CompanionProgram& program,
                 const CompanionWindowMaker& makeWindow);

}  // namespace morvane::gui
