#include "app/design_file_io.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "design/design_session.h"
#include "files/design_file.h"

namespace morvane::gui {

QString DefaultDesignFilePath() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  QDir().mkpath(folder);
  return QDir(folder).filePath("Morvane.ini");
}

std::string LocalFileName(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

bool SaveDesignFile(const DesignSession& session, const QString& path, QString& error) {
  std::string message;
  if (WriteDesignFile(LocalFileName(path), session.State(), message)) return true;
  error = QString::fromStdString(message);
  return false;
}

}  // namespace morvane::gui
