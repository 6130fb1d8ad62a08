#include "app/program_starts.h"

#include <QStandardPaths>
#include <array>

#include "app/window_look.h"

namespace morvane::gui {

namespace {

// Desktop calculators, the GNOME and KDE ones first, the X11 one as a last resort.
constexpr std::array<std::string_view, 8> kCalculators{
    "gnome-calculator", "kcalc",     "galculator",  "qalculate-gtk",
    "qalculate-qt",     "mate-calc", "speedcrunch", "xcalc"};
// Programs that show the clipboard in a window (not clipboard daemons, which would only
// start in the background).
constexpr std::array<std::string_view, 3> kClipboardViewers{"copyq show", "gpaste-client ui",
                                                            "xclipboard"};
constexpr std::array<std::string_view, 1> kRcFilters{"morvane-rc"};
constexpr std::array<std::string_view, 1> kLcFilters{"morvane-lc"};
constexpr std::array<std::string_view, 1> kESeries{"morvane-eseries"};
constexpr std::array<std::string_view, 1> kSeriesParallel{"morvane-seriesparallel"};

constexpr std::array kTools{
    ToolProgram{"Zwischenablage1", "The clipboard viewer", kClipboardViewers, true, false},
    ToolProgram{"Taschenrechner1", "The calculator", kCalculators, true, false},
    ToolProgram{"RCFilter1", "The RC filter program", kRcFilters, false, false},
    ToolProgram{"LCFilter1", "The LC filter program", kLcFilters, false, false},
    ToolProgram{"ENormreihen1", "The E-series program", kESeries, false, false},
    ToolProgram{"SerienParallelschaltungen1", "The series and parallel circuit program",
                kSeriesParallel, false, true},
};

QStringList ProgramNames(const ToolProgram& tool) {
  QStringList names;
  for (std::string_view command : tool.commands) names << Text(command).section(' ', 0, 0);
  return names;
}

}  // namespace

std::span<const ToolProgram> ToolPrograms() {
  return kTools;
}

std::optional<FoundProgram> FindToolProgram(const ToolProgram& tool, const QStringList& folders) {
  // No folders would mean the search path to findExecutable.
  if (folders.isEmpty()) return std::nullopt;
  for (std::string_view command : tool.commands) {
    QStringList words = Text(command).split(' ', Qt::SkipEmptyParts);
    const QString path = QStandardPaths::findExecutable(words.takeFirst(), folders);
    if (!path.isEmpty()) return FoundProgram{path, words};
  }
  return std::nullopt;
}

QString MissingProgramText(const ToolProgram& tool) {
  const QString names = ProgramNames(tool).join(", ");
  if (tool.desktop) {
    return Text(tool.title) + " was not found: none of " + names +
           " is installed on the search path.";
  }
  return Text(tool.title) + " " + names + " was not found beside Morvane or on the search path.";
}

QString NotStartedText(const ToolProgram& tool, const QString& path) {
  return Text(tool.title) + " " + path + " could not be started.";
}

}  // namespace morvane::gui
