#pragma once

// Where the default design file lives and how the window names files to the core.

#include <QString>
#include <string>

class QDateTime;

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

// What became of a default design file that exists but cannot be read (not text, too large,
// unreadable): it is moved aside so that the next close writes a fresh file, and the old
// one is kept for the user. A file that cannot be moved must not be written over.
struct KeptDesignFile {
  QString keptAs;   // the name the file now has; empty when it was not moved
  QString problem;  // why it could not be moved; empty when it was, or was no file at all
};

// The name beside `path` that an unreadable file is kept under: "PATH.unreadable-YYYYMMDD-
// HHMMSS" for the first attempt, with "-2", "-3", ... after it for later ones.
QString KeptFileName(const QString& path, const QDateTime& when, int attempt);

// Moves the regular file at `path` (or the link that names one) to the first kept name that
// is not taken, never replacing a file. A missing path, a folder or a device stays.
KeptDesignFile KeepUnreadableDesignFile(const QString& path, const QDateTime& when);

// What the start message adds about the kept file: empty when nothing was moved or tried.
QString KeptDesignFileNote(const KeptDesignFile& kept);

}  // namespace morvane::gui
