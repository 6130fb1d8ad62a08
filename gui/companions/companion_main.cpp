#include "companions/companion_main.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>
#include <exception>

#include "app/whole_file_writes.h"
#include "morvane/version.h"
#include "ui/glyphs.h"

namespace morvane::gui {

namespace {

struct CommonOptions {
  bool help = false;
  bool version = false;
  QString screenshot;
  QStringList rest;
  QString error;
};

CommonOptions ParseCommonOptions(const QStringList& arguments) {
  CommonOptions options;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    if (a == "--help" || a == "-h") {
      options.help = true;
    } else if (a == "--version") {
      options.version = true;
    } else if (a == "--screenshot") {
      if (i + 1 >= arguments.size()) {
        options.error = "--screenshot needs a file name";
        return options;
      }
      options.screenshot = arguments[++i];
    } else if (a.startsWith("--")) {
      options.error = "unknown option " + a;
      return options;
    } else {
      options.rest << a;
    }
  }
  return options;
}

QStringList RawArguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

QString Usage(const CompanionProgram& program) {
  return QString(
             "Usage: %1 [--screenshot FILE] %2\n"
             "  --screenshot FILE  write a picture of the window to FILE (.png, ...) and "
             "quit\n  --version          print the version and quit\n"
             "  --help             print this text and quit\n")
      .arg(QString::fromUtf8(program.command), QString::fromUtf8(program.usage));
}

bool SaveScreenshot(QWidget& window, const QString& path, QString& error) {
  QApplication::processEvents();
  const QByteArray format = QFileInfo(path).suffix().toUpper().toLatin1();
  if (format.isEmpty()) {
    error = "cannot write \"" + path +
            "\": the name has no suffix that gives the picture format (such as .png)";
    return false;
  }
  return WritePictureFile(window.grab().toImage(), path, format.constData(), error);
}

}  // namespace

int RunCompanion(int argc, char** argv, const CompanionProgram& program,
                 const CompanionWindowMaker& makeWindow) {
  QTextStream out(stdout), err(stderr);
  const QString command = QString::fromUtf8(program.command);
  const CommonOptions early = ParseCommonOptions(RawArguments(argc, argv));
  if (early.help) {
    out << Usage(program);
    return 0;
  }
  if (early.version) {
    out << command << " " << QString::fromUtf8(morvane::kVersion) << "\n";
    return 0;
  }
  if (!early.error.isEmpty()) {
    err << command << ": " << early.error << "\n" << Usage(program);
    return 2;
  }
  try {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(program.displayName));
    QApplication::setApplicationDisplayName(QString::fromUtf8(program.displayName));
    QApplication::setApplicationVersion(QString::fromUtf8(morvane::kVersion));
    QApplication::setWindowIcon(ProgramIcon());
    QGuiApplication::setDesktopFileName(command);
    const CommonOptions options = ParseCommonOptions(QApplication::arguments().mid(1));
    QString error;
    std::unique_ptr<QWidget> window = makeWindow(options.rest, error);
    if (!window) {
      err << command << ": " << error << "\n";
      return 2;
    }
    window->show();
    if (!options.screenshot.isEmpty()) {
      if (SaveScreenshot(*window, options.screenshot, error)) return 0;
      err << command << ": " << error << "\n";
      return 1;
    }
    return QApplication::exec();
  } catch (const std::exception& e) {
    err << command << ": " << e.what() << "\n";
    return 1;
  }
}

}  // namespace morvane::gui
