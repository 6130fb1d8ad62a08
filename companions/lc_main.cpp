// morvane-lc: the LC resonant circuits window of the Tools menu.

#include "companions/companion_main.h"
#include "companions/lc/lc_window.h"

int main(int argc, char** argv) {
  using namespace morvane::gui;
  return RunCompanion(argc, argv, {"morvane-lc", "Morvane LC Filters", ""},
                      [](const QStringList& arguments, QString& error) -> std::unique_ptr<QWidget> {
                        if (!arguments.isEmpty()) {
                          error = "unexpected argument " + arguments.first();
                          return nullptr;
                        }
                        return std::make_unique<LcWindow>();
                      });
}
