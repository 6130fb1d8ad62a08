#pragma once

// Whole files read and written with plain QFile, not the program's own writer, so a test can
// lay out any bytes first and see afterwards exactly what is left on disk.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>

namespace morvane::gui::test {

// The file's bytes; empty when it cannot be read.
inline QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the bytes whole, or ends the test program with the file's name.
inline void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    qFatal("cannot write %s", qPrintable(path));
}

}  // namespace morvane::gui::test
