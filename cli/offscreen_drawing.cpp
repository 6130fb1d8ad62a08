#include "offscreen_drawing.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

namespace morvane::cli {

namespace {

QtMessageHandler previousHandler = nullptr;

// Qt looks up its runtime folder (XDG_RUNTIME_DIR) while it starts a platform and complains
// when it is unset or unsuitable, as under cron or sudo. The program never uses that folder,
// so those lines are dropped; every other message goes on as before.
void DropRuntimeFolderNotes(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
  if (message.startsWith(QLatin1String("QStandardPaths: ")) &&
      (message.contains(QLatin1String("XDG_RUNTIME_DIR")) ||
       message.contains(QLatin1String("runtime directory")))) {
    return;
  }
  if (previousHandler) {
    previousHandler(type, context, message);
  } else {
    qt_message_output(type, context, message);
  }
}

}  // namespace

std::unique_ptr<QGuiApplication> OffscreenApplication() {
  if (QCoreApplication::instance()) return nullptr;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  previousHandler = qInstallMessageHandler(DropRuntimeFolderNotes);
  static int argc = 1;
  static char name[] = "morvane-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

std::string PngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return {};
  return bytes.toStdString();
}

}  // namespace morvane::cli
