#include "app/design_file_io.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

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
  if (WriteDesignFile(LocalFileName(path), session.SavedState(), session.Choices(), message)) {
    return true;
  }
  error = QString::fromStdString(message);
  return false;
}

namespace {

constexpr int kKeptNameAttempts = 1000;

QString ErrnoText(int number) {
  return QString::fromLocal8Bit(std::strerror(number));
}

// Renames `from` to `to` unless `to` exists; false with errno set otherwise (EEXIST when taken).
bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) return false;
#endif
  // A file system without the exclusive rename: look first, which is as good as it gets there.
  struct stat taken {};
  if (::lstat(to.c_str(), &taken) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

QString KeptFileName(const QString& path, const QDateTime& when, int attempt) {
  QString name = path + ".unreadable-" + when.toString("yyyyMMdd-HHmmss");
  if (attempt > 1) name += "-" + QString::number(attempt);
  return name;
}

KeptDesignFile KeepUnreadableDesignFile(const QString& path, const QDateTime& when) {
  KeptDesignFile kept;
  if (path.isEmpty() || !QFileInfo(path).isFile()) return kept;
  const std::string from = LocalFileName(path);
  for (int attempt = 1; attempt <= kKeptNameAttempts; ++attempt) {
    const QString name = KeptFileName(path, when, attempt);
    if (RenameWithoutReplacing(from, LocalFileName(name))) {
      kept.keptAs = name;
      return kept;
    }
    const int number = errno;
    if (number == EEXIST) continue;
    const QString folder = QFileInfo(path).absolutePath();
    if (number == EACCES || number == EPERM || number == EROFS) {
      kept.problem = "the folder \"" + folder + "\" does not allow renaming files in it (" +
                     ErrnoText(number) + ")";
    } else {
      kept.problem = ErrnoText(number);
    }
    return kept;
  }
  kept.problem = "every name from \"" + KeptFileName(path, when, 1) + "\" to \"" +
                 KeptFileName(path, when, kKeptNameAttempts) + "\" is taken";
  return kept;
}

QString KeptDesignFileNote(const KeptDesignFile& kept) {
  if (!kept.keptAs.isEmpty()) {
    return "It was kept as " + QDir::toNativeSeparators(kept.keptAs) +
           "; the window starts from the initial design.";
  }
  if (!kept.problem.isEmpty()) {
    return "It could not be kept under another name: " + kept.problem +
           ". The window starts from the initial design and leaves the file as it is when it "
           "closes, so the design of this session is not saved.";
  }
  return {};
}

}  // namespace morvane::gui
