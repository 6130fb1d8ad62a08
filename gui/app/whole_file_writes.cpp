#include "app/whole_file_writes.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <string>

#include "app/design_file_io.h"
#include "files/atomic_file.h"

namespace morvane::gui {

bool WriteWholeFile(const QString& path, std::string_view content, QString& error) {
  std::string message;
  if (WriteFileAtomically(LocalFileName(path), content, message)) return true;
  error = QString::fromStdString(message);
  return false;
}

bool WritePictureFile(const QImage& picture, const QString& path, const char* format,
                      QString& error) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, format)) {
    error = "cannot write \"" + path + "\": the picture cannot be encoded as " +
            QString::fromLatin1(format ? format : "a picture");
    return false;
  }
  return WriteWholeFile(
      path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), error);
}

}  // namespace morvane::gui
