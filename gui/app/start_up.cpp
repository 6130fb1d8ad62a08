#include "app/start_up.h"

#include <QEventLoop>
#include <QTimer>
#include <exception>
#include <memory>

#include "app/design_file_io.h"
#include "app/platform_services.h"
#include "ui/splash_screen.h"

namespace morvane::gui {

StartUp::StartUp(PlatformServices& services, StartOptions options)
    : services_(services),
      options_(std::move(options)),
      window_(services),
      windows_(window_, services) {
  initialise = [argument = options_.firstArgument](MainWindow& window) {
    window.Initialize(argument, DefaultDesignFilePath());
  };
}

bool StartUp::Run() {
  std::unique_ptr<SplashScreen> splash;
  QString failure;
  try {
    if (options_.splash) {
      splash = std::make_unique<SplashScreen>();
      splash->ShowNow();
    }
    initialise(window_);
  } catch (const std::exception& e) {
    failure = QString::fromUtf8(e.what());
  } catch (...) {
    failure = "unknown error";
  }
  // The hold starts when initialising has ended, however long that took.
  if (splash) HoldWhileProcessingEvents(splashHoldMs);
  splash.reset();
  window_.show();
  if (failure.isEmpty()) return true;
  services_.ShowMessage(&window_, "Morvane could not start:\n" + failure);
  return false;
}

void HoldWhileProcessingEvents(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace morvane::gui
