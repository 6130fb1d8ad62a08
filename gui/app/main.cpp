#include <QApplication>
#include <QFileInfo>
#include <QTextStream>
#include <exception>

#include "app/hint_times.h"
#include "app/platform_services.h"
#include "app/start_options.h"
#include "app/start_up.h"
#include "app/termination_signals.h"
#include "app/whole_file_writes.h"
#include "files/atomic_file.h"
#include "morvane/version.h"
#include "ui/glyphs.h"

namespace {

QStringList RawArguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

// The picture format is the one the file name's suffix names (.png, .bmp, .jpg, ...).
bool SaveScreenshot(morvane::gui::MainWindow& window, const morvane::gui::StartOptions& options,
                    QString& error) {
  if (options.topology > 0) {
    window.SelectTopology(static_cast<morvane::Topology>(options.topology));
  }
  QApplication::processEvents();
  const QByteArray format = QFileInfo(options.screenshot).suffix().toUpper().toLatin1();
  if (format.isEmpty()) {
    error = "cannot write \"" + options.screenshot +
            "\": the name has no suffix that gives the picture format (such as .png)";
    return false;
  }
  return morvane::gui::WritePictureFile(window.grab().toImage(), options.screenshot,
                                        format.constData(), error);
}

// Ends the program as the user does: the window's close writes the default design file.
void CloseOnTermination(morvane::gui::MainWindow& window) {
  window.close();
  QCoreApplication::exit(0);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace morvane::gui;
  morvane::ReportOversizedWritesAsErrors();
  QTextStream out(stdout), err(stderr);
  // Help and version need no display.
  const StartOptions early = ParseStartOptions(RawArguments(argc, argv));
  if (early.help) {
    out << StartUsage();
    return 0;
  }
  if (early.version) {
    out << "morvane " << QString::fromUtf8(morvane::kVersion) << "\n";
    return 0;
  }
  try {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Morvane");
    QApplication::setApplicationDisplayName("Morvane");
    QApplication::setApplicationVersion(QString::fromUtf8(morvane::kVersion));
    QApplication::setWindowIcon(ProgramIcon());
    // Lets the desktop match the windows to the installed morvane.desktop (its icon, its name).
    QGuiApplication::setDesktopFileName("morvane");
    const StartOptions options = ParseStartOptions(QApplication::arguments().mid(1));
    if (!options.error.isEmpty()) {
      err << "morvane: " << options.error << "\n" << StartUsage();
      return 2;
    }
    InstallHintTimes(app);
    // Caught from here on; one that comes during the start closes the window once it runs.
    TerminationSignals termination;

    DesktopServices services;
    StartUp startUp(services, options);
    if (!startUp.Run()) return 1;
    if (!options.screenshot.isEmpty()) {
      QString error;
      if (SaveScreenshot(startUp.Window(), options, error)) return 0;
      err << "morvane: " << error << "\n";
      return 1;
    }
    termination.Handle([&window = startUp.Window()] { CloseOnTermination(window); });
    return QApplication::exec();
  } catch (const std::exception& e) {
    err << "morvane: " << e.what() << "\n";
    return 1;
  }
}
