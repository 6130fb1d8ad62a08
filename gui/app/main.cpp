#include <QApplication>
#include <QTextStream>
#include <exception>

#include "app/hint_times.h"
#include "app/platform_services.h"
#include "app/start_options.h"
#include "app/start_up.h"
#include "morvane/version.h"
#include "ui/glyphs.h"

namespace {

QStringList RawArguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

bool SaveScreenshot(morvane::gui::MainWindow& window, const morvane::gui::StartOptions& options) {
  if (options.topology > 0) {
    window.SelectTopology(static_cast<morvane::Topology>(options.topology));
  }
  QApplication::processEvents();
  return window.grab().save(options.screenshot);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace morvane::gui;
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

    DesktopServices services;
    StartUp startUp(services, options);
    if (!startUp.Run()) return 1;
    if (!options.screenshot.isEmpty()) {
      if (SaveScreenshot(startUp.Window(), options)) return 0;
      err << "morvane: cannot save " << options.screenshot << "\n";
      return 1;
    }
    return QApplication::exec();
  } catch (const std::exception& e) {
    err << "morvane: " << e.what() << "\n";
    return 1;
  }
}
