#pragma once

// The window's way to write a file: whole or not at all, through the program's one atomic
// writer, so a failed write keeps the old file as it was and says which file and why.

#include <QString>
#include <string_view>

class QImage;

namespace morvane::gui {

// Writes `content` to `path`. False with the writer's message in `error` ("cannot write
// "PATH": the disk is full ...").
bool WriteWholeFile(const QString& path, std::string_view content, QString& error);

// Encodes the picture in memory in `format` ("BMP", "PNG", ...), then writes the bytes as
// WriteWholeFile does. A picture that cannot be encoded writes nothing.
bool WritePictureFile(const QImage& picture, const QString& path, const char* format,
                      QString& error);

}  // namespace morvane::gui
