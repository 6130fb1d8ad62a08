#pragma once

// Where the default design file lives and how the window names files to the core.

#include <QString>
#include <string>

namespace morvane {
class DesignSession;
}

namespace morvane::gui {

// "Morvane.ini" in the platform's configuration folder, which is created when missing.
QString DefaultDesignFilePath();

// The file name as the core's file functions take it.
std::string LocalFileName(const QString& path);

// Writes the session's entries into the file, keeping the file's other lines.
bool SaveDesignFile(const DesignSession& session, const QString& path, QString& error);

}  // namespace morvane::gui
