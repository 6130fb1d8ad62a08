#pragma once

// The programs the Tools menu starts and how they are found.
//
// The four companion programs are looked for under fixed names: morvane-rc (RC filters),
// morvane-lc (LC filters), morvane-eseries (standard-value tables) and morvane-seriesparallel
// (series and parallel circuits, which reads the circuit export). A calculator and a
// clipboard viewer of the desktop are taken from lists of well-known programs, the first one
// found winning. Every program is looked for in the folder of this program first, then on
// the search path.

#include <QString>
#include <QStringList>
#include <optional>
#include <span>
#include <string_view>

namespace morvane::gui {

struct ToolProgram {
  std::string_view item;   // the Tools menu item
  std::string_view title;  // what it is, for the status bar: "The calculator"
  // Program names with their arguments, in order of preference.
  std::span<const std::string_view> commands;
  // A desktop program: its item is offered only when one of the commands is found.
  bool desktop;
  // Started with the circuit file last exported from the LC page, where there is one.
  bool opensExportedCircuit = false;
};

std::span<const ToolProgram> ToolPrograms();

struct FoundProgram {
  QString path;
  QStringList arguments;
};

// The first of the tool's commands whose program is an executable file in one of `folders`,
// trying each command in every folder before the next command.
std::optional<FoundProgram> FindToolProgram(const ToolProgram& tool, const QStringList& folders);

// The status-bar texts for a tool that is missing or that would not start.
QString MissingProgramText(const ToolProgram& tool);
QString NotStartedText(const ToolProgram& tool, const QString& path);

}  // namespace morvane::gui
