#include "app/start_options.h"

namespace morvane::gui {

StartOptions ParseStartOptions(const QStringList& arguments) {
  StartOptions options;
  bool haveFirst = false;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    auto value = [&]() -> QString {
      if (i + 1 < arguments.size()) return arguments[++i];
      options.error = a + " needs a value";
      return {};
    };
    if (a == "--no-splash") {
      options.splash = false;
    } else if (a == "--help" || a == "-h") {
      options.help = true;
    } else if (a == "--version") {
      options.version = true;
    } else if (a == "--screenshot") {
      options.screenshot = value();
    } else if (a == "--page") {
      bool number = false;
      options.topology = value().toInt(&number);
      if (options.error.isEmpty() && (!number || options.topology < 1 || options.topology > 7)) {
        options.error = "--page needs a page number from 1 to 7";
      }
    } else if (a.startsWith("--")) {
      options.error = "unknown option " + a;
    } else if (!haveFirst) {
      // Any other argument is ignored, as is a first argument other than "H" or "B".
      options.firstArgument = a;
      haveFirst = true;
    }
    if (!options.error.isEmpty()) break;
  }
  return options;
}

QString StartUsage() {
  return "usage: morvane [H|B] [--no-splash] [--screenshot FILE [--page 1..7]]\n"
         "  H, B              start with the highpass or the bandpass type\n"
         "  --no-splash       show the main window without the start-up picture\n"
         "  --screenshot FILE save the main window as a picture after start-up and quit\n"
         "  --page N          with --screenshot: the notebook page 1 (MFB) .. 7 (diplexer)\n"
         "  --version         print the version\n";
}

}  // namespace morvane::gui
